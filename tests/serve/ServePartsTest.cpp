// The parts of pelo-serve below the mapping.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "ServeFiles.h"
#include "ServeOptions.h"
#include "ServeSites.h"
#include "ServeTargets.h"
#include "ServeTokens.h"

namespace pelo::serve {
namespace {

TEST(ServeOptions, CommandLines) {
  const struct {
    std::vector<std::string> args;
    std::string error;  // empty: reads
    std::string host;
    int32_t port;
  } cases[] = {
      {{"a.nrk"}, "", "127.0.0.1", 8737},
      {{"--listen", "9000", "a.nrk"}, "", "127.0.0.1", 9000},
      {{"--listen=127.0.0.2:80", "a.nrk"}, "", "127.0.0.2", 80},
      {{"--listen", "[::1]:8080", "a.nrk"}, "", "::1", 8080},
      {{"--listen", "localhost:0", "a.nrk"}, "", "localhost", 0},
      {{"--listen", "0.0.0.0:8737", "--token-file", "t", "a.nrk"}, "", "0.0.0.0", 8737},
      {{"--listen", "0.0.0.0:8737", "a.nrk"}, "lets other machines in", "", 0},
      {{"--listen", "192.168.1.2:8737", "a.nrk"}, "lets other machines in", "", 0},
      {{"--listen", "::1:8080", "a.nrk"}, "--listen:", "", 0},
      {{"--listen", "65536", "a.nrk"}, "--listen:", "", 0},
      {{"--listen", ":80", "a.nrk"}, "--listen:", "", 0},
      {{"--listen", "x", "a.nrk"}, "--listen:", "", 0},
      {{"--threads", "0", "a.nrk"}, "--threads:", "", 0},
      {{"--timeout", "601", "a.nrk"}, "--timeout:", "", 0},
      {{"--tls-cert", "c.pem", "a.nrk"}, "go together", "", 0},
      {{"--calendar", "lunar", "a.nrk"}, "--calendar:", "", 0},  // the shared options
      {{"--today", "2026/2/30", "a.nrk"}, "--today:", "", 0},
      {{"--format", "ics", "a.nrk"}, "unknown option '--format'", "", 0},  // pelo-agenda's own
      {{"p.npg"}, "no data file given", "", 0},
      {{"--listen"}, "needs a value", "", 0},
  };
  for (const auto& c : cases) {
    TServeOptions options;
    const TParseError error = ParseServeArguments(c.args, options);
    SCOPED_TRACE(testing::PrintToString(c.args));
    if (c.error.empty()) {
      EXPECT_FALSE(error.Failed()) << error.Message();
      EXPECT_EQ(options.host, c.host);
      EXPECT_EQ(options.port, c.port);
      EXPECT_EQ(options.data_files, std::vector<std::string>{"a.nrk"});
    } else {
      EXPECT_NE(error.Message().find(c.error), std::string::npos) << error.Message();
    }
  }
  TServeOptions options;
  const std::vector<std::string> args = {"--grep", "会議", "--calendar=current", "--threads", "3",
                                         "a.nrk",  "p.npg"};
  ASSERT_FALSE(ParseServeArguments(args, options).Failed());
  EXPECT_EQ(options.grep, "会議");
  EXPECT_EQ(options.calendar, TCalendarKind::kCurrent);
  EXPECT_EQ(options.threads, 3);
  EXPECT_EQ(options.page_files, std::vector<std::string>{"p.npg"});
}

TEST(ServeTargets, Targets) {
  const struct {
    std::string target;
    bool ok;
    std::string path;
    std::string month;  // the month parameter; "-" when there is none
  } cases[] = {
      {"/", true, "/", "-"},
      {"/?month=2026-12", true, "/", "2026-12"},
      {"/?month=2026%2D12&month=1999-01", true, "/", "2026-12"},  // the first one counts
      {"/?a+b=c+d&month", true, "/", ""},
      {"/day/%32026", true, "/day/2026", "-"},
      {"/%E4%BC%9A", true, "/会", "-"},
      {"/a%2Fb", true, "/a/b", "-"},
      {"/?month=%", false, "", ""},
      {"/?month=%1", false, "", ""},
      {"/?%0a=1", false, "", ""},
      {"/\x7f", false, "", ""},
      {"x/", false, "", ""},
  };
  for (const auto& c : cases) {
    TTarget target;
    SCOPED_TRACE(c.target);
    ASSERT_EQ(ParseTarget(c.target, target), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(target.path, c.path);
    const std::string* month = FindParam(target, "month");
    EXPECT_EQ(month ? *month : "-", c.month);
  }
  TTarget target;
  ASSERT_TRUE(ParseTarget("/?a+b=c+d", target));
  EXPECT_EQ(target.params.front(), (std::pair<std::string, std::string>{"a b", "c d"}));

  EXPECT_EQ(TargetForLog("/calendar.ics?token=secret&from=2026-01-01"),
            "/calendar.ics?token=***&from=2026-01-01");
  EXPECT_EQ(TargetForLog("/?month=2026-12&token=secret"), "/?month=2026-12&token=***");
  EXPECT_EQ(TargetForLog("/?mytoken=x"), "/?mytoken=x");
}

TEST(ServeTokens, Tokens) {
  EXPECT_TRUE(TokensEqual("abc", "abc"));
  for (const char* other : {"abd", "ab", "abcd"}) EXPECT_FALSE(TokensEqual(other, "abc")) << other;
  EXPECT_FALSE(TokensEqual("", ""));  // no token is no pass
  const std::pair<const char*, const char*> headers[] = {
      {"Bearer abc", "abc"}, {"BEARER   abc  ", "abc"}, {"Bearer", ""}, {"Basic abc", ""}};
  for (const auto& [header, token] : headers) EXPECT_EQ(BearerToken(header), token) << header;

  test::TempFolder folder;
  std::string error;
  EXPECT_EQ(ReadTokenFile(folder.WriteBytes("t", "  0123456789abcdefXYZ \r\nnext\n"), error),
            "0123456789abcdefXYZ");
  EXPECT_EQ(ReadTokenFile(folder.WriteBytes("short", "0123456789\n"), error), "");
  EXPECT_NE(error.find("shorter"), std::string::npos);
  EXPECT_EQ(ReadTokenFile(folder.path() + "/none", error), "");
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

TEST(ServeSites, HttpDates) {
  EXPECT_EQ(HttpDate(0), "Thu, 01 Jan 1970 00:00:00 GMT");
  EXPECT_EQ(HttpDate(1796601600), "Mon, 07 Dec 2026 00:00:00 GMT");
  EXPECT_EQ(ParseHttpDate("Mon, 07 Dec 2026 00:00:00 GMT"), 1796601600);
  EXPECT_EQ(ParseHttpDate("Mon, 07 Dec 2026 00:00:00 GMT trailing"), -1);
  EXPECT_EQ(ParseHttpDate(""), -1);
  EXPECT_TRUE(EtagListed("\"a\", \"b\"", "\"b\""));
  EXPECT_TRUE(EtagListed("W/\"b\"", "\"b\""));
  EXPECT_FALSE(EtagListed("\"a\", \"bb\"", "\"b\""));
}

// A file that changes is read again, one that vanishes keeps what it held and says so, and
// the stamps are looked at no more than once a second.
TEST(ServeFiles, FollowTheFilesOnDisk) {
  test::TempFolder folder;
  test::RecordingNotices notices;
  const std::string path = folder.WriteCp932("a.nrk", "2026/12/7 前\r\n");
  TServeFiles files(notices, {2026, 12, 7}, {path}, {}, std::nullopt);
  ASSERT_TRUE(files.AllLoaded());
  const auto text_of_first = [&files] {
    return files.List().Count() > 0 ? files.List().Entry(0)->Text : std::string();
  };
  const auto base = TServeFiles::TClock::time_point{} + std::chrono::hours(1);
  EXPECT_FALSE(files.Refresh(base));  // as loaded
  const std::string stamps = files.StampText();

  const std::vector<std::string> gone = {
      "ファイル a.nrk が見つかりません。前に読めた内容を表示しています。"};
  const struct {
    const char* step;
    std::string write;  // "" leaves the file, "-" removes it
    int64_t after_ms;
    bool changed;
    std::string first_text;
    bool problem;
  } steps[] = {
      {"nothing new", "", 2000, false, "前", false},
      {"rewritten, looked at too soon", "2026/12/7 後の予定\r\n", 2500, false, "前", false},
      {"then looked at", "", 3100, true, "後の予定", false},
      {"removed", "-", 4200, true, "後の予定", true},
      {"still gone", "", 5300, false, "後の予定", true},
      {"back again", "2026/12/7 戻った\r\n", 6400, true, "戻った", false},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    if (s.write == "-") {
      std::filesystem::remove(path);
    } else if (!s.write.empty()) {
      folder.WriteCp932("a.nrk", s.write);
    }
    EXPECT_EQ(files.Refresh(base + std::chrono::milliseconds(s.after_ms)), s.changed);
    EXPECT_EQ(text_of_first(), s.first_text);
    EXPECT_EQ(files.Problems(), s.problem ? gone : std::vector<std::string>{});
  }
  EXPECT_NE(files.StampText(), stamps);
}

}  // namespace
}  // namespace pelo::serve
