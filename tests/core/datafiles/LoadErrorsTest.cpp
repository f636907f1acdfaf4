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

// An empty heading keeps the window's own message.
TEST(LoadErrorsTest, ExecuteHandsTheWholeReportOver) {
  for (const std::string heading : {"x.nrk を読込み中にエラーが発生しました。", ""}) {
    TLoadErrorCollector dialog;
    dialog.Add("first");
    dialog.Add("second");
    if (!heading.empty()) dialog.SetHeading(heading);
    test::RecordingNotices notices;
    dialog.Execute(notices);
    ASSERT_EQ(notices.events.size(), 1u);
    // The report window sounds its own beep: the collector adds none.
    EXPECT_EQ(notices.events[0].kind, test::RecordingNotices::Kind::kLoadErrors);
    const TLoadErrorReport& report = notices.events[0].report;
    EXPECT_EQ(report.heading, heading);
    EXPECT_EQ(report.lines, (std::vector<std::string>{"first", "second"}));
  }
}

// A file read again reports only what its report did not say before.
TEST(LoadErrorsTest, WhatIsNewSinceTheLastRead) {
  using Lines = std::vector<std::string>;
  const auto make = [](const Lines& lines, std::size_t unlisted, const Lines& notes) {
    TLoadErrorCollector collector;
    for (const std::string& line : lines) collector.Add(line);
    for (std::size_t i = 0; i < unlisted; ++i) collector.CountUnlisted();
    for (const std::string& note : notes) collector.AddNote(note);
    collector.SetHeading("a.nrk を読込み中にエラーが発生しました。");
    return collector;
  };
  const struct {
    const char* what;
    TLoadErrorCollector before;
    TLoadErrorCollector now;
    Lines lines;
    Lines notes;
  } cases[] = {
      {"the same", make({"a", "b"}, 3, {"n"}), make({"a", "b"}, 3, {"n"}), {}, {}},
      {"a new line", make({"a"}, 0, {}), make({"a", "c"}, 0, {}), {"c"}, {}},
      {"a line twice", make({"a"}, 0, {}), make({"a", "a"}, 0, {}), {"a"}, {}},
      {"fewer lines", make({"a", "b"}, 0, {}), make({"b"}, 0, {}), {}, {}},
      {"more unlisted",
       make({"a"}, 3, {}),
       make({"a"}, 4, {}),
       {"ほか 4 行にも誤りがあります。"},
       {}},
      {"fewer unlisted", make({"a"}, 3, {}), make({"a"}, 2, {}), {}, {}},
      {"a new note", make({}, 0, {"n"}), make({}, 0, {"n", "m"}), {}, {"m"}},
  };
  for (const auto& c : cases) {
    const TLoadErrorReport report = c.now.NewSince(c.before);
    EXPECT_EQ(report.lines, c.lines) << c.what;
    EXPECT_EQ(report.notes, c.notes) << c.what;
    EXPECT_EQ(report.Empty(), c.lines.empty() && c.notes.empty()) << c.what;
    EXPECT_EQ(report.heading, "a.nrk を読込み中にエラーが発生しました。") << c.what;
  }
}

}  // namespace
}  // namespace pelo
