// pelo-agenda --format ics read back by a real iCalendar parser (libical): the whole output
// must parse without a single error, and the times, UIDs and summaries of awkward rows must
// be the ones worked out here by hand.
#include <libical/ical.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DataFileTesting.h"
#include "RunProcess.h"

namespace pelo::test {
namespace {

const std::string kAgenda = PELO_AGENDA_BINARY;

constexpr std::string_view kLongText =
    "春の全国大会に向けた特別合同練習会（会場：市民体育館第二競技場、集合は正面玄関前、"
    "持ち物は体育館シューズと水筒と筆記用具）";

// The lines as written go into the UIDs.
std::string TrickyFile() {
  return std::string(
             "2026/5/10~2026/5/11 旅行\r\n"                  // 1: two days, all-day
             "2026/5/11 26:00 深夜の作業\r\n"                // 2: 02:00 of the next day
             "2026/5/11 23:30~1:00 夜行バス\r\n"             // 3: ends on the next day
             "2026/5/12 18:00~9:00 夜勤\r\n"                 // 4: end before start
             "2026/5/12 12:00pm 昼食会\r\n"                  // 5: shown as 0:00pm, noon
             "2026/5/14 10:00~11:00 発表会 &d([/[/[-2)\r\n"  // 6: a derived day, all-day
             "2026/5/13 会議; 議題A, B \\ 資料\r\n"          // 7: characters to escape
             "2026/5/15 ") +
         std::string(kLongText) +
         "\r\n"                             // 8: must fold
         "2026/5/16 休み\r\n"               // 9
         "2026/5/13 24:00~24:00 点検\r\n";  // 10: start at midnight, a day long
}

struct ExpectedEvent {
  std::string uid;
  std::string dtstart;
  std::string dtend;  // empty: no DTEND
  std::string summary;
};

// UID = FNV-1a 64 of "tricky.nrk:<pack kind>:<line as written>" in hex, the date, the count
// of the same line before it on that day.
const std::vector<ExpectedEvent> kExpected = {
    {"23985c153b0ccdd5-20260510-0@pelo", "20260510", "20260511", "旅行"},
    {"35d9dcad4f2d6973-20260511-0@pelo", "20260511", "20260512", "旅行"},
    {"522fe0085a31dad5-20260511-0@pelo", "20260512T020000", "", "深夜の作業"},
    {"82bbd5c9e4fb4860-20260511-0@pelo", "20260511T233000", "20260512T010000", "夜行バス"},
    {"7be62ddba788d493-20260512-0@pelo", "20260512T180000", "20260513T090000", "夜勤"},
    {"93e2d37f2e125663-20260512-0@pelo", "20260512T120000", "", "昼食会"},
    {"9efeac10c0945701-20260512-0@pelo", "20260512", "20260513", "発表会まであと 2日"},
    {"c68e771c632cf910-20260513-0@pelo", "20260513", "20260514", "会議; 議題A, B \\ 資料"},
    {"b8e0114defc014a1-20260513-0@pelo", "20260514T000000", "20260515T000000", "点検"},
    {"233b184f99dc6d85-20260514-0@pelo", "20260514T100000", "20260514T110000", "発表会"},
    {"bac5924dff4983dd-20260515-0@pelo", "20260515", "20260516", std::string(kLongText)},
    {"b6a53258eefb97f8-20260516-0@pelo", "20260516", "20260517", "休み"},
};

struct ComponentFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

// Runs the agenda in folder, with the file named as it would be from anywhere else.
ProcessResult RunIn(const std::string& folder, const std::vector<std::string>& args) {
  char old[4096];
  if (getcwd(old, sizeof old) == nullptr || chdir(folder.c_str()) != 0) return {};
  ProcessResult r = RunProcess(kAgenda, args);
  EXPECT_EQ(chdir(old), 0);
  return r;
}

std::string TimeText(icalproperty* property, bool start) {
  if (property == nullptr) return {};
  const icaltimetype t =
      start ? icalproperty_get_dtstart(property) : icalproperty_get_dtend(property);
  return icaltime_as_ical_string(t);
}

TEST(AgendaIcs, TrickyRowsParseWithTheirTimes) {
  TempFolder folder;
  folder.WriteCp932("tricky.nrk", TrickyFile());
  const std::vector<std::string> args = {"--format",  "ics",       "--today",  "2026/5/1",
                                         "--from",    "2026/5/10", "--filter", "@,@,@,@,@,@,@,@",
                                         "tricky.nrk"};
  const ProcessResult r = RunIn(folder.path(), args);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");

  // Every physical line ends in CR LF and holds at most 75 octets; the long text did fold.
  std::size_t start = 0;
  int continuation_lines = 0;
  while (start < r.out.size()) {
    const std::size_t end = r.out.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "unterminated last line";
    EXPECT_LE(end - start, 75u) << r.out.substr(start, end - start);
    EXPECT_EQ(r.out.find('\n', start), end + 1) << "a bare LF";
    if (r.out[start] == ' ') ++continuation_lines;
    start = end + 2;
  }
  EXPECT_GE(continuation_lines, 2);

  std::unique_ptr<icalcomponent, ComponentFree> calendar(icalparser_parse_string(r.out.c_str()));
  ASSERT_NE(calendar, nullptr);
  EXPECT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
  EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0) << r.out;
  icalproperty* version = icalcomponent_get_first_property(calendar.get(), ICAL_VERSION_PROPERTY);
  ASSERT_NE(version, nullptr);
  EXPECT_STREQ(icalproperty_get_version(version), "2.0");
  EXPECT_NE(icalcomponent_get_first_property(calendar.get(), ICAL_PRODID_PROPERTY), nullptr);

  std::size_t i = 0;
  for (icalcomponent* event =
           icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
       event != nullptr;
       event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT), ++i) {
    ASSERT_LT(i, kExpected.size());
    const ExpectedEvent& expected = kExpected[i];
    SCOPED_TRACE(expected.uid);
    EXPECT_EQ(icalcomponent_count_errors(event), 0);
    EXPECT_STREQ(icalcomponent_get_uid(event), expected.uid.c_str());
    EXPECT_STREQ(icalcomponent_get_summary(event), expected.summary.c_str());
    EXPECT_EQ(TimeText(icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY), true),
              expected.dtstart);
    EXPECT_EQ(TimeText(icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY), false),
              expected.dtend);
    icalproperty* stamp = icalcomponent_get_first_property(event, ICAL_DTSTAMP_PROPERTY);
    ASSERT_NE(stamp, nullptr);
    const icaltimetype stamp_time = icalproperty_get_dtstamp(stamp);
    EXPECT_STREQ(icaltime_as_ical_string(stamp_time), "20260501T000000Z");
  }
  EXPECT_EQ(i, kExpected.size());

  // The same command gives the same calendar, byte for byte.
  EXPECT_EQ(RunIn(folder.path(), args).out, r.out);
}

TEST(AgendaIcs, ACalendarWithoutEventsStillParses) {
  TempFolder folder;
  folder.WriteCp932("empty.nrk", "2026/5/1 ずっと前\r\n");
  const ProcessResult r = RunIn(
      folder.path(), {"--format", "ics", "--today", "2026/5/1", "--from", "2026/6/1", "empty.nrk"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  std::unique_ptr<icalcomponent, ComponentFree> calendar(icalparser_parse_string(r.out.c_str()));
  ASSERT_NE(calendar, nullptr);
  EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0) << r.out;
  EXPECT_EQ(icalcomponent_count_components(calendar.get(), ICAL_VEVENT_COMPONENT), 0);
}

}  // namespace
}  // namespace pelo::test
