#pragma once

// Small text operations shared by the whole core: number texts, full-width digits, comma
// items and comma lists, replacing codes, trimming, and the UTF-8 helpers that count text
// the way the data files do (in Shift-JIS bytes).
//
// Every text here is UTF-8. UTF-8 never puts an ASCII byte inside a multi-byte character, so
// the byte searches for ",", "\"" or "%a" below cannot match in the middle of a character.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace pelo {

// Pad kinds of NumberText.
inline constexpr int32_t kPadSpace = 0;
inline constexpr int32_t kPadZero = 1;

// Decimal text of number, padded to width with spaces (pad_kind 0) or "0" (pad_kind 1), on
// the left or, with pad_right, on the right. grouping puts "," between groups of three
// digits; plus_sign puts "+" in front of a number above 0, after the padding. The width
// counts the separators and the sign.
std::string NumberText(int32_t number, int32_t width = 0, int32_t pad_kind = kPadSpace,
                       bool pad_right = false, bool grouping = false, bool plus_sign = false);

// Appends the decimal text of number, zeros in front of a number of fewer than zero_width
// digits (after a "-"), as NumberText(number, zero_width, kPadZero) without a temporary: for
// writers of long outputs.
void AppendNumber(std::string& out, int32_t number, int32_t zero_width = 0);

// The decimal text in full-width characters: ０..９, "－" and "＋".
std::string FullWidthNumber(int32_t number);

// Takes the part before the first "," off text (the whole text when there is none) into
// item. False only when text was already empty.
bool NextCommaItem(std::string& text, std::string& item);

// The parts joined into one text. (Also keeps g++ 12 quiet: its -Wrestrict misfires on
// "literal" + std::string at -O3.)
std::string Concat(std::initializer_list<std::string_view> parts);

// Every occurrence of code replaced by replacement; the search goes on right after each
// inserted replacement, so a replacement is never scanned again. An empty code changes
// nothing.
std::string ReplaceAll(std::string_view text, std::string_view code, std::string_view replacement);

// Splits a comma list: items separated by a comma or by blanks (bytes 1..32), blanks around
// items skipped, two commas in a row give an empty item, a trailing comma gives nothing. An
// item that begins with a double quote runs to the closing quote, a doubled quote standing
// for one quote.
std::vector<std::string> SplitCommaList(std::string_view text);

// The same items one at a time, for lists too long to hold as texts all at once.
class TCommaListReader {
 public:
  explicit TCommaListReader(std::string_view text) noexcept;
  // The next item into item; false when there is none left.
  bool Next(std::string& item);
  // Where the byte at offset in the last item stands in the text (a doubled quote of a quoted
  // item is two bytes of the text); an offset at the item's end gives the byte after it.
  std::size_t TextOffset(std::size_t offset) const noexcept;

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t item_begin_ = 0;  // the last item's first byte, after its opening quote
  bool item_quoted_ = false;
};

// A strict signed decimal: optional "+" or "-", then digits only, and the value must fit in
// 32 bits. value is changed only on success.
bool ParseInt32(std::string_view text, int32_t& value);

// text without the bytes of value 32 or less at both ends. The full-width space stays.
std::string_view TrimControl(std::string_view text);

// ASCII letters a..z upper-cased; every other byte unchanged.
std::string AsciiUpper(std::string_view text);

// The Unicode replacement character, what every undecodable byte becomes.
inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the code point at pos and moves pos past it. A byte that does not start a valid
// UTF-8 sequence (overlong forms, surrogates and values above U+10FFFF included) gives
// kReplacementChar and moves pos by one byte. At or past the end: 0, pos unchanged.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) noexcept;

// Appends the UTF-8 form of c (kReplacementChar for a value that is no character).
void AppendUtf8(std::string& out, char32_t c);

// Width of a character in Shift-JIS bytes: 1 for ASCII and half-width katakana
// (U+FF61..U+FF9F), 2 for everything else.
int32_t SjisCharWidth(char32_t c) noexcept;

// Width of a text in Shift-JIS bytes. An undecodable byte counts as one replacement
// character (2).
int32_t SjisWidth(std::string_view text) noexcept;

// The longest prefix of text whose Shift-JIS width is at most max_width; a character is
// never split.
std::string_view CutToSjisWidth(std::string_view text, int32_t max_width) noexcept;

}  // namespace pelo
