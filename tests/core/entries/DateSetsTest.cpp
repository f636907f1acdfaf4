#include "entries/DateSets.h"

#include <gtest/gtest.h>

#include <string>

#include "DescribeDates.h"
#include "MarkedTexts.h"
#include "calendar/Calendars.h"

namespace pelo {
namespace {

using test::DescribeList;
using test::DescribeParts;
using test::DescribeSet;

// Two-digit years are read in the century of this day.
constexpr TDateRec kToday{2024, 5, 15};

std::string Parsed(const char* text, TDateRec today = kToday) {
  TDateSetList list;
  const TParseError error = list.ParseDateSetList(text, today);
  return error.Failed() ? "error " + error.Message() : DescribeList(&list);
}

TEST(DateSets, ParseListShapes) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      // Fixed dates and repetitions.
      {"12/25", "0/12/25^(1/0/0)"},
      {"2000/12/25", "2000/12/25"},
      {"25", "0/0/25^(1/1/0)"},
      {"0", "0/0/0^(1/1/1)"},
      {"0/12/25", "0/12/25^(1/0/0)"},
      // Periods: the start walks by day; an empty side is "0".
      {"1/1~1/7", "0/1/1^(1/0/1) ~ 0/1/7"},
      {"12/30~1/2", "0/12/30^(1/0/1) ~ 0/1/2"},
      {"2000/1/1~", "2000/1/1^(0/0/1) ~ 0/0/0"},
      {"~2000/1/1", "0/0/0^(1/1/1) ~ 2000/1/1"},
      {"~", "0/0/0^(1/1/1) ~ 0/0/0"},
      {"2000/1/1~>/>/>", "2000/1/1^(0/0/1) ~ -5/-5/-5"},
      {"2000/1/1^_~2000/1/31", "2000/1/1^(0/0/2147483647) ~ 2000/1/31"},
      {"1/1^2~1/7", "0/1/1^(1/0/2) ~ 0/1/7"},
      {"2000/1/1~2000/1/7^2", "2000/1/1^(0/0/1) ~ 2000/1/7^(0/0/2)"},
      // Eras and the current century.
      {"H12/4/1", "2000/4/1"},
      {"S64/1/7", "1989/1/7"},
      {"h1/1/8", "1989/1/8"},
      {"M45/7/29", "1912/7/29"},
      {"t15/12/25", "1926/12/25"},
      {"05/1/1", "2005/1/1"},
      {"99/12/31", "2099/12/31"},
      {"1/1/1", "2001/1/1"},
      {"100/1/1", "100/1/1"},
      // Weekday codes.
      {"12/MO2", "0/12/55^(1/0/0)"},
      {"12/mo_", "0/12/83^(1/0/0)"},
      {"12/MO6", "0/12/83^(1/0/0)"},
      {"SU*", "0/0/33^(1/1/0)"},
      {"sa*", "0/0/39^(1/1/0)"},
      {"SU", "0/0/40^(1/1/0)"},
      {"SA0", "0/0/46^(1/1/0)"},
      {"SU1", "0/0/47^(1/1/0)"},
      {"FR5", "0/0/80^(1/1/0)"},
      {"SA6", "0/0/88^(1/1/0)"},
      {"TH_", "0/0/86^(1/1/0)"},
      {"WE3x", "0/0/64^(1/1/0)"},  // past the third character nothing is read
      // Day codes and the symbols.
      {"HD", "0/0/-6^(1/1/0)"},
      {"ph", "0/0/-7^(1/1/0)"},
      {"3/SD", "0/3/-8^(1/0/0)"},
      {"9/ad", "0/9/-9^(1/0/0)"},
      {"1/_", "0/1/32^(1/0/0)"},
      {"*/*/*", "-1/-1/-1"},
      {"[/]/[", "-2/-3/-2"},
      {"</>/>", "-4/-5/-5"},
      {"?/?/?", "-10/-10/-10"},
      // Adjustments and steps.
      {"1/31+1^2", "0/1/31+(0/0/1)^(1/0/2)"},
      {"1/31-1", "0/1/31+(0/0/-1)^(1/0/0)"},
      {"2000+1/1/1", "2000/1/1+(1/0/0)"},
      {"2000/1-2/1", "2000/1/1+(0/-2/0)"},
      {"1^2/1", "0/1/1^(1/2/0)"},
      {"2000^3/1/1", "2000/1/1^(3/0/0)"},
      {"2000/1/1^2", "2000/1/1^(0/0/2)"},
      {"MO^2W", "0/0/41^(1/1/14)"},
      {"1/1^W", "0/1/1^(1/0/7)"},
      {"1/1^-", "0/1/1^(1/0/-1)"},
      {"1/1^+", "0/1/1^(1/0/1)"},
      {"1/1^", "0/1/1^(1/0/1)"},
      {"1/1^_", "0/1/1^(1/0/2147483647)"},
      {"1/1^-2w", "0/1/1^(1/0/-14)"},
      {"1/1^0", "0/1/1^(1/0/0)"},
      // Relative sides: offsets, no range checks, no steps of their own.
      {"+1", "R0/0/1"},
      {"-1", "R0/0/-1"},
      {"+5/1/1", "R5/1/1"},
      {"-1/0/0", "R-1/0/0"},
      {"+13/1", "R0/13/1"},
      {"+0/-40", "R0/0/-40"},
      {"+5-1", "R0/0/5+(0/0/-1)"},
      {"+1~+3", "R0/0/1^(0/0/1) ~ R0/0/3"},
      // Only 12 characters are read after each "/".
      {"1/0000000000012", "0/1/1^(1/0/0)"},
      {"2000/1/0000000000025", "2000/1/0^(0/0/1)"},
      // Lists: commas, blanks, quotes; a trailing comma adds nothing.
      {"1/1,2/1", "0/1/1^(1/0/0), 0/2/1^(1/0/0)"},
      {"1/1 2/1", "0/1/1^(1/0/0), 0/2/1^(1/0/0)"},
      {"\"1/1\", 2/1,", "0/1/1^(1/0/0), 0/2/1^(1/0/0)"},
      {"  ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Parsed(c.text), c.expected) << c.text;
}

TEST(DateSets, ParseListErrors) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", "空"},
      {"1/1,,2/1", "2番目の空"},
      {"13/1", "1番目の開始月が間違っています。"},
      {"1/1~13/1", "1番目の終了月が間違っています。"},
      {"1/1,2/1,3/32", "3番目の開始日が間違っています。"},
      {"1/1,2/1~2/31x", "2番目の終了日が間違っています。"},
      {"12/MO7", "1番目の開始週が間違っています。"},
      {"12/XY", "1番目の開始週が間違っています。"},
      {"12/M", "1番目の開始週が間違っています。"},
      {"12/MOX", "1番目の開始週が間違っています。"},
      {"1/32", "1番目の開始日が間違っています。"},
      {"1/-1", "1番目の開始日が間違っています。"},
      {"1/1x", "1番目の開始日が間違っています。"},
      {"1/123456789012345", "1番目の開始日が間違っています。"},
      {"1/1/1/1", "1番目の開始日が間違っています。"},
      {"+5+1", "1番目の開始日が間違っています。"},
      {"1/31^2+1", "1番目の開始隔日が間違っています。"},
      {"1^x/1", "1番目の開始隔月が間違っています。"},
      {"2000^x/1/1", "1番目の開始隔年が間違っています。"},
      {"1/1^_W", "1番目の開始隔日が間違っています。"},
      {"1/1^400000000W", "1番目の開始隔日が間違っています。"},
      {"1/1^WW", "1番目の開始隔日が間違っています。"},
      {"1/31+x", "1番目の開始加減日が間違っています。"},
      {"1+x/1", "1番目の開始加減月が間違っています。"},
      {"2000+x/1/1", "1番目の開始加減年が間違っています。"},
      {"2000+99999999999/1/1", "1番目の開始加減年が間違っています。"},
      {"x/1/1", "1番目の開始年が間違っています。"},
      {"H/1/1", "1番目の開始年が間違っています。"},
      {"H-1/1/1", "1番目の開始年が間違っています。"},  // "-1" is the year's adjustment
      {"H2147483647/1/1", "1番目の開始年が間違っています。"},
      {"2000/x/1", "1番目の開始月が間違っています。"},
      {"2000/-1/1", "1番目の開始月が間違っています。"},
      // Steps are read before adjustments, and both before the values, year first.
      {"2000^x/13/1", "1番目の開始隔年が間違っています。"},
      {"2000/1^x/1+x", "1番目の開始隔月が間違っています。"},
      {"2000/1+x/1^x", "1番目の開始隔日が間違っています。"},
      {"2000+x/1+x/1", "1番目の開始加減年が間違っています。"},
      {"x/13/1", "1番目の開始年が間違っています。"},
      {"2000/13/x", "1番目の開始月が間違っています。"},
      // The cut after the first "/" counts Shift-JIS bytes: six kana are 12 bytes, so the
      // second "/" is cut off and the kana are the day; with five it stays.
      {"1/ああああああ/5", "1番目の開始週が間違っています。"},
      {"1/あああああ/5", "1番目の開始月が間違っています。"},
      // The first "~" splits; a second one belongs to the end.
      {"1/1~1/1~1/1", "1番目の終了月が間違っています。"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Parsed(c.text), std::string("error ") + c.expected) << c.text;
}

// Each error is placed at the field, step or adjustment that does not read.
TEST(DateSets, ErrorPositions) {
  const struct {
    const char* text;  // "|" marks the position
    const char* message;
  } cases[] = {
      {"2000^|x/1/1", "1番目の開始隔年が間違っています。"},
      {"2000/1^|x/1", "1番目の開始隔月が間違っています。"},
      {"2000|+x/1/1", "1番目の開始加減年が間違っています。"},
      {"|H/1/1", "1番目の開始年が間違っています。"},
      {"2000/|13/1", "1番目の開始月が間違っています。"},
      {"12/|32", "1番目の開始日が間違っています。"},
      {"|XY", "1番目の開始週が間違っています。"},
      {"1/1, 2/1~|y/1/1", "2番目の終了年が間違っています。"},
      {"|", "空"},
  };
  for (const auto& c : cases) {
    const test::TMarkedText marked = test::Marked(c.text);
    TDateSetList list;
    const TParseError error = list.ParseDateSetList(marked.text);
    EXPECT_EQ(error.Message(), c.message) << c.text;
    EXPECT_EQ(error.Position(), marked.position) << c.text;
  }
}

TEST(DateSets, FailedListAddsNothingAndGoodListAppends) {
  TDateSetList list;
  ASSERT_EQ(list.ParseDateSetList("1/1").Message(), "");
  EXPECT_EQ(list.ParseDateSetList("2/1,3/1,13/1").Message(), "3番目の開始月が間違っています。");
  EXPECT_EQ(DescribeList(&list), "0/1/1^(1/0/0)");
  EXPECT_EQ(list.ParseDateSetList("2000/2/1").Message(), "");
  EXPECT_EQ(DescribeList(&list), "0/1/1^(1/0/0), 2000/2/1");
  EXPECT_EQ(list.Item(2), nullptr);
  ASSERT_NE(list.Item(1), nullptr);
  EXPECT_EQ(DescribeSet(*list.Item(1)), "2000/2/1");
}

TEST(DateSets, CurrentCenturyFollowsToday) {
  EXPECT_EQ(Parsed("05/1/1", {1999, 12, 31}), "1905/1/1");
  EXPECT_EQ(Parsed("05/1/1", {2100, 1, 1}), "2105/1/1");
  EXPECT_EQ(Parsed("05/1/1~06/1/1", {2100, 1, 1}), "2105/1/1^(0/0/1) ~ 2106/1/1");
  EXPECT_EQ(Parsed("0/1/1", {2100, 1, 1}), "0/1/1^(1/0/0)");
  EXPECT_EQ(Parsed("05/1/1", {}), "5/1/1");  // no today: as written
}

TEST(DateSets, FailedSideLeavesItsObjectAlone) {
  TDateParts parts;
  ASSERT_EQ(parts.ParseDateParts("+2000/1/1^2").Message(), "");
  EXPECT_EQ(parts.ParseDateParts("2000/13/1").Message(), "月が間違っています。");
  EXPECT_EQ(parts.ParseDateParts("").Message(), "空");
  EXPECT_EQ(DescribeParts(&parts), "R2000/1/1^(0/0/2)");
  // A new read replaces every triple and the relative flag.
  ASSERT_EQ(parts.ParseDateParts("1/1").Message(), "");
  EXPECT_EQ(DescribeParts(&parts), "0/1/1");

  TDateSet set;
  ASSERT_EQ(set.ParseDateSet("1/1~1/7").Message(), "");
  EXPECT_EQ(set.ParseDateSet("1/1~1/x").Message(), "終了週が間違っています。");
  EXPECT_EQ(set.ParseDateSet("").Message(), "空");
  EXPECT_EQ(DescribeSet(set), "0/1/1^(1/0/1) ~ 0/1/7");
  ASSERT_EQ(set.ParseDateSet("2000/1/1").Message(), "");
  EXPECT_EQ(DescribeSet(set), "2000/1/1");
}

TEST(DateSets, DateClassOperations) {
  TDateClass date(TDateRec{2000, 1, 1});
  EXPECT_EQ(date.ToText(), "2000/1/1");
  EXPECT_EQ(TDateClass(TDateRec{0, 12, 25}).ToText(), "毎/12/25");
  EXPECT_EQ(TDateClass(TDateRec{-5, -5, -5}).ToText(), "永久未来/永久未来/永久未来");

  TDateRec merged{2000, 1, 5};
  MergeDateCodes(merged, {kCodeKeep, 12, kCodeKeep});
  EXPECT_EQ(merged, (TDateRec{2000, 12, 5}));
  MergeDateCodes(merged, {0, kCodeKeep, -1});
  EXPECT_EQ(merged, (TDateRec{0, 12, -1}));
}

TEST(DateSets, PartsByIndex) {
  TDateParts parts;
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(parts.Get(i), nullptr);
    EXPECT_EQ(parts.GetOrZero(i), kNullDate);
  }
  parts.GetOrCreate(kStepPart).Day = 2;
  EXPECT_EQ(*parts.Step(), (TDateRec{0, 0, 2}));
  parts.GetOrCreate(kStepPart).Year = 1;  // the existing triple, not a new one
  EXPECT_EQ(parts.GetOrZero(kStepPart), (TDateRec{1, 0, 2}));
  parts.Remove(kStepPart);
  EXPECT_EQ(parts.Get(kStepPart), nullptr);

