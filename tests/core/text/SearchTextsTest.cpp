#include "text/SearchTexts.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace pelo {
namespace {

TEST(SearchFoldTest, FoldsCaseAndWidth) {
  const struct {
    const char* text;
    const char* folded;
  } cases[] = {
      {"", ""},
      {"Meeting AT 10", "meeting at 10"},
      {"ＡＢｃ１２！", "abc12!"},
      {"英会話　教室", "英会話 教室"},
      {"ｶ", "カ"},
      {"ｶﾞｷﾞｸﾞ", "ガギグ"},
      {"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "パピプペポ"},
      {"ﾊﾞﾋﾞ", "バビ"},
      {"ｳﾞ", "ヴ"},
      // A mark after a kana that takes none stays a mark of its own.
      {"ｱﾞ", "ア゛"},
      {"ﾞ", "゛"},
      {"ｧｨｩｪｫｬｭｮｯｰ", "ァィゥェォャュョッー"},
      {"｡｢｣､･ｦﾝ", "。「」、・ヲン"},
      {"ﾃﾞｰﾀﾌｧｲﾙ", "データファイル"},
      // Full-width kana and everything else stay as they are.
      {"カガ漢字ひらがな", "カガ漢字ひらがな"},
      {"\xff\x80", "\xff\x80"},
  };
  for (const auto& c : cases) EXPECT_EQ(SearchFold(c.text), c.folded) << c.text;
}

TEST(TextSearchTest, FindsEveryWrittenForm) {
  const struct {
    const char* needle;
    const char* text;
    bool found;
  } cases[] = {
      {"ｶ", "カレー", true},
      {"カ", "ｶﾚｰ", true},
      {"ガ", "ｶﾞｽ代", true},
      // ｶﾞ is one kana: カ alone is not in it.
      {"カ", "ｶﾞｽ代", false},
      {"ａ", "A", true},
      {"Eng", "ＥＮＧＬＩＳＨ", true},
      {"英会話", "WE 19:00~20:30 英会話教室", true},
      {"会議", "英会話", false},
      {"", "anything", false},
      {"long needle", "short", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TTextSearch(c.needle).Found(c.text), c.found) << c.needle << " in " << c.text;
  }
  EXPECT_TRUE(TTextSearch("").Empty());
}

// The search reads each byte once; whatever it finds, a plain search of the folded texts finds.
bool NaiveFound(const std::string& needle, const std::string& text) {
  const std::string folded_needle = SearchFold(needle);
  return !folded_needle.empty() && SearchFold(text).find(folded_needle) != std::string::npos;
}

TEST(TextSearchTest, AgreesWithAPlainSearchOfTheFoldedTexts) {
  const struct {
    const char* needle;
    const char* text;
  } cases[] = {
      // Partial matches that overlap the real one.
      {"aab", "aaab"},
      {"abab", "abaabab"},
      {"abac", "ababac"},
      {"aaaa", "aaabaaa"},
      {"abcabd", "abcabcabd"},
      {"ababc", "abababab"},
      // Folded forms inside the partial matches.
      {"ｶﾞｶﾞｷ", "ガガガキ"},
      {"ＡＡｂ", "aAaB"},
      {"カ", "ｶﾞｶ"},
      {"ガ", "ｶｶﾞ"},
      {"x", ""},
      {"ー", "ｰｰ"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TTextSearch(c.needle).Found(c.text), NaiveFound(c.needle, c.text))
        << c.needle << " in " << c.text;
  }

  // Texts drawn from a few characters that fold into one another find every overlap there is.
  const char* const pieces[] = {"a", "A", "b", "ｶ", "ﾞ", "ガ", "ａ"};
  std::mt19937 random(20);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
  const auto draw = [&](std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += pieces[piece(random)];
    return text;
  };
  int found = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::string needle = draw(1 + round % 4);
    const std::string text = draw(round % 13);
    const bool expected = NaiveFound(needle, text);
    found += expected ? 1 : 0;
    ASSERT_EQ(TTextSearch(needle).Found(text), expected) << needle << " in " << text;
  }
  EXPECT_GT(found, 300);  // both outcomes were tried
}

TEST(SearchTextCheck, RefusesWhatCannotBeLookedFor) {
  const std::string longest(kMaxSearchLength, 'a');
  std::string longest_kana;
  for (int32_t i = 0; i < kMaxSearchLength; ++i) longest_kana += "予";
  const struct {
    std::string text;
    TSearchTextFault fault;
  } cases[] = {
      {"予定", TSearchTextFault::kNone},
      {longest, TSearchTextFault::kNone},
      {longest_kana, TSearchTextFault::kNone},    // characters are counted, not bytes
      {"\xef\xbf\xbd", TSearchTextFault::kNone},  // a replacement character written out
      {"", TSearchTextFault::kEmpty},
      {longest + "a", TSearchTextFault::kTooLong},
      {longest_kana + "予", TSearchTextFault::kTooLong},
      {"\xe4\xba", TSearchTextFault::kNotUtf8},  // the start of 予 alone
      {"ab\xff", TSearchTextFault::kNotUtf8},
      {"\xc0\xaf", TSearchTextFault::kNotUtf8},  // an overlong "/"
  };
  for (const auto& c : cases) EXPECT_EQ(CheckSearchText(c.text), c.fault) << c.text;
}

}  // namespace
}  // namespace pelo
