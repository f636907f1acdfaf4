// Whatever a data file holds, loading it and building the day table over four years ends, and
// ends without a crash: binary files, bytes that are no CP932, one line of five megabytes (as
// a plain text, on every day, full of codes, with a huge annotation) and a hundred thousand
// lines. Nothing here measures time; the tests only have to finish.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "calendar/Calendars.h"
#include "datafiles/EntryLists.h"
#include "entries/AnnotationCodes.h"
#include "entries/Entries.h"
#include "schedule/DayTables.h"
#include "text/Texts.h"

namespace pelo {
namespace {

using test::RecordingNotices;
using test::TempFolder;

constexpr std::size_t kFiveMegabytes = 5u * 1024u * 1024u;

class DayTableRobustness : public testing::Test {
 protected:
  // Loads the bytes as a data file, builds the packs and fills every cell; returns the number
  // of lines filed.
  int64_t LoadAndFill(std::string_view bytes) {
    const std::vector<std::string> names{folder_.WriteBytes("data.nrk", bytes)};
    list_.LoadFiles(names);
    list_.SetTable(calendar_, 2023, TDayTable::kYearCount);
    TFilterSet everything;  // no restriction: every pack is filed
    table_.SetFilter(everything);
    table_.Fill(&list_.DatePacks());
    int64_t lines = 0;
    for (TDateRec day{2023, 1, 1}; day.Year <= 2026; day = AddDays(day, 1)) {
      const TCellLineList* cell = table_.Cell(day);
      if (cell == nullptr) {
        ADD_FAILURE() << "no cell";
        return lines;
      }
      for (int32_t i = 0; i < cell->Count(); ++i) {
        // No line of a cell is longer than the limit, and it is still whole characters.
        EXPECT_LE(SjisWidth(cell->Text(i)), kMaxLineTextWidth);
        ++lines;
      }
    }
    return lines;
  }

