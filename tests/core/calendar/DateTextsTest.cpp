#include "calendar/DateTexts.h"

#include <gtest/gtest.h>

#include <string>

#include "DateLabels.h"

namespace pelo {
namespace {

constexpr TCalendarKind kClassic = TCalendarKind::kClassic;
constexpr TCalendarKind kCurrent = TCalendarKind::kCurrent;

TEST(WeekdayText, Styles) {
  const struct {
    int32_t style, weekday;
    const char* expected;
  } cases[] = {
      {0, 0, "日"},       {1, 0, "日曜"},   {2, 0, "日曜日"}, {3, 0, "Sunday"}, {4, 0, "Sun."},
      {5, 0, "Sun"},      {6, 0, "Su"},     {7, 0, "S"},      {4, 3, "Wed."},   {0, 6, "土"},
      {3, 6, "Saturday"}, {2, 4, "木曜日"}, {6, 4, "Th"},     {8, 0, ""},       {0, 7, ""},
      {-1, 0, ""},        {0, -1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WeekdayText(c.style, c.weekday), c.expected) << c.style << "," << c.weekday;
  }
}

TEST(MonthNames, Tables) {
  EXPECT_EQ(OldMonthName(1), "睦月");
  EXPECT_EQ(OldMonthName(6), "水無月");
  EXPECT_EQ(OldMonthName(12), "師走");
  EXPECT_EQ(MonthReading(4), "うげつ");
  EXPECT_EQ(MonthReading(10), "かんなづき");
  EXPECT_EQ(EnglishMonthName(9), "September");
  for (const int32_t month : {0, 13, -1}) {
    EXPECT_EQ(OldMonthName(month), "");
    EXPECT_EQ(MonthReading(month), "");
    EXPECT_EQ(EnglishMonthName(month), "");
  }
}

// Every era with the date of its first day: the day number stored for it must denote that
// date, the day is in the era and the day before in the previous one. Both calendars have
// these eras alike.
TEST(DateTexts, EraTable) {
  const struct {
    const char* name;
    TDateRec first;
    char letter;
  } eras[kEraCount] = {
      {"天正", {1582, 11, 1}, 'G'},  {"文祿", {1592, 12, 8}, 'G'},  {"慶長", {1596, 10, 27}, 'G'},
      {"元和", {1615, 7, 13}, 'G'},  {"寛永", {1624, 3, 1}, 'G'},   {"正保", {1644, 12, 16}, 'G'},
      {"慶安", {1648, 2, 15}, 'G'},  {"承應", {1652, 9, 18}, 'G'},  {"明暦", {1655, 4, 13}, 'G'},
      {"萬治", {1658, 7, 23}, 'G'},  {"寛文", {1661, 4, 25}, 'G'},  {"延寶", {1673, 9, 21}, 'G'},
      {"天和", {1681, 9, 29}, 'G'},  {"貞享", {1684, 2, 21}, 'G'},  {"元禄", {1688, 9, 30}, 'G'},
      {"寶永", {1704, 3, 13}, 'G'},  {"正徳", {1711, 4, 25}, 'G'},  {"亨保", {1716, 6, 22}, 'G'},
      {"元文", {1736, 4, 28}, 'G'},  {"寛保", {1741, 2, 27}, 'G'},  {"延享", {1744, 2, 21}, 'G'},
      {"寛延", {1748, 7, 12}, 'G'},  {"寶暦", {1751, 10, 27}, 'G'}, {"明和", {1764, 6, 2}, 'G'},
      {"安永", {1772, 11, 16}, 'G'}, {"天明", {1781, 4, 2}, 'G'},   {"寛政", {1789, 1, 25}, 'G'},
      {"享和", {1801, 2, 5}, 'G'},   {"文化", {1804, 2, 11}, 'G'},  {"文政", {1818, 4, 22}, 'G'},
      {"天保", {1830, 12, 10}, 'G'}, {"弘化", {1844, 12, 2}, 'G'},  {"嘉永", {1848, 2, 28}, 'G'},
      {"安政", {1854, 11, 27}, 'G'}, {"萬延", {1860, 3, 18}, 'G'},  {"文久", {1861, 2, 19}, 'G'},
      {"元治", {1864, 2, 20}, 'G'},  {"慶應", {1865, 4, 7}, 'G'},   {"明治", {1868, 9, 8}, 'M'},
      {"大正", {1912, 7, 30}, 'T'},  {"昭和", {1926, 12, 25}, 'S'}, {"平成", {1989, 1, 8}, 'H'},
  };
  for (const TCalendarKind kind : {kClassic, kCurrent}) {
    for (int32_t i = 0; i < kEraCount; ++i) {
      const auto& era = eras[i];
      SCOPED_TRACE(std::to_string(i) + (kind == kCurrent ? " current" : " classic"));
      EXPECT_EQ(EraName(i, kind), era.name);
      EXPECT_EQ(EraLetter(i, kind), era.letter);
      EXPECT_EQ(EraOf(era.first, kind).Era, i);
      EXPECT_EQ(EraOf(AddDays(era.first, -1), kind).Era, i - 1);
    }
    EXPECT_EQ(EraName(-1, kind), "");
    EXPECT_EQ(EraName(EraCount(kind), kind), "");
    EXPECT_EQ(EraLetter(EraCount(kind), kind), '\0');
  }
  // The current calendar's one more era, which the classic one does not know.
  EXPECT_EQ(EraCount(kClassic), kEraCount);
  EXPECT_EQ(EraName(kEraReiwa, kClassic), "");
  EXPECT_EQ(EraLetter(kEraReiwa, kClassic), '\0');
  EXPECT_EQ(EraName(kEraReiwa, kCurrent), "令和");
  EXPECT_EQ(EraLetter(kEraReiwa, kCurrent), 'R');
}

// The current calendar has 令和 from 2019/5/1; the classic one counts 平成 on.
TEST(DateTexts, ErasOfBothCalendars) {
  const struct {
    TDateRec date;
    int32_t style;
    const char* classic;
    const char* current;
  } cases[] = {
      {{1989, 1, 8}, 8, "平成1", "平成1"},
      {{2019, 4, 30}, 8, "平成31", "平成31"},
      {{2019, 5, 1}, 8, "平成31", "令和1"},
      {{2019, 12, 31}, 7, "H31", "R1"},
      {{2024, 1, 1}, 9, "平成36年", "令和6年"},
      {{2024, 1, 1}, 6, "H36", "R6"},
      {{2150, 12, 31}, 11, "平成１６２年", "令和１３２年"},
      {{2024, 1, 1}, 0, "2024", "2024"},
      {{2023, 2, 30}, 8, "2023", "2023"},  // no such day, no era
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test::DateLabel(c.date) + " style " + std::to_string(c.style));
    EXPECT_EQ(YearText(0, c.style, c.date, kClassic), c.classic);
    EXPECT_EQ(YearText(0, c.style, c.date, kCurrent), c.current);
  }
  EXPECT_EQ(EraOf({2019, 5, 1}, kCurrent), (TEraYear{kEraReiwa, 1}));
  EXPECT_EQ(EraOf({2019, 4, 30}, kCurrent), (TEraYear{kEraHeisei, 31}));
  EXPECT_EQ(DateText(0, "", 8, 0, 0, 0, {2024, 5, 1}, kCurrent), "令和6年5月1日(水)");
  EXPECT_EQ(DateText(0, "", 8, 0, 0, 0, {2024, 5, 1}, kClassic), "平成36年5月1日(水)");
}

TEST(DateTexts, EraOfBoundaries) {
  const struct {
    TDateRec date;
    TEraYear expected;
  } cases[] = {
      {{1989, 1, 7}, {kEraShowa, 64}},
      {{1989, 1, 8}, {kEraHeisei, 1}},
      {{1926, 12, 24}, {kEraTaisho, 15}},
      {{1926, 12, 25}, {kEraShowa, 1}},
      {{1912, 7, 29}, {kEraMeiji, 45}},
      {{1912, 7, 30}, {kEraTaisho, 1}},
      {{1873, 1, 1}, {kEraMeiji, 6}},
      {{1872, 12, 31}, {kEraMeiji, 1872}},
      {{1868, 9, 8}, {kEraMeiji, 1868}},
      {{1868, 9, 7}, {37, 1868}},  // 慶應
      {{1711, 4, 24}, {15, 1711}},
      {{1711, 4, 25}, {16, 1711}},  // 寶永, 正徳
      {{1582, 11, 1}, {0, 1582}},
      {{1582, 10, 31}, {-1, 0}},
      {{1858, 11, 17}, {33, 1858}},  // day number 0, in 安政
      {{2019, 5, 1}, {kEraHeisei, 31}},
      {{2150, 12, 31}, {kEraHeisei, 162}},
      {{2023, 2, 30}, {-1, 0}},  // no such day
      {{20000, 1, 1}, {-1, 0}},
      // A pattern is no date: its era is that of the day it resolves to.
      {{kCodeEarliest, 1, 1}, {-1, 0}},
      {{kCodeToday, kCodeToday, kCodeToday}, {-1, 0}},
      {{kCodeEvery, kCodeEvery, kCodeEvery}, {-1, 0}},
      {{1989, 1, kCodeMonthEnd}, {-1, 0}},
      {{1989, 13, 1}, {-1, 0}},
      {{1989, 1, kCodeHoliday}, {-1, 0}},
  };
  for (const auto& c : cases) {
    const TEraYear era = EraOf(c.date, kClassic);
    EXPECT_EQ(era.Era, c.expected.Era) << test::DateLabel(c.date);
    EXPECT_EQ(era.Year, c.expected.Year) << test::DateLabel(c.date);
  }
}

TEST(ZodiacAnimal, FromYear1873) {
  const struct {
    int32_t year;
    const char* expected;
  } cases[] = {
      {2024, "辰ﾀﾂ"}, {1873, "酉ﾄﾘ"}, {1872, ""},     {1874, "戌ｲﾇ"},   {1875, "亥ｲ"},
      {1876, "子ﾈ"},  {2020, "子ﾈ"},  {2021, "丑ｳｼ"}, {2027, "未ﾋﾂｼﾞ"}, {0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ZodiacAnimal(c.year), c.expected) << c.year;
}

TEST(ZodiacSign, Boundaries) {
  const struct {
    int32_t month, day;
    const char* expected;
  } cases[] = {
      {1, 20, "山羊座"},  {1, 21, "水瓶座"},  {2, 19, "水瓶座"},  {2, 20, "魚座"},
      {3, 20, "魚座"},    {3, 21, "牡羊座"},  {5, 21, "牡牛座"},  {5, 22, "双子座"},
      {7, 23, "蟹座"},    {7, 24, "獅子座"},  {10, 24, "蠍座"},   {11, 23, "射手座"},
      {12, 22, "射手座"}, {12, 23, "山羊座"}, {12, 31, "山羊座"}, {0, 1, ""},
      {13, 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ZodiacSign(c.month, c.day), c.expected) << c.month << "/" << c.day;
  }
}

TEST(DateTexts, YearTextStyles) {
  const struct {
    int32_t style;
    TDateRec date;
    const char* expected;
  } cases[] = {
      {0, {2000, 4, 1}, "2000"},
      {1, {2000, 4, 1}, "00"},
      {2, {2000, 4, 1}, "'00"},
      {3, {2000, 4, 1}, "２０００"},
      {4, {2000, 4, 1}, "０"},
      {5, {2000, 4, 1}, "’０"},
      {6, {2000, 4, 1}, "H12"},
      {7, {2000, 4, 1}, "H12"},
      {8, {2000, 4, 1}, "平成12"},
      {9, {2000, 4, 1}, "平成12年"},
      {10, {2000, 4, 1}, "平成１２"},
      {11, {2000, 4, 1}, "平成１２年"},
      {12, {2000, 4, 1}, "@"},
      {-1, {2000, 4, 1}, "@"},
      {1, {2005, 1, 1}, "05"},
      {4, {2005, 1, 1}, "５"},
      {5, {2005, 1, 1}, "’５"},
      {4, {2024, 1, 1}, "２４"},
      {8, {1989, 1, 7}, "昭和64"},
      {8, {1989, 1, 8}, "平成1"},
      {6, {1926, 12, 25}, "S1"},
      {7, {1912, 7, 30}, "T1"},
      {6, {1873, 1, 1}, "M6"},
      {10, {1873, 1, 1}, "明治６"},
      // Before 1873 the western year.
      {6, {1868, 9, 8}, "1868"},
      {8, {1872, 12, 31}, "1872"},
      {9, {1868, 9, 8}, "1868年"},
      {10, {1700, 1, 1}, "1700"},
      {11, {1700, 1, 1}, "1700年"},
      // A day that does not exist has no era.
      {8, {2023, 2, 30}, "2023"},
      {11, {2023, 2, 30}, "2023年"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(YearText(0, c.style, c.date, kClassic), c.expected)
        << c.style << " " << test::DateLabel(c.date);
  }
}

TEST(DateTexts, YearTextCodes) {
  const struct {
    int32_t side, code;
    const char* expected;
  } cases[] = {
      {0, kCodeEvery, "毎"},
      {1, kCodeEvery, "同"},
      {2, kCodeEvery, "@"},
      {0, kCodeToday, "今"},
      {1, kCodeBaseStart, "開始"},
      {0, kCodeBaseEnd, "終了"},
      {0, kCodeEarliest, "永久過去"},
      {0, kCodeLatest, "永久未来"},
      {0, kCodeKeep, "設定"},
      {0, kCodeHoliday, "@"},
      {0, -11, "@"},
  };
  for (const auto& c : cases) {
    for (const int32_t style : {0, 8, 99}) {
      EXPECT_EQ(YearText(c.side, style, {c.code, 1, 1}, kClassic), c.expected)
          << c.code << " " << style;
    }
  }
}

TEST(MonthText, Styles) {
  const struct {
    int32_t style, month;
    const char* expected;
  } cases[] = {
      {0, 1, "1"},
      {1, 1, "01"},
      {2, 1, "1月"},
      {3, 1, " 1月"},
      {4, 1, "睦月"},
      {5, 1, "むつき"},
      {6, 1, "睦月（むつき）"},
      {7, 1, "January"},
      {8, 1, "Jan."},
      {9, 1, "Jan"},
      {10, 1, "@m"},
      {-1, 1, "@m"},
      {1, 12, "12"},
      {3, 12, "12月"},
      {4, 12, "師走"},
      {6, 6, "水無月（みなづき）"},
      {8, 12, "Dec."},
      {9, 5, "May"},
      {0, 13, "13"},
      {4, 13, "@m"},
      {8, 13, "@m"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MonthText(0, c.style, c.month), c.expected) << c.style << " " << c.month;
  }
}

TEST(MonthText, Codes) {
  EXPECT_EQ(MonthText(0, 4, kCodeEvery), "毎");
  EXPECT_EQ(MonthText(1, 4, kCodeEvery), "同");
  EXPECT_EQ(MonthText(5, 0, kCodeEvery), "@m");
  EXPECT_EQ(MonthText(0, 0, kCodeToday), "今");
  EXPECT_EQ(MonthText(0, 0, kCodeBaseStart), "開始");
  EXPECT_EQ(MonthText(0, 0, kCodeBaseEnd), "終了");
  EXPECT_EQ(MonthText(0, 0, kCodeEarliest), "永久過去");
  EXPECT_EQ(MonthText(0, 0, kCodeLatest), "永久未来");
  EXPECT_EQ(MonthText(0, 0, kCodeKeep), "設定");
  EXPECT_EQ(MonthText(0, 0, kCodeHoliday), "@m");
}

TEST(DayText, Styles) {
  const struct {
    int32_t style, day;
    const char* expected;
  } cases[] = {
      {0, 5, "5"},   {1, 5, "05"},  {2, 5, " 5"},  {3, 5, "@d"}, {-1, 5, "@d"},
      {0, 31, "31"}, {1, 31, "31"}, {2, 31, "31"}, {1, 1, "01"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DayText(0, c.style, c.day), c.expected) << c.style << " " << c.day;
  }
}

TEST(DayText, CodeWords) {
  const struct {
    int32_t side, code;
    const char* expected;
  } cases[] = {
      {0, kCodeEvery, "毎"},
      {1, kCodeEvery, "同"},
      {-1, kCodeEvery, "@d"},
      {0, kCodeToday, "今"},
      {0, kCodeBaseStart, "開始"},
      {0, kCodeBaseEnd, "終了"},
      {0, kCodeEarliest, "永久過去"},
      {0, kCodeLatest, "永久未来"},
      {0, kCodeKeep, "設定"},
      {0, kCodeHoliday, "祝"},
      {0, kCodePrivateHoliday, "私休"},
      {0, kCodeVernalEquinox, "春分の"},
      {0, kCodeAutumnalEquinox, "秋分の"},
      {0, kCodeMonthEnd, "末"},
      {0, 33, "今週日曜"},
      {0, 34, "今週月曜"},
      {0, 39, "今週土曜"},
      {0, 40, "毎週日曜"},
      {0, 41, "毎週月曜"},
      {0, 46, "毎週土曜"},
      {0, 47, "第１日曜"},
      {0, 55, "第２月曜"},
      {0, 66, "第３金曜"},
      {0, 81, "第５土曜"},
      {0, 82, "最終日曜"},
      {1, 83, "最終月曜"},
      {0, 88, "最終土曜"},
      {0, 89, "@d"},
      {0, -11, "@d"},
  };
  for (const auto& c : cases) {
    for (const int32_t style : {0, 2, 7}) {
      EXPECT_EQ(DayText(c.side, style, c.code), c.expected) << c.code << " style " << style;
    }
  }
}

TEST(DateTexts, DateTextJoinsTheParts) {
  const struct {
    int32_t side;
    const char* separator;
    int32_t year_style, month_style, day_style, weekday_style;
    TDateRec date;
    const char* expected;
  } cases[] = {
      {0, "/", 0, 0, 0, 0, {2024, 5, 1}, "2024/5/1(水)"},
      {0, "", 0, 0, 0, 0, {2024, 5, 1}, "2024年5月1日(水)"},
      {0, "/", 0, 0, 0, 1, {2024, 5, 1}, "2024/5/1 水曜"},
      {0, "/", 0, 0, 0, 2, {2024, 5, 1}, "2024/5/1 水曜日"},
      {0, "/", 0, 0, 0, 4, {2024, 5, 1}, "2024/5/1 Wed."},
      {0, "/", 0, 0, 0, 7, {2024, 5, 1}, "2024/5/1 W"},
      {0, "/", 0, 0, 0, -1, {2024, 5, 1}, "2024/5/1"},
      {0, "/", 0, 0, 0, 8, {2024, 5, 1}, "2024/5/1"},
      {0, "-", 1, 1, 1, -1, {2024, 5, 1}, "24-05-01"},
      {0, "", 10, 0, 0, 3, {2019, 4, 30}, "平成３１年4月30日 Tuesday"},
      {0,
       ". ",
       0,
       8,
       2,
       -1,
       {2024, 12, 5},
       "2024. Dec.. "
       " 5"},
      {1, "/", 0, 0, 0, -1, {kCodeEvery, 12, 25}, "同/12/25"},
      {0, "/", 0, 0, 0, -1, {kCodeEvery, 12, 25}, "毎/12/25"},
      {0, "/", 0, 0, 0, -1, {kCodeToday, kCodeToday, kCodeMonthEnd}, "今/今/末"},
      {0, "/", 0, 0, 0, -1, {2024, 1, 55}, "2024/1/第２月曜"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateText(c.side, c.separator, c.year_style, c.month_style, c.day_style,
                       c.weekday_style, c.date, kClassic),
              c.expected)
        << c.expected;
  }
}

TEST(CommandLineDate, Forms) {
  const struct {
    const char* text;
    TDateRec expected;     // kNullDate: an error is expected
    std::size_t position;  // of the error: the field that does not read
  } cases[] = {
      {"2024/5/1", {2024, 5, 1}, 0},
      {"2024-05-01", {2024, 5, 1}, 0},
      {"1582/11/1", {1582, 11, 1}, 0},
      {"2150/12/31", {2150, 12, 31}, 0},
      {"1582/10/31", kNullDate, 0},
      {"2151/1/1", kNullDate, 0},
      {"2023/2/29", kNullDate, 0},
      {"2024/13/1", kNullDate, 0},
      {"2024/5", kNullDate, 5},
      {"2024/5/1/2", kNullDate, 7},
      {"", kNullDate, 0},
      {"abc", kNullDate, 0},
      {"2024/+5/1", kNullDate, 5},
      {"2024-5/1", kNullDate, 5},
      {"99999999999/1/1", kNullDate, 0},
      {"2024/05/01x", kNullDate, 8},
  };
  for (const auto& c : cases) {
    TDateRec date;
    const TParseError error = ParseCommandLineDate(c.text, date);
    if (c.expected == kNullDate) {
      EXPECT_TRUE(error.Failed()) << c.text;
      EXPECT_EQ(error.Position(), c.position) << c.text;
    } else {
      EXPECT_EQ(error.Message(), "") << c.text;
      EXPECT_EQ(date, c.expected) << c.text;
    }
  }
}

}  // namespace
}  // namespace pelo
