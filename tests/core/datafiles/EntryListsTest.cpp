#include "datafiles/EntryLists.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BitmapTesting.h"
#include "DataFileTesting.h"
#include "DateLabels.h"
#include "RecordingNotices.h"

namespace pelo {
namespace {

using namespace std::string_literals;
using test::RecordingNotices;

constexpr TDateRec kToday{2024, 5, 10};

// "file:line text", with " @" for a day-marked entry, the attached lines in brackets,
// " <derived>" for a derived entry and the error after "!".
std::string Summary(const TEntry& entry) {
  std::string text =
      std::to_string(entry.FileIndex) + ":" + std::to_string(entry.LineNo) + " " + entry.Text;
  if (entry.DayMark) text += " @";
  if (entry.NoteLines) {
    std::string notes;
    for (const std::string& line : *entry.NoteLines) notes += "|" + line;
    text += " [" + notes.substr(notes.empty() ? 0 : 1) + "]";
  }
  if (entry.Parent != nullptr) text += " <derived>";
  if (!entry.ErrorText.empty()) text += " !" + std::string(entry.ErrorText);
  return text;
}

std::vector<std::string> Summaries(const TEntryList& list) {
  std::vector<std::string> texts;
  for (int32_t i = 0; i < list.Count(); ++i) texts.push_back(Summary(*list.Entry(i)));
  return texts;
}

// "S[v1950/3/10 s0/0/1] E[v2020/5/5]": the value, adjustment and step of both sides.
std::string SetText(const TDateSet& set) {
  std::string text;
  const auto side = [&text](const char* name, const TDateParts* parts) {
    if (parts == nullptr) return;
    const std::pair<const char*, int32_t> tags[] = {
        {"v", kValuePart}, {"a", kAdjustPart}, {"s", kStepPart}};
    std::string inner;
    for (const auto& [tag, index] : tags) {
      const TDateRec* part = parts->Get(index);
      if (part != nullptr) inner += (inner.empty() ? tag : " "s + tag) + test::DateLabel(*part);
    }
    text += (text.empty() ? name : " "s + name) + "[" + inner + "]";
  };
  side("S", set.Start());
  side("E", set.End());
  return text;
}

std::string DatesText(const TEntry& entry) {
  std::string text;
  if (!entry.Dates) return text;
  for (const TDateSet& set : entry.Dates->Items())
    text += (text.empty() ? "" : "; ") + SetText(set);
  return text;
}

// "{1 0 0: S[...]}" per condition list: MustMatch, MoveStep, MoveDays, then the sets.
std::string ConditionsText(const TEntry& entry) {
  std::string text;
  if (!entry.Conditions) return text;
  for (const TDateSetList& list : entry.Conditions->Items()) {
    text += "{" + std::to_string(list.MustMatch) + " " + std::to_string(list.MoveStep) + " " +
            std::to_string(list.MoveDays) + ":";
    for (const TDateSet& set : list.Items()) text += " " + SetText(set);
    text += "}";
  }
  return text;
}

class EntryListTest : public ::testing::Test {
 protected:
  // Writes name with the text as CP932, or the bytes as they are, and loads it alone.
  bool LoadText(const std::string& name, const std::string& text, bool as_is = false) {
    const std::vector<std::string> names{as_is ? folder_.WriteBytes(name, text)
                                               : folder_.WriteCp932(name, text)};
    notices_.Clear();
    list_.LoadFiles(names);
    return list_.FileList().Count() == 1;
  }

  test::TempFolder folder_;
  RecordingNotices notices_;
  TEntryList list_{notices_, kToday};
};

TEST_F(EntryListTest, LinesOfAFile) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string utf8 = "2024/5/1 あ\r\n=B:\r\n1/2 予定　ｶﾅ①\r\n";  // no CP932 text
  const std::vector<std::string> utf8_entries{"0:1 あ", "0:3 予定　ｶﾅ①"};
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> entries;
    std::vector<std::string> report = {};
    std::vector<std::string> notes = {};
    bool as_is = false;  // the bytes as they are on the disk, else the text in CP932
  } const cases[] = {
      {"UTF-8 with a byte-order mark", bom + utf8, utf8_entries, {}, {}, true},
      {"UTF-8 without one", utf8, utf8_entries, {}, {}, true},
      {"CP932", EncodeCp932(utf8), utf8_entries, {}, {}, true},
      {"a byte that is no UTF-8 after a byte-order mark",
       bom + "1/1 a\n1/2 b\xFF\n",
       {"0:1 a", "0:2 b\uFFFD"},
       {},
       {"1/2 b\uFFFD … 2 行目に文字として読めないバイトがあり、\uFFFDで表示します。"},
       true},
      {"bytes that are no CP932 on several lines, told once at the first",
       "1/1 a\r\n\r\n1/2 \x85\x40\r\n1/3 \xFD\r\n",
       {"0:1 a", "0:3 \uFFFD", "0:4 \uFFFD"},
       {},
       {"1/2 \uFFFD … 3 行目など 2 か所に文字として読めないバイトがあり、\uFFFDで表示します。"},
       true},
      {"empty file", "", {}},
      {"only blank lines", "\n \r\n\t\r\r\n   \n\x01\x1f\n", {}},
      {"NUL ends the text",
       "1/1 a\n1/2 b\0\n1/3 c\n"s,
       {"0:1 a", "0:2 b"},
       {},
       {"1/2 b … 2 行目にNUL文字があるため、これより後は読み込みません。"}},
      {"NUL inside a line",
       "1/1 ab\0cd\n1/2 e"s,
       {"0:1 ab"},
       {},
       {"1/1 ab … 1 行目にNUL文字があるため、これより後は読み込みません。"}},
      {"NUL first",
       "\0"
       "1/1 a\n"s,
       {},
       {},
       {" … 1 行目にNUL文字があるため、これより後は読み込みません。"}},
      {"NUL at the start of a line after bad lines",
       "1/1\r\n1/2 a\r\n\0"s,
       {"0:1 1/1 !日付とデータの区切りがない", "0:2 a"},
       {"1/1 … 日付とデータの区切りがない"},
       {" … 3 行目にNUL文字があるため、これより後は読み込みません。"}},
      {"mixed line ends", "1/1 a\r\n1/2 b\n1/3 c\r1/4 d", {"0:1 a", "0:2 b", "0:3 c", "0:4 d"}},
      {"CR CR LF is two line ends", "1/1 a\r\r\n1/2 b\n\n1/3 c", {"0:1 a", "0:3 b", "0:5 c"}},
      {"LF CR is two line ends", "1/1 a\n\r1/2 b", {"0:1 a", "0:3 b"}},
      {"last line without line end", "1/1 a\n1/2 last", {"0:1 a", "0:2 last"}},
      {"control bytes trimmed, full-width space kept",
       " \t1/1 a \x01\x1f\n1/2 　b　\n",
       {"0:1 a", "0:2 　b　"}},
      {"a full-width space alone is an entry line",
       "　\n",
       {"0:1 　 !日付とデータの区切りがない"},
       {"　 … 日付とデータの区切りがない"}},
      {"line numbers count blank and block lines",
       "\n1/1 a\n%\nx\n%\n\n1/2 b",
       {"0:2 a [x]", "0:7 b"}},
      {"% with blanks opens, only a bare % closes",
       "1/1 a\n  %  \nnote\n % \n%\t\n%\n1/2 b",
       {"0:1 a [note| % |%\t]", "0:7 b"}},
      {"lines inside a block are never read",
       "1/1 a\n%\n=@\n1/5 inner\n@1/6 x\n1/1\n%\n1/2 b",
       {"0:1 a [=@|1/5 inner|@1/6 x|1/1]", "0:8 b"}},
      {"a block before the first entry is dropped", "%\nnote\n%\n1/1 a", {"0:4 a"}},
      {"the second block replaces the first",
       "1/1 a\n%\nfirst\n%\n%\nsecond\n%",
       {"0:1 a [second]"}},
      {"a block goes to the last entry however far back", "1/1 a\n\n=B:\n\n%\nx\n%", {"0:1 a [x]"}},
      {"block lines are kept as they are",
       "1/1 a\r\n%\r\n  indented \t\r\n\r\n%\r\n",
       {"0:1 a [  indented \t|]"}},
      {"an empty block", "1/1 a\n%\n%", {"0:1 a []"}},
      {"a block goes to a bad line's entry too",
       "1/1\n%\nn\n%",
       {"0:1 1/1 [n] !日付とデータの区切りがない"},
       {"1/1 … 日付とデータの区切りがない"}},
      {"day-marked entries to the front, the last read first",
       "1/1 a\n@1/2 b\n1/3 c\n@1/4 d",
       {"0:4 d @", "0:2 b @", "0:1 a", "0:3 c"}},
      {"a default can day-mark the lines after it",
       "1/1 a\n=@\n1/2 b\n1/3 c",
       {"0:4 c @", "0:3 b @", "0:1 a"}},
      {"bad lines are kept and reported in order",
       "1/1 a\n1/1\n1/2 Tom &Jerry\n1/3 b",
       {"0:1 a", "0:2 1/1 !日付とデータの区切りがない",
        "0:3 1/2 Tom &Jerry !&ｺﾏﾝﾄﾞが間違っています。", "0:4 b"},
       {"1/1 … 日付とデータの区切りがない", "1/2 Tom &Jerry … &ｺﾏﾝﾄﾞが間違っています。"}},
      {"a bad line keeps its prefixes",
       "@B:1/1 Tom &Jerry",
       {"0:1 @B:1/1 Tom &Jerry @ !&ｺﾏﾝﾄﾞが間違っています。"},
       {"@B:1/1 Tom &Jerry … &ｺﾏﾝﾄﾞが間違っています。"}},
      {"errors in a default line are not reported", "=1/1 Tom &Jerry\n1/2 a", {"0:2 a"}},
      {"a mark alone is an entry without text", "x\n;\n", {"0:1 ", "0:2 "}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadText("f.nrk", c.text, c.as_is)) << c.what;
    EXPECT_EQ(Summaries(list_), c.entries) << c.what;
    const auto reports = notices_.Reports();
    if (c.report.empty() && c.notes.empty()) {
      EXPECT_TRUE(reports.empty()) << c.what;
    } else {
      ASSERT_EQ(reports.size(), 1u) << c.what;
      EXPECT_EQ(reports[0].heading, "f.nrk を読込み中にエラーが発生しました。") << c.what;
      EXPECT_EQ(reports[0].lines, c.report) << c.what;
      EXPECT_EQ(reports[0].notes, c.notes) << c.what;
    }
    // Only the report, never a message box, for a file that was read.
    EXPECT_TRUE(notices_.Messages().empty()) << c.what;
    EXPECT_FALSE(list_.Loading()) << c.what;
  }
}

