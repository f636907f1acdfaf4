#include "datafiles/LoadErrors.h"

#include <gtest/gtest.h>

#include <string>

#include "RecordingNotices.h"
#include "text/Cp932.h"

namespace pelo {
namespace {

TEST(LoadErrorsTest, ReportLine) {
  struct Case {
    const char* line;
    const char* message;
    const char* expected;
  } const cases[] = {
      {"1/1", "日付とデータの区切りがない", "1/1 … 日付とデータの区切りがない"},
      {"1/1 Tom &Jerry", "&ｺﾏﾝﾄﾞが間違っています。", "1/1 Tom &Jerry … &ｺﾏﾝﾄﾞが間違っています。"},
      {"", "", " … "},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorReportLine(c.line, c.message), c.expected) << c.line;
  // The separator is the ellipsis of the files' own encoding, 0x81 0x63, between spaces.
  EXPECT_EQ(EncodeCp932(ErrorReportLine("a", "b")), "a \x81\x63 b");
}

TEST(LoadErrorsTest, HeadingNamesTheFileWithoutItsFolder) {
  struct Case {
    const char* path;
    const char* expected;
  } const cases[] = {
      {"/home/user/予定.nrk", "予定.nrk を読込み中にエラーが発生しました。"},
      {"a.nrk", "a.nrk を読込み中にエラーが発生しました。"},
      {"C:\\data\\old.dat", "old.dat を読込み中にエラーが発生しました。"},
      {"rel/dir/b.nrk", "b.nrk を読込み中にエラーが発生しました。"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorReportHeading(c.path), c.expected) << c.path;
}

TEST(LoadErrorsTest, ExecuteHandsTheWholeReportOver) {
  TLoadErrorCollector dialog;
  dialog.Add("first");
  dialog.Add("second");
  dialog.SetHeading("x.nrk を読込み中にエラーが発生しました。");

  test::RecordingNotices notices;
  dialog.Execute(notices);
  ASSERT_EQ(notices.events.size(), 1u);
  // The report window sounds its own beep: the collector adds none.
  EXPECT_EQ(notices.events[0].kind, test::RecordingNotices::Kind::kLoadErrors);
  const TLoadErrorReport& report = notices.events[0].report;
  EXPECT_EQ(report.heading, "x.nrk を読込み中にエラーが発生しました。");
  EXPECT_EQ(report.lines, (std::vector<std::string>{"first", "second"}));
}

TEST(LoadErrorsTest, EmptyHeadingKeepsTheWindowsOwnMessage) {
  TLoadErrorCollector dialog;
  dialog.Add("line");
  test::RecordingNotices notices;
  dialog.Execute(notices);
  ASSERT_EQ(notices.Reports().size(), 1u);
  EXPECT_EQ(notices.Reports()[0].heading, "");
}

}  // namespace
}  // namespace pelo
