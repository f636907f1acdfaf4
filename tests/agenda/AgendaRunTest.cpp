// The built pelo-agenda binary: exit codes, one line on standard error for bad usage, load
// problems in the viewer's words, page files and --filter, the sample against a hand-made table.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "DataFileTesting.h"
#include "RunProcess.h"
#include "TestPaths.h"
#include "calendar/Dates.h"
#include "text/Cp932.h"
#include "text/SearchTexts.h"

namespace pelo::test {
namespace {

const std::string kAgenda = PELO_AGENDA_BINARY;

// The agenda as a table on 2024/5/1, for the given files and options.
ProcessResult RunTsv(const std::vector<std::string>& args) {
  std::vector<std::string> all = {"--format", "tsv", "--today", "2024/5/1"};
  all.insert(all.end(), args.begin(), args.end());
  return RunProcess(kAgenda, all);
}

TEST(AgendaRun, BadUsageExitsWithTwoAndOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {"--unknown"},
      {"--days", "--from", "2024/2/30"},
      {"--days", "--from", "1582/10/31"},
      {"--days", "--from", "2151/1/1"},
      {"--days", "--from", "2024/5/2", "--to", "2024/5/1"},
      {"--from", "2024/5/1", "--to", "2027/1/1", "a.nrk"},
      {"--days", "--calendar", "new"},
      {"--days", "--calendar"},
      {"--days", "--today", "garbage"},
      {"--format", "csv", "a.nrk"},
      {"a.nrk", "--grep"},
      {"--grep", "\xe4\xba", "a.nrk"},
      {"--grep", "", "a.nrk"},
      {"--grep", std::string(257, 'a'), "a.nrk"},
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

// The calendar of today over the whole postwar law in one run: every day read from a window
// that holds it, the law's changes at their edges, 令和 from 2019/5/1, rokuyo after 2021.
TEST(AgendaRun, DaysOfTheCurrentCalendar) {
  const ProcessResult r =
      RunProcess(kAgenda, {"--days", "--calendar", "current", "--from", "1948/1/1", "--to",
                           "2150/12/31", "--today", "2026/1/1"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'),
            DayNumber(2150, 12, 31) - DayNumber(1948, 1, 1) + 1);
  EXPECT_EQ(r.out.find("\t-1\t"), std::string::npos);
  const char* const rows[] = {
      "1948/07/20\t火\t0\t\t",  // the law is dated that day; its first holiday is 9/23
      "1948/09/23\t木\t13\t秋分の日\t",
      "1959/04/10\t金\t47\t結婚の儀\t",
      "2009/05/06\t水\t1\t振替休日\t",
      "2008/05/06\t火\t1\t振替休日\t",
      "2015/09/22\t火\t2\t国民の休日\t",
      "2019/04/30\t火\t2\t国民の休日\t仏滅\t旧3/26\t平成31\t",
      "2019/05/01\t水\t50\t天皇の即位の日\t大安\t旧3/27\t令和1\t",
      "2021/08/09\t月\t1\t振替休日\t",
      "2026/02/23\t月\t45\t天皇誕生日\t先勝\t旧1/7\t令和8\t",
      "2026/12/07\t月\t0\t\t友引\t旧10/29\t令和8\t",
      "2092/03/19\t水\t7\t春分の日\t",
      "2150/12/31\t木\t0\t\t大安\t旧11/13\t令和132\t",
  };
  for (const char* row : rows) EXPECT_NE(r.out.find(row), std::string::npos) << row;
}

TEST(AgendaRun, DefaultSpanIsAWeekFromToday) {
  const ProcessResult r = RunProcess(kAgenda, {"--days", "--today", "2024/5/1"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 10), "2024/05/01");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 7);
}

// The expected file without its note lines (those starting with "#").
std::vector<std::string> ExpectedRows(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> rows;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.front() != '#') rows.push_back(line);
  }
  return rows;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(AgendaRun, SampleAsWorkedOutByHand) {
  const std::string examples = PELO_EXAMPLES_DIR;
  const ProcessResult r =
      RunProcess(kAgenda, {"--format", "tsv", "--today", "2026/12/7", "--from", "2026/12/1", "--to",
                           "2027/4/30", examples + "/sample.nrk", examples + "/sample.npg"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::vector<std::string> expected = ExpectedRows(TestDataPath("sample-expected.tsv"));
  ASSERT_GT(expected.size(), 100u);
  const std::vector<std::string> actual = Lines(r.out);
  for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
    ASSERT_EQ(i < actual.size() ? actual[i] : "(none)",
              i < expected.size() ? expected[i] : "(none)")
        << "row " << i + 1;
  }
}

// The lines of a data file, decoded, by number from 1.
std::vector<std::string> DataFileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines{""};
  for (const std::string& line : Lines(DecodeCp932(bytes))) {
    lines.push_back(!line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
  }
  return lines;
}

// --grep keeps exactly the rows of the full output whose text, or whose line in the data
// file, holds the text (both folded).
TEST(AgendaRun, GrepPrintsTheMatchingRowsOfTheFullOutput) {
  const std::string examples = PELO_EXAMPLES_DIR;
  const std::vector<std::string> span{"--format",  "tsv",       "--today",
                                      "2026/12/7", "--from",    "2026/12/1",
                                      "--to",      "2027/4/30", examples + "/sample.nrk"};
  const ProcessResult all = RunProcess(kAgenda, span);
  ASSERT_EQ(all.exit_code, 0) << all.err;
  const std::vector<std::string> source = DataFileLines(examples + "/sample.nrk");
  const struct {
    const char* text;
    std::size_t at_least;  // rows the sample surely has
  } cases[] = {
      {"給料日", 5},       {"ｸﾘｽﾏｽ", 1},  // half-width, the file has it full-width
      {"ﾊﾞﾚﾝﾀｲﾝ", 1},                     // a voiced mark joins its kana
      {"ＳＡ", 10},                       // only in the data file's lines: SA_ and &&<(SA,SU,HD)
      {"&o(*%b2)", 1},                    // the code as written, never shown
      {"no such text", 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = span;
    args.insert(args.begin(), {"--grep", c.text});
    const ProcessResult r = RunProcess(kAgenda, args);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::string needle = SearchFold(c.text);
    std::vector<std::string> expected;
    for (const std::string& row : Lines(all.out)) {
      // date, weekday, holiday, kind, file:line, text
      const std::size_t source_at = row.find(".nrk:") + 5;
      const std::size_t text_at = row.find('\t', source_at) + 1;
      const int line_no = std::stoi(row.substr(source_at, text_at - 1 - source_at));
      if (SearchFold(row.substr(text_at)).find(needle) != std::string::npos ||
          SearchFold(source.at(static_cast<std::size_t>(line_no))).find(needle) !=
              std::string::npos) {
        expected.push_back(row);
      }
    }
    EXPECT_EQ(Lines(r.out), expected) << c.text;
    EXPECT_GE(expected.size(), c.at_least) << c.text;
  }
}

class AgendaFiles : public testing::Test {
 protected:
  TempFolder folder_;
};

TEST_F(AgendaFiles, TextIsTheDefaultFormat) {
  const std::string a = folder_.WriteCp932("a.nrk", "2024/5/3 講演\r\n2024/5/3 10:00 会議\r\n");
  const ProcessResult r = RunProcess(kAgenda, {"--today", "2024/5/1", a});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "2024/5/3(金)  憲法記念日\n  講演\n  10:00 会議\n");
}

// Every format reads the calendar asked for: its holidays in the conditions and the headings,
// its old calendar in the codes.
TEST_F(AgendaFiles, TheCalendarOptionReachesTheLines) {
  const std::string a =
      folder_.WriteCp932("a.nrk", "2026/2/9~2026/2/28 祝日 &&(HD)\r\n2026/12/7 六曜%o %i\r\n");
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"--from", "2026/2/9", "--to", "2026/2/28"}, "2026/2/11(水)  建国記念の日\n  祝日\n"},
      {{"--from", "2026/2/9", "--to", "2026/2/28", "--calendar", "current"},
       "2026/2/11(水)  建国記念の日\n  祝日\n2026/2/23(月)  天皇誕生日\n  祝日\n"},
      {{"--from", "2026/12/7", "--format", "tsv"}, "2026/12/07\t月\t\t0\ta.nrk:2\t六曜 \n"},
      {{"--from", "2026/12/7", "--format", "tsv", "--calendar", "current"},
       "2026/12/07\t月\t\t0\ta.nrk:2\t六曜友引 旧10/29\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--today", "2026/1/1", a});
    const ProcessResult r = RunProcess(kAgenda, args);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, c.out) << c.args.back();
  }
  const ProcessResult ics =
      RunProcess(kAgenda, {"--from", "2026/12/7", "--format", "ics", "--calendar", "current", a});
  EXPECT_NE(ics.out.find("SUMMARY:六曜友引 旧10/29\r\n"), std::string::npos) << ics.out;
}

