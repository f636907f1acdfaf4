#include "text/SmallSets.h"

#include <gtest/gtest.h>

#include "FilterSets.h"

namespace pelo {
namespace {

using test::DefaultPageFilter;

TEST(SmallSet, MembersOnlyFrom0To255) {
  TSmallSet set;
  EXPECT_TRUE(set.Empty());
  set.Include(-1);
  set.Include(256);
  EXPECT_TRUE(set.Empty());
  set.Include(0);
  set.Include(255);
  set.Include(8);
  EXPECT_TRUE(set.Contains(0));
  EXPECT_TRUE(set.Contains(8));
  EXPECT_TRUE(set.Contains(255));
  EXPECT_FALSE(set.Contains(7));
  EXPECT_FALSE(set.Contains(9));
  EXPECT_FALSE(set.Contains(256));
  EXPECT_EQ(set, (TSmallSet{0, 8, 255}));
  set.Clear();
  EXPECT_TRUE(set.Empty());
}

TEST(SetToText, AscendingJoinedByCommas) {
  EXPECT_EQ(SetToText(TSmallSet{}), "@");
  EXPECT_EQ(SetToText(TSmallSet{17, 3, 0}), "0,3,17");
  EXPECT_EQ(SetToText(TSmallSet{255}), "255");
  EXPECT_EQ(SetToText(TSmallSet{0, 255}), "0,255");
}

TEST(TextToSet, ReadsNumbersAndIgnoresOutOfRange) {
  const struct {
    const char* text;
    TSmallSet expected;
  } cases[] = {
      {"@", {}},        {"", {}},           {"3,300,7", {3, 7}}, {"1,,2", {1, 2}},
      {"1,2,", {1, 2}}, {" 1, 2 ", {1, 2}}, {"-1,5", {5}},       {"0,255,256", {0, 255}},
      {"7,7", {7}},
  };
  for (const auto& c : cases) {
    TSmallSet set{99};
    EXPECT_TRUE(TextToSet(c.text, set)) << c.text;
    EXPECT_EQ(set, c.expected) << c.text;
  }
}

TEST(TextToSet, NonNumericItemFailsAndKeepsTheSet) {
  for (const char* text : {"a", "1,x", "@,1", "1.5", "99999999999", "@@", "1 2", "０"}) {
    TSmallSet set{42};
    EXPECT_FALSE(TextToSet(text, set)) << text;
    EXPECT_EQ(set, TSmallSet{42}) << text;
  }
}

TEST(FilterSetToText, QuotesItemsWithCommas) {
  EXPECT_EQ(FilterSetToText(TFilterSet{}), "@,@,@,@,@,@,@,@");
  TFilterSet first;
  first[0] = {1, 2};
  EXPECT_EQ(FilterSetToText(first), "\"1,2\",@,@,@,@,@,@,@");
  EXPECT_EQ(FilterSetToText(DefaultPageFilter()), "0,@,@,@,0,\"0,1,2\",\"0,1,2,3\",@");
}

TEST(TextToFilterSet, ReadsSevenOrEightItems) {
  TFilterSet filter;
  ASSERT_TRUE(TextToFilterSet("0,@,@,@,0,\"0,1,2\",\"0,1,2,3\",@", filter));
  EXPECT_EQ(filter, DefaultPageFilter());

  // Seven items: the eighth set is empty, whatever it held before.
  filter[7] = {9};
  ASSERT_TRUE(TextToFilterSet("@,@,@,@,@,@,@", filter));
  EXPECT_EQ(filter, TFilterSet{});

  ASSERT_TRUE(TextToFilterSet("1 2 3 4 5 6 7 8", filter));
  for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(filter[i], TSmallSet{i + 1}) << i;

  // A ninth item is ignored; empty items are empty sets.
  ASSERT_TRUE(TextToFilterSet("1,,,,,,,8,9", filter));
  TFilterSet expected;
  expected[0] = {1};
  expected[7] = {8};
  EXPECT_EQ(filter, expected);

  ASSERT_TRUE(TextToFilterSet(" \"1, 300, 2\" , @,@,@,@,@,@ ", filter));
  EXPECT_EQ(filter[0], (TSmallSet{1, 2}));
}

TEST(TextToFilterSet, RejectsShortOrBadTextsAndKeepsTheFilter) {
  for (const char* text : {"", "@,@,@,@,@,@", "@,x,@,@,@,@,@", "@,@,@,@,@,@,@,\"1,a\"", ",,,,,"}) {
    TFilterSet filter = DefaultPageFilter();
    EXPECT_FALSE(TextToFilterSet(text, filter)) << text;
    EXPECT_EQ(filter, DefaultPageFilter()) << text;
  }
}

TEST(TextToFilterSet, ReadsBackWhatWasWritten) {
  TFilterSet filter;
  filter[1] = {0, 1, 2, 100, 255};
  filter[3] = {7};
  filter[7] = {0, 128};
  TFilterSet read;
  ASSERT_TRUE(TextToFilterSet(FilterSetToText(filter), read));
  EXPECT_EQ(read, filter);
}

}  // namespace
}  // namespace pelo
