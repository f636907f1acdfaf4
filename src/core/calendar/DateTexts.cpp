#include "calendar/DateTexts.h"

#include <array>

#include "text/Texts.h"

namespace pelo {

namespace {

constexpr std::array<std::string_view, 7> kWeekdayKanji = {"日", "月", "火", "水",
                                                           "木", "金", "土"};
constexpr std::array<std::string_view, 7> kWeekdayEnglish = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

constexpr std::array<std::string_view, 12> kOldMonthNames = {"睦月", "如月",   "弥生", "卯月",
                                                             "皐月", "水無月", "文月", "葉月",
                                                             "長月", "神無月", "霜月", "師走"};
constexpr std::array<std::string_view, 12> kMonthReadings = {
    "むつき",   "きさらぎ", "やよい",   "うげつ",     "さつき",   "みなづき",
    "ふみづき", "はづき",   "ながつき", "かんなづき", "しもつき", "しわす"};
constexpr std::array<std::string_view, 12> kEnglishMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

struct TEraEntry {
  std::string_view Name;
  int32_t FirstDay;
  char Letter;
};

// The old character forms of the names are kept as the era table has always had them.
// The last entry belongs to the current calendar alone.
constexpr std::array<TEraEntry, kEraReiwa + 1> kEras = {{
    {"天正", -100823, 'G'},  // 1582/11/1
    {"文祿", -97133, 'G'},   // 1592/12/8
    {"慶長", -95714, 'G'},   // 1596/10/27
    {"元和", -88881, 'G'},   // 1615/7/13
    {"寛永", -85727, 'G'},   // 1624/3/1
    {"正保", -78132, 'G'},   // 1644/12/16
    {"慶安", -76976, 'G'},   // 1648/2/15
    {"承應", -75299, 'G'},   // 1652/9/18
    {"明暦", -74362, 'G'},   // 1655/4/13
    {"萬治", -73165, 'G'},   // 1658/7/23
    {"寛文", -72158, 'G'},   // 1661/4/25
    {"延寶", -67626, 'G'},   // 1673/9/21
    {"天和", -64696, 'G'},   // 1681/9/29
    {"貞享", -63821, 'G'},   // 1684/2/21
    {"元禄", -62138, 'G'},   // 1688/9/30
    {"寶永", -56496, 'G'},   // 1704/3/13
    {"正徳", -53897, 'G'},   // 1711/4/25
    {"亨保", -52012, 'G'},   // 1716/6/22
    {"元文", -44762, 'G'},   // 1736/4/28
    {"寛保", -42996, 'G'},   // 1741/2/27
    {"延享", -41907, 'G'},   // 1744/2/21
    {"寛延", -40304, 'G'},   // 1748/7/12
    {"寶暦", -39102, 'G'},   // 1751/10/27
    {"明和", -34500, 'G'},   // 1764/6/2
    {"安永", -31411, 'G'},   // 1772/11/16
    {"天明", -28352, 'G'},   // 1781/4/2
    {"寛政", -25497, 'G'},   // 1789/1/25
    {"享和", -21104, 'G'},   // 1801/2/5
    {"文化", -20003, 'G'},   // 1804/2/11
    {"文政", -14819, 'G'},   // 1818/4/22
    {"天保", -10204, 'G'},   // 1830/12/10
    {"弘化", -5098, 'G'},    // 1844/12/2
    {"嘉永", -3915, 'G'},    // 1848/2/28
    {"安政", -1451, 'G'},    // 1854/11/27
    {"萬延", 487, 'G'},      // 1860/3/18
    {"文久", 825, 'G'},      // 1861/2/19
    {"元治", 1921, 'G'},     // 1864/2/20
    {"慶應", 2333, 'G'},     // 1865/4/7
    {"明治", 3583, 'M'},     // 1868/9/8
    {"大正", 19613, 'T'},    // 1912/7/30
    {"昭和", 24874, 'S'},    // 1926/12/25
    {"平成", 47534, 'H'},    // 1989/1/8
    {"令和", DayNumber(2019, 5, 1), 'R'},
}};

static_assert(kEras[0].FirstDay == kFirstCalendarDay);
static_assert(kEras[kEraMeiji].Name == "明治" && kEras[kEraHeisei].Name == "平成" &&
              kEras[kEraReiwa].Name == "令和");
static_assert(kEras.size() == EraCount(TCalendarKind::kCurrent));

// The twelve animals, index (year - 1863) mod 12, each with its reading in half-width kana.
constexpr std::array<std::string_view, 12> kZodiacAnimals = {
    "亥ｲ", "子ﾈ", "丑ｳｼ", "寅ﾄﾗ", "卯ｳ", "辰ﾀﾂ", "巳ﾐ", "午ｳﾏ", "未ﾋﾂｼﾞ", "申ｻﾙ", "酉ﾄﾘ", "戌ｲﾇ"};

// Signs 1..12 (index 0 unused) and, per month, the first day of the next sign.
constexpr std::array<std::string_view, 13> kZodiacSigns = {
    "", "山羊", "水瓶", "魚", "牡羊", "牡牛", "双子", "蟹", "獅子", "乙女", "天秤", "蠍", "射手"};
constexpr std::array<int32_t, 12> kZodiacBoundaries = {21, 20, 21, 21, 22, 22,
                                                       24, 24, 24, 24, 23, 23};

// The words of the codes every field may hold. False when code is none of them; the code
// 0 has no word for a side other than 0 and 1, and text keeps its marker.
bool CommonCodeWord(int32_t side, int32_t code, std::string& text) {
  switch (code) {
    case kCodeEvery:
      if (side == 0) text = "毎";
      if (side == 1) text = "同";
      return true;
    case kCodeToday:
      text = "今";
      return true;
    case kCodeBaseStart:
      text = "開始";
      return true;
    case kCodeBaseEnd:
      text = "終了";
      return true;
    case kCodeEarliest:
      text = "永久過去";
      return true;
    case kCodeLatest:
      text = "永久未来";
      return true;
    case kCodeKeep:
      text = "設定";
      return true;
    default:
      return false;
  }
}

// 今週月曜, 毎週月曜, 第２月曜, 最終月曜 for the day codes 33..88.
std::string WeekdayCodeText(int32_t code) {
  std::string text;
  int32_t weekday = 0;
  if (code < kCodeEveryWeek) {
    text = "今週";
    weekday = code - kCodeThisWeek;
  } else if (code < kCodeNthWeekFirst) {
    text = "毎週";
    weekday = code - kCodeEveryWeek;
  } else if (code < kCodeLastWeek) {
    const int32_t q = (code - kCodeThisWeek) / 7;  // [2, 6]
    text = Concat({"第", FullWidthNumber(q - 1)});
    weekday = (code - kCodeThisWeek) % 7;
  } else {
    text = "最終";
    weekday = code - kCodeLastWeek;
  }
  text += WeekdayKanji(weekday);
  text += "曜";
  return text;
}

std::string TwoDigits(int32_t value, int32_t pad_kind) { return NumberText(value, 2, pad_kind); }

}  // namespace

std::string_view WeekdayKanji(int32_t weekday) noexcept {
  return weekday >= 0 && weekday < 7 ? kWeekdayKanji[weekday] : std::string_view();
}

std::string WeekdayText(int32_t style, int32_t weekday) {
  if (weekday < 0 || weekday > 6) return {};
  const std::string kanji(kWeekdayKanji[weekday]);
  const std::string_view english = kWeekdayEnglish[weekday];
  switch (style) {
    case 0:
      return kanji;
    case 1:
      return kanji + "曜";
    case 2:
      return kanji + "曜日";
    case 3:
      return std::string(english);
    case 4:
      return std::string(english.substr(0, 3)) + ".";
    case 5:
      return std::string(english.substr(0, 3));
    case 6:
      return std::string(english.substr(0, 2));
    case 7:
      return std::string(english.substr(0, 1));
    default:
      return {};
  }
}

std::string_view OldMonthName(int32_t month) noexcept {
  return month >= 1 && month <= 12 ? kOldMonthNames[month - 1] : std::string_view();
}

std::string_view MonthReading(int32_t month) noexcept {
  return month >= 1 && month <= 12 ? kMonthReadings[month - 1] : std::string_view();
}

std::string_view EnglishMonthName(int32_t month) noexcept {
  return month >= 1 && month <= 12 ? kEnglishMonthNames[month - 1] : std::string_view();
}

std::string_view EraName(int32_t era, TCalendarKind kind) noexcept {
  return era >= 0 && era < EraCount(kind) ? kEras[era].Name : std::string_view();
}

char EraLetter(int32_t era, TCalendarKind kind) noexcept {
  return era >= 0 && era < EraCount(kind) ? kEras[era].Letter : '\0';
}

TEraYear EraOf(TDateRec date, TCalendarKind kind) {
  constexpr TDateRec kDayZero{1858, 11, 17};
  const bool real_day = date.Year >= 1 && date.Month >= 1 && date.Month <= 12 && date.Day >= 1 &&
                        date.Day <= DaysInMonth(date.Year, date.Month);
  if (!real_day) return {};
  const int32_t n = DayNumber(date);
  // DayNumber answers 0 for fields it cannot take; only 1858/11/17 really is day 0.
  if (n == 0 && date != kDayZero) return {};
  if (n < kFirstCountedEraDay) {
    if (n < kEras[0].FirstDay) return {};
    int32_t era = kEraMeiji;
    while (kEras[era].FirstDay > n) --era;
    return {era, date.Year};
  }
  if (n < kEras[kEraTaisho].FirstDay) return {kEraMeiji, date.Year - 1867};
  if (n < kEras[kEraShowa].FirstDay) return {kEraTaisho, date.Year - 1911};
  if (n < kEras[kEraHeisei].FirstDay) return {kEraShowa, date.Year - 1925};
  if (kind == TCalendarKind::kCurrent && n >= kEras[kEraReiwa].FirstDay) {
    return {kEraReiwa, date.Year - 2018};
  }
  return {kEraHeisei, date.Year - 1988};
}

std::string ZodiacAnimal(int32_t year) {
  if (year <= 1872) return {};
  return std::string(kZodiacAnimals[(year - 1863) % 12]);
}

std::string ZodiacSign(int32_t month, int32_t day) {
  if (month < 1 || month > 12) return {};
  int32_t index = month;
  if (day >= kZodiacBoundaries[month - 1]) index = month == 12 ? 1 : month + 1;
  return std::string(kZodiacSigns[index]) + "座";
}

std::string YearText(int32_t side, int32_t style, TDateRec date, TCalendarKind kind) {
  std::string text = "@";
  const int32_t year = date.Year;
  if (CommonCodeWord(side, year, text)) return text;
  if (year <= 0) return text;
  switch (style) {
    case 0:
      return std::to_string(year);
    case 1:
      return TwoDigits(year % 100, kPadZero);
    case 2:
      return Concat({"'", TwoDigits(year % 100, kPadZero)});
    case 3:
      return FullWidthNumber(year);
    case 4:
      return FullWidthNumber(year % 100);
    case 5:
      return Concat({"’", FullWidthNumber(year % 100)});
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
      break;
    default:
      return text;
  }
  // Era styles. A pattern that names no day (2024/2/30) has no era; it is shown with its
  // western year like the years before 1873.
  const TEraYear era = year > 1872 ? EraOf(date, kind) : TEraYear{};
  const bool with_year_mark = style == 9 || style == 11;
  if (era.Era < 0) return std::to_string(year) + (with_year_mark ? "年" : "");
  const std::string name(EraName(era.Era, kind));
  switch (style) {
    case 6:
    case 7:
      return Concat({std::string(1, EraLetter(era.Era, kind)), std::to_string(era.Year)});
    case 8:
      return name + std::to_string(era.Year);
    case 9:
      return name + std::to_string(era.Year) + "年";
    case 10:
      return name + FullWidthNumber(era.Year);
    default:
      return name + FullWidthNumber(era.Year) + "年";
  }
}

std::string MonthText(int32_t side, int32_t style, int32_t month) {
  std::string text = "@m";
  if (CommonCodeWord(side, month, text)) return text;
  if (month <= 0) return text;
  switch (style) {
    case 0:
      return std::to_string(month);
    case 1:
      return TwoDigits(month, kPadZero);
    case 2:
      return std::to_string(month) + "月";
    case 3:
      return TwoDigits(month, kPadSpace) + "月";
    default:
      break;
  }
  // The name styles know the twelve months only.
  if (month > 12) return text;
  switch (style) {
    case 4:
      return std::string(OldMonthName(month));
    case 5:
      return std::string(MonthReading(month));
    case 6:
      return Concat({OldMonthName(month), "（", MonthReading(month), "）"});
    case 7:
      return std::string(EnglishMonthName(month));
    case 8:
      return std::string(EnglishMonthName(month).substr(0, 3)) + ".";
    case 9:
      return std::string(EnglishMonthName(month).substr(0, 3));
    default:
      return text;
  }
}

std::string DayText(int32_t side, int32_t style, int32_t day) {
  std::string text = "@d";
  if (CommonCodeWord(side, day, text)) return text;
  switch (day) {
    case kCodeHoliday:
      return "祝";
    case kCodePrivateHoliday:
      return "私休";
    case kCodeVernalEquinox:
      return "春分の";
    case kCodeAutumnalEquinox:
      return "秋分の";
    case kCodeMonthEnd:
      return "末";
    default:
      break;
  }
  if (day >= kCodeThisWeek && day <= kCodeLastWeekEnd) return WeekdayCodeText(day);
  // Other negative codes and the codes past the last weekday code have no text.
  if (day <= 0 || day > kCodeMonthEnd) return text;
  switch (style) {
    case 0:
      return std::to_string(day);
    case 1:
      return TwoDigits(day, kPadZero);
    case 2:
      return TwoDigits(day, kPadSpace);
    default:
      return text;
  }
}

std::string DateText(int32_t side, std::string_view separator, int32_t year_style,
                     int32_t month_style, int32_t day_style, int32_t weekday_style, TDateRec date,
                     TCalendarKind kind) {
  const bool marks = separator.empty();
  std::string text = YearText(side, year_style, date, kind);
  text += marks ? std::string_view("年") : separator;
  text += MonthText(side, month_style, date.Month);
  text += marks ? std::string_view("月") : separator;
  text += DayText(side, day_style, date.Day);
  if (marks) text += "日";
  const int32_t weekday = WeekdayOf(date);
  if (weekday_style == 0) {
    text += Concat({"(", WeekdayText(0, weekday), ")"});
  } else if (weekday_style >= 1 && weekday_style <= 7) {
    text += Concat({" ", WeekdayText(weekday_style, weekday)});
  }
  return text;
}

}  // namespace pelo