TEST_F(AgendaFiles, LoadProblemsGoToStandardErrorInTheViewersWords) {
  const std::string good = folder_.WriteCp932("good.nrk", "2024/5/2 よい行\r\n");
  const std::string bad = folder_.WriteCp932(
      "bad.NRK", "2024/5/2 前の行\r\n2024/5/1\r\n2024/13/1 月がない\r\n2024/5/2 後の行\r\n");
  const std::string missing = folder_.File("missing.nrk");
  const std::string unclosed = folder_.WriteCp932("open.dat", "2024/5/3 読めた行\r\n%\r\nメモ\r\n");
  std::filesystem::create_directory(folder_.File("folder.nrk"));
  const std::string not_a_file = folder_.File("folder.nrk");

  const struct {
    std::vector<std::string> files;
    int exit_code;
    std::string err;
    std::string out;
  } cases[] = {
      {{good}, 0, "", "2024/05/02\t木\t\t0\tgood.nrk:1\tよい行\n"},
      // Bad lines are reported, the good ones still shown, and the status stays 0.
      {{bad, good},
       0,
       "bad.NRK を読込み中にエラーが発生しました。\n"
       "2024/5/1 … 日付とデータの区切りがない\n"
       "2024/13/1 月がない … 日付の1番目の開始月が間違っています。\n",
       "2024/05/02\t木\t\t0\tbad.NRK:1\t前の行\n"
       "2024/05/02\t木\t\t0\tbad.NRK:4\t後の行\n"
       "2024/05/02\t木\t\t0\tgood.nrk:1\tよい行\n"},
      {{missing, good},
       1,
       missing + " というファイルが見つかりません！\n",
       "2024/05/02\t木\t\t0\tgood.nrk:1\tよい行\n"},
      // An unclosed attached-text block: what was read before stays and is shown.
      {{unclosed},
       1,
       unclosed + " を開くことができません！\n",
       "2024/05/03\t金\t憲法記念日\t0\topen.dat:1\t読めた行\n"},
      {{not_a_file, good},
       1,
       not_a_file + " を開くことができません！\n",
       "2024/05/02\t木\t\t0\tgood.nrk:1\tよい行\n"},
  };
  for (const auto& c : cases) {
    const ProcessResult r = RunTsv(c.files);
    SCOPED_TRACE(c.files.front());
    EXPECT_EQ(r.exit_code, c.exit_code);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out, c.out);
  }
}

