#include "schedule/CellLineLists.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "TestFonts.h"
#include "text/Texts.h"

namespace pelo {
namespace {

// Every character is as wide as its Shift-JIS bytes times a tenth of the scaled point size
// (a 10-point font: 1 pixel per byte), and a font is its scaled size + 2 pixels high,
// reported negative as the platform does.
class TFixedMeasurer : public TTextMeasurer {
 public:
  TFontSpec SurfaceFont() const override {
    TFontSpec font;
    font.Name = "Surface";
    font.Size = 10;
    return font;
  }
  int32_t TextWidth(std::string_view text, const TFontSpec& font, int32_t percent) override {
    ++text_calls;
    return SjisWidth(text) * (ScaledFontSize(font, percent) / 10);
  }
  int32_t CharWidth(char32_t c, const TFontSpec& font, int32_t percent) override {
    ++char_calls;
    return SjisCharWidth(c) * (ScaledFontSize(font, percent) / 10);
  }
  int32_t FontHeight(const TFontSpec& font, int32_t percent) override {
    return -(ScaledFontSize(font, percent) + 2);
  }
  void Invalidate(const TRect& rect) override { invalidated.push_back(rect); }

  int64_t text_calls = 0;
  int64_t char_calls = 0;
  std::vector<TRect> invalidated;
};

std::string RectText(const TRect& r) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom);
  return buffer;
}

// Writes every paint call down as one line of text.
class TRecorder : public TLinePaintSink {
 public:
  void FillRect(const TRect& rect, uint32_t color) override {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %06X", color);
    calls.push_back("fill " + RectText(rect) + buffer);
  }
  void DrawText(const TRect& clip, int32_t x, int32_t y, std::string_view text,
                const TFontSpec& font, int32_t percent, bool strike_out, bool underline) override {
    calls.push_back("text " + RectText(clip) + " @" + std::to_string(x) + "," + std::to_string(y) +
                    " " + std::string(text) + " " + font.Name + " " + std::to_string(percent) +
                    (strike_out ? " S" : "") + (underline ? " U" : ""));
  }
  void DrawIcon(const TRect& clip, int32_t slot, int32_t x, int32_t y) override {
    calls.push_back("icon" + std::to_string(slot) + " " + RectText(clip) + " @" +
                    std::to_string(x) + "," + std::to_string(y));
  }
  void DrawPicture(const TRect& clip, const TIconFile& picture, int32_t x, int32_t y) override {
    calls.push_back("picture " + picture.Path + " " + RectText(clip) + " @" + std::to_string(x) +
                    "," + std::to_string(y));
  }
  void DrawFocusRect(const TRect& rect, const TRect& clip) override {
    calls.push_back("focus " + RectText(rect) + " in " + RectText(clip));
  }

  // The text calls alone.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const std::string& call : calls) {
      if (call.rfind("text ", 0) == 0) texts.push_back(call);
    }
    return texts;
  }

  std::vector<std::string> calls;
};

// Icon facts of a test line, one letter each: c checked, a rank A, b rank B, m memo,
// r related files, p picture (with the picture given).
TLineInfo Facts(std::string_view letters, const TIconFile* picture = nullptr,
                const TFontSpec* font = nullptr) {
  TLineInfo info;
  for (const char letter : letters) {
    switch (letter) {
      case 'c':
        info.Checked = true;
        break;
      case 'a':
        info.RankA = true;
        break;
      case 'b':
        info.RankB = true;
        break;
      case 'm':
        info.HasMemo = true;
        break;
      case 'r':
        info.HasRelFiles = true;
        break;
      case 'p':
        info.HasPicture = true;
        break;
      default:
        ADD_FAILURE() << "unknown fact " << letter;
    }
  }
  info.Picture = picture;
  info.Font = font;
  return info;
}

std::string Repeat(std::string_view piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

using test::FontSpec;

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kSoftOrange = 0x00CCEEFF;  // RGB(255, 238, 204)
constexpr uint32_t kAqua = 0x00FFFF00;        // RGB(0, 255, 255)

// --- Rectangles and the screen ---------------------------------------------------------------

TEST(TRect, SizeEmptinessAndIntersection) {
  const struct {
    TRect a, b, common;
    bool empty;
  } cases[] = {
      {{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}, false},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, {10, 0, 10, 10}, true},  // touching edges
      {{0, 0, 10, 10}, {20, 20, 30, 30}, {20, 20, 10, 10}, true},
      {{2, 3, 12, 8}, {-5, -5, 50, 50}, {2, 3, 12, 8}, false},
      {{0, 5, 10, 5}, {0, 0, 10, 10}, {0, 5, 10, 5}, true},  // no height
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.a.Intersect(c.b), c.common) << RectText(c.a) << " / " << RectText(c.b);
    EXPECT_EQ(c.b.Intersect(c.a), c.common);
    EXPECT_EQ(c.common.Empty(), c.empty);
  }
  const TRect r{2, 3, 12, 8};
  EXPECT_EQ(r.Width(), 10);
  EXPECT_EQ(r.Height(), 5);
}

TEST(TCellLineList, SelectColorFollowsScreenDepth) {
  const struct {
    int32_t bits;
    uint32_t expected;
  } cases[] = {{1, kAqua},        {4, kAqua},        {8, kAqua},       {15, kSoftOrange},
               {16, kSoftOrange}, {24, kSoftOrange}, {32, kSoftOrange}};
  for (const auto& c : cases) {
    EXPECT_EQ(TCellLineList(nullptr, SelectColorForDepth(c.bits)).SelectColor(), c.expected)
        << c.bits;
  }
}

TEST(TCellLineList, Defaults) {
  TFixedMeasurer measurer;
  const TCellLineList list(&measurer);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Selected(), 0);
  EXPECT_EQ(list.TopLine(), 0);
  EXPECT_FALSE(list.Wrap());
  EXPECT_EQ(list.Spacing(), 2);
  EXPECT_FALSE(list.Active());
  EXPECT_EQ(list.Percent(), 100);
  EXPECT_EQ(list.Margin(), 1);
  EXPECT_EQ(list.Color(), kWhite);
  EXPECT_EQ(list.SelectColor(), kSoftOrange);
  EXPECT_EQ(list.Font().Name, "Surface");  // the surface's font when made
  for (int32_t slot = 0; slot < kIconSlotCount; ++slot) EXPECT_TRUE(list.IconVisible(slot));
  EXPECT_EQ(TCellLineList().Font(), TFontSpec{});
}

