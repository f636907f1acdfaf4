// The pieces of the iCalendar form: event times, text rules, folding and event identifiers.
#include "schedule/ICalendars.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "RecordingNotices.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "entries/Times.h"
#include "schedule/DayRows.h"
#include "text/Cp932.h"

namespace pelo {
namespace {

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
  // FNV-1a 64 of "a.nrk:0:5/1 会議": the folder does not count.
  EXPECT_EQ(EventUid("/data/a.nrk", "5/1 会議", 0, {2024, 5, 1}, 3),
            "24472bf0a067771b-20240501-3@pelo");
  EXPECT_EQ(EventUid("/other/a.nrk", "5/1 会議", 0, {2024, 5, 1}, 3),
            EventUid("/data/a.nrk", "5/1 会議", 0, {2024, 5, 1}, 3));
  const std::string uids[] = {EventUid("a.nrk", "5/1 会議", 0, {2024, 5, 1}, 0),
                              EventUid("a.nrk", "5/1 会議", 0, {2024, 5, 2}, 0),
                              EventUid("a.nrk", "5/1 会議 ", 0, {2024, 5, 1}, 0),
                              EventUid("b.nrk", "5/1 会議", 0, {2024, 5, 1}, 0),
                              EventUid("a.nrk", "5/1 会議", 4, {2024, 5, 1}, 0),
                              EventUid("a.nrk", "5/1 会議", 0, {2024, 5, 1}, 1)};
  for (std::size_t i = 0; i < std::size(uids); ++i) {
    for (std::size_t j = i + 1; j < std::size(uids); ++j) EXPECT_NE(uids[i], uids[j]);
  }
}

// The UIDs of a file's events, by summary and date ("会議 20260511"); a repeated summary
// gets its count behind ("会議 20260511 #1").
std::map<std::string, std::string> UidsOf(const std::string& text) {
  const TDateRec today{2026, 5, 1};
  test::RecordingNotices notices;
  TEntryList list(notices, today);
  EXPECT_TRUE(list.LoadFromBytes("/any/folder/a.nrk", EncodeCp932(text)));
  TCalendar calendar(today);
  const std::vector<TDayRow> rows =
      DayRows(list, calendar, TFilterSet{}, {2026, 5, 1}, {2026, 5, 31});
  std::ostringstream ics;
  WriteICalendar(ics, list, rows, today);
  std::map<std::string, std::string> uids;
  std::istringstream lines(ics.str());
  std::string uid;
  std::string start;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("UID:", 0) == 0) uid = line.substr(4);
    if (line.rfind("DTSTART", 0) == 0) start = line.substr(line.find(':') + 1, 8);
    if (line.rfind("SUMMARY:", 0) != 0) continue;
    std::string key = line.substr(8) + " " + start;
    while (uids.count(key) != 0) key += " #";
    uids[key] = uid;
  }
  return uids;
}

TEST(ICalendarUids, OtherLinesChangeNothing) {
  const std::string base =
      "2026/5/11 10:00 会議\r\n"
      "2026/5/11 昼食\r\n"
      "2026/5/11 昼食\r\n"
      "2026/5/10~2026/5/12 旅行\r\n";
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"read again", base},
      {"a line added in front", "2026/5/11 9:00 朝礼\r\n" + base},
      {"a line added behind", base + "2026/5/12 夕食\r\n"},
      {"a line removed", base.substr(base.find("\r\n") + 2) + "2026/5/11 10:00 会議\r\n"},
      {"lines reordered",
       "2026/5/10~2026/5/12 旅行\r\n2026/5/11 昼食\r\n2026/5/11 10:00 会議\r\n2026/5/11 昼食\r\n"},
      {"blank lines around", "\r\n" + base + "\r\n"},
  };
  const std::map<std::string, std::string> before = UidsOf(base);
  ASSERT_EQ(before.size(), 6u);  // the trip on three days, the meeting, lunch twice
  EXPECT_NE(before.at("昼食 20260511"), before.at("昼食 20260511 #"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::map<std::string, std::string> after = UidsOf(c.text);
    for (const auto& [event, uid] : before) {
      ASSERT_EQ(after.count(event), 1u) << event;
      EXPECT_EQ(after.at(event), uid) << event;
    }
  }
}

}  // namespace
}  // namespace pelo
