#include "schedule/IniFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace pelo {
namespace {

using namespace std::string_literals;

struct TStringCase {
  const char* what;
  std::string text;
  const char* section;
  const char* key;
  std::string expected;  // what ReadString gives with the default "<none>"
};

TEST(IniFileTest, ReadString) {
  const TStringCase cases[] = {
      {"plain", "[Page]\nKey=value\n", "Page", "Key", "value"},
      {"section and key in any case", "[NerikaPage1]\nScheduleCycle=7\n", "nerikapage1",
       "SCHEDULECYCLE", "7"},
      {"blanks around everything", "  [  Page  ]  \n \t Key \t =  some value \t\n", "Page", "Key",
       "some value"},
      {"names asked with blanks", "[Page]\nKey=v\n", " Page ", " Key ", "v"},
      {"wrapping quotes taken off", "[Page]\nKey=\"  quoted , text  \"\n", "Page", "Key",
       "  quoted , text  "},
      {"a quote at one end only stays", "[Page]\nKey=\"open\n", "Page", "Key", "\"open"},
      {"inner quotes stay", "[Page]\nKey=a \"b\" c\n", "Page", "Key", "a \"b\" c"},
      {"one quote alone stays", "[Page]\nKey=\"\n", "Page", "Key", "\""},
      {"two quotes give an empty value", "[Page]\nKey=\"\"\n", "Page", "Key", ""},
      {"empty value is a value", "[Page]\nKey=\n", "Page", "Key", ""},
      {"value holding =", "[Page]\nKey=a=b==c\n", "Page", "Key", "a=b==c"},
      {"first key wins", "[Page]\nKey=first\nkey=second\n", "Page", "Key", "first"},
      {"first section wins", "[Page]\nA=1\n[Other]\nKey=x\n[PAGE]\nKey=later\n", "Page", "Key",
       "<none>"},
      {"later duplicate keys ignored", "[Page]\nKey=1\n[page]\nKey=2\n", "Page", "Key", "1"},
      {"key of another section", "[Page]\nA=1\n[Other]\nKey=x\n", "Page", "Key", "<none>"},
      {"keys before any header belong nowhere", "Key=x\n[Page]\nA=1\n", "Page", "Key", "<none>"},
      {"comment line", "[Page]\n;Key=commented\nKey=real\n", "Page", "Key", "real"},
      {"indented comment", "[Page]\n   ; Key=commented\n", "Page", "Key", "<none>"},
      {"a ; inside a value is text", "[Page]\nKey=a;b\n", "Page", "Key", "a;b"},
      {"line without = ignored", "[Page]\nKey\nKey=v\n", "Page", "Key", "v"},
      {"empty key ignored", "[Page]\n=v\n", "Page", "", "<none>"},
      {"CR LF", "[Page]\r\nA=1\r\nKey=crlf\r\n", "Page", "Key", "crlf"},
      {"CR alone", "[Page]\rA=1\rKey=cr\r", "Page", "Key", "cr"},
      {"mixed line ends", "[Page]\r\nA=1\rB=2\nKey=mixed", "Page", "Key", "mixed"},
      {"last line without line end", "[Page]\nKey=last", "Page", "Key", "last"},
      {"header without ]", "[Page\nKey=v\n", "Page", "Key", "v"},
      {"text after ] ignored", "[Page] trailing\nKey=v\n", "Page", "Key", "v"},
      {"section names match whole", "[Page1]\nKey=v\n", "Page", "Key", "<none>"},
      {"NUL inside a line is kept", "[Page]\nKey=a\0b\n"s, "Page", "Key", "a\0b"s},
      {"NUL at the end is trimmed, later lines read", "[Page]\nA=1\0\nKey=after\n"s, "Page", "Key",
       "after"},
      {"Japanese value", "[Page]\nFont=ＭＳ 明朝,Bold\n", "Page", "font", "ＭＳ 明朝,Bold"},
      {"Japanese section", "[ページ]\nKey=v\n", "ページ", "Key", "v"},
      {"full-width space is not trimmed", "[Page]\nKey=\u3000v\u3000\n", "Page", "Key",
       "\u3000v\u3000"},
      {"missing key", "[Page]\nA=1\n", "Page", "Key", "<none>"},
      {"missing section", "", "Page", "Key", "<none>"},
  };
  for (const TStringCase& c : cases) {
    const TIniFile ini = TIniFile::FromText(c.text);
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<none>"), c.expected) << c.what;
  }
}

TEST(IniFileTest, RawStringKeepsWrappingQuotes) {
  const TIniFile ini = TIniFile::FromText("[P]\nA= \"0,1\",@,\"2,3\" \nB=plain\n");
  EXPECT_EQ(ini.ReadRawString("P", "A", "x"), "\"0,1\",@,\"2,3\"");
  EXPECT_EQ(ini.ReadString("P", "A", "x"), "0,1\",@,\"2,3");
  EXPECT_EQ(ini.ReadRawString("P", "B", "x"), "plain");
  EXPECT_EQ(ini.ReadRawString("P", "C", "x"), "x");
}

TEST(IniFileTest, ReadInteger) {
  struct TCase {
    const char* value;  // nullptr: the key is missing
    int32_t expected;   // the default is -99
  };
  const TCase cases[] = {
      {"12", 12},
      {"-5", -5},
      {"+7", 7},
      {"  42  ", 42},
      {"0", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", -99},
      {"\"15\"", 15},
      {"0x1F", 31},
      {"0X1f", 31},
      {"0x00FF0000", 16711680},
      {"0xFFFFFFFF", -1},
      {"0x", -99},
      {"0x123456789", -99},
      {"0x1G", -99},
      {"-0x1F", -99},
      {"$1F", -99},
      {"12abc", -99},
      {"1.5", -99},
      {"1 2", -99},
      {"", -99},
      {"abc", -99},
      {"１２", -99},
      {nullptr, -99},
  };
  for (const TCase& c : cases) {
    const std::string text =
        c.value != nullptr ? "[P]\nKey=" + std::string(c.value) + "\n" : "[P]\nOther=1\n";
    EXPECT_EQ(TIniFile::FromText(text).ReadInteger("p", "key", -99), c.expected)
        << (c.value != nullptr ? c.value : "(missing)");
  }
}

TEST(IniFileTest, ReadBool) {
  struct TCase {
    const char* value;
    bool default_value;
    bool expected;
  };
  const TCase cases[] = {
      {"0", true, false},   {"1", false, true},    {"-1", false, true},     {"2", false, true},
      {"0x0", true, false}, {"yes", true, true},   {"yes", false, false},   {"true", false, false},
      {"", true, true},     {nullptr, true, true}, {nullptr, false, false},
  };
  for (const TCase& c : cases) {
    const std::string text =
        c.value != nullptr ? "[P]\nFlag=" + std::string(c.value) + "\n" : "[P]\n";
    EXPECT_EQ(TIniFile::FromText(text).ReadBool("P", "Flag", c.default_value), c.expected)
        << (c.value != nullptr ? c.value : "(missing)") << " default " << c.default_value;
  }
}

TEST(IniFileTest, SectionAndKeyExist) {
  const TIniFile ini = TIniFile::FromText("[Empty]\n[ Page ]\nA=1\nb=\n;C=3\n;[Commented]\n");
  EXPECT_TRUE(ini.SectionExists("Empty"));
  EXPECT_TRUE(ini.SectionExists("PAGE"));
  EXPECT_FALSE(ini.SectionExists("Commented"));
  EXPECT_FALSE(ini.SectionExists("Pag"));
  EXPECT_FALSE(TIniFile().SectionExists("Page"));
  EXPECT_TRUE(ini.KeyExists("page", "a"));
  EXPECT_TRUE(ini.KeyExists("Page", "B"));  // an empty value is a value
  EXPECT_FALSE(ini.KeyExists("Page", "C"));
  EXPECT_FALSE(ini.KeyExists("Empty", "A"));
}

TEST(IniFileTest, DecodesShiftJisBeforeSplitting) {
  // "ソ" is 83 5C and "ゾ" 83 5D in Shift-JIS: their second bytes are "\" and "]", which
  // must not end the section name.
  const std::string bytes =
      "[\x83\x5D\x83\x5C]\r\n"
      "CalendarsFont1=\x82\x6C\x82\x72 \x96\xBE\x92\xA9,Bold\r\n"
      "Kana=\xC3\xBD\xC4\r\n"
      "Broken=a\x81\r\n";
  const TIniFile ini = TIniFile::FromBytes(bytes);
  EXPECT_TRUE(ini.SectionExists("ゾソ"));
  EXPECT_EQ(ini.ReadString("ゾソ", "CalendarsFont1", ""), "ＭＳ 明朝,Bold");
  EXPECT_EQ(ini.ReadString("ゾソ", "Kana", ""), "ﾃｽﾄ");
  EXPECT_EQ(ini.ReadString("ゾソ", "Broken", ""), "a\uFFFD");
}

// A page file written by a Linux editor: UTF-8, with or without its byte-order mark.
TEST(IniFileTest, ReadsUtf8) {
  const std::string text =
      "[NerikaPage1]\r\nPageName=全部の予定\r\nScheduleFont0=ＭＳ 明朝,Bold\r\nKana=ﾃｽﾄ\r\n";
  for (const std::string& bytes : {text, "\xEF\xBB\xBF" + text}) {
    const TIniFile ini = TIniFile::FromBytes(bytes);
    EXPECT_TRUE(ini.SectionExists("NerikaPage1")) << bytes.size();
    EXPECT_EQ(ini.ReadString("NerikaPage1", "PageName", ""), "全部の予定");
    EXPECT_EQ(ini.ReadString("NerikaPage1", "ScheduleFont0", ""), "ＭＳ 明朝,Bold");
    EXPECT_EQ(ini.ReadString("NerikaPage1", "Kana", ""), "ﾃｽﾄ");
  }
}

class IniFileOnDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        ("pelo-ini-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  std::filesystem::path folder_;
};

TEST_F(IniFileOnDiskTest, ReadsAShiftJisFile) {
  const TIniFile ini(Write("page.npg",
                           "[NerikaPage1]\r\nPageName=Test\r\nScheduleFont0=\x82\x6C\x82\x72 "
                           "\x96\xBE\x92\xA9,Bold\r\nScheduleCycle=31\r\n"));
  EXPECT_EQ(ini.ReadString("NerikaPage1", "PageName", ""), "Test");
  EXPECT_EQ(ini.ReadString("NerikaPage1", "ScheduleFont0", ""), "ＭＳ 明朝,Bold");
  EXPECT_EQ(ini.ReadInteger("NerikaPage1", "ScheduleCycle", 7), 31);
}

TEST_F(IniFileOnDiskTest, WhatCannotBeReadIsEmpty) {
  const std::filesystem::path missing = folder_ / "missing.npg";
  const std::filesystem::path inputs[] = {missing, folder_, "/dev/zero", ""};
  for (const std::filesystem::path& path : inputs) {
    const TIniFile ini(path);
    EXPECT_FALSE(ini.SectionExists("NerikaPage1")) << path;
    EXPECT_EQ(ini.ReadInteger("NerikaPage1", "ScheduleCycle", 7), 7) << path;
  }
}

TEST_F(IniFileOnDiskTest, OversizedFileReadsAsEmpty) {
  const std::string head = "[P]\nKey=1\n";
  std::string bytes = head + std::string(TIniFile::kMaxFileSize - head.size(), ';');
  EXPECT_EQ(TIniFile(Write("limit.npg", bytes)).ReadInteger("P", "Key", 0), 1);
  bytes.push_back(';');
  TFileReadStatus status = TFileReadStatus::kRead;
  EXPECT_EQ(TIniFile::Read(Write("over.npg", bytes), status).ReadInteger("P", "Key", 0), 0);
  EXPECT_EQ(status, TFileReadStatus::kTooLarge);
}

TEST_F(IniFileOnDiskTest, BinaryFileDoesNotStopTheReading) {
  // Every byte value, many times over, in a fixed scrambled order, with a page in between.
  std::string bytes;
  uint32_t state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    bytes.push_back(static_cast<char>(state >> 24));
  }
  bytes += "\n[NerikaPage1]\nKey=found\n";
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  const TIniFile ini(Write("binary.npg", bytes));
  EXPECT_EQ(ini.ReadString("NerikaPage1", "Key", ""), "found");
}

}  // namespace
}  // namespace pelo
