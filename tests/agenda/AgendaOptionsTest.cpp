#include "AgendaOptions.h"

#include <gtest/gtest.h>

#include "AgendaOutputs.h"
#include "calendar/Calendars.h"

namespace pelo::agenda {
namespace {

TEST(AgendaArguments, FilesAreSortedLikeTheViewersCommandLine) {
  TAgendaOptions options;
  ASSERT_EQ(
      ParseAgendaArguments({"a.nrk", "x.nrk.npg", "p.NPG", "old.DAT", "q.npg"}, options).Message(),
      "");
  EXPECT_EQ(options.data_files, (std::vector<std::string>{"a.nrk", "x.nrk.npg", "old.DAT"}));
  EXPECT_EQ(options.page_files, (std::vector<std::string>{"p.NPG", "q.npg"}));
}

TEST(AgendaArguments, Options) {
  TAgendaOptions options;
  ASSERT_EQ(ParseAgendaArguments({"--from", "2024/5/1", "--to=2024-05-31", "--today", "2024/5/3",
                                  "--format", "ics", "--filter", "@,@,@,@,@,@,@", "--days"},
                                 options)
                .Message(),
            "");
  EXPECT_EQ(options.from, (TDateRec{2024, 5, 1}));
  EXPECT_EQ(options.to, (TDateRec{2024, 5, 31}));
  EXPECT_EQ(options.today, (TDateRec{2024, 5, 3}));
  EXPECT_EQ(options.format, TFormat::kIcs);
  ASSERT_TRUE(options.filter.has_value());
  EXPECT_EQ(*options.filter, TFilterSet{});
  EXPECT_TRUE(options.days);
  EXPECT_EQ(options.calendar, TCalendarKind::kClassic);  // unless asked for
}

TEST(AgendaArguments, CalendarKinds) {
  const struct {
    std::vector<std::string> args;
    TCalendarKind expected;
  } cases[] = {
      {{"--days", "--calendar", "current"}, TCalendarKind::kCurrent},
      {{"--days", "--calendar=current", "--calendar", "classic"}, TCalendarKind::kClassic},
      {{"--calendar=current", "a.nrk"}, TCalendarKind::kCurrent},
  };
  for (const auto& c : cases) {
    TAgendaOptions options;
    EXPECT_EQ(ParseAgendaArguments(c.args, options).Message(), "") << c.args[1];
    EXPECT_EQ(options.calendar, c.expected) << c.args[1];
  }
}

TEST(AgendaArguments, BadUsage) {
  // The error is placed at the argument it concerns.
  const struct {
    std::vector<std::string> args;
    std::size_t position;
  } cases[] = {
      {{}, 0},                                      // no data file without --days
      {{"--days", "--frm", "2024/1/1"}, 1},         // unknown option
      {{"--days", "--from"}, 1},                    // missing value
      {{"--days", "--from", "2024/2/30"}, 2},       // no such date
      {{"--days", "--today=1500/1/1"}, 1},          // outside the calendar
      {{"--format", "xml", "a.nrk"}, 1},            //
      {{"--filter", "0,@,@", "a.nrk"}, 1},          // fewer than seven sets
      {{"--filter", "x,@,@,@,@,@,@", "a.nrk"}, 1},  // not a number
      {{"--calendar", "Current", "a.nrk"}, 1},      // the kinds are lower case
      {{"a.nrk", "--calendar"}, 1},                 // missing value
      {{"a.nrk", "notes.txt"}, 1},                  // neither data nor page file
      {{"-x", "a.nrk"}, 0},                         // unknown file kind
      {{"--from", "2024/1/1", "p.npg"}, 3},         // the data file missing at the end
  };
  for (const auto& c : cases) {
    TAgendaOptions options;
    const TParseError error = ParseAgendaArguments(c.args, options);
    const std::string first = c.args.empty() ? std::string("(none)") : c.args.front();
    EXPECT_TRUE(error.Failed()) << first;
    EXPECT_EQ(error.Position(), c.position) << first;
  }
}

TEST(AgendaArguments, GrepTextsThatCannotBeLookedFor) {
  const std::string longest(256, 'x');
  const struct {
    std::vector<std::string> args;
    const char* message;  // empty: accepted
  } cases[] = {
      {{"--grep", "予定", "a.nrk"}, ""},
      {{"--grep", longest, "a.nrk"}, ""},
      {{"--grep", "\xe4\xba", "a.nrk"}, "--grep: the text is not valid UTF-8"},
      {{"a.nrk", "--grep="}, "--grep: the text is empty"},
      {{"--grep", "", "a.nrk"}, "--grep: the text is empty"},
      {{"--grep", longest + "x", "a.nrk"}, "--grep: the text is longer than 256 characters"},
  };
  for (const auto& c : cases) {
    TAgendaOptions options;
    const TParseError error = ParseAgendaArguments(c.args, options);
    EXPECT_EQ(error.Message(), c.message) << c.args[1].size();
    if (error.Failed()) {
      EXPECT_EQ(error.Position(), 1u);  // the text, or the option that holds it
      EXPECT_FALSE(options.grep.has_value());
    } else {
      EXPECT_EQ(options.grep, c.args[1]);
    }
  }
}

TEST(AgendaSpan, DefaultsAndLimits) {
  const TDateRec today{2024, 5, 1};
  const struct {
    std::optional<TDateRec> from, to;
    TDateRec expected_from, expected_to;
    bool ok;
    bool days = false;
  } cases[] = {
      {std::nullopt, std::nullopt, today, {2024, 5, 7}, true},
      {TDateRec{2150, 12, 28}, std::nullopt, {2150, 12, 28}, {2150, 12, 31}, true},
      {TDateRec{2024, 1, 1}, TDateRec{2026, 12, 31}, {2024, 1, 1}, {2026, 12, 31}, true},
      {TDateRec{2024, 1, 1}, TDateRec{2027, 1, 1}, {}, {}, false},  // past the window
      // The list of days evaluates no entries: any span of the calendar.
      {TDateRec{1582, 11, 1}, TDateRec{2150, 12, 31}, {1582, 11, 1}, {2150, 12, 31}, true, true},
      {TDateRec{2024, 1, 2}, TDateRec{2024, 1, 1}, {}, {}, false, true},
      {TDateRec{2024, 1, 2}, TDateRec{2024, 1, 1}, {}, {}, false},  // before --from
      {std::nullopt, TDateRec{2024, 5, 1}, today, today, true},
  };
  for (const auto& c : cases) {
    TAgendaOptions options;
    options.from = c.from;
    options.to = c.to;
    options.days = c.days;
    TDateRec from, to;
    const TParseError error = ResolveAgendaSpan(options, today, from, to);
    EXPECT_EQ(error.Failed(), !c.ok) << error.Message();
    if (c.ok) {
      EXPECT_EQ(from, c.expected_from);
      EXPECT_EQ(to, c.expected_to);
    }
  }
}

// Each table reads the holidays of the window that starts the year before its first day.
TEST(AgendaDays, Rows) {
  TCalendar calendar({2024, 5, 1});
  EXPECT_EQ(DaysTable(calendar, {1870, 11, 22}, {1870, 11, 24}),
            "1870/11/22\t火\t0\t\t\t\t明治1870\t\t蠍座\n"
            "1870/11/23\t水\t0\t\t仏滅\t閏10/1\t明治1870\t\t射手座\n"
            "1870/11/24\t木\t0\t\t大安\t閏10/2\t明治1870\t\t射手座\n");
  EXPECT_EQ(DaysTable(calendar, {1989, 1, 7}, {1989, 1, 8}),
            "1989/01/07\t土\t0\t\t仏滅\t旧11/30\t昭和64\t巳ﾐ\t山羊座\n"
            "1989/01/08\t日\t0\t\t赤口\t旧12/1\t平成1\t巳ﾐ\t山羊座\n");
  EXPECT_EQ(DaysTable(calendar, {2024, 5, 3}, {2024, 5, 4}),
            "2024/05/03\t金\t9\t憲法記念日\t\t\t平成36\t辰ﾀﾂ\t牡牛座\n"
            "2024/05/04\t土\t2\t国民の休日\t\t\t平成36\t辰ﾀﾂ\t牡牛座\n");
  EXPECT_EQ(DaysTable(calendar, {2150, 12, 31}, {2150, 12, 31}),
            "2150/12/31\t木\t0\t\t\t\t平成162\t戌ｲﾇ\t山羊座\n");
  // A span longer than the window's eleven years takes the window along: every day is read
  // from a window that holds it.
  const std::string years = DaysTable(calendar, {2023, 5, 3}, {2045, 5, 3});
  EXPECT_TRUE(years.starts_with("2023/05/03\t水\t9\t憲法記念日\t"));
  EXPECT_NE(years.find("\n2032/05/03\t月\t9\t憲法記念日\t"), std::string::npos);
  EXPECT_NE(years.find("\n2033/05/03\t火\t9\t憲法記念日\t"), std::string::npos);
  EXPECT_NE(years.find("\n2045/05/03\t水\t9\t憲法記念日\t"), std::string::npos);
  EXPECT_EQ(years.find("\t-1\t"), std::string::npos);
}

}  // namespace
}  // namespace pelo::agenda
