#include "entries/Times.h"

#include <gtest/gtest.h>

#include <string>

#include "MarkedTexts.h"

namespace pelo {
namespace {

// "h:m" per time, "*" for the twelve-hour flag, "~" before an end, sets joined by ",".
std::string Describe(const TTimeSetList& list) {
  std::string text;
  for (const TTimeSet& set : list.Items()) {
    if (!text.empty()) text += ",";
    auto time = [](const TTime& t) {
      return std::to_string(t.Hour) + ":" + std::to_string(t.Minute) + (t.TwelveHour ? "*" : "");
    };
    text += time(set.Start);
    if (set.End) {
      text += "~";
      text += time(*set.End);
    }
  }
  return text;
}

TEST(ParseTimeSetList, Shapes) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"10:00", "10:0"},
      {"9:30~17:00", "9:30~17:0"},
      {"9:00,13:00~14:00", "9:0,13:0~14:0"},
      {"9:00 13:00", "9:0,13:0"},
      {"9:00PM", "21:0*"},
      {"9:00pm", "21:0*"},
      {"PM9:00", "21:0*"},
      {"9:00am", "9:0*"},
      {"9:0am0", "9:0*"},  // AM anywhere in the text
      {"12:30PM", "24:30*"},
      {"26:00", "26:0"},
      {"30:59", "30:59"},
      {"0:00", "0:0"},
      {"+9:05", "9:5"},
      {"9:05:30", "9:5"},
      {"09:5", "9:5"},
      {"~17:00", "0:0~17:0"},
      {"9:00~", "9:0"},
      {"~", "0:0"},
      {"123:00", "0:0"},  // the ":" in fourth place: read as 0:00, no error
      {":30", "0:0"},
      {"930", "0:0"},
      {"123:00PM", "0:0*"},
  };
  for (const auto& c : cases) {
    TTimeSetList list;
    EXPECT_EQ(list.ParseTimeSetList(c.text).Message(), "") << c.text;
    EXPECT_EQ(Describe(list), c.expected) << c.text;
  }
}

TEST(ParseTimeSetList, Errors) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", "空"},
      {"9:00,,10:00", "2番目の空"},
      {"31:00", "1番目の開始時"},
      {"-1:00", "1番目の開始時"},
      {"x:00", "1番目の開始時"},
      {"9:60", "1番目の開始分"},
      {"9:", "1番目の開始分"},
      {"9:x", "1番目の開始分"},
      {"9:-1", "1番目の開始分"},
      {"9:00~31:00", "1番目の終了時"},
      {"9:00~17:60", "1番目の終了分"},
      {"9:00,10:00~31:00", "2番目の終了時"},
      {"9:00,10:00~11:99", "2番目の終了分"},
      {"9:00,31:00~11:00", "2番目の開始時"},
      {"9:00,10:99", "2番目の開始分"},
      {"9:00~10:00~11:00", "1番目の終了分"},  // the first "~" splits: "00~11" is no minute
      {"9:00,10:00,", "" /* a trailing comma adds nothing */},
  };
  for (const auto& c : cases) {
    TTimeSetList list;
    EXPECT_EQ(list.ParseTimeSetList(c.text).Message(), c.expected) << c.text;
  }
}

TEST(ParseTimeSetList, ReplacesOnSuccessOnly) {
  TTimeSetList list;
  ASSERT_EQ(list.ParseTimeSetList("9:00,10:00").Message(), "");
  EXPECT_EQ(list.ParseTimeSetList("11:00,12:61").Message(), "2番目の開始分");
  EXPECT_EQ(Describe(list), "9:0,10:0");
  ASSERT_EQ(list.ParseTimeSetList("11:00").Message(), "");
  EXPECT_EQ(Describe(list), "11:0");
  EXPECT_EQ(list.Item(1), nullptr);
}

TEST(ParseTime, SingleTimes) {
  TTime time;
  EXPECT_EQ(time.ParseTime("").Message(), "空");
  ASSERT_EQ(time.ParseTime("7:45pm").Message(), "");
  EXPECT_EQ(time, (TTime{19, 45, true}));
  EXPECT_EQ(time.ParseTime("7:75").Message(), "分");
  EXPECT_EQ(time, (TTime{19, 45, true}));  // unchanged by the failure
  TTimeSet set;
  EXPECT_EQ(set.ParseTimeSet("7:00~7:75").Message(), "終了分");
  EXPECT_EQ(set.ParseTimeSet("99:00~7:00").Message(), "開始時");
  EXPECT_EQ(set.ParseTimeSet("").Message(), "空");
}

