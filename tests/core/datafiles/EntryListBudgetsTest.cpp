// The entry list under a small pack budget: where loading and the day packs stop, that what
// came before stays, that the user hears of it once per load, and that the visitor form of the
// day-pack build hands over exactly what the stored form keeps.
#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "DataFileTesting.h"
#include "DateLabels.h"
#include "RecordingNotices.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "schedule/DayTables.h"

namespace pelo {
namespace {

using test::RecordingNotices;

constexpr TDateRec kToday{2024, 5, 10};
constexpr int32_t kFirstYear = 2023;
constexpr std::size_t kWindowDays = 365 + 366 + 365 + 365;  // 2023..2026

std::string StopMessage(const std::string& path, int32_t line) {
  return "ﾃﾞｰﾀが多すぎます！ " + path + " の " + std::to_string(line) +
         " 行目で打ち切り、それまでの予定だけを表示します。";
}

using test::DateLabel;

// Day, kind and line of each pack, and with whole set its periods too (a stopped walk ends
// its period early, so only a whole build has them all).
std::vector<std::string> Texts(const std::vector<TDatePack>& packs, bool whole) {
  std::vector<std::string> texts;
  for (const TDatePack& pack : packs) {
    std::string text = DateLabel(pack.Date()) + " k" + std::to_string(pack.Kind) + " :" +
                       std::to_string(pack.Entry->LineNo);
    if (whole) {
      for (const TPackPeriod& period : {pack.Period, pack.ProgressRange}) {
        text += " " + DateLabel(period.PeriodStart) + "-" + DateLabel(period.PeriodEnd);
      }
      text += " " + DateLabel(pack.BaseDate);
    }
    texts.push_back(text);
  }
  return texts;
}

// The private holidays of the window, as the calendar holds them.
std::vector<TDateRec> PrivateHolidays(const TCalendar& calendar) {
  std::vector<TDateRec> days;
  for (TDateRec day{kFirstYear, 1, 1}; day.Year < kFirstYear + TDayTable::kYearCount;
       day = AddDays(day, 1)) {
    if (calendar.IsPrivateHoliday(day)) days.push_back(day);
  }
  return days;
}

class PackBudgetTest : public testing::Test {
 protected:
  // A list with the budget, the text loaded as name.
  std::unique_ptr<TEntryList> Loaded(std::string_view text, std::size_t budget,
                                     const char* name = "a.nrk") {
    auto list = std::make_unique<TEntryList>(notices_, kToday, budget);
    Load(*list, text, name);
    return list;
  }
  void Load(TEntryList& list, std::string_view text, const char* name = "a.nrk") {
    const std::vector<std::string> names{folder_.WriteCp932(name, text)};
    list.LoadFiles(names);
  }
  // The packs of a build on a fresh calendar, after which the user is told of a stop, as the
  // viewer does.
  std::vector<TDatePack> Built(TEntryList& list) {
    calendar_ = TCalendar(kToday);
    list.SetTable(calendar_, kFirstYear, TDayTable::kYearCount);
    list.TellBudgetStop();
    return list.DatePacks().Packs();
  }

