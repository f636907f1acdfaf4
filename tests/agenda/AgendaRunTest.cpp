// Runs the built pelo-agenda binary: exit codes, and one clear line on standard error for
// every kind of bad usage.
#include <gtest/gtest.h>

#include <algorithm>

#include "RunProcess.h"

namespace pelo::test {
namespace {

const std::string kAgenda = PELO_AGENDA_BINARY;

TEST(AgendaRun, BadUsageExitsWithTwoAndOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {"--unknown"},
      {"--days", "--from", "2024/2/30"},
      {"--days", "--from", "1582/10/31"},
      {"--days", "--from", "2151/1/1"},
      {"--days", "--from", "2024/5/2", "--to", "2024/5/1"},
      {"--days", "--from", "2024/5/1", "--to", "2027/1/1"},
      {"--days", "--today", "garbage"},
      {"--format", "csv", "a.nrk"},
      {"plain.txt"},
      {},
  };
  for (const auto& args : cases) {
    const ProcessResult r = RunProcess(kAgenda, args);
    EXPECT_EQ(r.exit_code, 2) << (args.empty() ? "(none)" : args.front());
    EXPECT_EQ(r.out, "");
    EXPECT_GE(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_EQ(r.err.rfind("pelo-agenda: ", 0), 0u) << r.err;
  }
}

TEST(AgendaRun, DaysOfALeapYear) {
  const ProcessResult r = RunProcess(
      kAgenda, {"--days", "--from", "2024/1/1", "--to", "2024/12/31", "--today", "2024/5/1"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 366);
  EXPECT_NE(r.out.find("2024/02/12\t月\t1\t振替休日\t\t\t平成36\t辰ﾀﾂ\t水瓶座\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("2024/12/23\t月\t18\t天皇誕生日\t"), std::string::npos);
}

TEST(AgendaRun, DefaultSpanIsAWeekFromToday) {
  const ProcessResult r = RunProcess(kAgenda, {"--days", "--today", "2024/5/1"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 10), "2024/05/01");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 7);
}

}  // namespace
}  // namespace pelo::test