// A new display counts the rows again when it changes how text measures, and only then.
TEST(TCellLineList, ANewDisplayCountsTheRowsAgainWhenItMeasuresDifferently) {
  const TRect cell{10, 100, 51, 160};
  const std::string text(80, 'x');
  const struct {
    const char* change;
    void (*apply)(TCellDisplay&);
    bool measures_again;
  } cases[] = {
      {"the icon hidden", [](TCellDisplay& d) { d.IconVisible[kIconChecked] = false; }, true},
      {"twice the size", [](TCellDisplay& d) { d.Percent = 200; }, true},
      {"a larger font", [](TCellDisplay& d) { d.Font.Size = 30; }, true},
      {"more spacing", [](TCellDisplay& d) { d.Spacing = 9; }, false},
      {"another highlight", [](TCellDisplay& d) { d.SelectColor = 0x123456; }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    TFixedMeasurer measurer;
    TCellLineList list(&measurer);
    list.SetCellRect(cell);
    list.SetWrap(true);
    list.Add(text, Facts("c"));
    const int32_t rows_before = list.LineRows(0).Rows;
    TCellDisplay display = list.Display();
    c.apply(display);
    list.SetDisplay(display);
    EXPECT_EQ(list.Display(), display);
    // The rows of a list that only ever had the new display.
    TCellLineList fresh(&measurer);
    fresh.SetCellRect(cell);
    fresh.SetDisplay(display);
    fresh.Add(text, Facts("c"));
    const int32_t rows_fresh = fresh.LineRows(0).Rows;
    const int64_t calls_after = measurer.char_calls + measurer.text_calls;
    EXPECT_EQ(list.LineRows(0).Rows, rows_fresh);
    EXPECT_EQ(rows_fresh != rows_before, c.measures_again);
    EXPECT_EQ(measurer.char_calls + measurer.text_calls > calls_after, c.measures_again);
  }
}

TEST(TCellLineList, LinesKeepTheirOrderAndFacts) {
  TCellLineList list;
  const TIconFile picture{"pic.bmp", 20, 10};
  list.Add("zeta", Facts("c"));
  list.Add("alpha", Facts("p", &picture));
  list.Add("mu", Facts(""));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Text(0), "zeta");
  EXPECT_EQ(list.Text(1), "alpha");
  EXPECT_EQ(list.Text(2), "mu");
  EXPECT_TRUE(list.Info(0).Checked);
  EXPECT_EQ(list.Info(1).Picture, &picture);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(TCellLineList, OrderLines) {
  const struct {
    std::vector<int32_t> keys;
    std::string order;  // the lines a, b, c, d afterwards
  } cases[] = {
      {{3, 1, 2, 0}, "dbca"},
      {{1, 0, 1, 0}, "bdac"},  // equal keys keep their order
      {{0, 0, 0, 0}, "abcd"},
      {{0, 1, 2, 3}, "abcd"},
  };
  for (const auto& c : cases) {
    TCellLineList list;
    for (const char* text : {"a", "b", "c", "d"}) list.Add(text, Facts(text[0] == 'b' ? "c" : ""));
    list.OrderLines(c.keys);
    std::string order;
    for (int32_t i = 0; i < list.Count(); ++i) order += list.Text(i);
    EXPECT_EQ(order, c.order);
    // The facts go with their lines.
    for (int32_t i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Info(i).Checked, list.Text(i) == "b");
  }
  TCellLineList list;
  list.Add("a", Facts(""));
  EXPECT_THROW(list.OrderLines(std::vector<int32_t>{1, 2}), std::invalid_argument);
}

// A refill takes the cleared lines' storage: nothing of the old lines may show through.
TEST(TCellLineList, ARefillForgetsTheClearedLines) {
  TFixedMeasurer measurer;
  TCellLineList list(&measurer);
  list.SetCellRect(TRect{0, 0, 11, 100});
  list.SetMargin(1);
  list.SetFont(FontSpec("Cell", 10));
  const TIconFile picture{"pic.bmp", 20, 10};
  list.Add("abcdefghijklmnopqrstu", Facts(""));  // three rows of 10
  list.AddShared(std::make_shared<const TCellLine>(
      TCellLine{"second line, also long", Facts("acp", &picture)}));
  list.Add("third", Facts("m"));
  ASSERT_EQ(list.LineRows(0).Rows, 3);
  ASSERT_EQ(list.Text(1), "second line, also long");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.Text(0), std::out_of_range);
  EXPECT_THROW(list.Info(0), std::out_of_range);
  EXPECT_EQ(list.LineRows(0).Rows, 1);  // out of range: an unwrapped line

  const struct {
    bool shared;
    const char* text;
    const char* facts;
  } refill[] = {{true, "abc", ""}, {false, "defghijklmnop", "b"}};
  for (const auto& line : refill) {
    if (line.shared) {
      list.AddShared(std::make_shared<const TCellLine>(TCellLine{line.text, Facts(line.facts)}));
    } else {
      list.Add(line.text, Facts(line.facts));
    }
  }
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Text(0), "abc");
  EXPECT_EQ(list.Text(1), "defghijklmnop");
  EXPECT_THROW(list.Text(2), std::out_of_range);
  EXPECT_TRUE(list.Info(1).RankB);
  EXPECT_FALSE(list.Info(1).RankA);
  EXPECT_FALSE(list.Info(1).Checked);
  EXPECT_EQ(list.Info(1).Picture, nullptr);
  // Measured afresh, not taken from the cleared line in the same place.
  EXPECT_EQ(list.LineRows(0).Rows, 1);
  EXPECT_EQ(list.LineRows(0).FirstLength, 3);
  // More lines than before.
  for (int i = 0; i < 5; ++i) list.Add(std::to_string(i), Facts(""));
  ASSERT_EQ(list.Count(), 7);
  EXPECT_EQ(list.Text(6), "4");
}

