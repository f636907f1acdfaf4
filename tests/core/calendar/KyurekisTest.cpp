#include "calendar/Kyurekis.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DateLabels.h"

namespace pelo {
namespace {

using test::DateLabel;

// Each row written out by hand: the old-calendar date and the rokuyo of a civil date.
TEST(Kyurekis, KnownDays) {
  const struct {
    TDateRec date;
    const char* text;
    int32_t rokuyo;
    const char* name;
  } cases[] = {
      // The start of the range: the first leap month of the tables.
      {{1870, 11, 21}, "", -1, ""},
      {{1870, 11, 22}, "", -1, ""},
      {{1870, 11, 23}, "閏10/1", 3, "仏滅"},
      {{1870, 12, 21}, "閏10/29", 1, "友引"},
      {{1870, 12, 22}, "旧11/1", 4, "大安"},
      // The last day of the old calendar in use, and the first day of the new one.
      {{1872, 12, 31}, "旧12/2", 0, "先勝"},
      {{1873, 1, 1}, "旧12/3", 1, "友引"},
      // A leap twelfth month: the new year comes right after it.
      {{1890, 1, 20}, "旧12/30", 4, "大安"},
      {{1890, 1, 21}, "閏12/1", 5, "赤口"},
      {{1890, 2, 18}, "閏12/29", 3, "仏滅"},
      {{1890, 2, 19}, "旧1/1", 0, "先勝"},
      {{1984, 11, 22}, "旧10/30", 2, "先負"},
      {{1984, 11, 23}, "閏10/1", 3, "仏滅"},
      {{2000, 1, 1}, "旧11/25", 4, "大安"},
      {{2014, 10, 23}, "旧9/30", 1, "友引"},
      {{2014, 10, 24}, "閏9/1", 2, "先負"},
      {{2017, 6, 23}, "旧5/29", 2, "先負"},
      {{2017, 6, 24}, "閏5/1", 4, "大安"},
      {{2017, 7, 22}, "閏5/29", 2, "先負"},
      {{2017, 7, 23}, "旧6/1", 5, "赤口"},
      {{2020, 1, 25}, "旧1/1", 0, "先勝"},
      {{2020, 5, 22}, "旧4/30", 2, "先負"},
      {{2020, 5, 23}, "閏4/1", 3, "仏滅"},
      {{2020, 6, 20}, "閏4/29", 1, "友引"},
      {{2020, 6, 21}, "旧5/1", 4, "大安"},
      // The end of the range. Month 11 of 2020 has 29 days, so 2021/1/13 opens month 12.
      {{2020, 12, 15}, "旧11/1", 4, "大安"},
      {{2021, 1, 12}, "旧11/29", 2, "先負"},
      {{2021, 1, 13}, "旧12/1", 5, "赤口"},
      {{2021, 1, 14}, "", -1, ""},
      // Far outside, and records that are no date at all.
      {{1582, 11, 1}, "", -1, ""},
      {{2150, 12, 31}, "", -1, ""},
      {kNullDate, "", -1, ""},
      {{2000, 0, 1}, "", -1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(DateLabel(c.date));
    EXPECT_EQ(LunarDateText(c.date, TCalendarKind::kClassic), c.text);
    EXPECT_EQ(RokuyoIndex(c.date, TCalendarKind::kClassic), c.rokuyo);
    EXPECT_EQ(RokuyoName(c.date, TCalendarKind::kClassic), c.name);
  }
}

// Days past the classic table, as the current one dates them; the range ends with 2150.
TEST(Kyurekis, KnownDaysOfTheCurrentTable) {
  const struct {
    TDateRec date;
    const char* text;
    int32_t rokuyo;
  } cases[] = {
      {{2021, 1, 13}, "旧12/1", 5},  {{2021, 1, 14}, "旧12/2", 0},   {{2026, 12, 7}, "旧10/29", 1},
      {{2033, 10, 23}, "旧10/1", 3}, {{2033, 12, 21}, "旧11/30", 3}, {{2033, 12, 22}, "閏11/1", 4},
      {{2038, 5, 3}, "旧3/29", 0},   {{2038, 5, 4}, "旧4/1", 3},     {{2150, 12, 31}, "旧11/13", 4},
      {{2151, 1, 1}, "", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(DateLabel(c.date));
    EXPECT_EQ(LunarDateText(c.date, TCalendarKind::kCurrent), c.text);
    EXPECT_EQ(RokuyoIndex(c.date, TCalendarKind::kCurrent), c.rokuyo);
    EXPECT_EQ(RokuyoName(c.date, TCalendarKind::kCurrent),
              c.rokuyo < 0 ? "" : kRokuyoNames[c.rokuyo]);
  }
}

TEST(Kyurekis, LunarDateBounds) {
  const struct {
    int32_t n;
    TLunarDate expected;  // only the day counts when it is 0
  } cases[] = {
      {INT_MIN, {false, 0, 0}}, {0, {false, 0, 0}},      {4094, {false, 0, 0}},
      {4388, {false, 0, 0}},    {4389, {true, 10, 1}},   {4418, {false, 11, 1}},
      {59226, {false, 11, 29}}, {59227, {false, 12, 1}}, {59228, {false, 0, 0}},
      {65535, {false, 0, 0}},   {65536, {false, 0, 0}},  {INT_MAX, {false, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    const TLunarDate got = LunarDate(c.n, TCalendarKind::kClassic);
    EXPECT_EQ(got.Day, c.expected.Day);
    if (c.expected.Day != 0) {
      EXPECT_EQ(got, c.expected);
    }
  }
}

TEST(Kyurekis, FindLunarMonthAtTheEdgesOfTheTables) {
  const struct {
    int32_t n;
    TLunarMonth expected;
    TCalendarKind kind = TCalendarKind::kClassic;
  } cases[] = {
      {4093, {0, 0, false}},        // before month 1 of 1870
      {4094, {4094, 1, false}},     // month 1 of 1870
      {4122, {4094, 1, false}},     //
      {4123, {4123, 2, false}},     //
      {4388, {4360, 10, false}},    // the last day before the first leap month
      {4389, {4389, 10, true}},     //
      {4417, {4389, 10, true}},     //
      {4418, {4418, 11, false}},    //
      {4448, {4448, 12, false}},    //
      {4477, {4477, 1, false}},     // month 1 of 1871: entry 13
      {58992, {58992, 4, true}},    // the last leap month
      {59021, {59021, 5, false}},   //
      {59198, {59198, 11, false}},  // entry 1811
      {59227, {59227, 12, false}},  // entry 1812
      {59228, {0, 0, false}},       // the end of month 12 of 2020 is not known
      {INT_MIN, {0, 0, false}},
      {INT_MAX, {0, 0, false}},
      // The current table: the same start, the end of 2150.
      {4093, {0, 0, false}, TCalendarKind::kCurrent},
      {4389, {4389, 10, true}, TCalendarKind::kCurrent},
      {59228, {59227, 12, false}, TCalendarKind::kCurrent},
      {106695, {106683, 11, false}, TCalendarKind::kCurrent},  // 2150/12/31
      {106696, {0, 0, false}, TCalendarKind::kCurrent},
      {INT_MIN, {0, 0, false}, TCalendarKind::kCurrent},
      {INT_MAX, {0, 0, false}, TCalendarKind::kCurrent},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(FindLunarMonth(c.n, c.kind), c.expected);
  }
}

// What a walk over the whole range of a table saw.
struct TWalk {
  TDateRec end;     // the first day without an old-calendar date
  TLunarDate last;  // the date of the day before it
  int32_t days = 0;
  int32_t leap_months = 0;
  int32_t new_years = 0;
};

// Walks every day of the range: days count up inside a month, months are 29 or 30 days,
// they follow each other in the calendar's order, and the rokuyo moves one step a day from
// the step its month starts on.
void WalkWholeRange(TCalendarKind kind, TWalk& walk) {
  TDateRec date{1870, 11, 23};
  TLunarDate prev = LunarDate(DayNumber(date), kind);
  ASSERT_EQ(prev, (TLunarDate{true, 10, 1}));
  int32_t prev_rokuyo = RokuyoIndex(date, kind);
  walk.days = 1;
  walk.leap_months = 1;
  for (date = AddDays(date, 1);; date = AddDays(date, 1)) {
    const int32_t n = DayNumber(date);
    const TLunarDate cur = LunarDate(n, kind);
    if (cur.Day == 0) break;
    SCOPED_TRACE(DateLabel(date));
    ++walk.days;
    const TLunarMonth month = FindLunarMonth(n, kind);
    ASSERT_EQ(month.FirstDay, n - cur.Day + 1);
    ASSERT_EQ(month.Month, cur.Month);
    ASSERT_EQ(month.Leap, cur.Leap);
    const int32_t rokuyo = RokuyoIndex(date, kind);
    if (cur.Day == 1) {
      ASSERT_TRUE(prev.Day == 29 || prev.Day == 30) << prev.Day;
      const int32_t next_month = prev.Month % 12 + 1;
      if (prev.Leap) {
        ASSERT_FALSE(cur.Leap);
        ASSERT_EQ(cur.Month, next_month);
      } else if (cur.Leap) {
        ASSERT_EQ(cur.Month, prev.Month);
        ++walk.leap_months;
      } else {
        ASSERT_EQ(cur.Month, next_month);
      }
      ASSERT_EQ(rokuyo, (cur.Month - 1) % 6);
      if (cur.Month == 1 && !cur.Leap) {
        ASSERT_EQ(RokuyoName(date, kind), "先勝");
        ++walk.new_years;
      }
    } else {
      ASSERT_EQ(cur.Leap, prev.Leap);
      ASSERT_EQ(cur.Month, prev.Month);
      ASSERT_EQ(cur.Day, prev.Day + 1);
      ASSERT_EQ(rokuyo, (prev_rokuyo + 1) % 6);
    }
    prev = cur;
    prev_rokuyo = rokuyo;
  }
  walk.end = date;
  walk.last = prev;
}

TEST(Kyurekis, ContinuousOverTheWholeRange) {
  const struct {
    TCalendarKind kind;
    TWalk expected;
  } cases[] = {
      // 56 leap months (1870 to 2020), 150 new years (1871 to 2020).
      {TCalendarKind::kClassic, {{2021, 1, 14}, {false, 12, 1}, 59227 - 4389 + 1, 56, 150}},
      // 104 leap months (1870 to 2150), 280 new years (1871 to 2150).
      {TCalendarKind::kCurrent, {{2151, 1, 1}, {false, 11, 13}, 106695 - 4389 + 1, 104, 280}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    TWalk walk;
    WalkWholeRange(c.kind, walk);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(walk.end, c.expected.end);
    EXPECT_EQ(walk.last, c.expected.last);
    EXPECT_EQ(walk.days, c.expected.days);
    EXPECT_EQ(walk.leap_months, c.expected.leap_months);
    EXPECT_EQ(walk.new_years, c.expected.new_years);
  }
}

// Every month a data file lists must be found again, starting on its first day.
void CheckAgainstMonthTable(const std::string& file, TCalendarKind kind, int32_t& regular,
                            int32_t& leap) {
  const std::string path = std::string(PELO_DATA_DIR) + "/" + file;
  std::ifstream in(path);
  ASSERT_TRUE(in) << path;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("kind\t", 0) == 0) continue;
    std::istringstream fields(line);
    std::string kind_text, first_day;
    int32_t lunar_year = 0, month = 0, n = 0;
    char slash1 = 0, slash2 = 0;
    TDateRec date;
    ASSERT_TRUE(fields >> kind_text >> lunar_year >> month >> first_day >> n) << line;
    std::istringstream date_fields(first_day);
    ASSERT_TRUE(date_fields >> date.Year >> slash1 >> date.Month >> slash2 >> date.Day) << line;
    ASSERT_TRUE(kind_text == "regular" || kind_text == "leap") << line;
    const bool is_leap = kind_text == "leap";
    (is_leap ? leap : regular) += 1;
    SCOPED_TRACE(line);
    EXPECT_EQ(DayNumber(date), n);
    // The current table's last month starts after the range; it only closes the one before.
    if (n > LastLunarDay(kind)) continue;
    EXPECT_EQ(FindLunarMonth(n, kind), (TLunarMonth{n, month, is_leap}));
    if (n >= kFirstLunarDay) {
      EXPECT_EQ(LunarDate(n, kind), (TLunarDate{is_leap, month, 1}));
      EXPECT_EQ(LunarDateText(date, kind),
                std::string(is_leap ? "閏" : "旧") + std::to_string(month) + "/1");
      EXPECT_EQ(RokuyoIndex(date, kind), (month - 1) % 6);
    }
    if (n - 1 >= kFirstLunarDay) {
      const TLunarDate before = LunarDate(n - 1, kind);
      EXPECT_TRUE(before.Day == 29 || before.Day == 30) << before.Day;
    }
  }
}

TEST(Kyurekis, AgreesWithTheMonthTables) {
  const struct {
    const char* file;
    TCalendarKind kind;
    int32_t regular, leap;
  } cases[] = {
      {"lunar-months.tsv", TCalendarKind::kClassic, 1812, 56},
      {"lunar-months-2150.tsv", TCalendarKind::kCurrent, 3372, 104},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    int32_t regular = 0;
    int32_t leap = 0;
    CheckAgainstMonthTable(c.file, c.kind, regular, leap);
    EXPECT_EQ(regular, c.regular);
    EXPECT_EQ(leap, c.leap);
  }
}

}  // namespace
}  // namespace pelo