TEST_F(EntryListTest, DefaultLines) {
  ASSERT_TRUE(
      LoadText("d.nrk", "1/1 first\n=B:\n1/2 a\n=D:?/?/? 既定 &o(code)\n1/3 b\nE:1/4 c &o(own)\n"));
  std::vector<std::string> seen;  // text, category and code
  for (int32_t i = 0; i < list_.Count(); ++i) {
    const TEntry& entry = *list_.Entry(i);
    seen.push_back(entry.Text + " " + std::to_string(entry.Category) + " " +
                   std::string(entry.Annotation));
  }
  // Before any default, the first default, the second replacing the first completely, and
  // the entry's own letter and code winning.
  ASSERT_EQ(seen, (std::vector<std::string>{"first 2 ", "a 1 ", "b 3 code", "c 4 own"}));
  // "?" in the default keeps the entry's own date.
  EXPECT_EQ(list_.Entry(2)->FirstDate(), (TDateRec{0, 1, 3}));
  // The default entry of the file is the last default line's.
  ASSERT_NE(list_.FileList().Option(0)->DefaultEntry, nullptr);
  EXPECT_EQ(list_.FileList().Option(0)->DefaultEntry->Category, 3);
  EXPECT_EQ(list_.FileList().Option(0)->DefaultEntry->Annotation, "code");

  // Every file starts without defaults.
  const std::string second = folder_.WriteCp932("e.nrk", "1/5 d\n");
  ASSERT_TRUE(list_.LoadFromFile(second));
  EXPECT_EQ(list_.Entry(4)->Category, 2);
  EXPECT_EQ(list_.Entry(4)->FileIndex, 1);
  EXPECT_EQ(list_.FileList().Option(1)->DefaultEntry, nullptr);
}

TEST_F(EntryListTest, PicturesAreLookedForBesideTheDataFile) {
  std::filesystem::create_directory(folder_.File("sub"));
  folder_.WriteBytes("sub/pic.bmp", test::Bitmap({.width = 1, .height = 1}));
  folder_.WriteBytes("sub/odd.bmp", test::Bitmap({.width = 2, .height = 1}));
  // The viewer's decoder stands behind the header check: here it refuses odd.bmp.
  std::vector<std::string> asked;
  list_.PictureCheck = [&asked](const TIconFile& picture) {
    asked.push_back(picture.Path);
    return picture.Width == 1;
  };
  const std::vector<std::string> names{folder_.WriteCp932(
      "sub/p.nrk", "1/1 a &i(pic.bmp)\n1/2 b &i(none.bmp)\n1/3 c &i(odd.bmp)\n")};
  list_.LoadFiles(names);
  ASSERT_EQ(list_.Count(), 3);
  ASSERT_NE(list_.Entry(0)->Icon, nullptr);
  EXPECT_EQ(list_.Entry(0)->Icon->Path, folder_.File("sub/pic.bmp"));
  EXPECT_EQ(list_.Entry(1)->ErrorText, "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。");
  EXPECT_EQ(list_.Entry(2)->ErrorText, "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。");
  EXPECT_EQ(list_.Entry(2)->Icon, nullptr);
  EXPECT_EQ(asked,
            (std::vector<std::string>{folder_.File("sub/pic.bmp"), folder_.File("sub/odd.bmp")}));
}

TEST_F(EntryListTest, UnclosedBlockFailsTheFileButKeepsWhatWasRead) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> entries;
    std::vector<std::string> report = {};  // of bad lines read before, told first
  } const cases[] = {
      {"block runs off the end", "1/1 a\n@1/2 b\n%\nnote", {"0:2 b @", "0:1 a"}},
      {"bad lines before it",
       "1/1\n1/2 a\n%\nopen",
       {"0:1 1/1 !日付とデータの区切りがない", "0:2 a"},
       {"1/1 … 日付とデータの区切りがない"}},
      {"a blank-padded % does not close", "1/1 a\n%\nx\n % \n", {"0:1 a"}},
      {"a second block left open keeps the first", "1/1 a\n%\nx\n%\n%\ny", {"0:1 a [x]"}},
      {"an open block at the very end", "1/1 a\n%", {"0:1 a"}},
  };
  for (const Case& c : cases) {
    const std::string path = folder_.WriteCp932("u.nrk", c.text);
    const std::vector<std::string> names{path};
    notices_.Clear();
    list_.LoadFiles(names);
    EXPECT_EQ(Summaries(list_), c.entries) << c.what;
    EXPECT_EQ(list_.FileList().Count(), 1) << c.what;
    const std::size_t first = c.report.empty() ? 0 : 1;
    ASSERT_EQ(notices_.events.size(), first + 2) << c.what;
    if (first == 1) {
      EXPECT_EQ(notices_.events[0].kind, RecordingNotices::Kind::kLoadErrors) << c.what;
      EXPECT_EQ(notices_.events[0].report.lines, c.report) << c.what;
    }
    EXPECT_EQ(notices_.events[first].kind, RecordingNotices::Kind::kBeep) << c.what;
    EXPECT_EQ(notices_.events[first].beep, TBeepKind::kExclamation) << c.what;
    EXPECT_EQ(notices_.events[first + 1].kind, RecordingNotices::Kind::kWarning) << c.what;
    EXPECT_EQ(notices_.events[first + 1].text, path + " を開くことができません！") << c.what;
    EXPECT_FALSE(list_.Loading()) << c.what;
  }
}