// --- Measuring ------------------------------------------------------------------------------

TEST(TCellLineList, RowHeight) {
  const TFontSpec big = FontSpec("Big", 20);
  const struct {
    const TFontSpec* own;
    int32_t percent, spacing, expected;
  } cases[] = {
      {nullptr, 100, 2, 14},  // |-12| + 2
      {nullptr, 150, 2, 20},  // 12 * 150 / 100 + 2
      {nullptr, 50, 0, 6},   {nullptr, 100, -3, 9},
      {&big, 100, 2, 24},  // the line's own font: |-22| + 2
      {&big, 75, 3, 19},   // 22 * 75 / 100 = 16
  };
  for (const auto& c : cases) {
    TFixedMeasurer measurer;
    TCellLineList list(&measurer);
    list.SetPercent(c.percent);
    list.SetSpacing(c.spacing);
    list.Add("x", Facts("", nullptr, c.own));
    EXPECT_EQ(list.RowHeight(0), c.expected) << c.percent << " " << c.spacing;
    // Out of range: the cell font.
    EXPECT_EQ(list.RowHeight(5), 12 * c.percent / 100 + c.spacing);
  }
  TFixedMeasurer measurer;
  EXPECT_EQ(TCellLineList(&measurer).RowHeight(0), 0);  // empty list
}

TEST(TCellLineList, LineIcons) {
  const TIconFile picture{"pic.bmp", 20, 10};
  const struct {
    const char* facts;
    const TIconFile* picture;
    std::vector<int32_t> hidden;
    std::vector<int32_t> shown;
    int32_t width;
  } cases[] = {
      {"", nullptr, {}, {}, 0},
      {"c", nullptr, {}, {0}, 16},
      {"ab", nullptr, {}, {1, 2}, 32},
      {"cabmrp", &picture, {}, {0, 1, 2, 3, 4, 6}, 100},
      {"cabmrp", &picture, {1, 2}, {0, 3, 4, 6}, 68},
      {"c", nullptr, {0}, {}, 0},
      {"p", nullptr, {}, {}, 0},  // no picture found: no room taken
      {"p", &picture, {6}, {}, 0},
      {"mr", nullptr, {4}, {3}, 16},
  };
  for (const auto& c : cases) {
    TCellLineList list;
    for (const int32_t slot : c.hidden) list.SetIconVisible(slot, false);
    list.Add("x", Facts(c.facts, c.picture));
    const TLineIcons icons = list.LineIcons(0);
    std::vector<int32_t> shown;
    for (int32_t slot = 0; slot < kIconSlotCount; ++slot) {
      if (icons.Shown[static_cast<std::size_t>(slot)]) shown.push_back(slot);
    }
    EXPECT_EQ(shown, c.shown) << c.facts;
    EXPECT_EQ(icons.Count, static_cast<int32_t>(c.shown.size())) << c.facts;
    EXPECT_EQ(icons.Width, c.width) << c.facts;
    EXPECT_EQ(list.LineIcons(1).Count, 0);
    EXPECT_EQ(list.LineIcons(-1).Width, 0);
  }
}

TEST(TCellLineList, LineRows) {
  const TFontSpec big = FontSpec("Big", 20);
  const struct {
    int32_t cell_width, margin, cell_size, percent;
    const char* text;
    const char* facts;
    const TFontSpec* own;
    int32_t rows, first;
  } cases[] = {
      // Room = cell width - margin, 1 pixel per byte.
      {21, 1, 10, 100, "abcdefghij", "", nullptr, 1, 10},
      {11, 1, 10, 100, "abcdefghij", "", nullptr, 1, 10},  // exactly fills the row
      {11, 1, 10, 100, "abcdefghijk", "", nullptr, 2, 10},
      {11, 1, 10, 100, "abcdefghijklmnopqrst", "", nullptr, 2, 10},  // twice the width
      {13, 3, 10, 100, "abcdefghijkl", "", nullptr, 2, 10},
      // Double-byte characters are never split.
      {10, 1, 10, 100, "あいうえお", "", nullptr, 2, 8},
      {5, 1, 10, 100, "aあいうえお", "", nullptr, 3, 3},
      {5, 1, 10, 100, "ｱｲｳｴｵｶ", "", nullptr, 2, 4},  // half-width katakana: 1 byte
      {2, 0, 10, 100, "aあb", "", nullptr, 3, 1},
      // Narrower than "お": two bytes a row, byte length / 2 rows.
      {2, 1, 10, 100, "abcdef", "", nullptr, 3, 2},
      {2, 1, 10, 100, "あいう", "", nullptr, 3, 2},
      {2, 1, 10, 100, "abcde", "", nullptr, 2, 2},
      {0, 1, 10, 100, "abcd", "", nullptr, 2, 2},
      {2, 1, 10, 100, "a", "", nullptr, 1, 2},       // one byte keeps a row
      {4, 1, 20, 100, "abcdef", "", nullptr, 3, 2},  // "お" is 4 pixels in 20 points
      // An empty line keeps its row.
      {21, 1, 10, 100, "", "", nullptr, 1, 0},
      // Icons: the room is the cell width less the icons (the margin is given back).
      {30, 1, 10, 100, "abcdefghijklmnopqrst", "c", nullptr, 2, 14},
      {30, 3, 10, 100, "abcdefghijklmnopqrst", "c", nullptr, 2, 14},
      {30, 1, 10, 100, "abcdefghijklmnopqrst", "m", nullptr, 2, 14},
      // Icons leave 1 pixel: each character takes a row of its own.
      {17, 1, 10, 100, "aあb", "c", nullptr, 3, 1},
      // Icons wider than the cell: one row per character, and the measuring ends.
      {10, 1, 10, 100, "abcあ", "ca", nullptr, 4, 1},
      {3, 1, 10, 100, "abcdef", "c", nullptr, 6, 1},
      // Scaled fonts: 20 points is 2 pixels per byte, at 50 % 1 pixel.
      {11, 1, 20, 100, "abcdefghij", "", nullptr, 2, 5},
      {11, 1, 20, 50, "abcdefghij", "", nullptr, 1, 10},
      {11, 1, 10, 100, "abcdefghij", "", &big, 2, 5},  // the line's own font
      {11, 1, 10, 200, "abcdefghij", "", nullptr, 2, 5},
  };
  for (const auto& c : cases) {
    TFixedMeasurer measurer;
    TCellLineList list(&measurer);
    list.SetCellRect(TRect{10, 100, 10 + c.cell_width, 200});
    list.SetMargin(c.margin);
    list.SetFont(FontSpec("Cell", c.cell_size));
    list.SetPercent(c.percent);
    list.Add(c.text, Facts(c.facts, nullptr, c.own));
    const TLineRows rows = list.LineRows(0);
    EXPECT_EQ(rows.Rows, c.rows) << c.text << " in " << c.cell_width;
    EXPECT_EQ(rows.FirstLength, c.first) << c.text << " in " << c.cell_width;
    EXPECT_EQ(list.IsWrapped(0), c.rows > 1) << c.text << " in " << c.cell_width;
  }
}

