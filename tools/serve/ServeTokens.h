#pragma once

// The token every request must carry when pelo-serve was given one: read from a file, taken
// from the Authorization header or the token parameter, compared in constant time.

#include <string>
#include <string_view>

namespace pelo::serve {

inline constexpr std::size_t kMinTokenLength = 16;

// The first line of the file, without blanks around it; empty with error set when the file
// cannot be read or the token is shorter than kMinTokenLength.
std::string ReadTokenFile(const std::string& path, std::string& error);

// The token of "Bearer TOKEN" (the scheme's case does not matter); empty for anything else.
std::string_view BearerToken(std::string_view authorization) noexcept;

// Equal texts, in a time that depends on their lengths only, not on where they differ.
bool TokensEqual(std::string_view given, std::string_view expected) noexcept;

}  // namespace pelo::serve