// Bytes given directly load exactly as the same bytes read from a file: the same entries,
// the same reports and warnings, the path as given, no file needed.
TEST_F(EntryListTest, BytesLoadAsTheFileWould) {
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"plain", "@1/2 b\r\n1/1 a\r\n%\r\nnote\r\n%\r\n=D:?/? x\r\n3/3 c\r\n"},
      {"bad lines", "1/1\r\n2/2 ok\r\n13/1 x\r\n"},  // reported, and loaded
      {"open block", "1/1 a\n%\nnote"},
      {"birthday", "1931^/3/8~2019/10/20 祖父 &o(*%b2)\r\n"},
  };
  for (const auto& c : cases) {
    const std::string path = folder_.WriteCp932("same.nrk", c.text);
    notices_.Clear();
    list_.Clear();
    const bool file_ok = list_.LoadFromFile(path);
    const std::vector<std::string> from_file = Summaries(list_);
    const std::vector<RecordingNotices::Event> file_events = notices_.events;

    RecordingNotices notices;
    TEntryList list(notices, kToday);
    std::vector<std::string> announced;
    list.OnLoadFromFile = [&announced](TEntryList&, const std::string& name) {
      announced.push_back(name);
    };
    EXPECT_EQ(list.LoadFromBytes(path, EncodeCp932(c.text)), file_ok) << c.what;
    EXPECT_EQ(Summaries(list), from_file) << c.what;
    EXPECT_EQ(announced, std::vector<std::string>{path}) << c.what;
    EXPECT_EQ(list.FileList().Path(0), path) << c.what;
    ASSERT_EQ(notices.events.size(), file_events.size()) << c.what;
    for (std::size_t i = 0; i < file_events.size(); ++i) {
      EXPECT_EQ(notices.events[i].kind, file_events[i].kind) << c.what;
      EXPECT_EQ(notices.events[i].text, file_events[i].text) << c.what;
      EXPECT_EQ(notices.events[i].report.heading, file_events[i].report.heading) << c.what;
      EXPECT_EQ(notices.events[i].report.lines, file_events[i].report.lines) << c.what;
    }
  }
  // No file at all: nothing is looked for.
  RecordingNotices notices;
  TEntryList list(notices, kToday);
  EXPECT_TRUE(list.LoadFromBytes("/no/such/folder/x.nrk", "1/1 a\r\n"));
  EXPECT_EQ(Summaries(list), std::vector<std::string>{"0:1 a"});
  EXPECT_TRUE(notices.events.empty());
}

TEST_F(EntryListTest, SeveralFiles) {
  const std::string a = folder_.WriteCp932("a.nrk", "1/1 a1\n@1/2 a2\n");
  const std::string b = folder_.WriteCp932("b.nrk", "@1/3 b1\n1/4 b2\n");
  const std::string missing = folder_.File("missing.nrk");
  constexpr TBeepKind kExclamation = TBeepKind::kExclamation;
  std::vector<std::string> loaded;
  list_.OnLoadFromFile = [&loaded](TEntryList& sender, const std::string& path) {
    loaded.push_back(path);
    EXPECT_FALSE(sender.Loading());
  };

  struct Case {
    const char* what;
    std::vector<std::string> names;
    std::vector<std::string> entries;
    std::vector<std::string> files;
    std::vector<std::string> messages;
  } const cases[] = {
      {"the second file's day-marked entry comes first",
       {a, b},
       {"1:1 b1 @", "0:2 a2 @", "0:1 a1", "1:2 b2"},
       {a, b},
       {}},
      {"a file given twice is read twice",
       {a, a},
       {"1:2 a2 @", "0:2 a2 @", "0:1 a1", "1:1 a1"},
       {a, a},
       {}},
      {"a missing file in the middle",
       {a, missing, b},
       {"1:1 b1 @", "0:2 a2 @", "0:1 a1", "1:2 b2"},
       {a, b},
       {missing + " というファイルが見つかりません！"}},
      {"only missing files", {missing}, {}, {}, {missing + " というファイルが見つかりません！"}},
      {"no files", {}, {}, {}, {}},
  };
  for (const Case& c : cases) {
    notices_.Clear();
    loaded.clear();
    list_.LoadFiles(c.names);
    EXPECT_EQ(Summaries(list_), c.entries) << c.what;
    std::vector<std::string> files;
    for (int32_t i = 0; i < list_.FileList().Count(); ++i)
      files.push_back(list_.FileList().Path(i));
    EXPECT_EQ(files, c.files) << c.what;
    EXPECT_EQ(loaded, c.files) << c.what;  // told of every file read, not of missing ones
    EXPECT_EQ(notices_.Messages(), c.messages) << c.what;
    for (const auto& event : notices_.events) {
      EXPECT_TRUE(event.kind != RecordingNotices::Kind::kBeep || event.beep == kExclamation)
          << c.what;
    }
  }
}

TEST_F(EntryListTest, PathsAreKeptAsGiven) {
  const std::string path = folder_.WriteCp932("a.nrk", "1/1 a\n");
  const std::string odd = folder_.path() + "/./a.nrk";
  ASSERT_TRUE(list_.LoadFromFile(odd));
  EXPECT_EQ(list_.FileList().Path(0), odd);
  EXPECT_EQ(list_.FileList().Path(1), "");
  EXPECT_EQ(list_.FileList().Option(1), nullptr);
  EXPECT_EQ(list_.FileList().Option(-1), nullptr);
}

TEST_F(EntryListTest, TwoFilesWithBadLinesGetTwoReports) {
  const std::string a = folder_.WriteCp932("a.nrk", "1/1\n1/2 ok\n");
  const std::string b = folder_.WriteCp932("sub-b.nrk", "1/3 ok\n1/4 Tom &Jerry\n");
  const std::string c = folder_.WriteCp932("c.nrk", "1/5 fine\n");
  const std::vector<std::string> names{a, b, c};
  list_.LoadFiles(names);
  const auto reports = notices_.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].heading, "a.nrk を読込み中にエラーが発生しました。");
  EXPECT_EQ(reports[0].lines, (std::vector<std::string>{"1/1 … 日付とデータの区切りがない"}));
  EXPECT_EQ(reports[1].heading, "sub-b.nrk を読込み中にエラーが発生しました。");
  EXPECT_EQ(reports[1].lines,
            (std::vector<std::string>{"1/4 Tom &Jerry … &ｺﾏﾝﾄﾞが間違っています。"}));
}

TEST_F(EntryListTest, WhatIsNoDataFileCannotBeOpened) {
  const std::string fifo = folder_.File("pipe.nrk");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  std::filesystem::create_directory(folder_.File("folder.nrk"));
  // Larger than any data file: refused before it is read (sparse, so it takes no room).
  const std::string huge = folder_.WriteBytes("huge.nrk", "");
  std::filesystem::resize_file(huge, std::uintmax_t{65} * 1024 * 1024);
  for (const std::string& path : {fifo, folder_.File("folder.nrk"), std::string("/dev/null"),
                                  std::string("/dev/zero"), huge}) {
    list_.Clear();
    notices_.Clear();
    EXPECT_FALSE(list_.LoadFromFile(path)) << path;
    EXPECT_EQ(notices_.Messages(), (std::vector<std::string>{path + " を開くことができません！"}))
        << path;
    ASSERT_FALSE(notices_.events.empty());
    EXPECT_EQ(notices_.events[0].beep, TBeepKind::kExclamation) << path;
    // It keeps its place in the file list, with nothing read.
    EXPECT_EQ(list_.FileList().Count(), 1) << path;
    EXPECT_EQ(list_.Count(), 0) << path;
  }
}