TEST(TCellLineList, LineRowsOutOfRange) {
  TFixedMeasurer measurer;
  TCellLineList list(&measurer);
  list.SetCellRect(TRect{0, 0, 3, 100});
  list.Add("abcdefgh", Facts(""));
  EXPECT_EQ(list.LineRows(1).Rows, 1);
  EXPECT_EQ(list.LineRows(-1).Rows, 1);
  EXPECT_FALSE(list.IsWrapped(1));
}

TEST(TCellLineList, LineHeight) {
  const TIconFile tall{"tall.bmp", 20, 30};
  const TIconFile flat{"flat.bmp", 20, 10};
  const struct {
    bool wrap;
    int32_t spacing;
    std::size_t bytes;
    const char* facts;
    const TIconFile* picture;
    bool hide_picture;
    int32_t expected;
  } cases[] = {
      // Cell 41 wide: 40 bytes a row, rows 14 high.
      {false, 2, 80, "", nullptr, false, 14},  // wrapping off: one row
      {true, 2, 80, "", nullptr, false, 28},   // twice the width: twice the height
      {true, 2, 40, "", nullptr, false, 14},
      {true, 2, 100, "", nullptr, false, 42},
      {true, 2, 0, "", nullptr, false, 14},
      {true, 2, 80, "c", nullptr, false, 56},   // 25 bytes a row beside the icon
      {false, 2, 80, "c", nullptr, false, 18},  // at least an icon plus the spacing
      {false, 0, 10, "c", nullptr, false, 16},
      {false, 6, 10, "", nullptr, false, 18},
      {false, 2, 10, "p", &tall, false, 30},  // at least the picture
      {false, 2, 10, "p", &flat, false, 18},
      {true, 2, 10, "p", &tall, true, 14},
  };
  for (const auto& c : cases) {
    TFixedMeasurer measurer;
    TCellLineList list(&measurer);
    list.SetCellRect(TRect{10, 100, 51, 160});
    list.SetWrap(c.wrap);
    list.SetSpacing(c.spacing);
    list.SetIconVisible(kIconPicture, !c.hide_picture);
    list.Add(std::string(c.bytes, 'x'), Facts(c.facts, c.picture));
    EXPECT_EQ(list.LineHeight(0), c.expected) << c.bytes << " " << c.facts << " " << c.wrap;
    EXPECT_EQ(list.LineHeight(3), 12 + c.spacing);  // out of range: an empty line
  }
  TFixedMeasurer measurer;
  EXPECT_EQ(TCellLineList(&measurer).LineHeight(0), 0);
}

// Five lines of heights 14, 18, 30, 28, 14 in a cell 60 pixels high.
void AddGeometryLines(TCellLineList& list, const TIconFile& picture) {
  list.SetCellRect(TRect{10, 100, 61, 160});
  list.SetWrap(true);
  list.Add("a", Facts(""));
  list.Add("b", Facts("c"));
  list.Add("c", Facts("p", &picture));
  list.Add(std::string(60, 'x'), Facts(""));  // two rows of 50
  list.Add("d", Facts(""));
}

class TGeometryTest : public ::testing::Test {
 protected:
  void SetUp() override { AddGeometryLines(list_, picture_); }

  TFixedMeasurer measurer_;
  TIconFile picture_{"pic.bmp", 8, 30};
  TCellLineList list_{&measurer_};
};

TEST_F(TGeometryTest, Heights) {
  const int32_t expected[] = {14, 18, 30, 28, 14};
  for (int32_t k = 0; k < 5; ++k) EXPECT_EQ(list_.LineHeight(k), expected[k]) << k;
}

TEST_F(TGeometryTest, LineTopAndRect) {
  const int32_t tops[] = {100, 114, 132, 162, 190, 204, 218};
  for (int32_t k = 0; k < 7; ++k) EXPECT_EQ(list_.LineTop(k), tops[k]) << k;
  EXPECT_EQ(list_.LineTop(-3), 100);
  EXPECT_EQ(list_.LineRect(0), (TRect{10, 100, 61, 114}));
  EXPECT_EQ(list_.LineRect(1), (TRect{10, 114, 61, 132}));
  EXPECT_EQ(list_.LineRect(2), (TRect{10, 132, 61, 160}));  // cut at the cell's bottom
  EXPECT_TRUE(list_.LineRect(3).Empty());

  list_.ScrollDown();
  list_.ScrollDown();
  ASSERT_EQ(list_.TopLine(), 2);
  EXPECT_EQ(list_.LineTop(0), 100);  // above the first shown line
  EXPECT_EQ(list_.LineTop(2), 100);
  EXPECT_EQ(list_.LineTop(3), 130);
  EXPECT_EQ(list_.LineTop(4), 158);
  EXPECT_EQ(list_.LineRect(3), (TRect{10, 130, 61, 158}));
}

