// Where the main window opens, from the stored values and the screens: the first run, the
// maximised flag, values that are no numbers or are absurd, and windows stored where no
// screen shows them.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/WindowPlacements.h"

namespace pelo {
namespace {

using Text = std::optional<std::string>;

constexpr TScreenRect kInitial{287, 121, 484, 308};
constexpr TScreenRect kScreen{0, 0, 800, 600};
constexpr TScreenRect kRightScreen{800, 0, 1024, 768};

// Left, Top, Width and Height as stored, with Maximized absent.
TStoredPlacement Bounds(Text left, Text top, Text width, Text height) {
  return {std::nullopt, std::move(left), std::move(top), std::move(width), std::move(height)};
}

std::string Describe(const TWindowPlacement& placement) {
  const TScreenRect& b = placement.Bounds;
  return (placement.Maximized ? "maximised " : "") + std::to_string(b.Left) + "," +
         std::to_string(b.Top) + " " + std::to_string(b.Width) + "x" + std::to_string(b.Height);
}

struct Case {
  const char* name;
  TStoredPlacement stored;
  std::vector<TScreenRect> areas;
  TScreenRect primary;
  TWindowPlacement expected;
};

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const TWindowPlacement placed = PlaceWindow(c.stored, kInitial, c.areas, c.primary);
    EXPECT_EQ(placed, c.expected) << c.name << ": " << Describe(placed);
  }
}

TEST(WindowPlacementsTest, TheFirstRunTakesTwoThirdsOfTheScreen) {
  Check({
      {"two thirds, centred", {}, {kScreen}, kScreen, {false, {133, 100, 533, 400}}},
      {"on the primary of two",
       {},
       {kRightScreen, kScreen},
       kRightScreen,
       {false, {971, 128, 682, 512}}},
      {"never below the initial size",
       {},
       {{0, 0, 600, 400}},
       {0, 0, 600, 400},
       {false, {58, 46, 484, 308}}},
      {"never above the screen",
       {},
       {{0, 0, 400, 300}},
       {0, 0, 400, 300},
       {false, {0, 0, 400, 300}}},
      {"no screen", {}, {}, {}, {false, kInitial}},
      // Anything stored makes it a later run: the missing values are the window's own.
      {"Maximized=0 alone", {"0"}, {kScreen}, kScreen, {false, kInitial}},
  });
}

TEST(WindowPlacementsTest, MaximisedReadsNothingElse) {
  const TStoredPlacement stored{"1", "10", "20", "300", "200"};
  Check({
      {"1", stored, {kScreen}, kScreen, {true, kInitial}},
      {"-1", {"-1", "10"}, {kScreen}, kScreen, {true, kInitial}},
      {"no screen", stored, {}, {}, {true, kInitial}},
      {"abc is not maximised", {"abc", "5"}, {kScreen}, kScreen, {false, {5, 121, 484, 308}}},
  });
}

TEST(WindowPlacementsTest, ValuesThatAreNoDecimalIntegerAreTheWindowsOwn) {
  Check({
      {"all good",
       Bounds("10", "20", "300", "200"),
       {kScreen},
       kScreen,
       {false, {10, 20, 300, 200}}},
      {"abc", Bounds("10", "20", "abc", "200"), {kScreen}, kScreen, {false, {10, 20, 484, 200}}},
      {"hex, letter O, plus",
       Bounds("0x10", "+20", "350", "2O0"),
       {kScreen},
       kScreen,
       {false, {287, 20, 350, 308}}},
      {"empty, fraction, sign, too long",
       Bounds("-", "99999999999", "", "12.5"),
       {kScreen},
       kScreen,
       {false, kInitial}},
      {"no size at all",
       Bounds(std::nullopt, std::nullopt, "0", "-40"),
       {kScreen},
       kScreen,
       {false, kInitial}},
  });
}

TEST(WindowPlacementsTest, AbsurdNumbersGiveAWindowOnTheScreen) {
  const std::string max = "2147483647";
  const std::string min = "-2147483648";
  Check({
      {"all four the largest",
       Bounds(max, max, max, max),
       {kScreen},
       kScreen,
       {false, {0, 0, 800, 600}}},
      {"all four the smallest",
       Bounds(min, min, min, min),
       {kScreen},
       kScreen,
       {false, {158, 146, 484, 308}}},
      {"largest width and left",
       Bounds(max, "20", max, "200"),
       {kScreen},
       kScreen,
       {false, {0, 200, 800, 200}}},
      {"largest width at the left edge",
       Bounds("0", "20", max, "200"),
       {kScreen},
       kScreen,
       {false, {0, 20, 800, 200}}},
      {"huge, in reach",
       Bounds("10", "20", "100000", "100000"),
       {kScreen},
       kScreen,
       {false, {0, 0, 800, 600}}},
      {"huge, reaching in from far left",
       Bounds("-100000", "20", "200000", "300"),
       {kScreen},
       kScreen,
       {false, {0, 20, 800, 300}}},
  });
}

TEST(WindowPlacementsTest, TheTitleStripMustBeReachable) {
  Check({
      {"inside",
       Bounds("287", "121", "484", "308"),
       {kScreen},
       kScreen,
       {false, {287, 121, 484, 308}}},
      {"50 px of title",
       Bounds("750", "100", "400", "300"),
       {kScreen},
       kScreen,
       {false, {750, 100, 400, 300}}},
      {"40 px only",
       Bounds("760", "100", "400", "300"),
       {kScreen},
       kScreen,
       {false, {200, 150, 400, 300}}},
      {"14 rows show",
       Bounds("100", "-10", "400", "300"),
       {kScreen},
       kScreen,
       {false, {100, -10, 400, 300}}},
      {"4 rows only",
       Bounds("100", "-20", "400", "300"),
       {kScreen},
       kScreen,
       {false, {200, 150, 400, 300}}},
      {"5 rows at the foot",
       Bounds("100", "595", "400", "300"),
       {kScreen},
       kScreen,
       {false, {200, 150, 400, 300}}},
      {"20 px at the left",
       Bounds("-380", "300", "400", "300"),
       {kScreen},
       kScreen,
       {false, {200, 150, 400, 300}}},
      {"50 px at the left",
       Bounds("-350", "300", "400", "300"),
       {kScreen},
       kScreen,
       {false, {-350, 300, 400, 300}}},
      {"on the second screen",
       Bounds("1000", "100", "300", "200"),
       {kScreen, kRightScreen},
       kScreen,
       {false, {1000, 100, 300, 200}}},
      {"that screen gone",
       Bounds("1000", "100", "300", "200"),
       {kScreen},
       kScreen,
       {false, {250, 200, 300, 200}}},
      {"wider than the second screen",
       Bounds("900", "100", "5000", "200"),
       {kScreen, kRightScreen},
       kScreen,
       {false, {800, 100, 1024, 200}}},
      {"far away and too big",
       Bounds("-5000", "-5000", "1000", "900"),
       {kScreen},
       kScreen,
       {false, {0, 0, 800, 600}}},
      {"a small window",
       Bounds("10", "10", "30", "12"),
       {kScreen},
       kScreen,
       {false, {10, 10, 30, 12}}},
      {"no screen known", Bounds("-5000", "0", "400", "300"), {}, {}, {false, kInitial}},
  });
}

}  // namespace
}  // namespace pelo