  TDateParts other;
  other.GetOrCreate(kValuePart) = {2000, 1, 1};
  parts.GetOrCreate(kAdjustPart) = {0, 0, 5};
  parts.Assign(other);  // triples absent in other go
  EXPECT_EQ(DescribeParts(&parts), "2000/1/1");
}

TEST(DateSets, PartsResolveWithAdjustment) {
  const TCalendar calendar(kToday);
  const TPatternContext context{1583, 2150, 0};
  TDateParts parts;
  EXPECT_EQ(parts.ResolveParts(calendar, context, {2024, 1, 1}), kNullDate);  // no value
  ASSERT_EQ(parts.ParseDateParts("1/31+1").Message(), "");
  EXPECT_EQ(parts.ResolveParts(calendar, context, {2024, 1, 1}), (TDateRec{2024, 2, 1}));
  ASSERT_EQ(parts.ParseDateParts("1/31+(0)").Message(), "加減日が間違っています。");
  ASSERT_EQ(parts.ParseDateParts("2/30+1").Message(), "");
  EXPECT_EQ(parts.ResolveParts(calendar, context, {2024, 1, 1}), kNullDate);  // no such day
  ASSERT_EQ(parts.ParseDateParts("1/31").Message(), "");
  EXPECT_EQ(parts.ResolveParts(calendar, context, {2023, 6, 1}), (TDateRec{2023, 1, 31}));
  ASSERT_EQ(parts.ParseDateParts("*/*/*-1").Message(), "");
  EXPECT_EQ(parts.ResolveParts(calendar, context, {2023, 6, 1}), (TDateRec{2024, 5, 14}));
}