TEST_F(TGeometryTest, LineAt) {
  const struct {
    int32_t y, index;
    bool partly;
  } cases[] = {
      {99, -1, false}, {100, 0, false}, {113, 0, false},  {114, 0, false}, {115, 1, false},
      {132, 1, false}, {133, 2, true},  {162, 2, true},   {163, 3, true},  {190, 3, true},
      {191, 4, true},  {204, 4, true},  {205, -1, false},  // below the last line
  };
  for (const auto& c : cases) {
    const TLineHit hit = list_.LineAt(c.y);
    EXPECT_EQ(hit.Index, c.index) << c.y;
    EXPECT_EQ(hit.PartlyHidden, c.partly) << c.y;
  }
  EXPECT_EQ(list_.LastVisibleLine(), 1);

  // A pixel of slack: a line ending one pixel below the cell is not partly hidden for a
  // click, but it is not fully shown either.
  list_.SetCellRect(TRect{10, 100, 61, 161});
  EXPECT_FALSE(list_.LineAt(140).PartlyHidden);
  EXPECT_EQ(list_.LastVisibleLine(), 1);
  list_.SetCellRect(TRect{10, 100, 61, 162});
  EXPECT_EQ(list_.LastVisibleLine(), 2);

  list_.SetCellRect(TRect{10, 100, 61, 160});
  list_.ScrollDown();
  list_.ScrollDown();
  EXPECT_EQ(list_.LineAt(131).Index, 3);
  EXPECT_FALSE(list_.LineAt(131).PartlyHidden);
  EXPECT_EQ(list_.LineAt(159).Index, 4);
  EXPECT_TRUE(list_.LineAt(159).PartlyHidden);
  EXPECT_EQ(list_.LastVisibleLine(), 3);
}

TEST_F(TGeometryTest, LineAtPoint) {
  const struct {
    int32_t x, y, expected;
  } cases[] = {{9, 100, -1}, {10, 100, 0}, {61, 100, 0}, {62, 100, -1},
               {30, 120, 1}, {30, 99, -1}, {30, 205, -1}};
  for (const auto& c : cases) EXPECT_EQ(list_.LineAtPoint(c.x, c.y), c.expected) << c.x;
}

TEST_F(TGeometryTest, LastVisibleLineWhenNothingFits) {
  list_.SetCellRect(TRect{10, 100, 61, 110});  // lower than the first line
  EXPECT_EQ(list_.LastVisibleLine(), 0);
  TCellLineList empty(&measurer_);
  EXPECT_EQ(empty.LastVisibleLine(), 0);
  EXPECT_EQ(empty.LineAt(100).Index, -1);
}

// --- Clicks, selection and scrolling ---------------------------------------------------------

TEST_F(TGeometryTest, Click) {
  const TRect cell{10, 100, 61, 160};
  const struct {
    int32_t x, y;
    bool hit, same;
    int32_t selected, top;
    bool active, repainted;
  } cases[] = {
      {20, 205, false, false, 0, 0, false, false},  // below the last line: nothing
      {5, 120, false, false, 0, 0, false, false},   // left of the cell
      {20, 120, true, false, 1, 0, true, true},
      {20, 105, true, true, 0, 0, false, false},  // the selected line again
      {20, 140, true, false, 2, 1, true, true},   // partly hidden: selected and scrolled
  };
  for (const auto& c : cases) {
    TFixedMeasurer measurer;
    TCellLineList list(&measurer);
    AddGeometryLines(list, picture_);
    const TLineClick click = list.Click(c.x, c.y);
    EXPECT_EQ(click.Hit, c.hit) << c.y;
    EXPECT_EQ(click.SameLine, c.same) << c.y;
    EXPECT_EQ(list.Selected(), c.selected) << c.y;
    EXPECT_EQ(list.TopLine(), c.top) << c.y;
    EXPECT_EQ(list.Active(), c.active) << c.y;
    EXPECT_EQ(measurer.invalidated, c.repainted ? std::vector<TRect>{cell} : std::vector<TRect>{})
        << c.y;
  }
}

TEST(TCellLineList, ClickOnATallFirstLineKeepsIt) {
  // Line 0 (5 rows, 70 pixels) is taller than the cell and so always partly hidden.
  TFixedMeasurer measurer;
  TCellLineList list(&measurer);
  list.SetCellRect(TRect{10, 100, 61, 160});
  list.SetWrap(true);
  list.Add(std::string(250, 'x'), Facts(""));
  list.Add("b", Facts(""));
  list.SetSelected(1);
  const TLineClick click = list.Click(20, 110);
  EXPECT_TRUE(click.Hit);
  EXPECT_EQ(list.Selected(), 0);
  EXPECT_EQ(list.TopLine(), 0);
}

// Six lines of 14 pixels in a cell of 60: lines 0..3 are fully shown.
class TSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list_.SetCellRect(kCell);
    for (const char* text : {"a", "b", "c", "d", "e", "f"}) list_.Add(text, Facts(""));
  }
  std::vector<TRect>& Repaints() { return measurer_.invalidated; }

  static constexpr TRect kCell{10, 100, 61, 160};
  TFixedMeasurer measurer_;
  TCellLineList list_{&measurer_};
};

TEST_F(TSelectionTest, SelectLineScrollsAndRepaints) {
  EXPECT_EQ(list_.LastVisibleLine(), 3);
  list_.SelectLine(2);
  EXPECT_EQ(list_.Selected(), 2);
  EXPECT_EQ(list_.TopLine(), 0);
  EXPECT_EQ(Repaints(), std::vector<TRect>{(TRect{10, 100, 61, 142})});  // lines 0..2

  Repaints().clear();
  list_.SelectLine(5);
  EXPECT_EQ(list_.Selected(), 5);
  EXPECT_EQ(list_.TopLine(), 2);
  EXPECT_EQ(list_.LastVisibleLine(), 5);
  EXPECT_EQ(Repaints(), std::vector<TRect>{kCell});

  Repaints().clear();
  list_.SelectLine(3);
  EXPECT_EQ(list_.TopLine(), 2);
  EXPECT_EQ(Repaints(), std::vector<TRect>{(TRect{10, 114, 61, 156})});  // lines 3..5

  Repaints().clear();
  list_.SelectLine(0);  // above the first shown line
  EXPECT_EQ(list_.Selected(), 0);
  EXPECT_EQ(list_.TopLine(), 0);
  EXPECT_EQ(Repaints(), std::vector<TRect>{kCell});

  Repaints().clear();
  list_.SelectLine(6);
  list_.SelectLine(-1);
  EXPECT_EQ(list_.Selected(), 0);
  EXPECT_TRUE(Repaints().empty());
}

