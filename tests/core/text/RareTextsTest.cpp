#include "text/RareTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace pelo {
namespace {

TEST(RareTexts, HoldsWhatItWasGiven) {
  const struct {
    const char* given;
    bool empty;
  } cases[] = {
      {"", true}, {"%c", false}, {"長い注釈のテキストで、小さな文字列に収まらないもの", false}};
  for (const auto& c : cases) {
    TRareText text("old");
    text = c.given;
    EXPECT_EQ(text.empty(), c.empty) << c.given;
    EXPECT_EQ(text, c.given);
    EXPECT_EQ(std::string(text.view()), c.given);
  }
}

TEST(RareTexts, CopiesAreIndependent) {
  const TRareText original("%b");
  TRareText copy = original;
  TRareText assigned;
  assigned = original;
  copy = "%c";
  assigned.clear();
  EXPECT_EQ(original, "%b");
  EXPECT_EQ(copy, "%c");
  EXPECT_TRUE(assigned.empty());
  EXPECT_EQ(original, TRareText("%b"));
  EXPECT_FALSE(original == copy);
}

// A text may be given a part of itself (a prefix cut off, a tail kept).
TEST(RareTexts, TakesAPartOfItself) {
  TRareText text("*の%a回目の誕生日");
  text = text.view().substr(1);
  EXPECT_EQ(text, "の%a回目の誕生日");
  const TRareText& same = text;
  text = same;
  EXPECT_EQ(text, "の%a回目の誕生日");
  text = text.view().substr(0, 0);
  EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace pelo