  test::TempFolder folder_;
  RecordingNotices notices_;
  TCalendar calendar_{kToday};
};

TEST_F(PackBudgetTest, DayPacksStopAtTheBudgetKeepingThoseBefore) {
  const std::string three = "0 a\r\n0 b\r\n0 c\r\n";
  const struct {
    std::string text;
    std::size_t budget;
    int32_t stop_line;  // 0: no stop
  } cases[] = {
      {three, 3 * kWindowDays, 0},  // exactly the budget
      {three, 3 * kWindowDays - 1, 3},
      {three, kWindowDays + 10, 2},
      {three, kWindowDays, 2},  // the third line's first pack is refused
      // Bad and deleted lines make no packs, day-marked ones go first.
      {"1/1\r\n;0 gone\r\n0 a\r\n@0 marked\r\n", kWindowDays + 10, 3},
      // Derived days: the occurrences searched for them outside the window count too.
      {"2030/1/1 far &d(+1)\r\n0 a\r\n", kWindowDays, 2},
      {"1/1~+0/1/0 period &d([/[/[-1)\r\n0 a\r\n", 4 * 32 + 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " budget " + std::to_string(c.budget));
    const std::vector<std::string> all = Texts(Built(*Loaded(c.text, kDayPackBudget)), false);
    notices_.Clear();
    const std::unique_ptr<TEntryList> list = Loaded(c.text, c.budget);
    const std::vector<std::string> kept = Texts(Built(*list), false);
    ASSERT_LE(kept.size(), all.size());
    EXPECT_EQ(kept, std::vector<std::string>(all.begin(), all.begin() + kept.size()));
    if (c.stop_line == 0) {
      EXPECT_EQ(kept.size(), all.size());
      EXPECT_TRUE(notices_.Messages().empty());
    } else {
      EXPECT_LE(kept.size(), c.budget);
      EXPECT_LT(kept.size(), all.size());
      EXPECT_EQ(notices_.Messages(),
                std::vector<std::string>{StopMessage(folder_.File("a.nrk"), c.stop_line)});
    }
    // Told once: every later build keeps quiet and makes the same packs.
    const std::size_t told = notices_.Messages().size();
    EXPECT_EQ(Texts(Built(*list), false), kept);
    EXPECT_EQ(notices_.Messages().size(), told);
  }
}

TEST_F(PackBudgetTest, ALongDateListStopsLoadingAtItsLine) {
  std::string dates = "10";
  for (int i = 0; i < 500; ++i) dates += ",10";
  const std::string big = "1/1 before\r\n" + dates + " list\r\n1/2 after\r\n";
  const std::unique_ptr<TEntryList> list = Loaded(big, 100, "big.nrk");
  list->TellBudgetStop();

  // The list keeps the sets read before the budget ran out; the lines after it are not read.
  ASSERT_EQ(list->Count(), 2);
  const TEntry& cut = *list->Entry(1);
  EXPECT_EQ(cut.Text, "list");
  EXPECT_EQ(cut.ErrorText, "");
  EXPECT_GT(cut.Dates->Count(), 0u);
  EXPECT_LT(cut.Dates->Count(), 100u);
  EXPECT_EQ(notices_.Messages(), std::vector<std::string>{StopMessage(folder_.File("big.nrk"), 2)});
  // Its day packs run into the budget as well, and nobody is told twice.
  EXPECT_EQ(Built(*list).size(), 100u);
  EXPECT_EQ(notices_.Messages().size(), 1u);

  // A smaller file loaded next works normally; the big one again is told again.
  notices_.Clear();
  Load(*list, "1/1 a\r\n2/1 b\r\n", "small.nrk");
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(Built(*list).size(), 8u);
  EXPECT_TRUE(notices_.Messages().empty());
  Load(*list, big, "big.nrk");
  list->TellBudgetStop();
  EXPECT_EQ(notices_.Messages().size(), 1u);
}

TEST_F(PackBudgetTest, VisitedPacksAreTheStoredPacks) {
  const struct {
    std::string text;
    std::size_t budget;
  } cases[] = {
      {"@2024/5/1~2024/5/3 休暇\r\n"
       "MO,WE 8:00 ゴミ\r\n"
       "25 給料日 &&<(SA,SU,HD)\r\n"
       "3/15 締切 &d([/[/[-14,[/[/[-7)\r\n"
       "PH 私休の一日\r\n"
       "1931^/3/8~2019/10/20 祖父 &o(*%b2)\r\n"
       "1/1~1/3 正月 %s\r\n"
       "2030/1/1 先 &d(+1)\r\n",
       kDayPackBudget},
      {"@2024/5/1~2024/5/3 休暇\r\nPH 私休\r\n0 毎日\r\n0 毎日\r\n", 800},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::vector<std::string> kept = Texts(Built(*Loaded(c.text, c.budget)), true);
    const std::vector<TDateRec> kept_marks = PrivateHolidays(calendar_);
    EXPECT_GT(kept.size(), 100u);

    const std::unique_ptr<TEntryList> visited = Loaded(c.text, c.budget);
    TCalendar calendar(kToday);
    std::vector<TDatePack> handed;
    visited->VisitTable(calendar, kFirstYear, TDayTable::kYearCount,
                        [&handed](const TDatePack& pack) { handed.push_back(pack); });
    EXPECT_EQ(Texts(handed, true), kept);
    EXPECT_EQ(PrivateHolidays(calendar), kept_marks);
    EXPECT_EQ(visited->DatePacks().Count(), 0u);  // nothing stored
  }
}

// The lines that are only counted take nothing from the pack budget either.
TEST(EntryListBudgets, BadLinesPastTheListedOnesCostNoBudget) {
  RecordingNotices notices;
  const std::size_t budget = 1001 * PackShare(sizeof(TEntry)) + 100;
  TEntryList list(notices, kToday, budget);
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "q\n";
  text += "2024/5/1 good\n";
  list.LoadFromBytes("q.nrk", text);
  ASSERT_EQ(list.Count(), 1001);
  EXPECT_EQ(list.Entry(1000)->Text, "good");
}

}  // namespace
}  // namespace pelo