TEST_F(TSelectionTest, PaintLinesInEitherOrder) {
  list_.PaintLines(1, 3);
  list_.PaintLines(3, 1);
  list_.PaintLines(3, 5);  // cut to the cell
  list_.PaintLines(2, 2);
  const std::vector<TRect> expected = {
      {10, 114, 61, 156}, {10, 114, 61, 156}, {10, 142, 61, 160}, {10, 128, 61, 142}};
  EXPECT_EQ(Repaints(), expected);
  Repaints().clear();
  list_.PaintAll();
  EXPECT_EQ(Repaints(), std::vector<TRect>{kCell});
}

TEST_F(TSelectionTest, Scrolling) {
  const struct {
    bool down;
    int32_t top, selected;
    int32_t new_top, new_selected;
    bool repainted;
  } cases[] = {
      {true, 0, 0, 1, 1, true},  // the selection follows the first shown line
      {true, 0, 4, 1, 4, true},  {true, 5, 5, 5, 5, false},  // the last line is already on top
      {false, 2, 5, 1, 4, true},  // the selection stays on a fully shown line
      {false, 2, 3, 1, 3, true}, {false, 0, 2, 0, 2, false},
  };
  for (const auto& c : cases) {
    TFixedMeasurer measurer;
    TCellLineList list(&measurer);
    list.SetCellRect(kCell);
    for (const char* text : {"a", "b", "c", "d", "e", "f"}) list.Add(text, Facts(""));
    list.SelectLine(c.top);
    while (list.TopLine() < c.top) list.ScrollDown();
    list.SetSelected(c.selected);
    ASSERT_EQ(list.TopLine(), c.top);
    measurer.invalidated.clear();
    EXPECT_EQ(c.down ? list.CanScrollDown() : list.CanScrollUp(), c.repainted);
    c.down ? list.ScrollDown() : list.ScrollUp();
    EXPECT_EQ(list.TopLine(), c.new_top) << c.down << c.top << c.selected;
    EXPECT_EQ(list.Selected(), c.new_selected) << c.down << c.top << c.selected;
    EXPECT_EQ(measurer.invalidated.size(), c.repainted ? 1u : 0u);
  }
}

TEST_F(TSelectionTest, ResetPosition) {
  list_.MoveLast();
  list_.ResetPosition();
  EXPECT_EQ(list_.Selected(), 0);
  EXPECT_EQ(list_.TopLine(), 0);
}

// --- Painting -------------------------------------------------------------------------------

class TPaintTest : public ::testing::Test {
 protected:
  void SetUp() override { list_.SetCellRect(kCell); }
  std::vector<std::string> Paint(const TRect& clip = kCell) {
    TRecorder recorder;
    list_.Paint(clip, recorder);
    return recorder.calls;
  }
  std::vector<std::string> PaintedTexts(const TRect& clip = kCell) {
    TRecorder recorder;
    list_.Paint(clip, recorder);
    return recorder.Texts();
  }

  static constexpr TRect kCell{10, 100, 61, 160};
  TFixedMeasurer measurer_;
  TCellLineList list_{&measurer_};
};

TEST_F(TPaintTest, OneLineThenEmptyRowsToTheBottom) {
  list_.Add("abc", Facts(""));
  const std::vector<std::string> expected = {
      "fill 10,100,61,114 FFFFFF",
      "text 10,100,61,114 @11,101 abc Surface 100",  // top: (14 - 12 + 1) / 2
      "fill 10,114,61,128 FFFFFF",
      "fill 10,128,61,142 FFFFFF",
      "fill 10,142,61,156 FFFFFF",
      "fill 10,156,61,160 FFFFFF",
  };
  EXPECT_EQ(Paint(), expected);
}

TEST_F(TPaintTest, SelectionColourOnlyWhileActive) {
  list_.Add("abc", Facts(""));
  list_.Add("de", Facts(""));
  list_.SetSelected(1);
  list_.SetColor(0x00112233);
  const std::vector<std::string> inactive = {
      "fill 10,100,61,114 112233", "text 10,100,61,114 @11,101 abc Surface 100",
      "fill 10,114,61,128 112233", "text 10,114,61,128 @11,115 de Surface 100",
      "fill 10,128,61,142 112233", "fill 10,142,61,156 112233",
      "fill 10,156,61,160 112233",
  };
  EXPECT_EQ(Paint(), inactive);

  list_.SetActive(true);
  std::vector<std::string> active = inactive;
  active[2] = "fill 10,114,61,128 CCEEFF";
  active.push_back("focus 10,114,61,128 in 10,100,61,160");
  EXPECT_EQ(Paint(), active);
}

TEST_F(TPaintTest, MarksStandInForHiddenIcons) {
  const struct {
    const char* facts;
    bool checked_visible, memo_visible;
    const char* expected_text;
  } cases[] = {
      {"c", true, true, "text 10,100,61,118 @28,103 x Surface 100"},
      {"c", false, true, "text 10,100,61,114 @11,101 x Surface 100 S"},
      {"m", true, true, "text 10,100,61,118 @28,103 x Surface 100"},
      {"m", true, false, "text 10,100,61,114 @11,101 x Surface 100 U"},
      {"cm", false, false, "text 10,100,61,114 @11,101 x Surface 100 S U"},
      {"", false, false, "text 10,100,61,114 @11,101 x Surface 100"},
  };
  for (const auto& c : cases) {
    TCellLineList list(&measurer_);
    list.SetCellRect(kCell);
    list.SetIconVisible(kIconChecked, c.checked_visible);
    list.SetIconVisible(kIconMemo, c.memo_visible);
    list.Add("x", Facts(c.facts));
    TRecorder recorder;
    list.Paint(kCell, recorder);
    EXPECT_EQ(recorder.Texts(), std::vector<std::string>{c.expected_text}) << c.facts;
  }
}