TEST_F(EntryListTest, ReadOnlyAttribute) {
  const std::string writable = folder_.WriteCp932("w.nrk", "1/1 w\n");
  const std::string read_only = folder_.WriteCp932("r.nrk", "1/1 r\n1/2 r2\n");
  ASSERT_EQ(chmod(read_only.c_str(), 0444), 0);
  const std::string group_writable = folder_.WriteCp932("g.nrk", "1/1 g\n");
  ASSERT_EQ(chmod(group_writable.c_str(), 0464), 0);  // the owner's bit decides
  const std::vector<std::string> names{writable, read_only, group_writable};
  list_.LoadFiles(names);
  EXPECT_FALSE(list_.FileList().Option(0)->FileReadOnly);
  EXPECT_TRUE(list_.FileList().Option(1)->FileReadOnly);
  EXPECT_TRUE(list_.FileList().Option(2)->FileReadOnly);
  // Loading itself is no change: every entry of a read-only file is read without a word.
  EXPECT_EQ(list_.Count(), 4);
  EXPECT_TRUE(notices_.events.empty());
}

TEST_F(EntryListTest, AFileLockedByAnotherReaderStillLoads) {
  const std::string path = folder_.WriteCp932("l.nrk", "1/1 a\n");
  const int fd = open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);
  EXPECT_TRUE(list_.LoadFromFile(path));
  EXPECT_EQ(list_.Count(), 1);
  close(fd);
  // And our own lock is gone once the file is read.
  const int again = open(path.c_str(), O_RDONLY);
  EXPECT_EQ(flock(again, LOCK_EX | LOCK_NB), 0);
  close(again);
}

TEST_F(EntryListTest, LoadingClearsTheHistoryAndTheListButNotTheClipboard) {
  ASSERT_TRUE(LoadText("a.nrk", "1/1 a\n1/2 b\n"));
  list_.CopyEntry(0);
  list_.ToggleChecked(1);
  ASSERT_EQ(list_.UndoHistory().Count(), 1);
  ASSERT_TRUE(LoadText("b.nrk", "1/3 c\n"));
  EXPECT_EQ(Summaries(list_), (std::vector<std::string>{"0:1 c"}));
  EXPECT_EQ(list_.UndoHistory().Count(), 0);
  ASSERT_EQ(list_.ClipboardCount(), 1);
  EXPECT_EQ(list_.ClipboardItem(0)->Text, "a");

  // A second file added on its own clears the history as well.
  list_.ToggleChecked(0);
  ASSERT_EQ(list_.UndoHistory().Count(), 1);
  ASSERT_TRUE(list_.LoadFromFile(folder_.WriteCp932("c.nrk", "@1/4 d\n")));
  EXPECT_EQ(list_.UndoHistory().Count(), 0);
  EXPECT_EQ(Summaries(list_), (std::vector<std::string>{"1:1 d @", "0:1 c"}));

  // So does a file that fails half way.
  list_.ToggleChecked(0);
  EXPECT_FALSE(list_.LoadFromFile(folder_.WriteCp932("d.nrk", "1/5 e\n%\n")));
  EXPECT_EQ(list_.UndoHistory().Count(), 0);
  EXPECT_EQ(list_.Count(), 3);

  list_.Clear();
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(list_.FileList().Count(), 0);
  EXPECT_EQ(list_.ClipboardCount(), 1);
}

TEST_F(EntryListTest, OddContentNeverBreaksLoading) {
  // Bytes of every value from a fixed generator, once with NULs and once without.
  std::string binary(1 << 16, '\0');
  uint32_t seed = 12345;
  for (char& c : binary) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  std::string no_nul = binary;
  std::replace(no_nul.begin(), no_nul.end(), '\0', '\x01');
  for (const std::string& bytes : {binary, no_nul}) {
    const std::vector<std::string> names{folder_.WriteBytes("bin.nrk", bytes)};
    list_.LoadFiles(names);
    EXPECT_EQ(list_.FileList().Count(), 1);
  }
  EXPECT_GT(list_.Count(), 100);  // the bytes without NUL hold many lines

  // Bytes that are no CP932 become replacement characters, and lines still end where they
  // should: a lead byte does not swallow a line end.
  const std::vector<std::string> names{
      folder_.WriteBytes("bad.nrk",
                         "\x81\n\x85\x40 x\n1/1 \xFF\xFE\x80 a\x81\r\n1/2 b\x81\n1/3 \x82\xa0"
                         "c")};
  list_.LoadFiles(names);
  ASSERT_EQ(list_.Count(), 5);
  EXPECT_EQ(list_.Entry(0)->Text, "\uFFFD");
  EXPECT_FALSE(list_.Entry(0)->ErrorText.empty());
  EXPECT_FALSE(list_.Entry(1)->ErrorText.empty());
  EXPECT_EQ(list_.Entry(2)->Text, "\uFFFD\uFFFD\uFFFD a\uFFFD");
  EXPECT_EQ(list_.Entry(3)->Text, "b\uFFFD");
  EXPECT_EQ(list_.Entry(4)->Text, "あc");
}

TEST_F(EntryListTest, LargeFiles) {
  // One line of five megabytes.
  const std::string long_text(5 * 1024 * 1024, 'a');
  ASSERT_TRUE(LoadText("long.nrk", "1/1 " + long_text));
  ASSERT_EQ(list_.Count(), 1);
  EXPECT_EQ(list_.Entry(0)->Text.size(), long_text.size());

  // A hundred thousand lines, plain and day-marked ones mixed.
  std::string text;
  for (int i = 1; i <= 100000; ++i) {
    text += (i % 2 == 0 ? "@1/" : "1/") + std::to_string(i % 28 + 1) + " 予定" + std::to_string(i) +
            (i % 3 == 0 ? "\r\n" : "\n");
  }
  ASSERT_TRUE(LoadText("many.nrk", text));
  ASSERT_EQ(list_.Count(), 100000);
  EXPECT_EQ(list_.Entry(0)->Text, "予定100000");  // the last day-marked line read
  EXPECT_EQ(list_.Entry(49999)->Text, "予定2");
  EXPECT_EQ(list_.Entry(50000)->Text, "予定1");
  EXPECT_EQ(list_.Entry(99999)->Text, "予定99999");
  EXPECT_EQ(list_.Entry(99999)->LineNo, 99999);

  // A hundred thousand block markers.
  std::string blocks = "1/1 a\n";
  for (int i = 0; i < 50000; ++i) blocks += "%\n";
  ASSERT_TRUE(LoadText("blocks.nrk", blocks));
  ASSERT_EQ(list_.Count(), 1);
  ASSERT_NE(list_.Entry(0)->NoteLines, nullptr);
  EXPECT_TRUE(list_.Entry(0)->NoteLines->empty());
}

// A file of bad lines lists the first thousand and counts the rest, which keep nothing: no
// entry, no report line, no attached text.
TEST_F(EntryListTest, BadLinesPastTheListedOnesAreOnlyCounted) {
  struct Case {
    int bad_lines;
    int32_t entries;  // of the bad lines, and the good line
    std::string last_line;
  } const cases[] = {
      {999, 1000, "q … 日付とデータの区切りがない"},
      {1000, 1001, "q … 日付とデータの区切りがない"},
      {1001, 1001, "ほか 1 行にも誤りがあります。"},
      {250000, 1001, "ほか 249000 行にも誤りがあります。"},
  };
  for (const Case& c : cases) {
    std::string text;
    for (int i = 0; i < c.bad_lines; ++i) text += "q\n";
    text += "%\nnote\n%\n2024/5/1 good\n";
    ASSERT_TRUE(LoadText("q.nrk", text)) << c.bad_lines;
    ASSERT_EQ(list_.Count(), c.entries) << c.bad_lines;
    const TEntry& good = *list_.Entry(list_.Count() - 1);
    EXPECT_EQ(good.Text, "good");
    EXPECT_EQ(good.LineNo, c.bad_lines + 4);
    const TEntry& last_bad = *list_.Entry(list_.Count() - 2);
    EXPECT_EQ(last_bad.NoteLines != nullptr, c.bad_lines <= 1000) << c.bad_lines;
    const auto reports = notices_.Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].lines.size(), c.bad_lines <= 1000 ? c.bad_lines : 1001u) << c.bad_lines;
    EXPECT_EQ(reports[0].lines.back(), c.last_line);
  }
}

