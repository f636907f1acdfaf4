#pragma once

// Shift-JIS as the data and page files are written (the CP932 variant), to and from the
// UTF-8 the program works in.

#include <string>
#include <string_view>

namespace pelo {

// Decodes CP932 bytes to UTF-8. Every byte or byte pair that is no character (a lone lead
// byte, a lead byte before a byte that cannot follow it, an unassigned pair, 0x80, 0xA0,
// 0xFD..0xFF) becomes one U+FFFD and decoding goes on after it. A NUL byte is kept.
std::string DecodeCp932(std::string_view bytes);

// Encodes UTF-8 to CP932. A character CP932 cannot hold, and every byte that is no UTF-8,
// becomes "?".
std::string EncodeCp932(std::string_view utf8);

}  // namespace pelo
