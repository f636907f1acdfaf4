#include "text/Fonts.h"

#include <gtest/gtest.h>

#include <string>

#include "text/Texts.h"

namespace pelo {
namespace {

TFontSpec Font(std::string name, int32_t size, bool bold = false, bool italic = false,
               bool underline = false, bool strike_out = false, uint32_t color = 0) {
  TFontSpec font;
  font.Name = std::move(name);
  font.Size = size;
  font.Bold = bold;
  font.Italic = italic;
  font.Underline = underline;
  font.StrikeOut = strike_out;
  font.Color = color;
  return font;
}

TEST(FontToText, NameSizeAndStyle) {
  const struct {
    TFontSpec font;
    const char* expected;
  } cases[] = {
      {Font("ＭＳ Ｐゴシック", 10, false, true), "ＭＳ Ｐゴシック,10,Italic"},
      {Font("Times New Roman", 26, true), "Times New Roman,26,Bold"},
      {Font("Arial", 9, true, true), "Arial,9,BoldItalic"},
      {Font("Arial", 9, false, false, false, false, 0xFF), "Arial,9"},  // no colour
      {Font("Arial", 9, false, false, true), "Arial,9,"},
      {Font("Arial", 9, true, false, true), "Arial,9,"},
      {Font("Arial", 9, false, true, false, true), "Arial,9,"},
      {Font("", -12), ",-12"},
  };
  for (const auto& c : cases) EXPECT_EQ(FontToText(c.font), c.expected) << c.expected;
}

TEST(FontToText, CutTo255BytesBetweenCharacters) {
  std::string long_kanji;
  for (int i = 0; i < 200; ++i) long_kanji += "あ";
  std::string expected;
  for (int i = 0; i < 127; ++i) expected += "あ";  // 254 bytes; one more would be 256
  EXPECT_EQ(FontToText(Font(long_kanji, 10)), expected);

  const std::string ascii(254, 'x');
  EXPECT_EQ(FontToText(Font(ascii, 10)), ascii + ",");
  EXPECT_EQ(FontToText(Font(std::string(250, 'x'), 10)), std::string(250, 'x') + ",10");
  EXPECT_EQ(SjisWidth(FontToText(Font("a" + long_kanji, 10, true))), 255);
}

TEST(TextToFont, ItemsLeftToRight) {
  // Every case starts from this font.
  const TFontSpec base = Font("Base", 9, false, false, false, false, 0x123456);
  const struct {
    const char* text;
    TFontSpec expected;
  } cases[] = {
      {"Arial,12,BoldItalic", Font("Arial", 12, true, true, false, false, 0x123456)},
      {"Arial,12,$0000FF", Font("Arial", 12, false, false, false, false, 0x0000FF)},
      {"#x,Arial", Font("Arial", 9, false, false, false, false, 0x123456)},
      {"ＭＳ 明朝,10,Bold", Font("ＭＳ 明朝", 10, true, false, false, false, 0x123456)},
      {"Bold,ＭＳ 明朝,10", Font("ＭＳ 明朝", 10, false, false, false, false, 0x123456)},
      {"ＭＳ 明朝,Bold", Font("ＭＳ 明朝", 9, true, false, false, false, 0x123456)},
      {"arial,10,bolditalic", Font("arial", 10, true, true, false, false, 0x123456)},
      {"Arial,italic", Font("Arial", 9, false, true, false, false, 0x123456)},
      {"Arial,,10", Font("Arial", 10, false, false, false, false, 0x123456)},
      {"Arial, 12", Font("Arial", 12, false, false, false, false, 0x123456)},
      {" Arial", Font(" Arial", 9, false, false, false, false, 0x123456)},
      {"Arial,10,", Font("Arial", 10, false, false, false, false, 0x123456)},
      {"$FF0000", Font("Base", 9, false, false, false, false, 0xFF0000)},
      {"$ff,$XYZ,$,$123456789", Font("Base", 9, false, false, false, false, 0xFF)},
      {"ITALICBOLD", Font("ITALICBOLD", 9, false, false, false, false, 0x123456)},
      {"-3", Font("Base", -3, false, false, false, false, 0x123456)},
      {"", base},
      {",,", base},
  };
  for (const auto& c : cases) {
    TFontSpec font = base;
    TextToFont(c.text, font);
    EXPECT_EQ(font, c.expected) << c.text;
  }
}

TEST(TextToFont, PlainItemsClearTheStyle) {
  TFontSpec font = Font("Base", 9, true, true, true, true);
  TextToFont("#comment,$00FF00", font);
  EXPECT_EQ(font, Font("Base", 9, true, true, true, true, 0x00FF00));
  TextToFont("Bold", font);
  EXPECT_EQ(font, Font("Base", 9, true, false, false, false, 0x00FF00));
  TextToFont("Arial", font);
  EXPECT_EQ(font, Font("Arial", 9, false, false, false, false, 0x00FF00));
}

TEST(TextToFont, ReadsBackWhatFontToTextWrote) {
  for (const TFontSpec& font : {Font("ＭＳ Ｐゴシック", 10, false, true),
                                Font("Arial", 26, true, true), Font("Times New Roman", 8)}) {
    TFontSpec read = Font("x", 1, true, true, true, true);
    TextToFont(FontToText(font), read);
    EXPECT_EQ(read, font) << font.Name;
  }
}

}  // namespace
}  // namespace pelo
