#include "text/Fonts.h"

#include <gtest/gtest.h>

#include <string>

#include "TestFonts.h"
#include "text/Texts.h"

namespace pelo::test {
namespace {

TEST(FontToText, NameSizeAndStyle) {
  const struct {
    TFontSpec font;
    const char* expected;
  } cases[] = {
      {FontSpec("ＭＳ Ｐゴシック", 10, false, true), "ＭＳ Ｐゴシック,10,Italic"},
      {FontSpec("Times New Roman", 26, true), "Times New Roman,26,Bold"},
      {FontSpec("Arial", 9, true, true), "Arial,9,BoldItalic"},
      {FontSpec("Arial", 9, false, false, false, false, 0xFF), "Arial,9"},  // no colour
      {FontSpec("Arial", 9, false, false, true), "Arial,9,"},
      {FontSpec("Arial", 9, true, false, true), "Arial,9,"},
      {FontSpec("Arial", 9, false, true, false, true), "Arial,9,"},
      {FontSpec("", -12), ",-12"},
  };
  for (const auto& c : cases) EXPECT_EQ(FontToText(c.font), c.expected) << c.expected;
}

TEST(FontToText, CutTo255BytesBetweenCharacters) {
  std::string long_kanji;
  for (int i = 0; i < 200; ++i) long_kanji += "あ";
  std::string expected;
  for (int i = 0; i < 127; ++i) expected += "あ";  // 254 bytes; one more would be 256
  EXPECT_EQ(FontToText(FontSpec(long_kanji, 10)), expected);

  const std::string ascii(254, 'x');
  EXPECT_EQ(FontToText(FontSpec(ascii, 10)), ascii + ",");
  EXPECT_EQ(FontToText(FontSpec(std::string(250, 'x'), 10)), std::string(250, 'x') + ",10");
  EXPECT_EQ(SjisWidth(FontToText(FontSpec("a" + long_kanji, 10, true))), 255);
}

TEST(TextToFont, ItemsLeftToRight) {
  // Every case starts from this font.
  const TFontSpec base = FontSpec("Base", 9, false, false, false, false, 0x123456);
  const struct {
    const char* text;
    TFontSpec expected;
  } cases[] = {
      {"Arial,12,BoldItalic", FontSpec("Arial", 12, true, true, false, false, 0x123456)},
      {"Arial,12,$0000FF", FontSpec("Arial", 12, false, false, false, false, 0x0000FF)},
      {"#x,Arial", FontSpec("Arial", 9, false, false, false, false, 0x123456)},
      {"ＭＳ 明朝,10,Bold", FontSpec("ＭＳ 明朝", 10, true, false, false, false, 0x123456)},
      {"Bold,ＭＳ 明朝,10", FontSpec("ＭＳ 明朝", 10, false, false, false, false, 0x123456)},
      {"ＭＳ 明朝,Bold", FontSpec("ＭＳ 明朝", 9, true, false, false, false, 0x123456)},
      {"arial,10,bolditalic", FontSpec("arial", 10, true, true, false, false, 0x123456)},
      {"Arial,italic", FontSpec("Arial", 9, false, true, false, false, 0x123456)},
      {"Arial,,10", FontSpec("Arial", 10, false, false, false, false, 0x123456)},
      {"Arial, 12", FontSpec("Arial", 12, false, false, false, false, 0x123456)},
      {" Arial", FontSpec(" Arial", 9, false, false, false, false, 0x123456)},
      {"Arial,10,", FontSpec("Arial", 10, false, false, false, false, 0x123456)},
      {"$FF0000", FontSpec("Base", 9, false, false, false, false, 0xFF0000)},
      {"$ff,$XYZ,$,$123456789", FontSpec("Base", 9, false, false, false, false, 0xFF)},
      {"ITALICBOLD", FontSpec("ITALICBOLD", 9, false, false, false, false, 0x123456)},
      {"-3", FontSpec("Base", -3, false, false, false, false, 0x123456)},
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
  TFontSpec font = FontSpec("Base", 9, true, true, true, true);
  TextToFont("#comment,$00FF00", font);
  EXPECT_EQ(font, FontSpec("Base", 9, true, true, true, true, 0x00FF00));
  TextToFont("Bold", font);
  EXPECT_EQ(font, FontSpec("Base", 9, true, false, false, false, 0x00FF00));
  TextToFont("Arial", font);
  EXPECT_EQ(font, FontSpec("Arial", 9, false, false, false, false, 0x00FF00));
}

TEST(TextToFont, ReadsBackWhatFontToTextWrote) {
  for (const TFontSpec& font :
       {FontSpec("ＭＳ Ｐゴシック", 10, false, true), FontSpec("Arial", 26, true, true),
        FontSpec("Times New Roman", 8)}) {
    TFontSpec read = FontSpec("x", 1, true, true, true, true);
    TextToFont(FontToText(font), read);
    EXPECT_EQ(read, font) << font.Name;
  }
}

}  // namespace
}  // namespace pelo::test
