#pragma once

// The font text of entries and page files: face name, size and style as comma items, for
// example "ＭＳ Ｐゴシック,10,Italic". The font itself is a plain description here; the Qt
// layer turns it into a QFont.

#include <cstdint>
#include <string>
#include <string_view>

namespace pelo {

struct TFontSpec {
  std::string Name;
  int32_t Size = 10;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  uint32_t Color = 0;  // 0x00BBGGRR, red in the lowest byte

  friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

// Longest font text; longer texts are cut between characters.
inline constexpr int32_t kMaxFontTextWidth = 255;

// Face name, "," and size, then "," and the style when there is one: "Bold", "Italic",
// "BoldItalic", or nothing after the "," for a style with underline or strike-out. The
// colour is not written. At most 255 Shift-JIS bytes.
std::string FontToText(const TFontSpec& font);

// Applies the items of a font text to font, left to right: "#..." is ignored, "$hex" sets
// the colour when the hex number reads, any other item first clears the style and is then
// a style name ("Bold", "Italic", "BoldItalic", any case), a size, or the face name. An empty
// or blank item is skipped. Never fails.
void TextToFont(std::string_view text, TFontSpec& font);

}  // namespace pelo
