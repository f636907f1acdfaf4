#include "entries/AnnotationCodes.h"

#include <algorithm>
#include <array>
#include <limits>

#include "calendar/DateTexts.h"
#include "calendar/Kyurekis.h"
#include "text/Texts.h"

namespace pelo {

namespace {

// Counts are worked out in 64 bits: a field far outside the calendar must not overflow. Such
// a count is written saturated; only broken input ever gets there.
std::string Number(int64_t value) {
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  return NumberText(static_cast<int32_t>(std::clamp(value, kMin, kMax)));
}

struct TAge {
  int32_t Age;
  std::string_view Name;
};

constexpr std::array<TAge, 8> kLongevityNames = {{
    {60, "還暦"},
    {70, "古希"},
    {77, "喜寿"},
    {80, "傘寿"},
    {88, "米寿"},
    {90, "卒寿"},
    {99, "白寿"},
    {100, "百賀"},
}};

constexpr std::array<TAge, 24> kWeddingWords = {{
    {1, "紙"},          {2, "綿"},    {3, "革"},          {4, "花"},
    {5, "木"},          {6, "鉄"},    {7, "銅"},          {8, "青銅"},
    {9, "陶器"},        {10, "錫"},   {11, "鋼鉄"},       {12, "絹"},
    {13, "レース"},     {14, "象牙"}, {15, "水晶"},       {20, "磁器"},
    {25, "銀"},         {30, "真珠"}, {35, "さんご"},     {40, "ルビー"},
    {45, "サファイア"}, {50, "金"},   {55, "エメラルド"}, {60, "ダイヤモンド"},
}};

// The years after a death whose memorial service is held, besides the first anniversary:
// the service is named after the year counted from 1 (N = 2 is the 3rd).
constexpr std::array<int32_t, 11> kMemorialYears = {2, 6, 12, 16, 22, 24, 26, 32, 36, 49, 99};

std::string_view FindName(const auto& table, int64_t key) {
  for (const TAge& entry : table) {
    if (entry.Age == key) return entry.Name;
  }
  return {};
}

// Everything the codes read, worked out once per call.
struct TCodeDates {
  TDateRec T, S, E, Z;
  int64_t N;        // T.year - Z.year
  int64_t t, s, e;  // day numbers of T, S and E
};

std::string BirthdayText(int64_t n) {
  if (n <= 0) return "の誕生日";
  return Concat({" ", Number(n), "歳の誕生日"});
}

std::string WeddingText(int64_t n) {
  if (n <= 0) return "の結婚記念日";
  std::string text = Concat({"の結婚", Number(n), "周年記念"});
  const std::string name = WeddingAnniversaryName(static_cast<int32_t>(std::min<int64_t>(n, 61)));
  if (!name.empty()) text += Concat({"【", name, "】"});
  return text;
}

std::string MemorialText(const TCodeDates& d) {
  if (DayNumber(d.T) <= DayNumber(d.Z)) return {};
  const std::string name = MemorialName(static_cast<int32_t>(std::clamp<int64_t>(d.N, -1, 100)));
  if (name.empty()) return {};
  return Concat({"【", name, "】"});
}

std::string DayOfPeriodText(const TCodeDates& d) {
  if (d.t == d.s) return "初日";
  if (d.t == d.e) return "最終日";
  return Number(d.t - d.s + 1) + "日目";
}

}  // namespace

std::string_view LongevityName(int32_t age) { return FindName(kLongevityNames, age); }

std::string WeddingAnniversaryName(int32_t years) {
  const std::string_view word = FindName(kWeddingWords, years);
  if (word.empty()) return {};
  return Concat({word, "婚式"});
}

std::string SchoolGradeText(int32_t grade) {
  if (grade >= 6 && grade <= 11) return Concat({"小学", Number(grade - 5), "年生"});
  if (grade >= 12 && grade <= 14) return Concat({"中学", Number(grade - 11), "年生"});
  return {};
}

std::string MemorialName(int32_t years) {
  if (years == 1) return "一周忌";
  if (std::find(kMemorialYears.begin(), kMemorialYears.end(), years) == kMemorialYears.end()) {
    return {};
  }
  return Number(years + 1) + "回忌";
}

std::string PeriodText(TDateRec from, TDateRec to, int32_t extra_days) {
  int64_t years = int64_t{to.Year} - from.Year;
  int64_t months = 0;
  if (from.Month < to.Month) {
    months = int64_t{to.Month} - from.Month;
  } else if (from.Month == to.Month) {
    months = to.Day < from.Day ? 12 : 0;
  } else {
    --years;
    months = int64_t{to.Month} - from.Month + 12;
  }
  int64_t days = 0;
  if (to.Day >= from.Day) {
    days = int64_t{to.Day} - from.Day;
  } else {
    // Borrow the month before the later date's month; it can leave a day part of 0 or less
    // (1/31 to 3/1), which is then not written.
    if (from.Month == to.Month) --years;
    --months;
    days = int64_t{DaysInPreviousMonth(to.Year, to.Month)} + to.Day - from.Day;
  }
  std::string text;
  if (years > 0) text += Number(years) + "年";
  if (months > 0) text += Number(months) + "ヶ月";
  if (days > 0) {
    if (!text.empty()) text += "と";
    text += Number(days + extra_days) + "日";
  }
  return text;
}

std::string EndDateText(TDateRec period_start, TDateRec period_end) {
  const bool other_year = period_start.Year < period_end.Year || period_start.Day == 0;
  std::string text;
  if (other_year) text += Number(period_end.Year) + "年";
  if (other_year || period_start.Month < period_end.Month) {
    text += Number(period_end.Month) + "月";
  }
  text += Number(period_end.Day) + "日まで";
  return text;
}

std::string ExpandCodes(std::string_view text, TDateRec shown, TDateRec period_start,
                        TDateRec period_end, TDateRec base, TCalendarKind kind) {
  std::string out(text);
  // Most entry texts have no code at all.
  if (out.find('%') == std::string::npos) return out;

  const TCodeDates d{shown,
                     period_start,
                     period_end,
                     base,
                     int64_t{shown.Year} - base.Year,
                     DayNumber(shown),
                     DayNumber(period_start),
                     DayNumber(period_end)};
  const int64_t n = d.N;

  // Each replacement is made only when its code is there: some of them look up tables.
  const auto replace = [&out](std::string_view code, const auto& make) {
    if (out.find(code) == std::string::npos) return false;
    out = ReplaceAll(out, code, make());
    return true;
  };

  replace("%n", [&] { return Number(n); });
  replace("%a", [&] { return Number(n + 1); });
  replace("%y", [&] { return Number(d.S.Year); });
  replace("%h", [&] { return YearText(0, 9, d.Z, kind); });
  replace("%m", [&] { return Number(d.Z.Month); });
  replace("%d", [&] { return Number(d.Z.Day); });
  // A life-event code string names its %b with a digit; only that one is the birthday.
  const auto birthday = [&] { return BirthdayText(n); };
  if (!replace("%b1", birthday) && !replace("%b2", birthday)) replace("%b", birthday);
  replace("%c", [&] { return n > 0 ? Concat({"生誕 ", Number(n), "年"}) : std::string(); });
  replace("%z", [&] {
    const std::string_view name =
        LongevityName(static_cast<int32_t>(std::clamp<int64_t>(n, 0, 101)));
    return name.empty() ? std::string() : Concat({"【", name, "】"});
  });
  replace("%q", [&] { return Concat({"死去（享年 ", Number(n), "歳）"}); });
  replace("%v", [&] { return n > 0 ? "没後" + PeriodText(d.Z, d.T) : std::string(); });
  replace("%x", [&] { return MemorialText(d); });
  replace("%k", [&] { return Concat({"（", ZodiacAnimal(d.Z.Year), "）"}); });
  replace("%e", [&] { return n > 0 ? Concat({"（", Number(n), "周年記念）"}) : std::string(); });
  replace("%w", [&] { return WeddingText(n); });
  replace("%t", [&] { return Concat({"第", Number(n + 1), "回"}); });
  replace("%g", [&] {
    return SchoolGradeText(static_cast<int32_t>(std::clamp<int64_t>(n - 1, -1, 15)));
  });
  replace("%p", [&] { return ZodiacSign(d.T.Month, d.T.Day); });
  replace("%o", [&] { return RokuyoName(d.T, kind); });
  replace("%i", [&] { return LunarDateText(d.T, kind); });
  replace("%s", [&] { return DayOfPeriodText(d); });
  replace("%l", [&] { return Concat({"残り ", Number(d.e - d.t + 1), "日"}); });
  replace("%f", [&] { return d.t == d.e ? std::string("最終日") : EndDateText(d.S, d.E); });
  replace("%r", [&] { return Number(d.e - d.s + 1) + "日間"; });
  replace("%u", [&] { return PeriodText(d.S, d.E, 1) + "間"; });
  return out;
}

std::string_view CutLineText(std::string_view text) noexcept {
  // No character is wider than two bytes of Shift-JIS per byte of UTF-8.
  if (text.size() <= static_cast<std::size_t>(kMaxLineTextWidth) / 2) return text;
  return CutToSjisWidth(text, kMaxLineTextWidth);
}

namespace {

void CutLine(std::string& line) { line.resize(CutLineText(line).size()); }

}  // namespace

std::string CombineAnnotation(std::string_view shown_text, std::string_view code, TDateRec shown,
                              TDateRec period_start, TDateRec period_end, TDateRec base,
                              TCalendarKind kind) {
  const std::string annotation = ExpandCodes(code, shown, period_start, period_end, base, kind);
  std::string line;
  if (annotation.find('*') == std::string::npos) {
    line = Concat({shown_text, " ", annotation});
  } else {
    // Every "*" becomes the shown text, but only until the line is surely too wide: three
    // bytes of UTF-8 are at least one byte of Shift-JIS.
    constexpr std::size_t kEnough = 3 * static_cast<std::size_t>(kMaxLineTextWidth);
    for (std::size_t pos = 0; pos < annotation.size() && line.size() <= kEnough;) {
      const std::size_t star = annotation.find('*', pos);
      line.append(annotation, pos, star == std::string::npos ? std::string::npos : star - pos);
      if (star == std::string::npos) break;
      line.append(shown_text);
      pos = star + 1;
    }
  }
  CutLine(line);
  return line;
}

std::string ProgressText(TDateRec range_start, TDateRec range_end, TDateRec shown) {
  const int32_t t = DayNumber(shown);
  if (DayNumber(range_start) > t) return "まであと " + PeriodText(shown, range_start);
  if (t > DayNumber(range_end)) return Concat({"から ", PeriodText(range_end, shown), "経過"});
  return {};
}

std::string PlainLineText(std::string_view text, std::string_view annotation, TDateRec shown,
                          TDateRec period_start, TDateRec period_end, TDateRec base,
                          TCalendarKind kind) {
  std::string line = ExpandCodes(CutLineText(text), shown, period_start, period_end, base, kind);
  CutLine(line);
  if (annotation.empty()) return line;
  return CombineAnnotation(line, CutLineText(annotation), shown, period_start, period_end, base,
                           kind);
}

std::string DerivedLineText(std::string_view text, std::string_view annotation, TDateRec shown,
                            TDateRec range_start, TDateRec range_end, TDateRec base,
                            TCalendarKind kind) {
  // The codes describe the occurrence the day was derived from, not the day itself.
  const TDateRec day = DayNumber(shown) > DayNumber(range_end) ? range_end : range_start;
  std::string line = PlainLineText(text, annotation, day, range_start, range_end, base, kind);
  line += ProgressText(range_start, range_end, shown);
  CutLine(line);
  return line;
}

}  // namespace pelo