// The derived entries come first, then their parent as it was.
TEST_F(EntryListTest, LifeEvents) {
  struct Expected {
    const char* dates;
    const char* conditions;
    const char* annotation;
  };
  const struct {
    const char* line;
    const char* text;
    std::vector<Expected> entries;
  } cases[] = {
      {"1950/3/10~2020/5/5 太郎 &o(%b2)",
       "太郎",
       {
           // Birthdays from the death day on.
           {"S[v1950/3/10 s0/0/1] E[v-5/-5/-5]", "{1 0 0: S[v2020/5/5 s0/0/1] E[v-5/-5/-5]}", "%c"},
           // The death day.
           {"S[v1950/3/10 s0/0/1] E[v2020/5/5]", "{1 0 0: S[v2020/5/5]}", "*%q"},
           {"S[v2020/5/5 a0/0/6]", "", " 【初七日】"},
           {"S[v2020/5/5 a0/0/48]", "", " 【四十九日】"},
           // Every year from the next year on.
           {"S[v2020/5/5 s1/0/0] E[v-5/5/5]", "{1 0 0: S[v2021/5/5 s0/0/1] E[v-5/-5/-5]}", "%v%x"},
           {"S[v1950/3/10 s0/0/1] E[v2020/5/5]", "", "%b2"},
       }},
      {"9999/3/10~2020/5/5 花子 &o(%b1)",
       "花子",
       {
           {"S[v2020/5/5]", "", "*死去"},
           {"S[v2020/5/5 a0/0/6]", "", "%b1"},  // "%b1": the parent's code as it is
           {"S[v2020/5/5 a0/0/48]", "", "%b1"},
           {"S[v2020/5/5 s1/0/0] E[v-5/5/5]", "{1 0 0: S[v2021/5/5 s0/0/1] E[v-5/-5/-5]}", "%v"},
           {"S[v9999/3/10 s0/0/1] E[v2020/5/5]", "", "%b1"},
       }},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(LoadText("b.nrk", c.line)) << c.line;
    const int32_t count = static_cast<int32_t>(c.entries.size());
    ASSERT_EQ(list_.Count(), count) << c.line;
    for (int32_t i = 0; i < count; ++i) {
      const TEntry& entry = *list_.Entry(i);
      EXPECT_EQ(DatesText(entry), c.entries[i].dates) << c.line << i;
      EXPECT_EQ(ConditionsText(entry), c.entries[i].conditions) << c.line << i;
      EXPECT_EQ(entry.Annotation, c.entries[i].annotation) << c.line << i;
      EXPECT_EQ(entry.Text, c.text) << c.line << i;
      EXPECT_EQ(entry.LineNo, 1) << c.line << i;
      EXPECT_EQ(entry.Parent, i < count - 1 ? list_.Entry(count - 1) : nullptr) << c.line << i;
    }
  }
}

TEST_F(EntryListTest, DeathDateFieldsLeftOpen) {
  struct Case {
    const char* what;
    const char* line;
    int32_t count;
    int32_t index;      // the derived entry looked at
    const char* dates;  // null: not looked at
    const char* conditions;
  } const cases[] = {
      {"no death day", "1950/3/10 x &o(%b2)", 1, 0, nullptr, nullptr},
      {"a code without its kind", "1950/3/10~2020/5/5 x &o(%b)", 1, 0, nullptr, nullptr},
      {"no code", "1950/3/10~2020/5/5 x", 1, 0, nullptr, nullptr},
      {"another code", "1950/3/10~2020/5/5 x &o(%B1)", 1, 0, nullptr, nullptr},
      {"month and day from the birth date", "1950/3/10~2020// x &o(%b1)", 6, 1,
       "S[v1950/3/10 s0/0/1] E[v2020/0/0]", "{1 0 0: S[v2020/3/10]}"},
      {"year from the birth date", "1950/3/10~/5/5 x &o(%b1)", 6, 2, "S[v1950/5/5 a0/0/6]", ""},
      {"nothing taken without a birth year", "9999/3/10~/5/5 x &o(%b1)", 5, 0, "S[v0/5/5]", ""},
      {"next year of a year left open", "9999/3/10~/5/5 x &o(%b1)", 5, 3,
       "S[v0/5/5 s1/0/0] E[v-5/5/5]", "{1 0 0: S[v1/5/5 s0/0/1] E[v-5/-5/-5]}"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadText("b.nrk", c.line)) << c.what;
    ASSERT_EQ(list_.Count(), c.count) << c.what;
    if (c.dates == nullptr) continue;
    EXPECT_EQ(DatesText(*list_.Entry(c.index)), c.dates) << c.what;
    EXPECT_EQ(ConditionsText(*list_.Entry(c.index)), c.conditions) << c.what;
  }
}

TEST_F(EntryListTest, DerivedEntriesStayWithTheirParent) {
  ASSERT_TRUE(LoadText("b.nrk", "1/1 a\n@1950/3/10~2020/5/5 x &o(%b2)\n1/2 b\n@1/3 c\n"));
  EXPECT_EQ(Summaries(list_),
            (std::vector<std::string>{"0:4 c @", "0:2 x @ <derived>", "0:2 x @ <derived>",
                                      "0:2 x @ <derived>", "0:2 x @ <derived>", "0:2 x @ <derived>",
                                      "0:2 x @", "0:1 a", "0:3 b"}));
  EXPECT_EQ(list_.RemoveDerived(6), 1);
  EXPECT_EQ(Summaries(list_), (std::vector<std::string>{"0:4 c @", "0:2 x @", "0:1 a", "0:3 b"}));
  EXPECT_EQ(list_.RemoveDerived(1), 1);  // nothing left to remove
  EXPECT_EQ(list_.ExpandLifeEvents(1), 6);
  EXPECT_EQ(list_.Count(), 9);
  EXPECT_EQ(list_.Entry(1)->Parent, list_.Entry(6));
  EXPECT_EQ(list_.ExpandLifeEvents(7), 7);  // no birthday entry
  EXPECT_EQ(list_.ExpandLifeEvents(42), 42);
  EXPECT_EQ(list_.RemoveDerived(-1), -1);
  EXPECT_EQ(list_.Count(), 9);
}

TEST_F(EntryListTest, ADerivedEntryMakesNoneOfItsOwn) {
  ASSERT_TRUE(LoadText("b.nrk", "1950/3/10~2020/5/5 x &o(%b2)\n"));
  TEntry edited;
  ASSERT_FALSE(edited.ParseLine("1960/1/1~2010/1/1 y &o(%b2)", {.Today = kToday}).Failed());
  list_.EditEntry(0, &edited);
  EXPECT_EQ(list_.Count(), 6);
  EXPECT_EQ(list_.Entry(0)->Text, "y");
  EXPECT_EQ(list_.Entry(0)->Parent, list_.Entry(5));
  // The parent's rebuild takes the edited one away with the others.
  list_.ToggleChecked(5);
  EXPECT_EQ(list_.Count(), 6);
  for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(list_.Entry(i)->Text, "x") << i;
  for (int32_t i = 0; i < 6; ++i) EXPECT_TRUE(list_.Entry(i)->IsChecked()) << i;
}