TEST(ParseTimeSetList, ErrorPositions) {
  const struct {
    const char* text;  // "|" marks the position
    const char* message;
  } cases[] = {
      {"|31:00", "1番目の開始時"},          {"9:|60", "1番目の開始分"},
      {"am9:|75", "1番目の開始分"},  // "AM" is taken out before the time is read
      {"8:00,9:00~9:|60", "2番目の終了分"}, {"8:00,|,9:00", "2番目の空"},
  };
  for (const auto& c : cases) {
    const test::TMarkedText marked = test::Marked(c.text);
    TTimeSetList list;
    const TParseError error = list.ParseTimeSetList(marked.text);
    EXPECT_EQ(error.Message(), c.message) << c.text;
    EXPECT_EQ(error.Position(), marked.position) << c.text;
  }
}

TEST(TimeTexts, Forms) {
  const struct {
    TTime time;
    const char* text;
    const char* padded;
  } cases[] = {
      {{9, 5, false}, "9:05", " 9:05"},      {{14, 30, false}, "14:30", "14:30"},
      {{25, 0, false}, "25:00", "25:00"},    {{0, 0, false}, "0:00", " 0:00"},
      {{9, 5, true}, "9:05am", " 9:05am"},   {{14, 30, true}, "2:30pm", " 2:30pm"},
      {{24, 30, true}, "0:30pm", " 0:30pm"}, {{12, 0, true}, "0:00pm", " 0:00pm"},
      {{10, 0, true}, "10:00am", "10:00am"}, {{22, 15, true}, "10:15pm", "10:15pm"},
      {{0, 0, true}, "0:00am", " 0:00am"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TimeText(c.time), c.text) << c.text;
    EXPECT_EQ(TimeTextPadded(c.time), c.padded) << c.text;
  }

  TTimeSetList list;
  ASSERT_EQ(list.ParseTimeSetList("9:00~17:00,19:30,10:00PM~11:00PM").Message(), "");
  EXPECT_EQ(TimeSetText(*list.Item(0)), " 9:00～17:00");
  EXPECT_EQ(TimeSetText(*list.Item(1)), "19:30");
  EXPECT_EQ(TimeListText(list), " 9:00～17:00,19:30,10:00pm～11:00pm");
  EXPECT_EQ(TimeListText(TTimeSetList()), "");
}

TEST(TimeSets, AssignCopies) {
  TTimeSetList list;
  ASSERT_EQ(list.ParseTimeSetList("9:00~10:00").Message(), "");
  TTimeSetList copy;
  copy.Assign(list);
  EXPECT_EQ(copy, list);
  TTimeSet single;
  ASSERT_EQ(single.ParseTimeSet("8:00").Message(), "");
  TTimeSet range = *list.Item(0);
  range.Assign(single);  // the end the other lacks goes
  EXPECT_FALSE(range.End.has_value());
  EXPECT_EQ(range.Start, (TTime{8, 0, false}));
}

TEST(TimeTexts, ClockMinutes) {
  const struct {
    TTime time;
    int32_t minutes;
  } cases[] = {
      {{9, 0, false}, 540},    {{0, 0, false}, 0},  {{26, 0, false}, 1560},
      {{30, 59, false}, 1859}, {{9, 5, true}, 545},  // 9:05am
      {{21, 0, true}, 1260},                         // 9:00pm
      {{24, 0, true}, 720},                          // 12:00pm, shown 0:00pm: noon
      {{12, 30, true}, 750},                         // 12:30am, also shown 0:30pm
      {{25, 0, true}, 780},                          // 13:00pm, shown 1:00pm
      {{42, 0, true}, 1080},                         // 30:00pm, shown 6:00pm
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClockMinutes(c.time), c.minutes) << c.time.Hour << ":" << c.time.Minute;
  }
}

}  // namespace
}  // namespace pelo
