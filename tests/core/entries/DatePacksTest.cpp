#include "entries/DatePacks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OccurrenceTestSupport.h"
#include "calendar/Calendars.h"
#include "entries/Occurrences.h"

namespace pelo {
namespace {

using testing_support::DateLabel;
using testing_support::ParsedEntry;

// The line of every pack an entry line gives on today, the packs linked to the entry as the
// day table links them. Conditions get the move step 0 of the loader's life-event entries.
std::vector<std::string> Lines(std::string_view line, TPatternContext range,
                               TDateRec today = testing_support::kOccurrenceToday) {
  const auto entry = ParsedEntry(line, today);
  if (entry->Conditions) {
    for (std::size_t i = 0; i < entry->Conditions->Count(); ++i) {
      entry->Conditions->Item(i)->MoveStep = 0;
    }
  }
  std::vector<std::string> lines;
  TCalendar calendar(today);
  calendar.SetFirstYear(2020);
  for (TDatePack& pack : Occurrences(*entry, calendar, range)) {
    pack.Entry = entry.get();
    lines.push_back(DateLabel(pack.Date()) + " " + LineText(pack, TCalendarKind::kClassic));
  }
  return lines;
}

struct TLineCase {
  const char* line;
  TPatternContext range;
  std::vector<std::string> expected;
};

TEST(DatePacks, LineTexts) {
  const TLineCase cases[] = {
      {"2025/12/25 会議", {2025, 2025, 0}, {"2025/12/25 会議"}},
      {"2025/12/25 \"a & b\"", {2025, 2025, 0}, {"2025/12/25 a & b"}},
      // Times in front, a one-digit hour with a blank.
      {"2025/12/25 10:00 会議", {2025, 2025, 0}, {"2025/12/25 10:00 会議"}},
      {"9:00~17:00,19:00 2025/12/25 会議", {2025, 2025, 0}, {"2025/12/25  9:00～17:00,19:00 会議"}},
      // The kinds of a period, read through its codes.
      {"2025/3/1~2025/3/3 旅行%s %l",
       {2025, 2025, 0},
       {"2025/3/1 旅行初日 残り 3日", "2025/3/2 旅行2日目 残り 2日",
        "2025/3/3 旅行最終日 残り 1日"}},
      {"2025/3/1~2025/3/3 8:00 旅行%s",
       {2025, 2025, 0},
       {"2025/3/1  8:00 旅行初日", "2025/3/2  8:00 旅行2日目", "2025/3/3  8:00 旅行最終日"}},
      // Years counted from the base date.
      {"1970^1/5/3 太郎%b", {2025, 2025, 0}, {"2025/5/3 太郎 55歳の誕生日"}},
      // A base year far from any short integer: the pack keeps its year whole.
      {"40000^-1/5/3 X%n", {2025, 2025, 0}, {"2025/5/3 X-37975"}},
      {"1970^1/5/3 太郎 &o(%b)", {2025, 2025, 0}, {"2025/5/3 太郎  55歳の誕生日"}},
      {"1970^1/5/3 太郎 &o(*の%a回目の誕生日)", {2025, 2025, 0}, {"2025/5/3 太郎の56回目の誕生日"}},
      // The life-event entries of the loader.
      {"1970^1/5/3~>/>/> 太郎 &&(2020/6/1~>/>/>) &o(%c)",
       {2021, 2022, 0},
       {"2021/5/3 太郎 生誕 51年", "2022/5/3 太郎 生誕 52年"}},
      {"1970/5/3^1~2020/6/1 太郎 &&(2020/6/1) &o(*%q)",
       {2020, 2020, 0},
       {"2020/6/1 太郎死去（享年 50歳）"}},
      {"2020^1/6/1~>/6/1 太郎 &&(2021/6/1^1~>/>/>) &o(%v%x)",
       {2021, 2023, 0},
       {"2021/6/1 太郎 没後1年【一周忌】", "2022/6/1 太郎 没後2年【3回忌】",
        "2023/6/1 太郎 没後3年"}},
      // Derived days: the codes read on the base occurrence, the distance behind, no times.
      {"2025/3/10 10:00 会議 &d([/[/[-7)",
       {2025, 2025, 0},
       {"2025/3/10 10:00 会議", "2025/3/3 会議まであと 7日"}},
      {"2025/3/10~2025/3/12 旅行%s &d([/[/[-2,]/]/]+2)",
       {2025, 2025, 0},
       {"2025/3/10 旅行初日", "2025/3/11 旅行2日目", "2025/3/12 旅行最終日",
        "2025/3/8 旅行初日まであと 2日", "2025/3/14 旅行最終日から 2日経過"}},
      {"1970^1/5/3 太郎%n &d([/[/[-1)",
       {2025, 2025, 0},
       {"2025/5/3 太郎55", "2025/5/2 太郎55まであと 1日"}},
      {"2010/5/1 開店 &d([+15/[/[)", {2025, 2025, 0}, {"2025/5/1 開店から 15年経過"}},
  };
  for (const TLineCase& c : cases) {
    EXPECT_EQ(Lines(c.line, c.range), c.expected) << c.line;
  }
}

// Years count from the start as it was resolved: every carry into another year moves the base.
TEST(DatePacks, BaseYearFollowsTheCarries) {
  const struct {
    const char* line;
    TDateRec today;
    std::vector<std::string> expected;
  } cases[] = {
      // The month adjustment takes December 1990 to January 1991, the first real day.
      {"1990^/12+1/1 X &o(*%c)",
       {2024, 5, 1},
       {"2024/1/1 X生誕 33年", "2025/1/1 X生誕 34年", "2026/1/1 X生誕 35年"}},
      {"1990^/12/31+1 Y &o(*%c)",
       {2024, 5, 1},
       {"2024/1/1 Y生誕 33年", "2025/1/1 Y生誕 34年", "2026/1/1 Y生誕 35年"}},
      // Eight months on from 2024/5/1.
      {"+0/+8/+0 r &o(*%h)", {2024, 5, 1}, {"2025/1/1 r平成37年"}},
      {"+0/+7/+0 r &o(*%h)", {2024, 5, 1}, {"2024/12/1 r平成36年"}},
      // A month step over the new year.
      {"2024/11^1/5~2025/2/5 m &o(*%h)",
       {2024, 5, 1},
       {"2024/11/5 m平成36年", "2024/12/5 m平成36年", "2025/1/5 m平成37年", "2025/2/5 m平成37年"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Lines(c.line, {2023, 2026, 0}, c.today), c.expected) << c.line;
  }
}

TEST(DatePacks, DerivedDayInsideItsRangeHasNoSuffix) {
  const auto entry = ParsedEntry("2025/3/10 10:00 旅行%s");
  TDatePack pack({2025, 3, 11});
  pack.Entry = entry.get();
  pack.Kind = kPackDerived;
  pack.ProgressRange.PeriodStart = TDateRec{2025, 3, 10};
  pack.ProgressRange.PeriodEnd = TDateRec{2025, 3, 12};
  EXPECT_EQ(LineText(pack, TCalendarKind::kClassic), "旅行初日");
  // The same day as a middle day of its own period.
  pack.Kind = kPackMiddle;
  pack.Period = pack.ProgressRange;
  EXPECT_EQ(LineText(pack, TCalendarKind::kClassic), "10:00 旅行2日目");
}

TEST(DatePacks, NoEntryNoText) {
  TDatePack pack({2025, 3, 11});
  EXPECT_EQ(LineText(pack, TCalendarKind::kClassic), "");
}

}  // namespace
}  // namespace pelo