class EditingTest : public EntryListTest {
 protected:
  void SetUp() override {
    EntryListTest::SetUp();
    writable_ = folder_.WriteCp932("w.nrk", "1/1 a\n1/2 b\n1/3 c\n");
    read_only_ = folder_.WriteCp932("r.nrk", "1/4 r\n");
    ASSERT_EQ(chmod(read_only_.c_str(), 0444), 0);
    const std::vector<std::string> names{writable_, read_only_};
    list_.LoadFiles(names);
    ASSERT_EQ(list_.Count(), 4);
    notices_.Clear();
  }

  std::unique_ptr<TEntry> MakeEntry(const char* line, int32_t file_index = 0) {
    auto entry = std::make_unique<TEntry>();
    EXPECT_FALSE(entry->ParseLine(line, {.Today = kToday}).Failed()) << line;
    entry->FileIndex = file_index;
    return entry;
  }

  // The kind of the recorded task at index and the text of the entry it names: "edit b".
  std::string RecordedTask(int32_t index) const {
    const TTask* task = list_.UndoHistory().Task(index);
    if (task == nullptr) return "none";
    const char* kind = dynamic_cast<const TEditEntryTask*>(task)     ? "edit"
                       : dynamic_cast<const TAddEntryTask*>(task)    ? "add"
                       : dynamic_cast<const TDeleteEntryTask*>(task) ? "delete"
                                                                     : "other";
    const TEntry* entry = list_.Entry(task->Position());
    return std::string(kind) + " " + (entry != nullptr ? entry->Text : "(gone)");
  }

  // Everything about the list that an operation could change.
  std::vector<std::string> State() const {
    std::vector<std::string> state = Summaries(list_);
    for (int32_t i = 0; i < list_.Count(); ++i) {
      const TEntry& entry = *list_.Entry(i);
      state.push_back(DatesText(entry) + (entry.IsChecked() ? " checked" : "") +
                      (entry.IsDeleted() ? " deleted" : ""));
    }
    return state;
  }

  std::string writable_;
  std::string read_only_;
};

TEST_F(EditingTest, ReadOnlyFilesRefuseEveryChange) {
  const std::string refusal = "ﾃﾞｰﾀﾌｧｲﾙ r.nrk のﾃﾞｰﾀは変更することができません。";
  static constexpr TDateRec kDay{2024, 6, 1};
  list_.CopyEntry(3);  // copying to the clipboard changes nothing: no refusal
  ASSERT_TRUE(notices_.events.empty());
  struct Case {
    const char* what;
    std::function<void()> operation;
  } const cases[] = {
      {"edit", [this] { list_.EditEntry(3, MakeEntry("2/2 new").get()); }},
      {"delete", [this] { list_.DeleteEntry(3); }},
      {"check", [this] { list_.ToggleChecked(3); }},
      {"move", [this] { list_.MoveEntry(3, kDay); }},
      {"copy to a day", [this] { EXPECT_EQ(list_.CopyEntryTo(3, kDay), std::nullopt); }},
      {"cut", [this] { list_.CutEntry(3); }},
      {"add", [this] { EXPECT_EQ(list_.AddEntry(-1, MakeEntry("2/2 new", 1)), -1); }},
      {"paste", [this] { EXPECT_EQ(list_.PasteEntry(0, kDay), std::nullopt); }},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> before = State();
    notices_.Clear();
    c.operation();
    EXPECT_EQ(State(), before) << c.what;
    ASSERT_EQ(notices_.events.size(), 2u) << c.what;
    EXPECT_EQ(notices_.events[0].kind, RecordingNotices::Kind::kBeep) << c.what;
    EXPECT_EQ(notices_.events[0].beep, TBeepKind::kInformation) << c.what;
    EXPECT_EQ(notices_.events[1].kind, RecordingNotices::Kind::kInformation) << c.what;
    EXPECT_EQ(notices_.events[1].text, refusal) << c.what;
    EXPECT_EQ(list_.UndoHistory().Count(), 0) << c.what;
  }
  // The cut still copied.
  EXPECT_EQ(list_.ClipboardCount(), 2);
}

TEST_F(EditingTest, OutOfRangePositionsDoNothing) {
  const std::vector<std::string> before = State();
  const auto entry = MakeEntry("2/2 new");
  for (const int32_t position : {-1, 4, 100}) {
    list_.EditEntry(position, entry.get());
    list_.DeleteEntry(position);
    list_.ToggleChecked(position);
    list_.MoveEntry(position, {2024, 6, 1});
    EXPECT_EQ(list_.CopyEntryTo(position, {2024, 6, 1}), std::nullopt);
    list_.CopyEntry(position);
    list_.CutEntry(position);
    EXPECT_EQ(list_.Entry(position), nullptr);
  }
  list_.EditEntry(0, nullptr);
  EXPECT_EQ(list_.AddEntry(6, MakeEntry("2/2 new")), -1);
  EXPECT_EQ(list_.AddEntry(-2, MakeEntry("2/2 new")), -1);
  EXPECT_EQ(list_.AddEntry(0, nullptr), -1);
  EXPECT_EQ(State(), before);
  EXPECT_EQ(list_.ClipboardCount(), 0);
  EXPECT_EQ(list_.UndoHistory().Count(), 0);
  EXPECT_TRUE(notices_.events.empty());
}

TEST_F(EditingTest, EditUndoRedo) {
  const auto entry = MakeEntry("2/2 新しい");
  list_.EditEntry(1, entry.get());
  EXPECT_EQ(list_.Entry(1)->Text, "新しい");
  EXPECT_EQ(list_.Entry(1)->FirstDate(), (TDateRec{0, 2, 2}));
  ASSERT_EQ(list_.UndoHistory().Count(), 1);
  EXPECT_EQ(RecordedTask(0), "edit 新しい");
  list_.UndoHistory().Undo();
  EXPECT_EQ(list_.Entry(1)->Text, "b");
  EXPECT_EQ(list_.Entry(1)->FirstDate(), (TDateRec{0, 1, 2}));
  list_.UndoHistory().Redo();
  EXPECT_EQ(list_.Entry(1)->Text, "新しい");
  EXPECT_EQ(list_.UndoHistory().Count(), 1);  // undo and redo record nothing
}

TEST_F(EditingTest, DeleteCheckMove) {
  list_.DeleteEntry(0);
  EXPECT_TRUE(list_.Entry(0)->IsDeleted());
  EXPECT_EQ(*list_.Entry(0)->Marks->End()->Value(), kToday);
  EXPECT_EQ(list_.Count(), 4);  // deleting only marks
  EXPECT_EQ(RecordedTask(0), "delete a");

  list_.ToggleChecked(2);
  EXPECT_TRUE(list_.Entry(2)->IsChecked());
  EXPECT_EQ(*list_.Entry(2)->Marks->Start()->Value(), kToday);
  list_.ToggleChecked(2);
  EXPECT_FALSE(list_.Entry(2)->IsChecked());

  list_.MoveEntry(1, {2024, 6, 1});
  EXPECT_EQ(list_.Entry(1)->FirstDate(), (TDateRec{2024, 6, 1}));
  ASSERT_EQ(list_.UndoHistory().Count(), 4);
  EXPECT_EQ(RecordedTask(3), "edit b");

  list_.UndoHistory().UndoSteps(4);
  EXPECT_EQ(list_.Entry(1)->FirstDate(), (TDateRec{0, 1, 2}));
  EXPECT_FALSE(list_.Entry(2)->IsChecked());
  EXPECT_FALSE(list_.Entry(0)->IsDeleted());
  list_.UndoHistory().RedoSteps(2);
  EXPECT_TRUE(list_.Entry(0)->IsDeleted());
  EXPECT_TRUE(list_.Entry(2)->IsChecked());
  EXPECT_EQ(list_.Entry(1)->FirstDate(), (TDateRec{0, 1, 2}));
}