TEST_F(TPaintTest, IconsBeforeTheText) {
  list_.Add("abc", Facts("cm"));
  // 18 high (an icon plus the spacing); the text starts after two icons and two margins.
  const std::vector<std::string> expected = {
      "fill 10,100,61,118 FFFFFF",   "text 10,100,61,118 @44,103 abc Surface 100",
      "icon0 10,100,61,118 @11,101", "icon3 10,100,61,118 @27,101",
      "fill 10,118,61,132 FFFFFF",   "fill 10,132,61,146 FFFFFF",
      "fill 10,146,61,160 FFFFFF",
  };
  EXPECT_EQ(Paint(), expected);
}

TEST_F(TPaintTest, IconsOnLowRowsStartAtTheTop) {
  list_.SetSpacing(-3);  // rows of 9, with icons 13: not taller than 15
  list_.Add("abc", Facts("a"));
  const std::vector<std::string> calls = Paint();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[1], "text 10,100,61,113 @28,101 abc Surface 100");
  EXPECT_EQ(calls[2], "icon1 10,100,61,113 @11,100");
}

TEST_F(TPaintTest, Pictures) {
  const TIconFile tall{"tall.bmp", 20, 30};
  const TIconFile flat{"flat.bmp", 20, 10};
  list_.Add("abc", Facts("p", &tall));
  list_.Add("de", Facts("cp", &flat));
  const std::vector<std::string> expected = {
      "fill 10,100,61,130 FFFFFF",
      "text 10,100,61,130 @32,109 abc Surface 100",  // (30 - 12 + 1) / 2
      "picture tall.bmp 10,100,61,130 @11,100",
      "fill 10,130,61,148 FFFFFF",
      "text 10,130,61,148 @48,133 de Surface 100",
      "icon0 10,130,61,148 @11,131",
      "picture flat.bmp 10,130,61,148 @27,134",  // centred: (18 - 10) / 2
      "fill 10,148,61,160 FFFFFF",
  };
  EXPECT_EQ(Paint(), expected);
}

TEST_F(TPaintTest, IconsFillingTheRowHideTheText) {
  list_.SetCellRect(TRect{10, 100, 30, 118});
  list_.Add("abc", Facts("cabmr"));
  const std::vector<std::string> expected = {
      "fill 10,100,30,118 FFFFFF", "icon0 10,100,30,118 @11,101",
      "icon1 10,100,30,118 @27,101",  // the next one would start right of the row
  };
  EXPECT_EQ(Paint(TRect{10, 100, 30, 118}), expected);
}

TEST_F(TPaintTest, WrappedRows) {
  list_.SetCellRect(TRect{10, 100, 21, 160});  // 10 bytes a row
  list_.SetWrap(true);
  list_.Add("abcdefghijklmnopqrstuvwxy", Facts(""));
  const std::vector<std::string> expected = {
      "fill 10,100,21,142 FFFFFF",
      "text 10,100,21,114 @11,101 abcdefghij Surface 100",  // row top + spacing / 2
      "text 10,114,21,128 @11,115 klmnopqrst Surface 100",
      "text 10,128,21,142 @11,129 uvwxy Surface 100",
      "fill 10,142,21,156 FFFFFF",
      "fill 10,156,21,160 FFFFFF",
  };
  EXPECT_EQ(Paint(TRect{10, 100, 21, 160}), expected);

  // Rows stop at the clip's bottom.
  const std::vector<std::string> clipped = {
      "fill 10,100,21,120 FFFFFF",
      "text 10,100,21,114 @11,101 abcdefghij Surface 100",
      "text 10,114,21,120 @11,115 klmnopqrst Surface 100",
  };
  EXPECT_EQ(Paint(TRect{0, 0, 100, 120}), clipped);

  // A clip from below keeps every position where a full paint puts it.
  const std::vector<std::string> lower = {
      "fill 10,120,21,142 FFFFFF",
      "text 10,120,21,128 @11,115 klmnopqrst Surface 100",
      "text 10,128,21,142 @11,129 uvwxy Surface 100",
      "fill 10,142,21,156 FFFFFF",
      "fill 10,156,21,160 FFFFFF",
  };
  EXPECT_EQ(Paint(TRect{10, 120, 21, 160}), lower);
}

TEST_F(TPaintTest, WrappedRowsShowWhereTheyBroke) {
  // Rows of 3, 4 and 4 bytes: every row shows its own piece, no character is skipped or split.
  list_.SetCellRect(TRect{10, 100, 15, 160});
  list_.SetWrap(true);
  list_.Add("aあいうえお", Facts(""));
  const std::vector<std::string> expected = {
      "text 10,100,15,114 @11,101 aあ Surface 100",
      "text 10,114,15,128 @11,115 いう Surface 100",
      "text 10,128,15,142 @11,129 えお Surface 100",
  };
  EXPECT_EQ(PaintedTexts(TRect{10, 100, 15, 160}), expected);
}

TEST_F(TPaintTest, NarrowCellShowsTwoBytesARow) {
  list_.SetCellRect(TRect{10, 100, 12, 160});
  list_.SetWrap(true);
  list_.Add("abあc", Facts(""));  // 5 bytes: 2 rows
  const std::vector<std::string> expected = {
      "text 10,100,12,114 @11,101 ab Surface 100",
      "text 10,114,12,128 @11,115 あ Surface 100",
  };
  EXPECT_EQ(PaintedTexts(TRect{10, 100, 12, 160}), expected);
}

TEST_F(TPaintTest, ScaledAndOwnFonts) {
  const TFontSpec own = FontSpec("Own", 20);
  list_.SetPercent(150);  // rows of 12 * 1.5 + 2 = 20, a 15-point font is 17 high
  list_.Add("abc", Facts(""));
  list_.Add("de", Facts("", nullptr, &own));  // rows of 22 * 1.5 + 2 = 35, 32 high
  const std::vector<std::string> expected = {
      "text 10,100,61,120 @11,102 abc Surface 150",
      "text 10,120,61,155 @11,122 de Own 150",
  };
  EXPECT_EQ(PaintedTexts(), expected);
}

TEST_F(TPaintTest, StartsAtTheTopLine) {
  for (const char* text : {"a", "b", "c"}) list_.Add(text, Facts(""));
  list_.ScrollDown();
  const std::vector<std::string> expected = {
      "text 10,100,61,114 @11,101 b Surface 100",
      "text 10,114,61,128 @11,115 c Surface 100",
  };
  EXPECT_EQ(PaintedTexts(), expected);
}

