#include "text/ParseErrors.h"

#include <gtest/gtest.h>

namespace pelo {
namespace {

TEST(TParseError, EachCallerAddsItsPrefixAndOffset) {
  const TParseError inner("年が間違っています。", 2);
  EXPECT_TRUE(inner.Failed());
  const TParseError outer = TParseError(inner).InContext("終了", 4).InContext("日付の", 10);
  EXPECT_EQ(outer.Message(), "日付の終了年が間違っています。");
  EXPECT_EQ(outer.Position(), 16u);

  const TParseError none = TParseError().InContext("日付の", 10);
  EXPECT_FALSE(none.Failed());
  EXPECT_EQ(none.Message(), "");
  EXPECT_EQ(none.Position(), 0u);
}

}  // namespace
}  // namespace pelo