// 30,000 lines that fall on every day: far more day packs than one window may make. The
// agenda stops at the budget, says once where, and prints the rows of the lines before, within
// "ulimit -v 2000000" (not under AddressSanitizer, whose shadow memory alone is far larger).
TEST_F(AgendaFiles, AFileBeyondThePackBudgetEndsNormallyWithOneMessage) {
#ifdef __SANITIZE_ADDRESS__
  constexpr rlim_t kAddressSpaceKib = 0;
#else
  constexpr rlim_t kAddressSpaceKib = 2000000;
#endif
  std::string every_day;
  for (int i = 0; i < 30000; ++i) every_day += "0 a\r\n";
  const std::string file = folder_.WriteCp932("every.nrk", every_day);
  const ProcessResult r =
      RunProcess(kAgenda, {"--format", "tsv", "--today", "2024/5/1", "--to", "2024/5/1", file}, {},
                 kAddressSpaceKib);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string head = "ﾃﾞｰﾀが多すぎます！ " + file + " の ";
  const std::string tail = " 行目で打ち切り、それまでの予定だけを表示します。\n";
  ASSERT_EQ(r.err.rfind(head, 0), 0u) << r.err;
  const int stop_line = std::stoi(r.err.substr(head.size()));
  ASSERT_EQ(r.err, head + std::to_string(stop_line) + tail);
  EXPECT_GT(stop_line, 1);
  EXPECT_LT(stop_line, 30000);
  // One row per line before the stop, and maybe one of the stopped line itself.
  const std::vector<std::string> rows = Lines(r.out);
  EXPECT_GE(static_cast<int>(rows.size()), stop_line - 1);
  EXPECT_LE(static_cast<int>(rows.size()), stop_line);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back(), "2024/05/01\t水\t\t0\tevery.nrk:" + std::to_string(rows.size()) + "\ta");
}

TEST_F(AgendaFiles, DaysLoadsTheFilesButPrintsOnlyTheDays) {
  const std::string good = folder_.WriteCp932("good.nrk", "2024/5/2 よい行\r\n");
  const std::string missing = folder_.File("missing.nrk");
  const ProcessResult r =
      RunProcess(kAgenda, {"--days", "--today", "2024/5/1", "--to", "2024/5/1", good, missing});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, missing + " というファイルが見つかりません！\n");
  EXPECT_EQ(r.out, "2024/05/01\t水\t0\t\t\t\t平成36\t辰ﾀﾂ\t牡牛座\n");
}