TEST(DateSets, PartsMerge) {
  const struct {
    const char* entry;
    const char* defaults;
    const char* expected;
  } cases[] = {
      {"2000/1/5", "?/12/?", "2000/12/5"},
      {"2000/1/5", "?/?/?", "2000/1/5"},
      {"2000/1/5^2", "?/?/?", "2000/1/5^(0/0/2)"},     // no step in the default: kept
      {"2000/1/5", "?/?/?^3", "2000/1/5^(0/0/3)"},     // the default's step replaces
      {"2000/1/5+1", "?/?/?-2", "2000/1/5+(0/0/-2)"},  // and its adjustment
      {"2000/1/5", "+0/?/?", "R0/1/5"},                // relative comes from the default
      {"+1", "?/?/?", "0/0/1"},                        // and so does "not relative"
      {"12/25", "2001/?/?", "2001/12/25"},
  };
  for (const auto& c : cases) {
    TDateParts entry;
    TDateParts defaults;
    ASSERT_EQ(entry.ParseDateParts(c.entry).Message(), "");
    ASSERT_EQ(defaults.ParseDateParts(c.defaults).Message(), "");
    entry.Merge(defaults);
    EXPECT_EQ(DescribeParts(&entry), c.expected) << c.entry << " + " << c.defaults;
  }
}

