#include "text/SearchTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace pelo {
namespace {

TEST(SearchFoldTest, FoldsCaseAndWidth) {
  struct Case {
    const char* text;
    const char* folded;
  };
  const Case cases[] = {
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
  for (const Case& c : cases) EXPECT_EQ(SearchFold(c.text), c.folded) << c.text;
}

TEST(TextSearchTest, FindsEveryWrittenForm) {
  struct Case {
    const char* needle;
    const char* text;
    bool found;
  };
  const Case cases[] = {
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
  for (const Case& c : cases) {
    TTextSearch search(c.needle);
    EXPECT_EQ(search.Found(c.text), c.found) << c.needle << " in " << c.text;
  }
  EXPECT_TRUE(TTextSearch("").Empty());
}

}  // namespace
}  // namespace pelo
