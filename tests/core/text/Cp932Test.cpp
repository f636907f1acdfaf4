#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/Texts.h"

namespace pelo {
namespace {

const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD

TEST(DecodeCp932, Characters) {
  const struct {
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"abc 123", "abc 123"},
      {"\\~", "\\~"},
      {"\x82\xA0", "あ"},
      {"\x93\xFA\x96\x7B", "日本"},
      {"\x88\x9F", "亜"},
      {"\xDA\xDB", "ﾚﾛ"},
      {"\xB1\xDE\xDF", "ｱﾞﾟ"},
      {"\x81\x40", "　"},
      {"\x81\x63", "…"},
      {"\x82\x4F\x82\x58", "０９"},
      {"\x81\x7C", "－"},
      {"\x87\x40", "①"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      // Bytes that are no character become replacement characters.
      {"\x80", kBad},
      {"\xA0", kBad},
      {"\xFD", kBad},
      {"\xFE", kBad},
      {"\xFF", kBad},
      {"\x80\x80", kBad + kBad},
      {"a\xFF-", "a" + kBad + "-"},
      {"\x82", kBad},           // a lone lead byte
      {"a\x82", "a" + kBad},    // a lead byte at the end
      {"\x82 b", kBad + " b"},  // the byte after the lead byte is kept
      {"\x82\x0A", kBad + "\n"},
      {"\x85\x40x", kBad + "x"},  // an unassigned pair is one character
      {"\x82\xA0\xFF\x82\xA2", "あ" + kBad + "い"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeCp932(c.bytes), c.expected) << c.bytes;
}

TEST(DecodeCp932, EverySingleByte) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    std::string expected = b < 0x80 ? byte : kBad;
    if (b >= 0xA1 && b <= 0xDF) {
      expected.clear();
      AppendUtf8(expected, U'\uFF61' + static_cast<char32_t>(b - 0xA1));  // ｡ .. ﾟ
    }
    EXPECT_EQ(DecodeCp932(byte), expected) << b;
  }
}

bool IsValidUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST(DecodeCp932, RandomBytesGiveValidUtf8) {
  std::mt19937 random(20240501);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(random() % 40, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    const std::string text = DecodeCp932(bytes);
    ASSERT_TRUE(IsValidUtf8(text));
    ASSERT_LE(text.size(), bytes.size() * 3);
    ASSERT_EQ(text.empty(), bytes.empty());
  }
}

TEST(DecodeFileText, ChoosesTheEncodingAndNotesWhatIsNoCharacter) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string utf8 = "1/1 予定　ｶﾅ①\r\n2/2 あ\r\n";
  const struct {
    const char* what;
    std::string bytes;
    std::string text;
    TTextEncoding encoding;
    std::size_t bad_places;
    std::size_t first_bad;
  } cases[] = {
      {"empty", "", "", TTextEncoding::kCp932, 0, 0},
      {"ASCII", "1/1 a\n", "1/1 a\n", TTextEncoding::kCp932, 0, 0},
      {"CP932", EncodeCp932(utf8), utf8, TTextEncoding::kCp932, 0, 0},
      {"UTF-8", utf8, utf8, TTextEncoding::kUtf8, 0, 0},
      {"UTF-8 after its byte-order mark", bom + utf8, utf8, TTextEncoding::kUtf8, 0, 0},
      {"the byte-order mark alone", bom, "", TTextEncoding::kUtf8, 0, 0},
      {"ASCII after the byte-order mark", bom + "a", "a", TTextEncoding::kUtf8, 0, 0},
      // Valid both ways: read as it always was.
      {"UTF-8 that is CP932 text too", "\xC2\xA7", "ﾂｧ", TTextEncoding::kCp932, 0, 0},
      {"UTF-8 with one stray byte", "a\xE3\x81\x82\xFF", "a縺" + kBad + kBad, TTextEncoding::kCp932,
       2, 4},
      {"CP932 with bytes that are no character", "ab\x82\xA0\xFF\x85\x40", "abあ" + kBad + kBad,
       TTextEncoding::kCp932, 2, 5},
      {"bytes that are no UTF-8 after the byte-order mark", bom + "a\xFF\xE3\x81\n\xC0\xAF",
       "a" + kBad + kBad + kBad + "\n" + kBad + kBad, TTextEncoding::kUtf8, 5, 1},
      {"a U+FFFD written in a UTF-8 file is no bad byte", bom + kBad, kBad, TTextEncoding::kUtf8, 0,
       0},
  };
  for (const auto& c : cases) {
    const TDecodedText decoded = DecodeFileText(c.bytes);
    EXPECT_EQ(decoded.text, c.text) << c.what;
    EXPECT_EQ(decoded.encoding, c.encoding) << c.what;
    EXPECT_EQ(decoded.bad_places, c.bad_places) << c.what;
    EXPECT_EQ(decoded.first_bad, c.first_bad) << c.what;
  }
}

TEST(EncodeCp932, CharactersAndUnrepresentable) {
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"あ", "\x82\xA0"},
      {"ﾚﾛ", "\xDA\xDB"},
      {"　…", "\x81\x40\x81\x63"},
      {"日本", "\x93\xFA\x96\x7B"},
      {"한", "?"},
      {"a😀b", "a?b"},
      {"a\xFF-", "a?-"},     // no UTF-8
      {"a\xE3\x81", "a??"},  // cut short
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeCp932(c.text), c.expected) << c.text;
}

TEST(Cp932, RoundTrip) {
  const std::string texts[] = {
      "日本語のﾃｷｽﾄ　…ﾚﾛ①",
      "12/25 ｸﾘｽﾏｽ &f(ＭＳ 明朝,10,Bold)",
      "ﾚ済み ﾛ印 ～ －",
      "",
  };
  for (const std::string& text : texts) {
    EXPECT_EQ(DecodeCp932(EncodeCp932(text)), text) << text;
  }
  // A long text goes through in one piece.
  std::string long_text;
  for (int i = 0; i < 5000; ++i) long_text += "あｱa…";
  EXPECT_EQ(DecodeCp932(EncodeCp932(long_text)), long_text);
  EXPECT_EQ(EncodeCp932(long_text).size(), 5000u * 6);
}

}  // namespace
}  // namespace pelo
