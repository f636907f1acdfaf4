#include "text/Texts.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace pelo {
namespace {

TEST(NumberText, PaddingGroupingAndSign) {
  const struct {
    int32_t number, width, pad_kind;
    bool pad_right, grouping, plus_sign;
    const char* expected;
  } cases[] = {
      {5, 2, kPadZero, false, false, false, "05"},
      {5, 2, kPadSpace, true, false, false, "5 "},
      {5, 2, kPadSpace, false, false, false, " 5"},
      {1234567, 0, kPadSpace, false, true, false, "1,234,567"},
      {12, 0, kPadSpace, false, false, true, "+12"},
      {0, 0, kPadSpace, false, false, true, "0"},
      {-3, 0, kPadSpace, false, false, true, "-3"},
      {-123, 0, kPadSpace, false, true, false, "-123"},
      {-1234, 0, kPadSpace, false, true, false, "-1,234"},
      {1000, 0, kPadSpace, false, true, false, "1,000"},
      {999, 0, kPadSpace, false, true, false, "999"},
      {123456, 3, kPadZero, false, false, false, "123456"},  // wider than width
      {1234, 6, kPadZero, false, true, false, "01,234"},     // the separator counts
      {-5, 4, kPadSpace, false, false, false, "  -5"},       // the sign counts
      {-5, 4, kPadZero, false, false, false, "-005"},        // zeros after the sign
      {7, 3, kPadZero, true, false, false, "700"},
      {12, 4, kPadSpace, false, false, true, "+  12"},  // the sign comes after padding
      {12, 4, kPadZero, false, false, true, "+0012"},
      {INT32_MIN, 0, kPadSpace, false, false, false, "-2147483648"},
      {INT32_MIN, 0, kPadSpace, false, true, false, "-2,147,483,648"},
      {INT32_MAX, 0, kPadSpace, false, true, true, "+2,147,483,647"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberText(c.number, c.width, c.pad_kind, c.pad_right, c.grouping, c.plus_sign),
              c.expected)
        << c.number << " width " << c.width;
  }
}

TEST(AppendNumber, AppendsWhatNumberTextMakesWithZeros) {
  const struct {
    int32_t number, zero_width;
  } cases[] = {{0, 0},    {7, 2},         {2024, 4},       {5, 4},  {123456, 3}, {-5, 4},
               {-123, 2}, {INT32_MIN, 0}, {INT32_MAX, 12}, {3, -1}, {1, 2000}};
  for (const auto& c : cases) {
    std::string out = "x";
    AppendNumber(out, c.number, c.zero_width);
    EXPECT_EQ(out, "x" + NumberText(c.number, c.zero_width, kPadZero)) << c.number;
  }
}

TEST(FullWidthNumber, DigitsAndSigns) {
  EXPECT_EQ(FullWidthNumber(2024), "２０２４");
  EXPECT_EQ(FullWidthNumber(-3), "－３");
  EXPECT_EQ(FullWidthNumber(-15), "－１５");
  EXPECT_EQ(FullWidthNumber(0), "０");
  EXPECT_EQ(FullWidthNumber(1234567890), "１２３４５６７８９０");
}

std::vector<std::string> AllCommaItems(std::string text) {
  std::vector<std::string> items;
  std::string item = "junk";
  while (NextCommaItem(text, item)) {
    items.push_back(item);
    if (items.size() > 100) break;
  }
  EXPECT_TRUE(item.empty());
  EXPECT_TRUE(text.empty());
  return items;
}

TEST(NextCommaItem, TakesItemsUntilTheTextIsEmpty) {
  using V = std::vector<std::string>;
  EXPECT_EQ(AllCommaItems(""), V{});
  EXPECT_EQ(AllCommaItems("abc"), V{"abc"});
  EXPECT_EQ(AllCommaItems("a,b"), (V{"a", "b"}));
  EXPECT_EQ(AllCommaItems("a,"), V{"a"});  // a final comma yields nothing more
  EXPECT_EQ(AllCommaItems("a,,b"), (V{"a", "", "b"}));
  EXPECT_EQ(AllCommaItems(","), V{""});
  EXPECT_EQ(AllCommaItems(" a , b "), (V{" a ", " b "}));  // no trimming
  EXPECT_EQ(AllCommaItems("ＭＳ 明朝,10"), (V{"ＭＳ 明朝", "10"}));
}

TEST(NextCommaItem, LeavesTheRestInTheText) {
  std::string text = "x,y,z";
  std::string item;
  ASSERT_TRUE(NextCommaItem(text, item));
  EXPECT_EQ(item, "x");
  EXPECT_EQ(text, "y,z");
}

TEST(ReplaceAll, EveryOccurrenceOnce) {
  const struct {
    const char *text, *code, *replacement, *expected;
  } cases[] = {
      {"%a and %a", "%a", "[long text]", "[long text] and [long text]"},
      {"xx", "x", "xx", "xxxx"},  // a replacement is never scanned again
      {"%a%a", "%a", "", ""},
      {"nothing here", "%n", "1", "nothing here"},
      {"誕生%a歳", "%a", "１２", "誕生１２歳"},
      {"abc", "", "X", "abc"},  // an empty code replaces nothing
      {"", "%a", "X", ""},
      {"%%a", "%a", "1", "%1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceAll(c.text, c.code, c.replacement), c.expected) << c.text;
  }
}

TEST(SplitCommaList, CommasBlanksAndQuotes) {
  using V = std::vector<std::string>;
  const struct {
    std::string text;
    V expected;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {"a,b", {"a", "b"}},
      {"a b", {"a", "b"}},
      {"  a , b  ", {"a", "b"}},
      {"\t a\r\nb\x01", {"a", "b"}},
      {"a,,b", {"a", "", "b"}},
      {"a , , b", {"a", "", "b"}},
      {"a,", {"a"}},
      {"a ,", {"a"}},
      {",a", {"", "a"}},
      {",", {""}},
      {"\"1,2\",@", {"1,2", "@"}},
      {"\"a\"\"b\"", {"a\"b"}},
      {"\"\"", {""}},
      {"\"a b\" c", {"a b", "c"}},
      {"\"ab\"cd", {"ab", "cd"}},
      {"\"abc", {"abc"}},  // an unclosed quote takes the rest
      {"\"ab\"\"", {"ab\""}},
      {"1/1~1/7 2/1,3/3", {"1/1~1/7", "2/1", "3/3"}},
      {"１月,　２月", {"１月", "　２月"}},  // the full-width space is no blank
      {std::string("a\0b", 3), {"a"}},      // a NUL byte ends the text
      {std::string("\0", 1), {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitCommaList(c.text), c.expected) << "[" << c.text << "]";
  }
}

// Where a byte of an item stands in the list's text: the list's errors are placed with it.
TEST(TCommaListReader, TextOffsets) {
  const struct {
    const char* text;
    int item;  // from 0
    std::size_t offset;
    std::size_t expected;
  } cases[] = {
      {"ab, cd", 1, 1, 5},       {"  ab", 0, 0, 2}, {"\"ab\",cd", 0, 1, 2},
      {"x,\"a\"\"b\"", 1, 2, 6},  // the doubled quote is two bytes
      {"x,\"a\"\"b\"", 1, 3, 7}, {"a,,b", 1, 0, 2}, {"ab", 0, 2, 2},  // the end of the item
  };
  for (const auto& c : cases) {
    TCommaListReader reader(c.text);
    std::string item;
    for (int i = 0; i <= c.item; ++i) ASSERT_TRUE(reader.Next(item)) << c.text;
    EXPECT_EQ(reader.TextOffset(c.offset), c.expected) << c.text << " item " << c.item;
  }
}

TEST(ParseInt32, StrictDecimal) {
  const struct {
    const char* text;
    int32_t expected;
  } good[] = {
      {"0", 0},
      {"7", 7},
      {"+5", 5},
      {"-5", -5},
      {"007", 7},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
  };
  for (const auto& c : good) {
    int32_t value = 99;
    EXPECT_TRUE(ParseInt32(c.text, value)) << c.text;
    EXPECT_EQ(value, c.expected) << c.text;
  }
  for (const char* text : {"", "+", "-", "2147483648", "-2147483649", "99999999999999999999", " 5",
                           "5 ", "1a", "0x10", "1.5", "１", "--1", "+-1"}) {
    int32_t value = 99;
    EXPECT_FALSE(ParseInt32(text, value)) << text;
    EXPECT_EQ(value, 99) << text;
  }
}

TEST(TrimControl, OnlyBytesUpTo32) {
  EXPECT_EQ(TrimControl("  a b \t\r\n"), "a b");
  EXPECT_EQ(TrimControl("\x01x\x20"), "x");
  EXPECT_EQ(TrimControl("　a　"), "　a　");
  EXPECT_EQ(TrimControl(""), "");
  EXPECT_EQ(TrimControl(" \t "), "");
  EXPECT_EQ(TrimControl("あ"), "あ");
}

TEST(AsciiUpper, LettersOnly) {
  EXPECT_EQ(AsciiUpper("abcXYZ1_あｱ"), "ABCXYZ1_あｱ");
  EXPECT_EQ(AsciiUpper(""), "");
}

TEST(NextCodePoint, ValidAndInvalidUtf8) {
  using V = std::vector<char32_t>;
  const char32_t r = kReplacementChar;
  const struct {
    std::string bytes;
    V expected;
  } cases[] = {
      {"A", {U'A'}},
      {"あ", {U'あ'}},
      {"ﾚ", {U'\uFF9A'}},
      {"\xF0\x9F\x98\x80", {U'\U0001F600'}},
      {"\xC3\xA9", {U'\u00E9'}},
      {"\xC0\x80", {r, r}},                // overlong
      {"\xE0\x80\x80", {r, r, r}},         // overlong
      {"\xED\xA0\x80", {r, r, r}},         // surrogate
      {"\xF4\x90\x80\x80", {r, r, r, r}},  // above U+10FFFF
      {"\xE3\x81", {r, r}},                // cut short
      {"\xFF", {r}},
      {"\x80"
       "A",
       {r, U'A'}},
      {"\xE3"
       "A\x81",
       {r, U'A', r}},
  };
  for (const auto& c : cases) {
    V decoded;
    std::size_t pos = 0;
    while (pos < c.bytes.size()) decoded.push_back(NextCodePoint(c.bytes, pos));
    EXPECT_EQ(decoded, c.expected) << c.bytes;
  }
  std::size_t pos = 3;
  EXPECT_EQ(NextCodePoint("abc", pos), 0u);
  EXPECT_EQ(pos, 3u);
}

TEST(AppendUtf8, Encodes) {
  std::string out;
  for (const char32_t c : {U'A', U'\u00E9', U'あ', U'\U0001F600'}) AppendUtf8(out, c);
  EXPECT_EQ(out, "Aéあ\xF0\x9F\x98\x80");
  std::string bad;
  AppendUtf8(bad, 0xD800);
  AppendUtf8(bad, 0x110000);
  EXPECT_EQ(bad, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(SjisWidth, AsciiAndHalfWidthKatakanaAreOneByte) {
  const struct {
    char32_t c;
    int32_t width;
  } chars[] = {
      {U'\u0000', 1}, {U'~', 1},      {U'\u007F', 1},     {U'\u0080', 2}, {U'\u00E9', 2},
      {U'あ', 2},     {U'\u3000', 2}, {U'\uFF60', 2},     {U'\uFF61', 1}, {U'\uFF9F', 1},
      {U'\uFFA0', 2}, {U'…', 2},      {U'\U0001F600', 2},
  };
  for (const auto& c : chars) EXPECT_EQ(SjisCharWidth(c.c), c.width) << uint32_t(c.c);

  const struct {
    std::string text;
    int32_t width;
  } texts[] = {
      {"", 0},
      {"abc", 3},
      {"あいう", 6},
      {"ｱｲｳ", 3},
      {"ﾚﾛ", 2},
      {"ｷﾞ", 2},
      {"　…", 4},
      {"a\xFF", 3},  // an undecodable byte counts as a replacement character
      {"ＭＳ Ｐゴシック", 15},
  };
  for (const auto& t : texts) EXPECT_EQ(SjisWidth(t.text), t.width) << t.text;
}

TEST(CutToSjisWidth, NeverSplitsACharacter) {
  const struct {
    const char* text;
    int32_t max;
    const char* expected;
  } cases[] = {
      {"aあb", 0, ""},     {"aあb", 1, "a"},      {"aあb", 2, "a"}, {"aあb", 3, "aあ"},
      {"aあb", 4, "aあb"}, {"aあb", 100, "aあb"}, {"ｱｲ", 1, "ｱ"},   {"あ", -1, ""},
      {"あ\xFF", 3, "あ"}, {"あいう", 5, "あい"}, {"", 5, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CutToSjisWidth(c.text, c.max), c.expected) << c.text << " " << c.max;
  }
}

}  // namespace
}  // namespace pelo