TEST_F(AgendaFiles, FilterComesFromTheLastPageThenFromTheOption) {
  const std::string data = folder_.WriteCp932(
      "a.nrk", "2024/5/2 いつもの\r\nE:2024/5/2 カテゴリE\r\n#2024/5/2 ハッシュ\r\n");
  const std::string show_e = folder_.WriteCp932(
      "e.npg", "[NerikaPage1]\r\nPageName=E\r\nScheduleFilterSet=0,@,@,@,0,4,@,@\r\n");
  const std::string show_all = folder_.WriteCp932(
      "all.npg", "[NerikaPage1]\r\nPageName=全部\r\nScheduleFilterSet=@,@,@,@,@,@,@,@\r\n");
  // No page in its section: changes nothing.
  const std::string no_page =
      folder_.WriteCp932("none.npg", "[NerikaPage1]\r\nScheduleFilterSet=@,@,@,@,@,@,@,@\r\n");
  const std::string missing = folder_.File("missing.npg");

  const std::string usual = "2024/05/02\t木\t\t0\ta.nrk:1\tいつもの\n";
  const std::string only_e = "2024/05/02\t木\t\t0\ta.nrk:2\tカテゴリE\n";
  const std::string hashed = "2024/05/02\t木\t\t0\ta.nrk:3\tハッシュ\n";
  const struct {
    std::vector<std::string> args;
    std::string out;
    bool warned;
  } cases[] = {
      {{data}, usual, false},
      {{data, show_e}, only_e, false},
      {{show_all, data, show_e}, only_e, false},
      {{show_e, data, show_all}, usual + only_e + hashed, false},
      {{show_e, no_page, data}, only_e, false},
      {{show_e, missing, data}, only_e, true},
      {{"--filter", "@,@,@,@,1,@,@", show_all, data}, hashed, false},
      {{show_all, data, "--filter=0,@,@,@,0,\"0,1,2\",\"0,1,2,3\",@"}, usual, false},
  };
  const std::string warning =
      "pelo-agenda: page file '" + missing + "' not found; its settings are not used\n";
  for (const auto& c : cases) {
    const ProcessResult r = RunTsv(c.args);
    SCOPED_TRACE(testing::PrintToString(c.args));
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.warned ? warning : "");
  }
}

// A page file that cannot be read is warned of as a missing one is, and nothing waits on it.
TEST_F(AgendaFiles, PageFilesThatCannotBeReadAreWarnedOf) {
  const std::string data = folder_.WriteCp932("a.nrk", "2024/5/2 いつもの\r\n");
  const std::string fifo = folder_.File("fifo.npg");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  std::filesystem::create_directory(folder_.File("folder.npg"));
  const std::string loop = folder_.File("loop.npg");
  std::filesystem::create_symlink(loop, loop);
  const std::string device = folder_.File("device.npg");
  std::filesystem::create_symlink("/dev/null", device);
  const std::string locked = folder_.WriteCp932("locked.npg", "[NerikaPage1]\r\n");
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  struct Case {
    std::string page;
    std::string problem;
  };
  std::vector<Case> cases = {
      {folder_.File("missing.npg"), "not found"},
      {fifo, "is not a regular file"},
      {folder_.File("folder.npg"), "is not a regular file"},
      {device, "is not a regular file"},
      {loop, "cannot be read"},
  };
  // The superuser reads a file whatever its mode says.
  if (geteuid() != 0) cases.push_back({locked, "cannot be read"});
  for (const Case& c : cases) {
    const ProcessResult r = RunTsv({c.page, data});
    EXPECT_EQ(r.exit_code, 0) << c.page;
    EXPECT_EQ(r.err, "pelo-agenda: page file '" + c.page + "' " + c.problem +
                         "; its settings are not used\n");
    EXPECT_EQ(r.out, "2024/05/02\t木\t\t0\ta.nrk:1\tいつもの\n") << c.page;
  }
}

// A file of bad lines: the first thousand on standard error, then how many more there are.
TEST_F(AgendaFiles, BadLinesPastTheFirstThousandAreCounted) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "q\r\n";
  text += "2024/5/2 いつもの\r\n";
  const std::string data = folder_.WriteCp932("q.nrk", text);
  const ProcessResult r = RunTsv({data});
  ASSERT_EQ(r.exit_code, 0);
  const std::vector<std::string> err = Lines(r.err);
  ASSERT_EQ(err.size(), 1002u);
  EXPECT_EQ(err.front(), "q.nrk を読込み中にエラーが発生しました。");
  EXPECT_EQ(err[1000], "q … 日付とデータの区切りがない");
  EXPECT_EQ(err.back(), "ほか 2000 行にも誤りがあります。");
  EXPECT_EQ(r.out, "2024/05/02\t木\t\t0\tq.nrk:3001\tいつもの\n");
}

}  // namespace
}  // namespace pelo::test
