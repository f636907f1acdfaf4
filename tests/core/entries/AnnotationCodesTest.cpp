#include "entries/AnnotationCodes.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <span>
#include <string>

#include "DateLabels.h"

namespace pelo {
namespace {

using test::DateLabel;

// One code on a day: shown T, period S..E, base Z.
struct TCodeCase {
  const char* text;
  TDateRec T, S, E, Z;
  const char* expected;
};

void CheckCases(std::span<const TCodeCase> cases) {
  for (const TCodeCase& c : cases) {
    EXPECT_EQ(ExpandCodes(c.text, c.T, c.S, c.E, c.Z, TCalendarKind::kClassic), c.expected)
        << c.text << " T=" << DateLabel(c.T) << " S=" << DateLabel(c.S) << " E=" << DateLabel(c.E)
        << " Z=" << DateLabel(c.Z);
  }
}

constexpr TDateRec kBirth{1970, 5, 3};
constexpr TDateRec kDay2000{2000, 5, 3};

// The codes that count years from the base, each with N above, at and below 0.
TEST(AnnotationCodes, YearCounts) {
  const TDateRec t1965{1965, 1, 1};
  const TDateRec t1970{1970, 8, 1};
  const TCodeCase cases[] = {
      {"%n", kDay2000, kDay2000, kDay2000, kBirth, "30"},
      {"%n", t1970, t1970, t1970, kBirth, "0"},
      {"%n", t1965, t1965, t1965, kBirth, "-5"},
      {"%a", kDay2000, kDay2000, kDay2000, kBirth, "31"},
      {"%a", t1970, t1970, t1970, kBirth, "1"},
      {"%a", t1965, t1965, t1965, kBirth, "-4"},
      {"%a", {1969, 5, 3}, kDay2000, kDay2000, kBirth, "0"},
      {"%c", kDay2000, kDay2000, kDay2000, kBirth, "生誕 30年"},
      {"%c", t1970, t1970, t1970, kBirth, ""},
      {"%c", t1965, t1965, t1965, kBirth, ""},
      {"%q", {2050, 1, 9}, kDay2000, kDay2000, kBirth, "死去（享年 80歳）"},
      {"%q", t1970, t1970, t1970, kBirth, "死去（享年 0歳）"},
      {"%q", {1967, 2, 1}, kDay2000, kDay2000, kBirth, "死去（享年 -3歳）"},
      {"%e", {1975, 5, 3}, kDay2000, kDay2000, kBirth, "（5周年記念）"},
      {"%e", t1970, t1970, t1970, kBirth, ""},
      {"%e", {1969, 5, 3}, kDay2000, kDay2000, kBirth, ""},
      {"%t", t1970, t1970, t1970, kBirth, "第1回"},
      {"%t", {1979, 1, 1}, kDay2000, kDay2000, kBirth, "第10回"},
      {"%t", t1965, t1965, t1965, kBirth, "第-4回"},
      {"%t", {1968, 1, 1}, kDay2000, kDay2000, kBirth, "第-1回"},
  };
  CheckCases(cases);
}

// %y is the period's year, %m and %d the base's month and day.
TEST(AnnotationCodes, DateFields) {
  const TCodeCase cases[] = {
      {"%y年", {2000, 1, 2}, {1999, 12, 30}, {2000, 1, 3}, kBirth, "1999年"},
      {"%y", kDay2000, kDay2000, kDay2000, kBirth, "2000"},
      {"%m月%d日", kDay2000, kDay2000, kDay2000, kBirth, "5月3日"},
      {"%m/%d", kDay2000, kDay2000, kDay2000, {1999, 12, 31}, "12/31"},
  };
  CheckCases(cases);
}

TEST(AnnotationCodes, EraYearOfBase) {
  const TCodeCase cases[] = {
      {"%h", kDay2000, kDay2000, kDay2000, kBirth, "昭和45年"},
      {"%h", kDay2000, kDay2000, kDay2000, {1850, 1, 1}, "1850年"},
      {"%h", kDay2000, kDay2000, kDay2000, {1872, 12, 31}, "1872年"},
      {"%h", kDay2000, kDay2000, kDay2000, {1873, 1, 1}, "明治6年"},
      {"%h", kDay2000, kDay2000, kDay2000, {1912, 7, 29}, "明治45年"},
      {"%h", kDay2000, kDay2000, kDay2000, {1912, 7, 30}, "大正1年"},
      {"%h", kDay2000, kDay2000, kDay2000, {1989, 1, 7}, "昭和64年"},
      {"%h", kDay2000, kDay2000, kDay2000, {1989, 1, 8}, "平成1年"},
      {"%h生まれ", kDay2000, kDay2000, kDay2000, {2019, 6, 1}, "平成31年生まれ"},
      // A base still holding a code is written as the date texts write it.
      {"%h", kDay2000, kDay2000, kDay2000, {kCodeToday, 5, 3}, "今"},
  };
  CheckCases(cases);
}

TEST(AnnotationCodes, Birthday) {
  const TCodeCase cases[] = {
      {"太郎%b", kDay2000, kDay2000, kDay2000, kBirth, "太郎 30歳の誕生日"},
      {"太郎%b", {1970, 5, 3}, kDay2000, kDay2000, kBirth, "太郎の誕生日"},
      {"太郎%b", {1970, 12, 31}, kDay2000, kDay2000, kBirth, "太郎の誕生日"},
      {"太郎%b", {1969, 5, 3}, kDay2000, kDay2000, kBirth, "太郎の誕生日"},
      {"%b", {1971, 5, 3}, kDay2000, kDay2000, kBirth, " 1歳の誕生日"},
      // The numbered forms win: only the first kind that occurs is replaced.
      {"%b1 %b", kDay2000, kDay2000, kDay2000, kBirth, " 30歳の誕生日 %b"},
      {"%b %b1", kDay2000, kDay2000, kDay2000, kBirth, "%b  30歳の誕生日"},
      {"%b2%b", kDay2000, kDay2000, kDay2000, kBirth, " 30歳の誕生日%b"},
      {"%b1%b2", kDay2000, kDay2000, kDay2000, kBirth, " 30歳の誕生日%b2"},
      {"%b1,%b1", kDay2000, kDay2000, kDay2000, kBirth, " 30歳の誕生日, 30歳の誕生日"},
      {"%b/%b", kDay2000, kDay2000, kDay2000, kBirth, " 30歳の誕生日/ 30歳の誕生日"},
      {"%b3", kDay2000, kDay2000, kDay2000, kBirth, " 30歳の誕生日3"},
  };
  CheckCases(cases);
}

TEST(AnnotationCodes, Longevity) {
  const struct {
    int32_t age;
    const char* expected;
  } cases[] = {
      {60, "【還暦】"}, {70, "【古希】"}, {77, "【喜寿】"},  {80, "【傘寿】"}, {88, "【米寿】"},
      {90, "【卒寿】"}, {99, "【白寿】"}, {100, "【百賀】"}, {61, ""},         {59, ""},
      {0, ""},          {-60, ""},        {101, ""},         {1, ""},
  };
  for (const auto& c : cases) {
    const TDateRec t{1970 + c.age, 6, 1};
    EXPECT_EQ(ExpandCodes("%z", t, t, t, kBirth, TCalendarKind::kClassic), c.expected) << c.age;
  }
}

// Death on 2000/5/3: the years since and the memorial services.
TEST(AnnotationCodes, AfterDeath) {
  const TCodeCase cases[] = {
      {"%v", {2001, 5, 3}, kDay2000, kDay2000, kDay2000, "没後1年"},
      {"%v", {2003, 5, 3}, kDay2000, kDay2000, kDay2000, "没後3年"},
      {"%v", {2001, 1, 1}, kDay2000, kDay2000, kDay2000, "没後7ヶ月と29日"},
      {"%v", {2000, 12, 31}, kDay2000, kDay2000, kDay2000, ""},
      {"%v", {1999, 5, 3}, kDay2000, kDay2000, kDay2000, ""},
      {"%x", kDay2000, kDay2000, kDay2000, kDay2000, ""},
      {"%x", {2000, 12, 31}, kDay2000, kDay2000, kDay2000, ""},
      {"%x", {2001, 5, 3}, kDay2000, kDay2000, kDay2000, "【一周忌】"},
      {"%x", {2002, 5, 3}, kDay2000, kDay2000, kDay2000, "【3回忌】"},
      {"%x", {2003, 5, 3}, kDay2000, kDay2000, kDay2000, ""},
      {"%x", {1999, 5, 3}, kDay2000, kDay2000, kDay2000, ""},
      // What a life event's yearly entry shows.
      {"%v%x", {2001, 5, 3}, kDay2000, kDay2000, kDay2000, "没後1年【一周忌】"},
      {"%v%x", {2002, 5, 3}, kDay2000, kDay2000, kDay2000, "没後2年【3回忌】"},
      {"%v%x", {2049, 5, 3}, kDay2000, kDay2000, kDay2000, "没後49年【50回忌】"},
  };
  CheckCases(cases);
}

TEST(AnnotationCodes, MemorialYears) {
  const struct {
    int32_t years;
    const char* expected;
  } cases[] = {
      {1, "【一周忌】"},
      {2, "【3回忌】"},
      {6, "【7回忌】"},
      {12, "【13回忌】"},
      {16, "【17回忌】"},
      {22, "【23回忌】"},
      {24, "【25回忌】"},
      {26, "【27回忌】"},
      {32, "【33回忌】"},
      {36, "【37回忌】"},
      {49, "【50回忌】"},
      {99, "【100回忌】"},
      {0, ""},
      {3, ""},
      {4, ""},
      {7, ""},
      {13, ""},
      {25, ""},
      {50, ""},
      {100, ""},
      {-1, ""},
  };
  const TDateRec death{1900, 3, 10};
  for (const auto& c : cases) {
    const TDateRec t{1900 + c.years, 3, 10};
    EXPECT_EQ(ExpandCodes("%x", t, t, t, death, TCalendarKind::kClassic), c.expected) << c.years;
  }
  EXPECT_EQ(MemorialName(1), "一周忌");
  EXPECT_EQ(MemorialName(36), "37回忌");
  EXPECT_EQ(MemorialName(5), "");
}

TEST(AnnotationCodes, ZodiacAnimalOfBase) {
  const TCodeCase cases[] = {
      {"%k", kDay2000, kDay2000, kDay2000, {2000, 1, 1}, "（辰ﾀﾂ）"},
      {"%k", kDay2000, kDay2000, kDay2000, kBirth, "（戌ｲﾇ）"},
      {"%k", kDay2000, kDay2000, kDay2000, {1873, 1, 1}, "（酉ﾄﾘ）"},
      {"%k", kDay2000, kDay2000, kDay2000, {1983, 1, 1}, "（亥ｲ）"},
      {"%k", kDay2000, kDay2000, kDay2000, {1872, 12, 31}, "（）"},
      {"%k", kDay2000, kDay2000, kDay2000, {1700, 1, 1}, "（）"},
  };
  CheckCases(cases);
}

TEST(AnnotationCodes, Wedding) {
  const struct {
    int32_t years;
    const char* expected;
  } cases[] = {
      {25, "の結婚25周年記念【銀婚式】"},
      {26, "の結婚26周年記念"},
      {1, "の結婚1周年記念【紙婚式】"},
      {50, "の結婚50周年記念【金婚式】"},
      {60, "の結婚60周年記念【ダイヤモンド婚式】"},
      {16, "の結婚16周年記念"},
      {0, "の結婚記念日"},
      {-3, "の結婚記念日"},
  };
  const TDateRec wedding{1990, 6, 1};
  for (const auto& c : cases) {
    const TDateRec t{1990 + c.years, 6, 1};
    EXPECT_EQ(ExpandCodes("%w", t, t, t, wedding, TCalendarKind::kClassic), c.expected) << c.years;
  }
}

TEST(WeddingAnniversaryName, AllNames) {
  const struct {
    int32_t years;
    const char* expected;
  } cases[] = {
      {1, "紙婚式"},
      {2, "綿婚式"},
      {3, "革婚式"},
      {4, "花婚式"},
      {5, "木婚式"},
      {6, "鉄婚式"},
      {7, "銅婚式"},
      {8, "青銅婚式"},
      {9, "陶器婚式"},
      {10, "錫婚式"},
      {11, "鋼鉄婚式"},
      {12, "絹婚式"},
      {13, "レース婚式"},
      {14, "象牙婚式"},
      {15, "水晶婚式"},
      {20, "磁器婚式"},
      {25, "銀婚式"},
      {30, "真珠婚式"},
      {35, "さんご婚式"},
      {40, "ルビー婚式"},
      {45, "サファイア婚式"},
      {50, "金婚式"},
      {55, "エメラルド婚式"},
      {60, "ダイヤモンド婚式"},
      {0, ""},
      {16, ""},
      {21, ""},
      {65, ""},
      {-1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(WeddingAnniversaryName(c.years), c.expected) << c.years;
}

TEST(AnnotationCodes, SchoolGrade) {
  const struct {
    int32_t n;
    const char* expected;
  } cases[] = {
      {7, "小学1年生"}, {8, "小学2年生"}, {12, "小学6年生"}, {13, "中学1年生"}, {15, "中学3年生"},
      {16, ""},         {6, ""},          {0, ""},           {-5, ""},          {30, ""},
  };
  const TDateRec born{2000, 4, 2};
  for (const auto& c : cases) {
    const TDateRec t{2000 + c.n, 12, 31};
    EXPECT_EQ(ExpandCodes("%g", t, t, t, born, TCalendarKind::kClassic), c.expected) << c.n;
  }
  // A child born in 2000 is in the first year of school on every day of 2007.
  for (const TDateRec t : {TDateRec{2007, 1, 1}, TDateRec{2007, 12, 31}}) {
    EXPECT_EQ(ExpandCodes("%g", t, t, t, born, TCalendarKind::kClassic), "小学1年生");
  }
}

TEST(AnnotationCodes, WesternZodiacSign) {
  const TCodeCase cases[] = {
      {"%p", {2001, 1, 20}, kDay2000, kDay2000, kBirth, "山羊座"},
      {"%p", {2001, 1, 21}, kDay2000, kDay2000, kBirth, "水瓶座"},
      {"%p", {2001, 2, 19}, kDay2000, kDay2000, kBirth, "水瓶座"},
      {"%p", {2000, 2, 29}, kDay2000, kDay2000, kBirth, "魚座"},
      {"%p", {2001, 5, 21}, kDay2000, kDay2000, kBirth, "牡牛座"},
      {"%p", {2001, 5, 22}, kDay2000, kDay2000, kBirth, "双子座"},
      {"%p", {2001, 7, 23}, kDay2000, kDay2000, kBirth, "蟹座"},
      {"%p", {2001, 7, 24}, kDay2000, kDay2000, kBirth, "獅子座"},
      {"%p", {2001, 11, 23}, kDay2000, kDay2000, kBirth, "射手座"},
      {"%p", {2001, 12, 22}, kDay2000, kDay2000, kBirth, "射手座"},
      {"%p", {2001, 12, 23}, kDay2000, kDay2000, kBirth, "山羊座"},
  };
  CheckCases(cases);
}

// The sign rule as an entry's %p has always worded it, checked on every day of a leap year.
TEST(AnnotationCodes, WesternZodiacSignWholeYear) {
  constexpr std::array<const char*, 13> kNames = {
      "", "山羊", "水瓶", "魚", "牡羊", "牡牛", "双子", "蟹", "獅子", "乙女", "天秤", "蠍", "射手"};
  int32_t days = 0;
  for (TDateRec t{2024, 1, 1}; t.Year == 2024; t = AddDays(t, 1), ++days) {
    int32_t a = t.Month;
    switch (t.Month) {
      case 1:
      case 3:
      case 4:
        if (t.Day > 20) ++a;
        break;
      case 2:
        if (t.Day > 19) ++a;
        break;
      case 5:
      case 6:
        if (t.Day > 21) ++a;
        break;
      case 7:
      case 8:
      case 9:
      case 10:
        if (t.Day > 23) ++a;
        break;
      case 11:
        if (t.Day > 22) ++a;
        break;
      default:
        if (t.Day > 22) a = 1;
        break;
    }
    EXPECT_EQ(ExpandCodes("%p", t, t, t, kBirth, TCalendarKind::kClassic),
              std::string(kNames[a]) + "座")
        << DateLabel(t);
  }
  EXPECT_EQ(days, 366);
}

// 2020/1/25 is the old new year (旧1/1, 先勝); 2020 has a leap 4th month. The classic table
// ends with 2021/1/13, the current one with 2150; within the classic range both agree.
TEST(AnnotationCodes, OldCalendar) {
  const struct {
    TDateRec t;
    const char* classic;  // "%i %o"
    const char* current;
  } cases[] = {
      {{2020, 1, 25}, "旧1/1 先勝", "旧1/1 先勝"},
      {{2020, 1, 26}, "旧1/2 友引", "旧1/2 友引"},
      {{2020, 5, 23}, "閏4/1 仏滅", "閏4/1 仏滅"},
      {{2020, 6, 21}, "旧5/1 大安", "旧5/1 大安"},
      {{1870, 11, 23}, "閏10/1 仏滅", "閏10/1 仏滅"},
      {{2021, 1, 13}, "旧12/1 赤口", "旧12/1 赤口"},
      {{1870, 11, 22}, " ", " "},
      {{2021, 1, 14}, " ", "旧12/2 先勝"},
      {{2026, 12, 7}, " ", "旧10/29 友引"},
      {{2033, 10, 23}, " ", "旧10/1 仏滅"},
      {{2033, 12, 22}, " ", "閏11/1 大安"},
      {{1700, 1, 1}, " ", " "},
      {{2151, 1, 1}, " ", " "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(DateLabel(c.t));
    EXPECT_EQ(ExpandCodes("%i %o", c.t, c.t, c.t, kBirth, TCalendarKind::kClassic), c.classic);
    EXPECT_EQ(ExpandCodes("%i %o", c.t, c.t, c.t, kBirth, TCalendarKind::kCurrent), c.current);
  }
}

// %h names the era of the base date: 令和 only in the current calendar.
TEST(AnnotationCodes, EraOfTheBaseDate) {
  const struct {
    TDateRec z;
    const char* classic;
    const char* current;
  } cases[] = {
      {{2019, 4, 30}, "平成31年", "平成31年"},
      {{2019, 5, 1}, "平成31年", "令和1年"},
      {{2026, 2, 23}, "平成38年", "令和8年"},
      {{1926, 12, 25}, "昭和1年", "昭和1年"},
  };
  const TDateRec t{2030, 1, 1};
  for (const auto& c : cases) {
    SCOPED_TRACE(DateLabel(c.z));
    EXPECT_EQ(ExpandCodes("%h", t, t, t, c.z, TCalendarKind::kClassic), c.classic);
    EXPECT_EQ(ExpandCodes("%h", t, t, t, c.z, TCalendarKind::kCurrent), c.current);
  }
}

// A three-day period 2024/3/1..3/3 and days around it.
TEST(AnnotationCodes, PlaceInPeriod) {
  const TDateRec s{2024, 3, 1};
  const TDateRec e{2024, 3, 3};
  const TCodeCase cases[] = {
      {"%s", s, s, e, kBirth, "初日"},
      {"%l", s, s, e, kBirth, "残り 3日"},
      {"%s", {2024, 3, 2}, s, e, kBirth, "2日目"},
      {"%l", {2024, 3, 2}, s, e, kBirth, "残り 2日"},
      {"%s", e, s, e, kBirth, "最終日"},
      {"%l", e, s, e, kBirth, "残り 1日"},
      {"%s（%l）", {2024, 3, 2}, s, e, kBirth, "2日目（残り 2日）"},
      // Outside the period the counts simply go on.
      {"%s", {2024, 2, 28}, s, e, kBirth, "-1日目"},
      {"%l", {2024, 2, 28}, s, e, kBirth, "残り 5日"},
      {"%s", {2024, 3, 5}, s, e, kBirth, "5日目"},
      {"%l", {2024, 3, 5}, s, e, kBirth, "残り -1日"},
      // A single day is its own first day.
      {"%s", s, s, s, kBirth, "初日"},
      {"%l", s, s, s, kBirth, "残り 1日"},
      {"%r", s, s, e, kBirth, "3日間"},
      {"%r", s, s, s, kBirth, "1日間"},
      {"%r", s, {2024, 2, 28}, e, kBirth, "5日間"},
      {"%r", s, {2023, 12, 1}, {2024, 11, 30}, kBirth, "366日間"},
      {"%r", s, e, s, kBirth, "-1日間"},
      // A long period across months.
      {"%s", {2024, 3, 1}, {2024, 1, 31}, {2024, 4, 1}, kBirth, "31日目"},
      {"%l", {2024, 3, 1}, {2024, 1, 31}, {2024, 4, 1}, kBirth, "残り 32日"},
  };
  CheckCases(cases);
}

TEST(AnnotationCodes, PeriodEnd) {
  const TDateRec s{2024, 3, 1};
  const TCodeCase cases[] = {
      {"%f", s, s, {2024, 3, 15}, kBirth, "15日まで"},
      {"%f", s, s, {2024, 4, 2}, kBirth, "4月2日まで"},
      {"%f", {2024, 3, 14}, s, {2024, 3, 15}, kBirth, "15日まで"},
      {"%f", {2024, 3, 15}, s, {2024, 3, 15}, kBirth, "最終日"},
      {"%f", {2000, 12, 25}, {2000, 12, 20}, {2001, 1, 5}, kBirth, "2001年1月5日まで"},
      {"%f", {2000, 12, 25}, {2000, 12, 20}, {2001, 12, 25}, kBirth, "2001年12月25日まで"},
  };
  CheckCases(cases);
}

TEST(EndDateText, Forms) {
  const struct {
    TDateRec s, e;
    const char* expected;
  } cases[] = {
      {{2024, 3, 1}, {2024, 3, 15}, "15日まで"},
      {{2024, 3, 1}, {2024, 4, 2}, "4月2日まで"},
      {{2024, 3, 1}, {2024, 3, 1}, "1日まで"},
      {{2000, 12, 20}, {2001, 1, 5}, "2001年1月5日まで"},
      {{2000, 3, 1}, {2003, 3, 1}, "2003年3月1日まで"},
      // A start without a day writes the whole end date.
      {{2024, 3, 0}, {2024, 3, 15}, "2024年3月15日まで"},
      // A start after the end in its own month writes the day alone.
      {{2024, 5, 1}, {2024, 4, 2}, "2日まで"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EndDateText(c.s, c.e), c.expected) << DateLabel(c.s) << " " << DateLabel(c.e);
  }
}

TEST(PeriodText, YearsMonthsDays) {
  const struct {
    TDateRec a, b;
    int32_t extra;
    const char* expected;
  } cases[] = {
      {{2000, 5, 10}, {2001, 5, 5}, 0, "11ヶ月と25日"},
      {{2000, 5, 10}, {2002, 5, 5}, 0, "1年11ヶ月と25日"},
      {{1998, 3, 1}, {1999, 3, 1}, 0, "1年"},
      {{2001, 1, 31}, {2001, 3, 1}, 0, "1ヶ月"},  // 28 + 1 - 31 = -2 days
      {{2000, 1, 31}, {2000, 3, 1}, 0, "1ヶ月"},  // 29 + 1 - 31 = -1
      {{2000, 1, 30}, {2000, 3, 1}, 0, "1ヶ月"},  // 29 + 1 - 30 = 0
      {{2000, 1, 29}, {2000, 3, 1}, 0, "1ヶ月と1日"},
      {{2000, 3, 31}, {2000, 5, 1}, 0, "1ヶ月"},   // April: 30 + 1 - 31 = 0
      {{2000, 12, 25}, {2001, 1, 10}, 0, "16日"},  // borrows December's 31 days
      {{2000, 5, 3}, {2000, 5, 5}, 0, "2日"},
      {{2000, 1, 1}, {2003, 1, 4}, 0, "3年と3日"},
      {{2000, 3, 15}, {2002, 6, 20}, 0, "2年3ヶ月と5日"},
      {{2000, 3, 15}, {2002, 6, 15}, 0, "2年3ヶ月"},
      {{1970, 5, 3}, {2020, 1, 25}, 0, "49年8ヶ月と22日"},
      {{2000, 5, 3}, {2000, 5, 3}, 0, ""},
      {{2001, 1, 1}, {2001, 3, 2}, 1, "2ヶ月と2日"},
      {{2001, 1, 1}, {2001, 3, 1}, 1, "2ヶ月"},
      {{2001, 1, 31}, {2001, 3, 1}, 1, "1ヶ月"},
      {{2001, 1, 1}, {2001, 1, 1}, 1, ""},
      {{2001, 1, 1}, {2001, 1, 5}, 1, "5日"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PeriodText(c.a, c.b, c.extra), c.expected)
        << DateLabel(c.a) << " " << DateLabel(c.b) << " +" << c.extra;
  }
}

// %u: the length of the period counting both ends.
TEST(AnnotationCodes, PeriodLength) {
  const TCodeCase cases[] = {
      {"%u", {2001, 1, 1}, {2001, 1, 1}, {2001, 3, 2}, kBirth, "2ヶ月と2日間"},
      {"%u", {2001, 1, 1}, {2001, 1, 1}, {2001, 3, 1}, kBirth, "2ヶ月間"},
      {"%u", {2001, 1, 1}, {2001, 1, 1}, {2001, 1, 1}, kBirth, "間"},
      {"%u", {2001, 1, 1}, {2001, 1, 1}, {2001, 1, 5}, kBirth, "5日間"},
      {"%u", {1998, 3, 1}, {1998, 3, 1}, {1999, 3, 1}, kBirth, "1年間"},
      {"%u", {2001, 1, 31}, {2001, 1, 31}, {2001, 3, 1}, kBirth, "1ヶ月間"},
  };
  CheckCases(cases);
}

// Every code on one day, 2020/1/25, in the period 2020/1/20..2/3, for a base 1970/5/3.
TEST(AnnotationCodes, AllCodesInOrder) {
  const std::string text =
      "%n|%a|%y|%h|%m|%d|%b|%c|%z|%q|%v|%x|%k|%e|%w|%t|%g|%p|%o|%i|%s|%l|%f|%r|%u";
  const std::string expected =
      "50|51|2020|昭和45年|5|3| 50歳の誕生日|生誕 50年||死去（享年 50歳）|没後49年8ヶ月と22日|"
      "|（戌ｲﾇ）|（50周年記念）|の結婚50周年記念【金婚式】|第51回||水瓶座|先勝|旧1/1|6日目|"
      "残り 10日|2月3日まで|15日間|15日間";
  EXPECT_EQ(ExpandCodes(text, {2020, 1, 25}, {2020, 1, 20}, {2020, 2, 3}, kBirth,
                        TCalendarKind::kClassic),
            expected);
}

TEST(AnnotationCodes, TextAroundCodes) {
  const TCodeCase cases[] = {
      {"", kDay2000, kDay2000, kDay2000, kBirth, ""},
      {"会議", kDay2000, kDay2000, kDay2000, kBirth, "会議"},
      {"%n/%n/%n", kDay2000, kDay2000, kDay2000, kBirth, "30/30/30"},
      // A "%" that starts no code stays as written.
      {"100% %j %", kDay2000, kDay2000, kDay2000, kBirth, "100% %j %"},
      {"%%n", kDay2000, kDay2000, kDay2000, kBirth, "%30"},
      {"%N %B", kDay2000, kDay2000, kDay2000, kBirth, "%N %B"},
      {"父%a歳（%k）", kDay2000, kDay2000, kDay2000, kBirth, "父31歳（（戌ｲﾇ））"},
  };
  CheckCases(cases);
}

// Whatever the dates, an expansion adds no "%" of its own.
TEST(AnnotationCodes, NoPercentInExpansions) {
  const std::string all = "%n%a%y%h%m%d%b%c%z%q%v%x%k%e%w%t%g%p%o%i%s%l%f%r%u";
  const TDateRec bases[] = {kBirth, {1850, 2, 28}, {2000, 2, 29}, kNullDate, {kCodeEarliest, 1, 1}};
  for (const TDateRec& z : bases) {
    for (TDateRec t{1860, 1, 1}; t.Year <= 2030; t = AddDays(t, 97)) {
      const TDateRec s = AddDays(t, -40);
      const TDateRec e = AddDays(t, 3);
      EXPECT_EQ(ExpandCodes(all, t, s, e, z, TCalendarKind::kClassic).find('%'), std::string::npos)
          << DateLabel(t) << " " << DateLabel(z);
      // A period given the wrong way round must not upset anything either.
      EXPECT_EQ(ExpandCodes(all, t, e, s, z, TCalendarKind::kClassic).find('%'), std::string::npos)
          << DateLabel(t);
    }
  }
}

// Counts far outside the calendar are written saturated, never overflowed.
TEST(AnnotationCodes, ExtremeYears) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const TDateRec top{kMax, 1, 1};
  const TDateRec bottom{kMin, 1, 1};
  EXPECT_EQ(ExpandCodes("%n", top, top, top, bottom, TCalendarKind::kClassic), "2147483647");
  EXPECT_EQ(ExpandCodes("%a", top, top, top, bottom, TCalendarKind::kClassic), "2147483647");
  EXPECT_EQ(ExpandCodes("%n", bottom, bottom, bottom, top, TCalendarKind::kClassic), "-2147483648");
  EXPECT_EQ(ExpandCodes("%t", bottom, bottom, bottom, top, TCalendarKind::kClassic),
            "第-2147483648回");
  const std::string all = "%n%a%y%h%m%d%b%c%z%q%v%x%k%e%w%t%g%p%o%i%s%l%f%r%u";
  EXPECT_EQ(ExpandCodes(all, top, top, top, bottom, TCalendarKind::kClassic).find('%'),
            std::string::npos);
  EXPECT_EQ(ExpandCodes(all, bottom, bottom, bottom, top, TCalendarKind::kClassic).find('%'),
            std::string::npos);
}

struct TCombineCase {
  const char* shown;
  const char* code;
  TDateRec T;
  const char* expected;
};

TEST(AnnotationCodes, CombineAnnotation) {
  const TCombineCase cases[] = {
      // The %b text brings its own blank, the joining adds one more.
      {"太郎", "%b", kDay2000, "太郎  30歳の誕生日"},
      {"太郎", "%b1", {1970, 5, 3}, "太郎 の誕生日"},
      {"太郎", "*%b", kDay2000, "太郎 30歳の誕生日"},
      {"太郎", "*%q", {2050, 1, 9}, "太郎死去（享年 80歳）"},
      {"太郎", "*死去", kDay2000, "太郎死去"},
      {"太郎", "%e", kDay2000, "太郎 （30周年記念）"},
      {"太郎", "[*]%n", kDay2000, "[太郎]30"},
      {"太郎", "*と*", kDay2000, "太郎と太郎"},
      {"太郎", "%n*", kDay2000, "30太郎"},
      {"太郎", "*", kDay2000, "太郎"},
      {"太郎", "", kDay2000, "太郎 "},
      // An empty expansion still gets its blank.
      {"太郎", "%c", {1970, 5, 3}, "太郎 "},
      {"", "%n歳", kDay2000, " 30歳"},
      {"", "*%n", kDay2000, "30"},
      // The shown text is put in as it is: neither its "*" nor its "%" is read again.
      {"a*b", "*!", kDay2000, "a*b!"},
      {"100%n", "*%n", kDay2000, "100%n30"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CombineAnnotation(c.shown, c.code, c.T, c.T, c.T, kBirth, TCalendarKind::kClassic),
              c.expected)
        << c.shown << " / " << c.code;
  }
}

TEST(ProgressText, BeforeInsideAfter) {
  const TDateRec r1{2024, 5, 10};
  const TDateRec r2{2024, 5, 12};
  const struct {
    TDateRec r1, r2, t;
    const char* expected;
  } cases[] = {
      {r1, r1, {2024, 5, 8}, "まであと 2日"},
      {r1, r1, {2024, 5, 11}, "から 1日経過"},
      {r1, r1, r1, ""},
      {r1, r2, {2024, 5, 7}, "まであと 3日"},
      {r1, r2, {2024, 5, 11}, ""},
      {r1, r2, r2, ""},
      {r1, r2, {2024, 5, 13}, "から 1日経過"},
      {r1, r2, {2024, 3, 8}, "まであと 2ヶ月と2日"},
      {r1, r2, {2024, 6, 14}, "から 1ヶ月と2日経過"},
      {r1, r2, {2025, 5, 12}, "から 1年経過"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressText(c.r1, c.r2, c.t), c.expected) << DateLabel(c.t);
  }
}

TEST(AnnotationCodes, PlainLine) {
  const struct {
    const char* text;
    const char* annotation;
    TDateRec T, S, E;
    const char* expected;
  } cases[] = {
      {"%n歳", "", kDay2000, kDay2000, kDay2000, "30歳"},
      {"父", "*%z", {2030, 5, 3}, {2030, 5, 3}, {2030, 5, 3}, "父【還暦】"},
      {"花子", "%b1", kDay2000, kDay2000, kDay2000, "花子  30歳の誕生日"},
      {"旅行", "*（%s）", {2024, 8, 2}, {2024, 8, 1}, {2024, 8, 3}, "旅行（2日目）"},
      {"旅行%r", "%f", {2024, 8, 1}, {2024, 8, 1}, {2024, 8, 3}, "旅行3日間 3日まで"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlainLineText(c.text, c.annotation, c.T, c.S, c.E, kBirth, TCalendarKind::kClassic),
              c.expected)
        << c.text << " / " << c.annotation;
  }
}

// A derived day reads its codes on the occurrence it belongs to and adds the distance.
TEST(AnnotationCodes, DerivedLine) {
  const TDateRec r1{2024, 5, 10};
  const TDateRec r2{2024, 5, 12};
  const TDateRec z{2000, 5, 10};
  const struct {
    const char* text;
    const char* annotation;
    TDateRec t, r1, r2;
    const char* expected;
  } cases[] = {
      {"誕生日会%n", "", {2024, 5, 8}, r1, r1, "誕生日会24まであと 2日"},
      {"%s", "", {2024, 5, 8}, r1, r2, "初日まであと 2日"},
      {"%s", "", {2024, 5, 11}, r1, r2, "初日"},
      {"%s", "", {2024, 5, 13}, r1, r2, "最終日から 1日経過"},
      {"会", "*（%l）", {2024, 5, 8}, r1, r2, "会（残り 3日）まであと 2日"},
      {"会", "%l", {2024, 6, 14}, r1, r2, "会 残り 1日から 1ヶ月と2日経過"},
      // %p of the base occurrence's day, not of the shown day.
      {"%p", "", {2024, 1, 25}, {2024, 1, 18}, {2024, 1, 20}, "山羊座から 5日経過"},
      // A new year between: N is counted on the occurrence as well.
      {"%n", "", {2023, 12, 30}, {2024, 1, 2}, {2024, 1, 2}, "24まであと 3日"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DerivedLineText(c.text, c.annotation, c.t, c.r1, c.r2, z, TCalendarKind::kClassic),
              c.expected)
        << c.text << " / " << c.annotation << " " << DateLabel(c.t);
  }
}

}  // namespace
}  // namespace pelo
