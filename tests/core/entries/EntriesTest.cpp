#include "entries/Entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DescribeDates.h"
#include "MarkedTexts.h"

namespace pelo {
namespace {

using test::DescribeList;

constexpr TDateRec kToday{2024, 5, 15};
// Lines are read on kToday.
const TLineContext kContext{.Today = kToday};

std::string TimesText(const TTimeSetList& list) {
  std::string text;
  for (const TTimeSet& set : list.Items()) {
    if (!text.empty()) text += ",";
    text += TimeText(set.Start);
    if (set.End) text += "~" + TimeText(*set.End);
  }
  return text;
}

std::string ConditionText(const TDateSetList& list) {
  std::string text = list.IsShift ? "a" : list.MustMatch ? "&" : "!";
  if (list.MoveDays != 0 || list.MoveStep != 1) {
    text += "move(" + std::to_string(list.MoveDays) + "," + std::to_string(list.MoveStep) + ")";
  }
  return text + "(" + DescribeList(&list) + ")";
}

// Everything a line sets, in one text; fields still at their defaults are left out.
std::string Summary(const TEntry& entry) {
  std::string text = "dates=" + DescribeList(entry.Dates.get());
  if (entry.Times) text += " times=" + TimesText(*entry.Times);
  if (entry.Conditions) {
    text += " cond=";
    for (std::size_t i = 0; i < entry.Conditions->Count(); ++i) {
      if (i > 0) text += " ";
      text += ConditionText(*entry.Conditions->Item(i));
    }
  }
  if (entry.DerivedDates) text += " derived=" + DescribeList(entry.DerivedDates.get());
  if (entry.IsChecked()) text += " C";
  if (entry.IsDeleted()) text += " D";
  if (entry.HashMarked) text += " #";
  if (entry.DayMark) text += " @";
  if (entry.Category != 2) text += " cat=" + std::to_string(entry.Category);
  if (entry.Font) text += " font=" + FontToText(*entry.Font);
  if (!entry.Annotation.empty()) text += " note=" + std::string(entry.Annotation.view());
  if (entry.Extras) {
    text += " extras=";
    for (std::size_t i = 0; i < entry.Extras->size(); ++i) {
      text += (i > 0 ? "|" : "") + (*entry.Extras)[i];
    }
  }
  return text + " text=" + entry.Text;
}

std::string ParsedSummary(const std::string& line) {
  TEntry entry;
  if (const TParseError error = entry.ParseLine(line, kContext); error.Failed()) {
    return "error " + error.Message();
  }
  EXPECT_EQ(entry.ErrorText, "") << line;
  return Summary(entry);
}

std::string ParsedError(const std::string& line) {
  TEntry entry;
  const TParseError error = entry.ParseLine(line, kContext);
  EXPECT_EQ(error.Message(), entry.ErrorText) << line;
  if (error.Failed()) {
    EXPECT_EQ(entry.Text, line) << "a failed line keeps the line as read";
  }
  return error.Message();
}

TEST(Entries, NewEntry) {
  TEntry entry;
  EXPECT_EQ(Summary(entry), "dates=- text=データ");
  EXPECT_EQ(entry.Dates->Count(), 1u);
  EXPECT_EQ(entry.FirstDate(), kNullDate);
  EXPECT_EQ(entry.Category, 2);
  EXPECT_EQ(entry.Parent, nullptr);
}

TEST(Entries, LinesThatParse) {
  const struct {
    const char* line;
    const char* expected;
  } cases[] = {
      // Date, time and text in the three accepted orders.
      {"2000/1/1 会議", "dates=2000/1/1 text=会議"},
      {"2000/1/1 10:00 会議", "dates=2000/1/1 times=10:00 text=会議"},
      {"10:00 2000/1/1 会議", "dates=2000/1/1 times=10:00 text=会議"},
      {"12/25 9:00~17:00,19:00 クリスマス会",
       "dates=0/12/25^(1/0/0) times=9:00~17:00,19:00 text=クリスマス会"},
      {"1/1 10:00am x", "dates=0/1/1^(1/0/0) times=10:00am text=x"},
      {"1/1 10:00", "dates=0/1/1^(1/0/0) text=10:00"},
      {"1/1 a b  c", "dates=0/1/1^(1/0/0) text=a b  c"},
      {"1/1  a", "dates=0/1/1^(1/0/0) text=a"},
      {"1/1 会議 10:00", "dates=0/1/1^(1/0/0) text=会議 10:00"},
      // Two time words: the second replaces the first; with no date word there is no day
      // but no error either.
      {"2000/1/1 10:00 11:00 a", "dates=2000/1/1 times=10:00 text=11:00 a"},
      {"10:00 11:00 会議", "dates=none times=11:00 text=会議"},
      {"10:00 11:00 1/1 a", "dates=none times=11:00 text=1/1 a"},
      // Quotes: the text between them; a time word after the first quote is text.
      {"1/1 \"a & b\"", "dates=0/1/1^(1/0/0) text=a & b"},
      {"1/1 \"a\"", "dates=0/1/1^(1/0/0) text=a"},
      {"1/1 \"\"a\"", "dates=0/1/1^(1/0/0) text=\"a"},
      {"1/1,\"2/1\" 10:00 a", "dates=0/1/1^(1/0/0), 0/2/1^(1/0/0) text=10:00 a"},
      {"1/1 \"10:00 a\"", "dates=0/1/1^(1/0/0) text=10:00 a"},
      // The full-width space is text, not a blank.
      {"1/1 　会議　", "dates=0/1/1^(1/0/0) text=　会議　"},
      // "&" that is no command.
      {"1/1 \"a\" &f(x)", "dates=0/1/1^(1/0/0) text=\"a\" &f(x)"},
      {"1/1 \"a & b\" &o(c)", "dates=0/1/1^(1/0/0) text=\"a & b\" &o(c)"},
      {"1/1 Tom &dad", "dates=0/1/1^(1/0/0) text=Tom &dad"},
      {"1/1 a &f(x", "dates=0/1/1^(1/0/0) text=a &f(x"},
      {"1/1 a &&(HD", "dates=0/1/1^(1/0/0) text=a &&(HD"},
      {"1/1 a&o(b)", "dates=0/1/1^(1/0/0) text=a&o(b)"},
      // Conditions and their moves.
      {"1/1 x &&2^3(HD)", "dates=0/1/1^(1/0/0) cond=&move(2,3)(0/0/-6^(1/1/0)) text=x"},
      {"1/1 x &&>(HD)", "dates=0/1/1^(1/0/0) cond=&move(2147483647,1)(0/0/-6^(1/1/0)) text=x"},
      {"1/1 x &!<(SA,SU)",
       "dates=0/1/1^(1/0/0) cond=!move(-2147483647,1)(0/0/46^(1/1/0), 0/0/40^(1/1/0)) text=x"},
      {"1/1 x &&-3(HD)", "dates=0/1/1^(1/0/0) cond=&move(-3,1)(0/0/-6^(1/1/0)) text=x"},
      {"1/1 x &&+1^-2(HD)", "dates=0/1/1^(1/0/0) cond=&move(1,-2)(0/0/-6^(1/1/0)) text=x"},
      {"1/1 x &&(HD) &!(SU)",
       "dates=0/1/1^(1/0/0) cond=&(0/0/-6^(1/1/0)) !(0/0/40^(1/1/0)) text=x"},
      {"1/1 x &a(0/0/7)", "dates=0/1/1^(1/0/0) cond=a(0/0/7^(1/1/0)) text=x"},
      {"1/1 x &d(+7)", "dates=0/1/1^(1/0/0) derived=R0/0/7 text=x"},
      {"1/1 x &d(+7) &d(+8)", "dates=0/1/1^(1/0/0) derived=R0/0/8 text=x"},
      {"1/1 &&(HD) a", "dates=0/1/1^(1/0/0) cond=&(0/0/-6^(1/1/0)) text=a"},
      {"1/1 x &&( HD )", "dates=0/1/1^(1/0/0) cond=&(0/0/-6^(1/1/0)) text=x"},
      // The other commands.
      {"1/1 x &c(2024/1/5~2024/2/1)", "dates=0/1/1^(1/0/0) C D text=x"},
      {"1/1 x &c(2024/1/5)", "dates=0/1/1^(1/0/0) C text=x"},
      {"1/1 x &c(~2024/2/1)", "dates=0/1/1^(1/0/0) D text=x"},
      {"1/1 x &f(ＭＳ 明朝,12,Bold)", "dates=0/1/1^(1/0/0) font=ＭＳ 明朝,12,Bold text=x"},
      {"1/1 x &f()", "dates=0/1/1^(1/0/0) font=,10 text=x"},
      {"1/1 x &o(%a歳)", "dates=0/1/1^(1/0/0) note=%a歳 text=x"},
      {"1/1 x &o()", "dates=0/1/1^(1/0/0) text=x"},
      {"1/1 x &x(file1.txt, \"b c\")", "dates=0/1/1^(1/0/0) extras=file1.txt|b c text=x"},
      {"1/1 x &x(a) &x(b,c)", "dates=0/1/1^(1/0/0) extras=b|c text=x"},
      {"1/1 &o(a) \"q r\"", "dates=0/1/1^(1/0/0) note=a text=q r"},
      // Prefix marks, each once and in order.
      {"x", "dates=none D text="},
      {";", "dates=none D text="},
      {"x  ", "dates=none D text="},
      {"ﾚ", "dates=none C text="},
      {"#", "dates=none # text="},
      {"ﾛ", "dates=none # text="},
      {"@", "dates=none @ text="},
      {"A:", "dates=none cat=0 text="},
      {"=", "dates=none text="},
      {"", "dates=none text="},
      {"x 1/1 a", "dates=0/1/1^(1/0/0) D text=a"},
      {";1/1 a", "dates=0/1/1^(1/0/0) D text=a"},
      {"ﾚ1/1 a", "dates=0/1/1^(1/0/0) C text=a"},
      {"ﾛ1/1 a", "dates=0/1/1^(1/0/0) # text=a"},
      {"#1/1 a", "dates=0/1/1^(1/0/0) # text=a"},
      {"@B:1/1 a", "dates=0/1/1^(1/0/0) @ cat=1 text=a"},
      {"Z:1/1 a", "dates=0/1/1^(1/0/0) cat=25 text=a"},
      {"ﾚ#@Z:1/1 a", "dates=0/1/1^(1/0/0) C # @ cat=25 text=a"},
      {"xﾛ@A:1/1 a", "dates=0/1/1^(1/0/0) D # @ cat=0 text=a"},
      {"=1/1 a", "dates=0/1/1^(1/0/0) text=a"},
      {"=x", "dates=none D text="},
      {"=@C:1/1 a", "dates=0/1/1^(1/0/0) @ text=a"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsedSummary(c.line), c.expected) << c.line;
}

// Commands taken one after the other: what the removal of one leaves decides the next, as if
// the line were read again from its start after every command.
TEST(Entries, CommandsOneAfterAnother) {
  const struct {
    const char* line;
    const char* expected;
  } cases[] = {
      // The blank before a taken command makes a command of an "&" right behind it.
      {"1/1 x &o(a)&o(b)", "dates=0/1/1^(1/0/0) note=b text=x"},
      {"1/1 x &o(a)&", "error &ｺﾏﾝﾄﾞが間違っています。"},
      {"1/1 &o(a)x &o(b) y", "dates=0/1/1^(1/0/0) note=b text=x  y"},
      {"1/1 x &o(a) &x(b) &o(c)", "dates=0/1/1^(1/0/0) note=c extras=b text=x"},
      {"1/1 a &o(b)  &o(c)  ", "dates=0/1/1^(1/0/0) note=c text=a"},
      {"1/1 a &o(b) &o(c", "dates=0/1/1^(1/0/0) note=b text=a  &o(c"},
      {"1/1 a &o((b)) c", "dates=0/1/1^(1/0/0) note=(b text=a ) c"},
      // A quote taken away with a command no longer guards what follows.
      {"1/1 a &o(\"b) &o(c) \"d\"", "dates=0/1/1^(1/0/0) note=c text=a   \"d\""},
      {"1/1 a &o(\"b) \"c\" &o(d)", "dates=0/1/1^(1/0/0) note=\"b text=a  \"c\" &o(d)"},
      {"1/1 a &o(b) \"c &o(d)\"", "dates=0/1/1^(1/0/0) note=b text=a  \"c &o(d)\""},
      // A body that begins with " &" has none; with more blanks in front it has.
      {"# &o(a) 1/1 x", "error 日付の1番目の開始週が間違っています。"},
      {"#  &o(a) 1/1 x", "dates=0/1/1^(1/0/0) # note=a text=x"},
      {"#\t &o(a) 1/1 x", "dates=0/1/1^(1/0/0) # note=a text=x"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsedSummary(c.line), c.expected) << c.line;

  std::string many = "10 a";
  for (int i = 0; i < 2000; ++i) many += " &!(SU)";
  TEntry entry;
  ASSERT_FALSE(entry.ParseLine(many, kContext).Failed());
  EXPECT_EQ(entry.Conditions->Count(), 2000u);
  EXPECT_EQ(entry.Text, "a");
}

// Every combination of the four prefixes in their order, with the line going on or not.
TEST(Entries, PrefixCombinations) {
  const struct {
    const char* text;
    const char* shown;
  } marks[] = {{"", ""}, {"x", " D"}, {";", " D"}, {"ﾚ", " C"}},
    hashes[] = {{"", ""}, {"#", " #"}, {"ﾛ", " #"}}, days[] = {{"", ""}, {"@", " @"}},
    categories[] = {{"", ""}, {"B:", " cat=1"}};
  for (const auto& mark : marks) {
    for (const auto& hash : hashes) {
      for (const auto& day : days) {
        for (const auto& category : categories) {
          const std::string prefixes =
              std::string(mark.text) + hash.text + day.text + category.text;
          const std::string shown =
              std::string(mark.shown) + hash.shown + day.shown + category.shown;
          EXPECT_EQ(ParsedSummary(prefixes + "1/1 a"), "dates=0/1/1^(1/0/0)" + shown + " text=a")
              << prefixes;
          if (!prefixes.empty()) {
            EXPECT_EQ(ParsedSummary(prefixes), "dates=none" + shown + " text=") << prefixes;
          }
        }
      }
    }
  }
}

TEST(Entries, LinesThatFail) {
  const struct {
    const char* line;
    const char* expected;
  } cases[] = {
      {"2000/1/1", "日付とデータの区切りがない"},
      {"10:00 会議", "日付とデータの区切りがない"},
      {"10:00 1/1", "日付とデータの区切りがない"},
      {"1/1 \"\"", "データがない"},
      {"1/1 \"", "データがない"},
      {"1/1 Tom &Jerry", "&ｺﾏﾝﾄﾞが間違っています。"},
      {"1/1 a &", "&ｺﾏﾝﾄﾞが間違っています。"},
      {"1/1 a &F(x)", "&ｺﾏﾝﾄﾞが間違っています。"},
      {"1/1 a & b", "&ｺﾏﾝﾄﾞが間違っています。"},
      {"1/1 a &o(b) &z(c)", "&ｺﾏﾝﾄﾞが間違っています。"},
      {"1/1 x &&^3(HD)", "&ｺﾏﾝﾄﾞの移動日数が間違っています。"},
      {"1/1 x &&x(HD)", "&ｺﾏﾝﾄﾞの移動日数が間違っています。"},
      {"1/1 x &&<>(HD)", "&ｺﾏﾝﾄﾞの移動日数が間違っています。"},
      {"1/1 x &! 2(HD)", "&ｺﾏﾝﾄﾞの移動日数が間違っています。"},
      {"1/1 x &&2^(HD)", "&ｺﾏﾝﾄﾞの移動日数が間違っています。"},
      {"1/1 x &&2^0(HD)", "&ｺﾏﾝﾄﾞの移動日数が間違っています。"},
      {"1/1 x &&2^x(HD)", "&ｺﾏﾝﾄﾞの移動日数が間違っています。"},
      // Only the prefixes in their order: the rest is read as the date word.
      {"B:@1/1 a", "日付の1番目の開始月が間違っています。"},
      {"x:1/1 a", "日付の1番目の開始月が間違っています。"},
      {"#;1/1 a", "日付の1番目の開始月が間違っています。"},
      {"a:1/1 b", "日付の1番目の開始月が間違っています。"},
      {"@#1/1 a", "日付の1番目の開始月が間違っています。"},
      {"13/1 a", "日付の1番目の開始月が間違っています。"},
      {"1/1,1/1~13/1 a", "日付の2番目の終了月が間違っています。"},
      {"1/1,,2/1 a", "日付の2番目の空"},
      {"1/1 31:00 a", "時間の1番目の開始時"},
      {"9:00~9:60 1/1 a", "時間の1番目の終了分"},
      {"9:00,,10:00 1/1 a", "時間の2番目の空"},
      {"a:m 1/1 x", "時間の1番目の開始時"},
      {"1/1 a &c(13/1)", "入力の開始月が間違っています。"},
      {"1/1 a &c(1/1~1/32)", "入力の終了日が間違っています。"},
      {"1/1 a &c()", "入力の空"},
      {"1/1 a &&()", "条件の空"},
      {"1/1 a &!(1/1,,2/1)", "条件の2番目の空"},
      {"1/1 a &a(x)", "条件の1番目の開始週が間違っています。"},
      {"1/1 a &d(1/1~1/x)", "条件の1番目の終了週が間違っています。"},
      {"1/1 a &&(1/1,2^x/1)", "条件の2番目の開始隔月が間違っています。"},
      {"1/1 a &i(no-such-picture.bmp)", "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsedError(c.line), c.expected) << c.line;
}

// Where in the line an error is placed: at the part that failed, through the prefixes, the
// list items (quoted ones too), the sides and the commands taken before the word.
TEST(Entries, ErrorPositions) {
  const struct {
    const char* line;  // "|" marks the position
    const char* message;
  } cases[] = {
      {"1/1,1/1~|13/1 a", "日付の2番目の終了月が間違っています。"},
      {"#@B:|y/1/1 a", "日付の1番目の開始年が間違っています。"},
      {"1/1^|x a", "日付の1番目の開始隔日が間違っています。"},
      {"1/31|+x a", "日付の1番目の開始加減日が間違っています。"},
      {"\"1/1\",\"1/1\"\"|+y\" a", "日付の2番目の開始加減日が間違っています。"},
      {"1/1 &o(a) 9:00~9:|60 b", "時間の1番目の終了分"},
      {"#  &o(a) 1/1~1/|x x", "日付の1番目の終了週が間違っています。"},
      {"ﾚ#1/1 x &o(z) &&|^3(HD)", "&ｺﾏﾝﾄﾞの移動日数が間違っています。"},
      {"1/1 a &o(b) |&z(c)", "&ｺﾏﾝﾄﾞが間違っています。"},
      {"1/1 a &c( 1/1~1/|32)", "入力の終了日が間違っています。"},
      {"1/1 a &!(1/1,|,2/1)", "条件の2番目の空"},
      {"1/1 a &i(|no-such-picture.bmp)", "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。"},
      {"10:00 |1/1", "日付とデータの区切りがない"},
      {"1/1 &o(a) |\"\"", "データがない"},
  };
  for (const auto& c : cases) {
    const test::TMarkedText marked = test::Marked(c.line);
    TEntry entry;
    const TParseError error = entry.ParseLine(marked.text, kContext);
    EXPECT_EQ(error.Message(), c.message) << c.line;
    EXPECT_EQ(error.Position(), marked.position) << c.line;
  }
}

// Every field message, on both sides and in the first and a later item, under every prefix.
TEST(Entries, ComposedDateMessages) {
  const struct {
    const char* side;
    const char* message;
  } fields[] = {
      {"2000^x/1/1", "隔年が間違っています。"}, {"1^x/1", "隔月が間違っています。"},
      {"1/1^x", "隔日が間違っています。"},      {"2000+x/1/1", "加減年が間違っています。"},
      {"1+x/1", "加減月が間違っています。"},    {"1/1+x", "加減日が間違っています。"},
      {"y/1/1", "年が間違っています。"},        {"13/1", "月が間違っています。"},
      {"1/32", "日が間違っています。"},         {"1/XY", "週が間違っています。"},
  };
  const struct {
    const char* before;
    const char* after;
    const char* place;
  } places[] = {
      {"", "", "1番目の開始"},
      {"1/1~", "", "1番目の終了"},
      {"1/1,", "", "2番目の開始"},
      {"1/1,2/1,1/1~", ",3/1", "3番目の終了"},
  };
  const struct {
    const char* head;
    const char* tail;
    const char* prefix;
  } words[] = {
      {"", " x", "日付の"},         {"1/1 x &&(", ")", "条件の"}, {"1/1 x &!>(", ")", "条件の"},
      {"1/1 x &a(", ")", "条件の"}, {"1/1 x &d(", ")", "条件の"},
  };
  for (const auto& word : words) {
    for (const auto& place : places) {
      for (const auto& field : fields) {
        const std::string line =
            std::string(word.head) + place.before + field.side + place.after + word.tail;
        EXPECT_EQ(ParsedError(line), std::string(word.prefix) + place.place + field.message)
            << line;
      }
    }
  }
  // Command c holds one date set: no item number.
  for (const auto& field : fields) {
    EXPECT_EQ(ParsedError(std::string("1/1 x &c(") + field.side + ")"),
              std::string("入力の開始") + field.message);
    EXPECT_EQ(ParsedError(std::string("1/1 x &c(1/1~") + field.side + ")"),
              std::string("入力の終了") + field.message);
  }
}

TEST(Entries, ComposedTimeMessages) {
  const struct {
    const char* word;
    const char* expected;
  } cases[] = {
      {"31:00", "時間の1番目の開始時"},           {"9:60", "時間の1番目の開始分"},
      {"9:00~31:00", "時間の1番目の終了時"},      {"9:00~9:60", "時間の1番目の終了分"},
      {"8:00,31:00", "時間の2番目の開始時"},      {"8:00,9:60", "時間の2番目の開始分"},
      {"8:00,9:00~31:00", "時間の2番目の終了時"}, {"8:00,9:00~9:60", "時間の2番目の終了分"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParsedError(std::string("1/1 ") + c.word + " a"), c.expected) << c.word;
    EXPECT_EQ(ParsedError(std::string(c.word) + " 1/1 a"), c.expected) << c.word;
  }
}

TEST(Entries, IsTimeWord) {
  const struct {
    const char* word;
    bool expected;
  } cases[] = {
      {"10:00", true},   {"9:30~17:00,19:00", true},
      {"9:00PM", true},  {"9:00am", true},
      {"a:m", true},     {"1:", true},
      {":30", false},    {"1000", false},
      {"10:00x", false}, {"10:00 ", false},
      {"1/1", false},    {"", false},
      {"10：00", false},
  };
  for (const auto& c : cases) EXPECT_EQ(TEntry::IsTimeWord(c.word), c.expected) << c.word;
}

TEST(Entries, FailedLineKeepsWhatWasRead) {
  TEntry entry;
  EXPECT_TRUE(entry.ParseLine("ﾚ#1/1 x &o(z) &&^3(HD)", kContext).Failed());
  EXPECT_EQ(entry.ErrorText, "&ｺﾏﾝﾄﾞの移動日数が間違っています。");
  EXPECT_EQ(entry.Text, "ﾚ#1/1 x &o(z) &&^3(HD)");
  EXPECT_EQ(entry.Annotation, "z");
  EXPECT_TRUE(entry.HashMarked);
  EXPECT_TRUE(entry.IsChecked());
  EXPECT_EQ(entry.Dates, nullptr);

  EXPECT_TRUE(entry.ParseLine("@1/1 10:00 \"\"", kContext).Failed());
  EXPECT_EQ(entry.ErrorText, "データがない");
  EXPECT_EQ(entry.Text, "@1/1 10:00 \"\"");
  EXPECT_EQ(DescribeList(entry.Dates.get()), "0/1/1^(1/0/0)");
  ASSERT_NE(entry.Times, nullptr);
  EXPECT_EQ(TimesText(*entry.Times), "10:00");
  EXPECT_EQ(entry.Annotation, "");  // the new line started from scratch
  EXPECT_FALSE(entry.HashMarked);
  EXPECT_FALSE(entry.IsChecked());

  // A good line after a failed one clears the error.
  EXPECT_FALSE(entry.ParseLine("2/1 b", kContext).Failed());
  EXPECT_EQ(Summary(entry), "dates=0/2/1^(1/0/0) text=b");
  EXPECT_EQ(entry.ErrorText, "");
}

TEST(Entries, ParseLineStartsAfresh) {
  TEntry entry;
  ASSERT_FALSE(
      entry.ParseLine("ﾚ#@A:1/1 10:00 a &&(HD) &d(+1) &f(F) &o(n) &x(e)", kContext).Failed());
  entry.Icon = std::make_unique<TIconFile>(TIconFile{"p.bmp", 16, 16});
  ASSERT_FALSE(entry.ParseLine("2/1 b", kContext).Failed());
  EXPECT_EQ(Summary(entry), "dates=0/2/1^(1/0/0) text=b");
  EXPECT_EQ(entry.Icon, nullptr);

  // The line may be the entry's own text, or a part of it; a failed parse keeps it whole.
  const struct {
    const char* text;
    std::size_t skip;
    const char* summary;
    const char* text_after;
  } own[] = {
      {"3/1 c", 0, "dates=0/3/1^(1/0/0) text=c", "c"},
      {"xx 4/1 long enough to live outside the string", 3,
       "dates=0/4/1^(1/0/0) text=long enough to live outside the string",
       "long enough to live outside the string"},
      {"a line that does not parse at all, long", 0, nullptr,
       "a line that does not parse at all, long"},
  };
  for (const auto& c : own) {
    entry.Text = c.text;
    const bool failed =
        entry.ParseLine(std::string_view(entry.Text).substr(c.skip), kContext).Failed();
    EXPECT_EQ(failed, c.summary == nullptr) << c.text;
    if (c.summary != nullptr) {
      EXPECT_EQ(Summary(entry), c.summary);
    }
    EXPECT_EQ(entry.Text, c.text_after) << c.text;
  }
}

TEST(Entries, CurrentCenturyAndMarksUseToday) {
  TEntry entry;
  ASSERT_FALSE(entry.ParseLine("x05/1/1 a", {.Today = {1999, 1, 2}}).Failed());
  EXPECT_EQ(entry.FirstDate(), (TDateRec{1905, 1, 1}));
  EXPECT_EQ(*entry.Marks->End()->Value(), (TDateRec{1999, 1, 2}));
  EXPECT_FALSE(entry.Marks->HasStart());
  // The check mark, and the dates of the commands, the same.
  ASSERT_FALSE(entry.ParseLine("ﾚ1/1 a &!(05/1/1) &d(05/1/2)", {.Today = {2100, 1, 1}}).Failed());
  EXPECT_EQ(*entry.Marks->Start()->Value(), (TDateRec{2100, 1, 1}));
  EXPECT_EQ(DescribeList(entry.Conditions->Item(0)), "2105/1/1");
  EXPECT_EQ(DescribeList(entry.DerivedDates.get()), "2105/1/2");
  // Without a today a mark holds no day.
  ASSERT_FALSE(entry.ParseLine("x1/1 a", {}).Failed());
  EXPECT_FALSE(entry.IsDeleted());
}

TEST(Entries, Marks) {
  TEntry entry;
  EXPECT_FALSE(entry.IsChecked());
  EXPECT_FALSE(entry.IsDeleted());
  entry.SetCheckedMark(false, kToday);  // nothing to remove
  EXPECT_EQ(entry.Marks, nullptr);

  entry.SetCheckedMark(true, kToday);
  EXPECT_TRUE(entry.IsChecked());
  EXPECT_FALSE(entry.IsDeleted());
  EXPECT_EQ(*entry.Marks->Start()->Value(), kToday);

  entry.SetDeletedMark(true, kToday);
  EXPECT_TRUE(entry.IsChecked());
  EXPECT_TRUE(entry.IsDeleted());
  EXPECT_EQ(*entry.Marks->End()->Value(), kToday);

  entry.SetCheckedMark(false, kToday);
  EXPECT_FALSE(entry.IsChecked());
  EXPECT_TRUE(entry.IsDeleted());
  ASSERT_NE(entry.Marks, nullptr);
  EXPECT_FALSE(entry.Marks->HasStart());

  entry.SetDeletedMark(false, kToday);
  EXPECT_EQ(entry.Marks, nullptr);

  entry.SetDeletedMark(true, kToday);
  EXPECT_FALSE(entry.Marks->HasStart());  // deleting alone gives no start
  entry.SetCheckedMark(true, kToday);
  entry.SetDeletedMark(false, kToday);
  EXPECT_TRUE(entry.IsChecked());
  EXPECT_FALSE(entry.IsDeleted());

  // Marks written by command c keep their own days.
  TEntry read;
  ASSERT_FALSE(read.ParseLine("1/1 a &c(2024/1/5~2024/2/1)", kContext).Failed());
  EXPECT_EQ(*read.Marks->Start()->Value(), (TDateRec{2024, 1, 5}));
  EXPECT_EQ(*read.Marks->End()->Value(), (TDateRec{2024, 2, 1}));
  read.SetDeletedMark(false, kToday);
  EXPECT_TRUE(read.IsChecked());
  EXPECT_FALSE(read.IsDeleted());
}

TEST(Entries, FirstDate) {
  const struct {
    const char* line;
    TDateRec expected;
  } cases[] = {
      {"12/25 a", {0, 12, 25}}, {"2000/1/1~2000/1/7 a", {2000, 1, 1}}, {"*/HD a", {0, -1, -6}},
      {"x", kNullDate},         {"10:00 11:00 a", kNullDate},
  };
  for (const auto& c : cases) {
    TEntry entry;
    ASSERT_FALSE(entry.ParseLine(c.line, kContext).Failed()) << c.line;
    EXPECT_EQ(entry.FirstDate(), c.expected) << c.line;
  }
}

TEST(Entries, SetFirstDate) {
  const struct {
    const char* line;
    const char* expected;
  } cases[] = {
      {"12/25 a", "2024/3/1^(0/0/0)"},
      {"2000/1/1~2000/1/7 a", "2024/3/1"},             // fixed start: its steps go with the end
      {"1/1~1/7 a", "2024/3/1^(0/0/1)"},               // yearly: the steps stay, the year's is 0
      {"2000/1/1~+6 a", "2024/3/1^(0/0/1) ~ R0/0/6"},  // a relative end keeps the length
      {"1/1~+6 a", "2024/3/1^(0/0/1) ~ R0/0/6"},
      {"1/31+1 a", "2024/3/1^(0/0/0)"},  // the adjustment goes
      {"MO a", "2024/3/1^(0/0/0)"},
      {"0 a", "2024/3/1^(0/0/0)"},
      {"2000/1/1^2~2000/1/9 a", "2024/3/1"},
      {"2000/1/1^2 a", "2024/3/1^(0/0/2)"},  // no end: the step stays
      {"1/1,2/1 a", "2024/3/1^(0/0/0), 0/2/1^(1/0/0)"},
      {"*/*/* a", "2024/3/1"},
      {"+1 a", "2024/3/1"},  // pinned: no longer an offset
      {"x", "2024/3/1"},     // no dates yet
  };
  for (const auto& c : cases) {
    TEntry entry;
    ASSERT_FALSE(entry.ParseLine(c.line, kContext).Failed()) << c.line;
    entry.SetFirstDate({2024, 3, 1});
    EXPECT_EQ(DescribeList(entry.Dates.get()), c.expected) << c.line;
  }
  TEntry fresh;
  fresh.Dates->Clear();
  fresh.SetFirstDate({2024, 3, 1});
  EXPECT_EQ(DescribeList(fresh.Dates.get()), "2024/3/1");
}

TEST(Entries, AssignIsADeepCopy) {
  TEntry original;
  ASSERT_FALSE(
      original
          .ParseLine(
              "ﾚ#@A:12/25 10:00 a &&2^3(HD) &d(+1) &o(n) &x(e,f) &f(F,9) &c(2024/1/5~2024/2/1)",
              kContext)
          .Failed());
  original.NoteLines =
      std::make_unique<std::vector<std::string>>(std::vector<std::string>{"note 1", "note 2"});
  original.Icon = std::make_unique<TIconFile>(TIconFile{"pic.bmp", 16, 15});
  original.FileIndex = 3;
  original.LineNo = 17;
  original.ListIndex = 42;
  original.ErrorText = "kept";
  TEntry parent;
  original.Parent = &parent;
  const std::string before = Summary(original);

  TEntry copy;
  ASSERT_FALSE(copy.ParseLine("1/1 other 9:00", kContext).Failed());
  copy.Assign(&original);
  EXPECT_EQ(Summary(copy), before);
  EXPECT_EQ(*copy.NoteLines, *original.NoteLines);
  ASSERT_NE(copy.Icon, nullptr);
  EXPECT_EQ(*copy.Icon, *original.Icon);
  EXPECT_EQ(copy.FileIndex, 3);
  EXPECT_EQ(copy.LineNo, 17);
  EXPECT_EQ(copy.ListIndex, 42);
  EXPECT_EQ(copy.ErrorText, "kept");
  EXPECT_EQ(copy.Parent, nullptr);  // the parent link stays with the original

  // Changing every owned part of the copy leaves the original alone.
  copy.Dates->Item(0)->Start()->GetOrCreate(kValuePart).Day = 1;
  copy.Times->Clear();
  copy.Conditions->Item(0)->Clear();
  copy.Conditions->Item(0)->MoveDays = 9;
  copy.DerivedDates->Clear();
  copy.Marks->RemoveStart();
  copy.NoteLines->push_back("note 3");
  copy.Extras->clear();
  copy.Font->Name = "G";
  EXPECT_EQ(Summary(original), before);
  EXPECT_EQ(original.NoteLines->size(), 2u);
  EXPECT_EQ(original.Parent, &parent);

  // What the source lacks is dropped from the target.
  TEntry plain;
  ASSERT_FALSE(plain.ParseLine("1/1 b", kContext).Failed());
  copy.Assign(&plain);
  EXPECT_EQ(Summary(copy), "dates=0/1/1^(1/0/0) text=b");
  EXPECT_EQ(copy.NoteLines, nullptr);
  EXPECT_EQ(copy.Icon, nullptr);

  copy.Assign(nullptr);
  copy.Assign(&copy);
  EXPECT_EQ(Summary(copy), "dates=0/1/1^(1/0/0) text=b");
}

TEST(Entries, MergeDefaults) {
  const struct {
    const char* entry;
    const char* defaults;
    const char* expected;
  } cases[] = {
      {"2000/1/5 a", "=?/12/? d", "dates=2000/12/5 text=a"},
      {"2000/1/5 a", "=+0/?/? d", "dates=R0/1/5 text=a"},
      {"2000/1/5 a", "=?/?/?~+3 d", "dates=2000/1/5^(0/0/1) ~ R0/0/3 text=a"},
      {"2000/1/5~2000/1/9 a", "=?/?/?~2000/2/1 d", "dates=2000/1/5^(0/0/1) ~ 2000/2/1 text=a"},
      {"2000/1/5~2000/1/9 a", "=?/?/? d", "dates=2000/1/5^(0/0/1) ~ 2000/1/9 text=a"},
      {"1/5 a", "=?/?/?,3/3 d", "dates=0/1/5^(1/0/0), 0/3/3^(1/0/0) text=a"},
      {"x", "=12/25 d", "dates=0/12/25^(1/0/0) D text="},
      // Times, conditions, derived dates, font, annotation, extras: only when missing.
      {"1/5 10:00 a", "=?/?/? 9:00 d", "dates=0/1/5^(1/0/0) times=10:00 text=a"},
      {"1/5 a", "=?/?/? 9:00 d", "dates=0/1/5^(1/0/0) times=9:00 text=a"},
      {"1/5 a", "=?/?/? d &!(SU) &d(+1) &f(F,9) &o(n) &x(e)",
       "dates=0/1/5^(1/0/0) cond=!(0/0/40^(1/1/0)) derived=R0/0/1 font=F,9 note=n extras=e "
       "text=a"},
      {"1/5 a &&(HD) &d(+2) &f(G,8) &o(mine) &x(my)", "=?/?/? d &!(SU) &d(+1) &f(F,9) &o(n) &x(e)",
       "dates=0/1/5^(1/0/0) cond=&(0/0/-6^(1/1/0)) derived=R0/0/2 font=G,8 note=mine "
       "extras=my text=a"},
      // Marks and category.
      {"1/5 a", "=#@B:?/?/? d", "dates=0/1/5^(1/0/0) # @ cat=1 text=a"},
      {"#@1/5 a", "=?/?/? d", "dates=0/1/5^(1/0/0) # @ text=a"},
      {"D:1/5 a", "=B:?/?/? d", "dates=0/1/5^(1/0/0) cat=3 text=a"},
      {"C:1/5 a", "=B:?/?/? d", "dates=0/1/5^(1/0/0) cat=1 text=a"},  // C is the default
      {"D:1/5 a", "=?/?/? d", "dates=0/1/5^(1/0/0) cat=3 text=a"},
      {"x1/5 a", "=ﾚ?/?/? d", "dates=0/1/5^(1/0/0) D text=a"},  // marks are never taken
      {"1/5 a", "=ﾚ?/?/? d", "dates=0/1/5^(1/0/0) text=a"},
  };
  for (const auto& c : cases) {
    TEntry defaults;
    ASSERT_FALSE(defaults.ParseLine(c.defaults, kContext).Failed()) << c.defaults;
    TEntry entry;
    ASSERT_FALSE(entry.ParseLine(c.entry, kContext).Failed()) << c.entry;
    entry.MergeDefaults(defaults);
    EXPECT_EQ(Summary(entry), c.expected) << c.entry << " + " << c.defaults;
  }
}

TEST(Entries, MergeDefaultsIconNotesAndListSettings) {
  TEntry defaults;
  ASSERT_FALSE(defaults.ParseLine("=?/?/? d", kContext).Failed());
  defaults.Icon = std::make_unique<TIconFile>(TIconFile{"default.bmp", 16, 16});
  defaults.NoteLines =
      std::make_unique<std::vector<std::string>>(std::vector<std::string>{"default note"});
  defaults.Dates->MustMatch = true;
  defaults.Dates->MoveDays = 4;
  defaults.Dates->MoveStep = 2;

  TEntry entry;
  ASSERT_FALSE(entry.ParseLine("1/5 a", kContext).Failed());
  entry.MergeDefaults(defaults);
  ASSERT_NE(entry.Icon, nullptr);
  EXPECT_EQ(entry.Icon->Path, "default.bmp");
  EXPECT_EQ(entry.NoteLines, nullptr);
  EXPECT_TRUE(entry.Dates->MustMatch);
  EXPECT_EQ(entry.Dates->MoveDays, 4);
  EXPECT_EQ(entry.Dates->MoveStep, 1);

  TEntry own;
  ASSERT_FALSE(own.ParseLine("1/5 a", kContext).Failed());
  own.Icon = std::make_unique<TIconFile>(TIconFile{"own.bmp", 8, 8});
  own.MergeDefaults(defaults);
  EXPECT_EQ(own.Icon->Path, "own.bmp");

  // The default's copies are the entry's own.
  TEntry with_times;
  ASSERT_FALSE(with_times.ParseLine("1/5 a", kContext).Failed());
  TEntry time_default;
  ASSERT_FALSE(time_default.ParseLine("=?/?/? 9:00 d &&(HD)", kContext).Failed());
  with_times.MergeDefaults(time_default);
  with_times.Times->Clear();
  with_times.Conditions->Clear();
  EXPECT_EQ(time_default.Times->Count(), 1u);
  EXPECT_EQ(time_default.Conditions->Count(), 1u);
}

}  // namespace
}  // namespace pelo