TEST_F(EditingTest, CopyToADay) {
  EXPECT_EQ(list_.CopyEntryTo(1, {2024, 7, 7}), 4);
  ASSERT_EQ(list_.Count(), 5);
  EXPECT_EQ(list_.Entry(4)->Text, "b");
  EXPECT_EQ(list_.Entry(4)->FirstDate(), (TDateRec{2024, 7, 7}));
  EXPECT_EQ(list_.Entry(4)->FileIndex, 0);
  EXPECT_EQ(list_.Entry(1)->FirstDate(), (TDateRec{0, 1, 2}));
  EXPECT_EQ(list_.UndoHistory().Count(), 0);  // a copy to a day is not recorded
}

TEST_F(EditingTest, ClipboardNewestFirstAndNeverTrimmed) {
  list_.CopyEntry(0);
  list_.CopyEntry(1);
  list_.CopyEntry(2);
  ASSERT_EQ(list_.ClipboardCount(), 3);
  EXPECT_EQ(list_.ClipboardItem(0)->Text, "c");
  EXPECT_EQ(list_.ClipboardItem(1)->Text, "b");
  EXPECT_EQ(list_.ClipboardItem(2)->Text, "a");
  EXPECT_EQ(list_.ClipboardItem(3), nullptr);
  EXPECT_EQ(list_.ClipboardItem(-1), nullptr);
  for (int i = 0; i < 200; ++i) list_.CopyEntry(3);
  EXPECT_EQ(list_.ClipboardCount(), 203);
  EXPECT_EQ(list_.ClipboardItem(202)->Text, "a");

  // A copy is a copy: changing the entry later leaves it alone.
  list_.ToggleChecked(0);
  EXPECT_FALSE(list_.ClipboardItem(202)->IsChecked());

  list_.CutEntry(1);
  EXPECT_EQ(list_.ClipboardItem(0)->Text, "b");
  EXPECT_FALSE(list_.ClipboardItem(0)->IsDeleted());
  EXPECT_TRUE(list_.Entry(1)->IsDeleted());
}

TEST_F(EditingTest, Paste) {
  EXPECT_EQ(list_.PasteEntry(0, TDateRec{2024, 8, 8}), std::nullopt);  // nothing copied yet
  EXPECT_EQ(list_.Count(), 4);
  list_.CopyEntry(0);  // a, 1/1
  list_.CopyEntry(1);  // b, 1/2: the newest

  struct Case {
    const char* what;
    int32_t index;
    std::optional<TDateRec> date;
    std::optional<int32_t> added;
    const char* text;  // of the entry added, or null for none
    TDateRec first_date;
  } const cases[] = {
      {"the newest to a day", 0, TDateRec{2024, 8, 8}, 4, "b", {2024, 8, 8}},
      {"a negative index counts as 0", -3, TDateRec{2024, 8, 9}, 5, "b", {2024, 8, 9}},
      {"without a day the copy keeps its dates", 1, std::nullopt, 6, "a", {0, 1, 1}},
      {"past the end nothing", 2, TDateRec{2024, 8, 8}, std::nullopt, nullptr, {}},
  };
  for (const Case& c : cases) {
    const int32_t count = list_.Count();
    const std::optional<int32_t> added = list_.PasteEntry(c.index, c.date);
    EXPECT_EQ(added, c.added) << c.what;
    if (c.text == nullptr) {
      EXPECT_EQ(list_.Count(), count) << c.what;
      continue;
    }
    ASSERT_EQ(list_.Count(), count + 1) << c.what;
    EXPECT_EQ(list_.Entry(*added)->Text, c.text) << c.what;
    EXPECT_EQ(list_.Entry(*added)->FirstDate(), c.first_date) << c.what;
  }
  EXPECT_EQ(list_.ClipboardCount(), 2);  // pasting takes nothing out
  ASSERT_EQ(list_.UndoHistory().Count(), 3);
  EXPECT_EQ(RecordedTask(2), "add a");
  list_.UndoHistory().Undo();
  EXPECT_TRUE(list_.Entry(6)->IsDeleted());
  list_.UndoHistory().Redo();
  EXPECT_FALSE(list_.Entry(6)->IsDeleted());
}

TEST_F(EditingTest, PasteTakesTheFilesCurrentDefaults) {
  const std::vector<std::string> names{folder_.WriteCp932("d.nrk", "1/1 a\n=F:\n")};
  list_.LoadFiles(names);
  ASSERT_EQ(list_.Entry(0)->Category, 2);  // read before the default line
  list_.CopyEntry(0);
  ASSERT_EQ(list_.PasteEntry(0, TDateRec{2024, 8, 8}), 1);
  EXPECT_EQ(list_.Entry(1)->Category, 5);
}

TEST_F(EditingTest, ACopyOfAFileNoLongerLoadedIsNotPasted) {
  list_.CopyEntry(3);  // of r.nrk, file 1
  list_.CopyEntry(0);  // of w.nrk, file 0
  const std::vector<std::string> names{writable_};
  list_.LoadFiles(names);
  notices_.Clear();
  EXPECT_EQ(list_.PasteEntry(1, TDateRec{2024, 8, 8}), std::nullopt);
  EXPECT_EQ(list_.Count(), 3);
  EXPECT_TRUE(notices_.events.empty());
  EXPECT_EQ(list_.ClipboardCount(), 2);
  // A copy whose file is still there pastes as usual.
  EXPECT_EQ(list_.PasteEntry(0, TDateRec{2024, 8, 8}), 3);
}

TEST_F(EditingTest, Add) {
  EXPECT_EQ(list_.AddEntry(0, MakeEntry("2/1 front")), 0);
  EXPECT_EQ(list_.AddEntry(-1, MakeEntry("2/2 back")), 5);
  EXPECT_EQ(list_.AddEntry(2, MakeEntry("2/3 middle")), 2);
  EXPECT_EQ(Summaries(list_), (std::vector<std::string>{"0:0 front", "0:1 a", "0:0 middle", "0:2 b",
                                                        "0:3 c", "1:1 r", "0:0 back"}));
  ASSERT_EQ(list_.UndoHistory().Count(), 3);
  // Each add task names its own entry, even after later insertions before it.
  EXPECT_EQ(RecordedTask(0), "add front");
  EXPECT_EQ(RecordedTask(1), "add back");
  EXPECT_EQ(RecordedTask(2), "add middle");
  list_.UndoHistory().UndoSteps(3);
  for (const int32_t position : {0, 2, 6}) EXPECT_TRUE(list_.Entry(position)->IsDeleted());
  for (const int32_t position : {1, 3, 4, 5}) EXPECT_FALSE(list_.Entry(position)->IsDeleted());
}

TEST_F(EditingTest, AddedBirthdayEntry) {
  const int32_t position = list_.AddEntry(1, MakeEntry("1950/3/10~2020/5/5 太郎 &o(%b2)"));
  EXPECT_EQ(position, 1);  // where the first derived entry now stands
  ASSERT_EQ(list_.Count(), 10);
  EXPECT_EQ(list_.Entry(1)->Parent, list_.Entry(6));
  EXPECT_EQ(RecordedTask(0), "add 太郎");

  // Undoing the addition takes the derived entries away with the entry; redoing brings
  // them back.
  list_.UndoHistory().Undo();
  EXPECT_EQ(Summaries(list_),
            (std::vector<std::string>{"0:1 a", "0:0 太郎", "0:2 b", "0:3 c", "1:1 r"}));
  EXPECT_TRUE(list_.Entry(1)->IsDeleted());
  list_.UndoHistory().Redo();
  ASSERT_EQ(list_.Count(), 10);
  EXPECT_FALSE(list_.Entry(6)->IsDeleted());
  for (int32_t i = 1; i < 6; ++i) {
    EXPECT_EQ(list_.Entry(i)->Parent, list_.Entry(6)) << i;
    EXPECT_FALSE(list_.Entry(i)->IsDeleted()) << i;
  }
}

