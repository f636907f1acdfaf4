#pragma once

// The %-codes of entry texts and annotation code strings (ages, birthdays, anniversaries,
// memorial services, school grades, the zodiac, the old calendar, the place of a day inside
// its period) and the texts of the lines built from them. Everything here works on plain
// dates, so the day packs only pick their dates and call in; the calendar's kind decides the
// era of %h and the old calendar of %o and %i.
//
// The dates every code may read:
//   shown        T, the day the line is shown on;
//   period_start S and period_end E, the period the day belongs to (for a derived day the
//                period of the occurrence it was derived from);
//   base         Z, the date years are counted from (a birth, wedding or death date).
// Most codes count N = T.year - Z.year, a plain year difference that may be 0 or negative.

#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/CalendarKinds.h"
#include "calendar/Dates.h"

namespace pelo {

// Replaces the codes %n %a %y %h %m %d %b %c %z %q %v %x %k %e %w %t %g %p %o %i %s %l %f %r
// %u, one after the other in that order, every occurrence of each from left to right. Of
// "%b1", "%b2" and "%b" only the first that occurs is replaced. The inserted texts never
// hold "%"; anything that is no code stays as written.
std::string ExpandCodes(std::string_view text, TDateRec shown, TDateRec period_start,
                        TDateRec period_end, TDateRec base, TCalendarKind kind);

// The longest line a day cell holds, in Shift-JIS bytes: far more than a cell or a hint can
// ever show. A day cell holds a copy of its line for every day an entry falls on, so one huge
// line in a data file (the loader takes files of many megabytes) would otherwise cost
// megabytes on each of its days; the entry text and the code string are cut before they are
// read, and every line after it is made.
inline constexpr int32_t kMaxLineTextWidth = 16 * 1024;

// text cut to kMaxLineTextWidth, between characters.
std::string_view CutLineText(std::string_view text) noexcept;

// Expands the annotation code string and joins it with the shown text: every "*" of the
// expansion becomes the shown text; without a "*" the expansion follows the shown text after
// one blank. A result wider than kMaxLineTextWidth is cut (a code string of many "*" never
// makes a line of gigabytes).
std::string CombineAnnotation(std::string_view shown_text, std::string_view code, TDateRec shown,
                              TDateRec period_start, TDateRec period_end, TDateRec base,
                              TCalendarKind kind);

// How far a derived day lies from the occurrence it was derived from (range_start R1 to
// range_end R2): "まであと 3日" before it, "から 1ヶ月と2日経過" after it, empty inside.
std::string ProgressText(TDateRec range_start, TDateRec range_end, TDateRec shown);

// The years, months and days from an earlier date to a later one ("1年2ヶ月と3日"), the day
// count raised by extra_days when it is written. A borrowed month that leaves no days above 0
// writes no day part; all zero gives "".
std::string PeriodText(TDateRec from, TDateRec to, int32_t extra_days = 0);

// The last day of a period written as shortly as its start allows: "15日まで" within the
// month, "4月2日まで" within the year, "2001年1月5日まで" across years.
std::string EndDateText(TDateRec period_start, TDateRec period_end);

// "還暦", "古希", ... for the ages 60, 70, 77, 80, 88, 90, 99 and 100; empty for any other.
std::string_view LongevityName(int32_t age);

// "紙婚式", ..., "ダイヤモンド婚式" for the anniversaries that have a name; empty for others.
std::string WeddingAnniversaryName(int32_t years);

// The school year of a child for g = N - 1: "小学1年生" .. "小学6年生" for 6..11,
// "中学1年生" .. "中学3年生" for 12..14; empty otherwise.
std::string SchoolGradeText(int32_t grade);

// "一周忌" for the first anniversary of a death, "3回忌" .. "100回忌" for the years whose
// memorial service is held; empty for the others.
std::string MemorialName(int32_t years);

// The line of a day that is not derived from another occurrence: the text with its codes
// expanded, combined with the annotation code string when there is one. The time prefix is
// the caller's. Text, code string and line are cut to kMaxLineTextWidth.
std::string PlainLineText(std::string_view text, std::string_view annotation, TDateRec shown,
                          TDateRec period_start, TDateRec period_end, TDateRec base,
                          TCalendarKind kind);

// The line of a derived day. Its codes are read on the occurrence it was derived from (R2
// once the day lies after it, else R1) with that occurrence's period, and the distance to
// it follows. Cut like PlainLineText.
std::string DerivedLineText(std::string_view text, std::string_view annotation, TDateRec shown,
                            TDateRec range_start, TDateRec range_end, TDateRec base,
                            TCalendarKind kind);

}  // namespace pelo