TEST(DateSets, SetMergeAndRemoveEnd) {
  const struct {
    const char* entry;
    const char* defaults;
    const char* expected;
  } merges[] = {
      {"2000/1/5~2000/1/9", "?/12/?", "2000/12/5^(0/0/1) ~ 2000/1/9"},
      {"2000/1/5", "?/?/?^2~+3", "2000/1/5^(0/0/2) ~ R0/0/3"},
      {"2000/1/5~2000/1/9", "?/?/?~>/>/>", "2000/1/5^(0/0/1) ~ -5/-5/-5"},
  };
  for (const auto& c : merges) {
    TDateSet entry;
    TDateSet defaults;
    ASSERT_EQ(entry.ParseDateSet(c.entry).Message(), "");
    ASSERT_EQ(defaults.ParseDateSet(c.defaults).Message(), "");
    entry.Merge(defaults);
    EXPECT_EQ(DescribeSet(entry), c.expected) << c.entry << " + " << c.defaults;
  }

  const struct {
    const char* text;
    const char* expected;
  } removals[] = {
      {"2000/1/1~2000/1/7", "2000/1/1"},   // a fixed date loses its daily step
      {"1/1~1/7", "0/1/1^(1/0/1)"},        // a yearly one keeps its steps
      {"2000/1/1^2", "2000/1/1^(0/0/2)"},  // no end: nothing is removed
      {"2000/1/1^3~2000/2/1", "2000/1/1"},
  };
  for (const auto& c : removals) {
    TDateSet set;
    ASSERT_EQ(set.ParseDateSet(c.text).Message(), "");
    set.RemoveEnd();
    EXPECT_EQ(DescribeSet(set), c.expected) << c.text;
  }

  TDateSet set;
  EXPECT_TRUE(set.HasStart());
  EXPECT_FALSE(set.HasEnd());
  set.RemoveStart();
  EXPECT_EQ(set.Start(), nullptr);
  set.EndOrCreate().GetOrCreate(kValuePart) = {2024, 1, 1};
  EXPECT_EQ(DescribeSet(set), "none ~ 2024/1/1");
  set.Normalize();  // no start value: nothing to do
  EXPECT_EQ(DescribeSet(set), "none ~ 2024/1/1");
}