TEST_F(EditingTest, DeletedBirthdayEntry) {
  ASSERT_EQ(list_.AddEntry(-1, MakeEntry("1950/3/10~2020/5/5 太郎 &o(%b2)")), 4);
  ASSERT_EQ(list_.Count(), 10);
  list_.DeleteEntry(9);
  EXPECT_EQ(list_.Count(), 5);
  EXPECT_TRUE(list_.Entry(4)->IsDeleted());
  list_.UndoHistory().Undo();
  ASSERT_EQ(list_.Count(), 10);
  EXPECT_FALSE(list_.Entry(9)->IsDeleted());
  EXPECT_EQ(list_.Entry(4)->Parent, list_.Entry(9));
  list_.UndoHistory().Redo();
  EXPECT_EQ(list_.Count(), 5);
  EXPECT_TRUE(list_.Entry(4)->IsDeleted());
}

// The undo history names entries by position; derived entries come and go with every
// change of their parent, so the positions after them move.
TEST_F(EntryListTest, TasksKeepTheirEntriesWhileDerivedEntriesComeAndGo) {
  struct Case {
    const char* what;
    const char* edited;
    int32_t derived;  // how many the edited entry has
  } const cases[] = {
      {"as many derived entries", "1950/3/10~2020/5/6 太郎2 &o(%b2)", 5},
      {"no birth year: one fewer", "9999/3/10~2020/5/5 太郎2 &o(%b2)", 4},
      {"no code: none", "1950/3/10~2020/5/5 太郎2", 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadText("b.nrk", "1950/3/10~2020/5/5 太郎 &o(%b2)\n1/2 Y\n1/3 Z\n"));
    ASSERT_EQ(list_.Count(), 8);
    TUndoHistory& undo = list_.UndoHistory();
    list_.ToggleChecked(6);  // Y, after the birthday entry
    TEntry edited;
    ASSERT_FALSE(edited.ParseLine(c.edited, {.Today = kToday}).Failed());
    list_.EditEntry(5, &edited);
    const int32_t parent = c.derived;
    ASSERT_EQ(list_.Count(), c.derived + 3) << c.what;
    EXPECT_EQ(list_.Entry(parent)->Text, "太郎2") << c.what;
    EXPECT_EQ(list_.Entry(parent + 1)->Text, "Y") << c.what;
    EXPECT_EQ(undo.Task(0)->Position(), parent + 1) << c.what;
    EXPECT_EQ(undo.Task(1)->Position(), parent) << c.what;

    undo.Undo();  // the edit
    ASSERT_EQ(list_.Count(), 8) << c.what;
    EXPECT_EQ(list_.Entry(5)->Text, "太郎") << c.what;
    EXPECT_EQ(list_.Entry(5)->Annotation, "%b2") << c.what;
    EXPECT_EQ(list_.Entry(0)->Parent, list_.Entry(5)) << c.what;
    EXPECT_TRUE(list_.Entry(6)->IsChecked()) << c.what;

    undo.Redo();
    ASSERT_EQ(list_.Count(), c.derived + 3) << c.what;
    EXPECT_EQ(list_.Entry(parent)->Text, "太郎2") << c.what;
    EXPECT_TRUE(list_.Entry(parent + 1)->IsChecked()) << c.what;

    undo.UndoSteps(2);  // the edit, then Y's check
    ASSERT_EQ(list_.Count(), 8) << c.what;
    EXPECT_EQ(list_.Entry(5)->Text, "太郎") << c.what;
    for (int32_t i = 0; i < 8; ++i) EXPECT_FALSE(list_.Entry(i)->IsChecked()) << c.what << i;
    EXPECT_EQ(list_.Entry(6)->Text, "Y") << c.what;
    EXPECT_EQ(list_.Entry(7)->Text, "Z") << c.what;

    undo.RedoSteps(2);
    EXPECT_EQ(list_.Entry(parent)->Text, "太郎2") << c.what;
    EXPECT_TRUE(list_.Entry(parent + 1)->IsChecked()) << c.what;
    EXPECT_FALSE(list_.Entry(parent + 2)->IsChecked()) << c.what;
  }
}

TEST_F(EntryListTest, ATaskOfARemovedDerivedEntryDoesNothing) {
  ASSERT_TRUE(LoadText("b.nrk", "1950/3/10~2020/5/5 太郎 &o(%b2)\n1/2 Y\n"));
  TUndoHistory& undo = list_.UndoHistory();
  TEntry changed;
  changed.Assign(list_.Entry(2));
  changed.Text = "changed";
  list_.EditEntry(2, &changed);  // a derived entry edited by itself
  TEntry edited;
  ASSERT_FALSE(edited.ParseLine("1950/3/10~2020/5/5 太郎", {.Today = kToday}).Failed());
  list_.EditEntry(5, &edited);  // the derived entries go
  ASSERT_EQ(list_.Count(), 2);
  EXPECT_EQ(undo.Task(0)->Position(), kNoPosition);

  undo.Undo();  // the parent comes back with fresh derived entries
  ASSERT_EQ(list_.Count(), 7);
  undo.Undo();  // the detached task: nothing
  undo.Redo();  // nothing either: the fresh entry is not the one that was edited
  ASSERT_EQ(list_.Count(), 7);
  for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(list_.Entry(i)->Text, "太郎") << i;
  EXPECT_EQ(list_.Entry(6)->Text, "Y");
  EXPECT_EQ(undo.Task(0)->Position(), kNoPosition);  // still detached
}

TEST_F(EntryListTest, DataFilesAreNeverTouched) {
  const std::string writable = folder_.WriteCp932(
      "w.nrk", "=B:\n1/1 a\n%\nnote\n%\n@1/2 b\n1950/3/10~2020/5/5 太郎 &o(%b2)\n1/3\n");
  const std::string read_only = folder_.WriteCp932("r.nrk", "1/4 r\n1/5 s\n");
  ASSERT_EQ(chmod(read_only.c_str(), 0444), 0);
  folder_.WriteBytes("other.txt", "not a data file");
  const auto before = test::Snapshot(folder_.path());

  const std::vector<std::string> names{writable, read_only, folder_.File("none.nrk")};
  list_.LoadFiles(names);
  EXPECT_EQ(test::Snapshot(folder_.path()), before) << "after loading";
  ASSERT_EQ(list_.Count(), 11);

  const int32_t last = list_.Count() - 1;  // an entry of the read-only file
  TEntry edited;
  ASSERT_FALSE(edited.ParseLine("2/2 edited", {.Today = kToday}).Failed());
  for (const int32_t p : {0, 2, 8, 9, last}) {
    list_.EditEntry(p, &edited);
    list_.ToggleChecked(p);
    list_.MoveEntry(p, {2024, 9, 1});
    (void)list_.CopyEntryTo(p, {2024, 9, 2});
    list_.CopyEntry(p);
    list_.CutEntry(p);
    list_.DeleteEntry(p);
    list_.ExpandLifeEvents(p);
    list_.RemoveDerived(p);
  }
  for (int32_t k = 0; k < list_.ClipboardCount(); k += 3) {
    (void)list_.PasteEntry(k, TDateRec{2024, 9, 3});
  }
  list_.AddEntry(0, std::make_unique<TEntry>());
  EXPECT_EQ(test::Snapshot(folder_.path()), before) << "after editing";
  list_.UndoHistory().UndoSteps(list_.UndoHistory().Count());
  EXPECT_EQ(test::Snapshot(folder_.path()), before) << "after undoing";
  list_.UndoHistory().RedoSteps(list_.UndoHistory().Count());
  EXPECT_EQ(test::Snapshot(folder_.path()), before) << "after redoing";
  list_.LoadFiles(names);
  list_.Clear();
  EXPECT_EQ(test::Snapshot(folder_.path()), before) << "after reloading";
}

}  // namespace
}  // namespace pelo