  TempFolder folder_;
  RecordingNotices notices_;
  TCalendar calendar_{{2024, 5, 10}};
  TEntryList list_{notices_, calendar_.Today()};
  TDayTable table_{2023};
};

// Bytes of every value from a fixed generator.
std::string Noise(std::size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  return bytes;
}

TEST_F(DayTableRobustness, BinaryFiles) {
  std::string no_nul = Noise(1 << 18, 7);
  for (char& c : no_nul) {
    if (c == '\0') c = '\n';
  }
  LoadAndFill(Noise(1 << 18, 1));
  LoadAndFill(no_nul);
  EXPECT_GT(list_.Count(), 1000);
  // Noise made of the characters of the date language is the harder kind.
  const std::string alphabet = "0123456789/~^+-_<>*[]?,&!adcfoxHDPSAUMTWEFR%bvqkz:() @#;\r\n";
  std::string language(1 << 18, ' ');
  uint32_t seed = 99;
  for (char& c : language) {
    seed = seed * 1103515245u + 12345u;
    c = alphabet[(seed >> 16) % alphabet.size()];
  }
  LoadAndFill(language);
  EXPECT_GT(list_.Count(), 1000);
}

TEST_F(DayTableRobustness, BytesThatAreNoCp932) {
  std::string text;
  for (int i = 0; i < 2000; ++i) {
    text += "1/" + std::to_string(i % 28 + 1) + " \x81\xFF\x82\x0A\xFE\xFD\xA0\x80" + "\x81" +
            (i % 2 == 0 ? "\r\n" : "\n") + "\x85\x40 x\r";
  }
  const int64_t lines = LoadAndFill(text);
  EXPECT_GT(lines, 0);
}

TEST_F(DayTableRobustness, AFiveMegabyteLine) {
  const std::string plain(kFiveMegabytes, 'a');
  std::string kanji;
  while (kanji.size() < kFiveMegabytes) kanji += "\x8A\xBF";  // 漢 in CP932
  std::string codes;
  while (codes.size() < kFiveMegabytes) codes += "%u%w%h%b";
  const std::string stars(kFiveMegabytes / 2, '*');
  const struct {
    const char* name;
    std::string line;
    int64_t lines;
  } cases[] = {
      {"once a year", "1/1 " + plain, 4},
      {"kanji once a year", "1/1 " + kanji, 4},
      {"every day", "0 " + plain, 1461},
      {"codes on every day of a month", "2024/5/1~2024/5/31 " + codes, 31},
      {"a code string of stars",
       "1/1 " + plain.substr(0, kFiveMegabytes / 2) + " &o(" + stars + ")", 4},
      {"no line end, no text", "1/1" + std::string(kFiveMegabytes, ' '), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LoadAndFill(c.line), c.lines) << c.name;
  }
}

TEST_F(DayTableRobustness, LongLinesAreCutBetweenCharacters) {
  std::string kanji;  // 20000 characters, 40000 bytes of Shift-JIS
  for (int i = 0; i < 20000; ++i) kanji += "漢";
  std::string cut_kanji;  // 16384 bytes of Shift-JIS
  for (int i = 0; i < kMaxLineTextWidth / 2; ++i) cut_kanji += "漢";
  const std::string ascii(40000, 'a');
  const struct {
    std::string line;
    std::string shown;
  } cases[] = {
      {"2024/1/1 " + kanji, cut_kanji},
      // One byte of room left after "a": no half character.
      {"2024/1/1 a" + kanji, "a" + cut_kanji.substr(0, cut_kanji.size() - 3)},
      {"2024/1/1 " + ascii, ascii.substr(0, kMaxLineTextWidth)},
      {"2024/1/1 10:00 " + ascii, "10:00 " + ascii.substr(0, kMaxLineTextWidth - 6)},
      // The text is cut before its codes are read: "%n" takes one byte more than "0".
      {"2024/1/1 %n年目 " + ascii, "0年目 " + ascii.substr(0, kMaxLineTextWidth - 7)},
      {"2024/1/1 ab &o(***)", "ababab"},
      {"2024/1/1 ab &o(" + std::string(40000, '*') + ")",
       [] {
         std::string ab;
         while (ab.size() < static_cast<std::size_t>(kMaxLineTextWidth)) ab += "ab";
         return ab;
       }()},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(LoadAndFill(EncodeCp932(c.line)), 1);
    EXPECT_EQ(table_.Cell({2024, 1, 1})->Text(0), c.shown) << c.line.substr(0, 20);
  }
}

TEST_F(DayTableRobustness, AHundredThousandLines) {
  // Every kind of date the language has, over and over (mostly once a year, so that the
  // table stays at some hundred thousand lines).
  const char* const kinds[] = {
      "2024/%d/1 単発",
      "%d/15 毎年",
      "2024/%d/25 毎月 &&<(SA,SU,HD)",
      "%d/MO%d 第n月曜",
      "2024/%d/WE 月の水曜",
      "2024/3/%d~2024/3/14 期間",
      "%d/1 条件 &&>(HD,SA,SU)",
      "5/%d 由来 &d(-3,+3)",
      "@2024/6/%d 私休",
      "PH 私休の日",
      "1/%d~1/%d 毎年の期間 %s",
      "1985^/%d/3 誕生日%b",
  };
  std::string text;
  for (int i = 1; i <= 100000; ++i) {
    std::string line = kinds[i % std::size(kinds)];
    const std::string n = std::to_string(i % 12 + 1);
    for (std::size_t at; (at = line.find("%d")) != std::string::npos;) line.replace(at, 2, n);
    text += line;
    text += i % 3 == 0 ? "\r\n" : "\n";
  }
  const int64_t lines = LoadAndFill(EncodeCp932(text));
  EXPECT_EQ(list_.Count(), 100000);
  EXPECT_GT(lines, 100000);
}

}  // namespace
}  // namespace pelo