// A set's end is held apart: copies own theirs, and equality reads the ends themselves.
TEST(DateSets, SetCopiesAndEqualityReadTheEnds) {
  const struct {
    const char* a;
    const char* b;
    bool equal;
  } cases[] = {
      {"2000/1/5", "2000/1/5", true},
      {"2000/1/5~2000/1/9", "2000/1/5~2000/1/9", true},
      {"2000/1/5~2000/1/9", "2000/1/5", false},
      {"2000/1/5", "2000/1/5~2000/1/5", false},
      {"2000/1/5~2000/1/9", "2000/1/5~2000/1/8", false},
  };
  for (const auto& c : cases) {
    TDateSet a;
    TDateSet b;
    ASSERT_EQ(a.ParseDateSet(c.a).Message(), "");
    ASSERT_EQ(b.ParseDateSet(c.b).Message(), "");
    EXPECT_EQ(a == b, c.equal) << c.a << " == " << c.b;
  }

  TDateSet period;
  ASSERT_EQ(period.ParseDateSet("2000/1/5~2000/1/9").Message(), "");
  TDateSet copy = period;
  TDateSet assigned;
  assigned = period;
  copy.End()->GetOrCreate(kValuePart).Day = 20;
  assigned.RemoveEnd();
  EXPECT_EQ(DescribeSet(period), "2000/1/5^(0/0/1) ~ 2000/1/9");
  EXPECT_EQ(DescribeSet(copy), "2000/1/5^(0/0/1) ~ 2000/1/20");
  assigned = copy;
  const TDateSet& same = assigned;
  assigned = same;  // a set assigned to itself keeps its end
  EXPECT_EQ(DescribeSet(assigned), "2000/1/5^(0/0/1) ~ 2000/1/20");
}

