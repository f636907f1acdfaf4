// Measuring the lines of a day cell: every paint and every hint asks for row counts and
// heights, so they must stay cheap for an ordinary cell and bounded for one enormous line.
// "Cold" runs forget the cached row counts before each pass (a new cell width, a new font);
// "warm" runs measure what the list has already measured.
#include <benchmark/benchmark.h>

#include <string>

#include "schedule/CellLineLists.h"
#include "text/Texts.h"

namespace {

using pelo::TCellLineList;
using pelo::TFontSpec;
using pelo::TRect;

// 1 pixel per Shift-JIS byte for a 10-point font, like the tests.
class TFixedMeasurer : public pelo::TTextMeasurer {
 public:
  int32_t TextWidth(std::string_view text, const TFontSpec& font, int32_t percent) override {
    return pelo::SjisWidth(text) * (pelo::ScaledFontSize(font, percent) / 10);
  }
  int32_t CharWidth(char32_t c, const TFontSpec& font, int32_t percent) override {
    return pelo::SjisCharWidth(c) * (pelo::ScaledFontSize(font, percent) / 10);
  }
  int32_t FontHeight(const TFontSpec& font, int32_t percent) override {
    return -(pelo::ScaledFontSize(font, percent) + 2);
  }
  void Invalidate(const TRect&) override {}
};

TFontSpec CellFont() {
  TFontSpec font;
  font.Name = "Cell";
  font.Size = 10;
  return font;
}

// A day cell of 20 typical lines, 120 x 200 pixels, wrapping on.
void FillTwentyLines(TCellLineList& list) {
  list.SetFont(CellFont());
  list.SetCellRect(TRect{0, 0, 120, 200});
  list.SetWrap(true);
  for (int i = 0; i < 20; ++i) {
    pelo::TLineInfo info;
    info.Checked = i % 3 == 0;
    list.Add("10:00 ｸﾘｽﾏｽ会　打ち合わせ…資料を準備 " + std::to_string(i), info);
  }
}

void FillHugeLine(TCellLineList& list) {
  list.SetFont(CellFont());
  list.SetCellRect(TRect{0, 0, 120, 200});
  list.SetWrap(true);
  std::string text;
  const std::string piece = "打ち合わせ資料abc";
  while (text.size() < 5 * 1024 * 1024) text += piece;
  list.Add(std::move(text), pelo::TLineInfo{});
}

template <bool kCold>
void BM_TwentyLinesRows(benchmark::State& state) {
  TFixedMeasurer measurer;
  TCellLineList list(&measurer);
  FillTwentyLines(list);
  for (auto _ : state) {
    if (kCold) list.InvalidateMeasures();
    for (int32_t i = 0; i < list.Count(); ++i) benchmark::DoNotOptimize(list.LineRows(i));
  }
}
BENCHMARK(BM_TwentyLinesRows<true>)->Name("LineRows/20 lines/cold");
BENCHMARK(BM_TwentyLinesRows<false>)->Name("LineRows/20 lines/warm");

template <bool kCold>
void BM_TwentyLinesHeight(benchmark::State& state) {
  TFixedMeasurer measurer;
  TCellLineList list(&measurer);
  FillTwentyLines(list);
  for (auto _ : state) {
    if (kCold) list.InvalidateMeasures();
    for (int32_t i = 0; i < list.Count(); ++i) benchmark::DoNotOptimize(list.LineHeight(i));
  }
}
BENCHMARK(BM_TwentyLinesHeight<true>)->Name("LineHeight/20 lines/cold");
BENCHMARK(BM_TwentyLinesHeight<false>)->Name("LineHeight/20 lines/warm");

template <bool kCold>
void BM_HugeLineRows(benchmark::State& state) {
  TFixedMeasurer measurer;
  TCellLineList list(&measurer);
  FillHugeLine(list);
  for (auto _ : state) {
    if (kCold) list.InvalidateMeasures();
    benchmark::DoNotOptimize(list.LineRows(0));
  }
}
BENCHMARK(BM_HugeLineRows<true>)->Name("LineRows/5 MB line/cold");
BENCHMARK(BM_HugeLineRows<false>)->Name("LineRows/5 MB line/warm");

template <bool kCold>
void BM_HugeLineHeight(benchmark::State& state) {
  TFixedMeasurer measurer;
  TCellLineList list(&measurer);
  FillHugeLine(list);
  for (auto _ : state) {
    if (kCold) list.InvalidateMeasures();
    benchmark::DoNotOptimize(list.LineHeight(0));
  }
}
BENCHMARK(BM_HugeLineHeight<true>)->Name("LineHeight/5 MB line/cold");
BENCHMARK(BM_HugeLineHeight<false>)->Name("LineHeight/5 MB line/warm");

// A narrow cell counts the whole line's bytes, once per line: the first pass of a new list.
void BM_HugeLineNarrowFirstPass(benchmark::State& state) {
  TFixedMeasurer measurer;
  for (auto _ : state) {
    state.PauseTiming();
    TCellLineList list(&measurer);
    FillHugeLine(list);
    list.SetCellRect(TRect{0, 0, 2, 200});
    state.ResumeTiming();
    benchmark::DoNotOptimize(list.LineRows(0));
  }
}
BENCHMARK(BM_HugeLineNarrowFirstPass)->Name("LineRows/5 MB line/narrow cell, first pass");

}  // namespace