TEST_F(TPaintTest, NeverOutsideTheCell) {
  list_.Add("abc", Facts(""));
  EXPECT_TRUE(Paint(TRect{100, 100, 200, 200}).empty());
  const std::vector<std::string> calls = Paint(TRect{0, 0, 500, 500});
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "fill 10,156,61,160 FFFFFF");

  TCellLineList no_surface;
  no_surface.SetCellRect(kCell);
  no_surface.Add("abc", Facts(""));
  TRecorder recorder;
  no_surface.Paint(kCell, recorder);
  EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(TPaintTest, RowsWithoutHeightStillEnd) {
  list_.SetPercent(0);  // the font shrinks to nothing
  list_.SetSpacing(0);
  list_.Add("abc", Facts(""));
  EXPECT_EQ(Paint(), std::vector<std::string>{"fill 10,100,61,160 FFFFFF"});
}

TEST_F(TPaintTest, UnwrappedTextIsCutToWhatShows) {
  list_.SetCellRect(TRect{10, 100, 21, 160});
  list_.Add(std::string(100, 'a'), Facts(""));
  const std::vector<std::string> texts = PaintedTexts(TRect{10, 100, 21, 160});
  ASSERT_EQ(texts.size(), 1u);
  // At least the 10 bytes that show, and not the whole line.
  EXPECT_NE(texts[0].find("@11,101 " + std::string(10, 'a')), std::string::npos);
  EXPECT_LT(texts[0].size(), 60u);
}

// --- Measuring once, and huge lines ----------------------------------------------------------

TEST(TCellLineList, RowCountsAreMeasuredOnce) {
  TFixedMeasurer measurer;
  TCellLineList list(&measurer);
  list.SetCellRect(TRect{0, 0, 31, 100});
  list.Add("abcdefghijklmnopqrst", Facts("c"));  // 30 + 1 - 16 = 15 a row
  EXPECT_EQ(list.LineRows(0).Rows, 2);
  const int64_t calls = measurer.char_calls + measurer.text_calls;
  EXPECT_EQ(list.LineRows(0).Rows, 2);
  EXPECT_EQ(measurer.char_calls + measurer.text_calls, calls);

  // Every change of what the row count depends on measures again.
  list.SetIconVisible(kIconChecked, false);
  EXPECT_EQ(list.LineRows(0).Rows, 1);
  list.SetCellRect(TRect{0, 0, 11, 100});
  EXPECT_EQ(list.LineRows(0).Rows, 2);
  list.SetMargin(6);  // 5 a row
  EXPECT_EQ(list.LineRows(0).Rows, 4);
  list.SetFont(FontSpec("Cell", 20));  // 2 pixels a byte
  EXPECT_EQ(list.LineRows(0).Rows, 10);
  list.SetPercent(50);
  EXPECT_EQ(list.LineRows(0).Rows, 4);
  list.SetIconVisible(kIconChecked, true);  // 5 + 6 - 16 < 0: a row per character
  EXPECT_EQ(list.LineRows(0).Rows, 20);
}

constexpr std::size_t kFiveMegabytes = 5 * 1024 * 1024;

TEST(TCellLineList, HugeLineIsMeasuredWithBoundedWork) {
  const struct {
    std::string text;
    int32_t cell_width;
    const char* facts;
    int32_t rows, first;
  } cases[] = {
      {std::string(kFiveMegabytes, 'a'), 11, "", 524288, 10},
      {Repeat("あいうえお", 349526), 11, "", 349526, 10},
      {std::string(kFiveMegabytes, 'a'), 2, "", 2621440, 2},    // narrow: bytes / 2
      {std::string(kFiveMegabytes, 'a'), 11, "c", 5242880, 1},  // icons wider than the cell
  };
  for (const auto& c : cases) {
    TFixedMeasurer measurer;
    TCellLineList list(&measurer);
    list.SetCellRect(TRect{10, 100, 10 + c.cell_width, 160});
    list.SetWrap(true);
    list.Add(c.text, Facts(c.facts));
    const TLineRows rows = list.LineRows(0);
    EXPECT_EQ(rows.Rows, c.rows) << c.cell_width << c.facts;
    EXPECT_EQ(rows.FirstLength, c.first) << c.cell_width << c.facts;
    // The rows a 60-pixel cell can show, not the whole line.
    EXPECT_LT(measurer.char_calls, 100000) << c.cell_width << c.facts;
    const int64_t height = int64_t{c.rows} * 14;
    EXPECT_EQ(list.LineHeight(0), std::min<int64_t>(height, TCellLineList::kMaxLineHeight));
    EXPECT_EQ(list.LineAt(150).Index, 0);
    EXPECT_TRUE(list.LineAt(150).PartlyHidden);
    EXPECT_EQ(list.LastVisibleLine(), 0);
  }
}

TEST(TCellLineList, HugeLinePaintsOnlyWhatShows) {
  TFixedMeasurer measurer;
  TCellLineList list(&measurer);
  list.SetCellRect(TRect{10, 100, 21, 160});
  list.Add(std::string(kFiveMegabytes, 'a'), Facts(""));
  list.Add("b", Facts(""));

  list.SetWrap(true);
  TRecorder wrapped;
  list.Paint(list.CellRect(), wrapped);
  const std::vector<std::string> expected = {
      "text 10,100,21,114 @11,101 aaaaaaaaaa Surface 100",
      "text 10,114,21,128 @11,115 aaaaaaaaaa Surface 100",
      "text 10,128,21,142 @11,129 aaaaaaaaaa Surface 100",
      "text 10,142,21,156 @11,143 aaaaaaaaaa Surface 100",
      "text 10,156,21,160 @11,157 aaaaaaaaaa Surface 100",
  };
  EXPECT_EQ(wrapped.Texts(), expected);

  list.SetWrap(false);
  TRecorder single;
  list.Paint(list.CellRect(), single);
  ASSERT_EQ(single.Texts().size(), 2u);
  EXPECT_LT(single.Texts()[0].size(), 100u);
  EXPECT_LT(measurer.char_calls, 100000);
}

}  // namespace
}  // namespace pelo