TEST(DateSets, ListMergeAndAssign) {
  TDateSetList entry;
  ASSERT_EQ(entry.ParseDateSetList("2000/1/5").Message(), "");
  TDateSetList defaults;
  ASSERT_EQ(defaults.ParseDateSetList("?/12/?,3/3").Message(), "");
  defaults.MustMatch = true;
  defaults.MoveDays = 5;
  defaults.MoveStep = 4;
  defaults.IsShift = true;
  entry.Merge(defaults);
  EXPECT_EQ(DescribeList(&entry), "2000/12/5, 0/3/3^(1/0/0)");
  EXPECT_TRUE(entry.MustMatch);
  EXPECT_EQ(entry.MoveDays, 5);
  EXPECT_EQ(entry.MoveStep, 1);
  EXPECT_FALSE(entry.IsShift);

  TDateSetList copy;
  copy.Assign(defaults);
  EXPECT_EQ(copy, defaults);
  copy.Item(0)->Start()->GetOrCreate(kValuePart).Day = 9;
  copy.MoveStep = 7;
  EXPECT_EQ(DescribeList(&defaults), "-10/12/-10, 0/3/3^(1/0/0)");
  EXPECT_EQ(defaults.MoveStep, 4);

  TDateSetListList lists;
  lists.Add(defaults);
  lists.Add(entry);
  TDateSetListList lists_copy;
  lists_copy.Assign(lists);
  ASSERT_EQ(lists_copy.Count(), 2u);
  lists_copy.Item(1)->Clear();
  EXPECT_EQ(lists.Item(1)->Count(), 2u);
  EXPECT_EQ(lists.Item(2), nullptr);
}

}  // namespace
}  // namespace pelo
