#pragma once

// Shift-JIS as the data and page files are written (the CP932 variant), to and from the
// UTF-8 the program works in; and the choice between the two for a file's bytes.

#include <cstddef>
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

enum class TTextEncoding { kCp932, kUtf8 };

// A file's text in UTF-8, the encoding it was read in, and what could not be read: each byte
// (or CP932 byte pair) that is no character became one U+FFFD.
struct TDecodedText {
  std::string text;
  TTextEncoding encoding = TTextEncoding::kCp932;
  std::size_t bad_places = 0;  // how many U+FFFD were put in
  std::size_t first_bad = 0;   // where the first of them starts in text
};

// The bytes of a data or page file: read as UTF-8 when they start with its byte-order mark
// (which is dropped), or when they are valid UTF-8 holding non-ASCII bytes that are no valid
// CP932 text, as a Linux editor writes them; as CP932 otherwise.
TDecodedText DecodeFileText(std::string_view bytes);

}  // namespace pelo
