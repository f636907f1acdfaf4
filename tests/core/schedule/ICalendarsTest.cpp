// The pieces of the iCalendar form: clock times and event times, the text rules, folding and
// event identifiers.
#include "schedule/ICalendars.h"

#include <gtest/gtest.h>

#include <optional>

#include "entries/Times.h"

namespace pelo {
namespace {

TEST(ICalendarPieces, ClockMinutes) {
  const struct {
    TTime time;
    int32_t minutes;
  } cases[] = {
      {{9, 0, false}, 540},    {{0, 0, false}, 0},  {{26, 0, false}, 1560},
      {{30, 59, false}, 1859}, {{9, 5, true}, 545},  // 9:05am
      {{21, 0, true}, 1260},                         // 9:00pm
      {{24, 0, true}, 720},                          // 12:00pm, shown 0:00pm: noon
      {{12, 30, true}, 750},                         // 12:30am, also shown 0:30pm
      {{25, 0, true}, 780},                          // 13:00pm, shown 1:00pm
      {{42, 0, true}, 1080},                         // 30:00pm, shown 6:00pm
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClockMinutes(c.time), c.minutes) << c.time.Hour << ":" << c.time.Minute;
  }
}

TEST(ICalendarPieces, EventTimes) {
  const TDateRec day{2026, 5, 11};
  const struct {
    TTime start;
    std::optional<TTime> end;
    TDateRec start_date;
    int32_t start_minutes;
    TDateRec end_date;
    int32_t end_minutes;
  } cases[] = {
      {{10, 0}, TTime{11, 30}, day, 600, day, 690},
      {{26, 0}, std::nullopt, {2026, 5, 12}, 120, {}, 0},
      {{23, 30}, TTime{1, 0}, day, 1410, {2026, 5, 12}, 60},
      {{18, 0}, TTime{9, 0}, day, 1080, {2026, 5, 12}, 540},
      {{10, 0}, TTime{10, 0}, day, 600, {2026, 5, 12}, 600},          // not after: the next day
      {{9, 0}, TTime{26, 0}, day, 540, {2026, 5, 12}, 120},           // 26:00 is tomorrow anyway
      {{26, 0}, TTime{1, 0}, {2026, 5, 12}, 120, {2026, 5, 13}, 60},  // after the start's day
      {{24, 0}, TTime{24, 0}, {2026, 5, 12}, 0, {2026, 5, 13}, 0},
      {{30, 0}, TTime{30, 30}, {2026, 5, 12}, 360, {2026, 5, 12}, 390},
  };
  for (const auto& c : cases) {
    const TEventTimes times = EventTimes(day, c.start, c.end ? &*c.end : nullptr);
    SCOPED_TRACE(testing::Message() << c.start.Hour << ":" << c.start.Minute);
    EXPECT_EQ(times.StartDate, c.start_date);
    EXPECT_EQ(times.StartMinutes, c.start_minutes);
    EXPECT_EQ(times.HasEnd, c.end.has_value());
    if (c.end) {
      EXPECT_EQ(times.EndDate, c.end_date);
      EXPECT_EQ(times.EndMinutes, c.end_minutes);
    }
  }
  // The last day of the calendar still has a next day to end on.
  const TEventTimes last = EventTimes({2150, 12, 31}, {23, 0}, nullptr);
  EXPECT_EQ(last.StartDate, (TDateRec{2150, 12, 31}));
  const TTime one{1, 0};
  EXPECT_EQ(EventTimes({2150, 12, 31}, {23, 0}, &one).EndDate, (TDateRec{2151, 1, 1}));
}

TEST(ICalendarPieces, EscapeText) {
  const struct {
    std::string_view in, out;
  } cases[] = {
      {"plain 会議", "plain 会議"},
      {"a,b;c\\d", "a\\,b\\;c\\\\d"},
      {"two\nlines", "two\\nlines"},
      {"crlf\r\nend", "crlf\\nend"},
      {"cr\rend", "cr\\nend"},
      {"tab\tstays", "tab\tstays"},
      {std::string_view("nul\0bell\x07", 9), "nul bell "},
      {"del\x7F", "del "},
      {"\\n is no newline", "\\\\n is no newline"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeIcsText(c.in), c.out) << c.in;
}

TEST(ICalendarPieces, FoldsAt75OctetsBetweenCharacters) {
  const std::string a75(75, 'a');
  EXPECT_EQ(FoldIcsLine(a75), a75 + "\r\n");
  EXPECT_EQ(FoldIcsLine(a75 + "b"), a75 + "\r\n b\r\n");
  // A continuation holds the blank and 74 more octets.
  EXPECT_EQ(FoldIcsLine(a75 + std::string(74, 'b') + "c"),
            a75 + "\r\n " + std::string(74, 'b') + "\r\n c\r\n");
  std::string kanji;
  for (int i = 0; i < 30; ++i) kanji += "漢";  // 90 octets
  // 25 characters are exactly 75 octets.
  EXPECT_EQ(FoldIcsLine(kanji), kanji.substr(0, 75) + "\r\n " + kanji.substr(75) + "\r\n");
  // Behind "S:" the 75th octet would split a character: the line ends one octet early.
  EXPECT_EQ(FoldIcsLine("S:" + kanji),
            "S:" + kanji.substr(0, 72) + "\r\n " + kanji.substr(72) + "\r\n");
  EXPECT_EQ(FoldIcsLine(""), "\r\n");
}

TEST(ICalendarPieces, Uids) {
  // FNV-1a 64 of "/data/a.nrk:12".
  EXPECT_EQ(EventUid("/data/a.nrk", 12, {2024, 5, 1}, 3), "2e82e5ba694e8f66-20240501-3@pelo");
  const std::string uids[] = {
      EventUid("/data/a.nrk", 12, {2024, 5, 1}, 0), EventUid("/data/a.nrk", 12, {2024, 5, 2}, 0),
      EventUid("/data/a.nrk", 13, {2024, 5, 1}, 0), EventUid("/data/b.nrk", 12, {2024, 5, 1}, 0),
      EventUid("/data/a.nrk", 12, {2024, 5, 1}, 1)};
  for (std::size_t i = 0; i < std::size(uids); ++i) {
    for (std::size_t j = i + 1; j < std::size(uids); ++j) EXPECT_NE(uids[i], uids[j]);
  }
}

}  // namespace
}  // namespace pelo
