// The desktop entry and the file-type description: checked by the desktop's own tools where
// they are installed, and against each other.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "RunProcess.h"

namespace pelo {
namespace {

namespace fs = std::filesystem;
using test::FindProgram;

const std::string kSource = PELO_SOURCE_DIR;
const std::string kDesktopFile = kSource + "/desktop/pelo.desktop";
const std::string kMimeFile = kSource + "/desktop/pelo-mime.xml";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> items;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, separator)) {
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

// Key=value lines of the [Desktop Entry] group.
std::string DesktopValue(const std::string& key) {
  for (const std::string& line : Split(ReadAll(kDesktopFile), '\n')) {
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return {};
}

TEST(DesktopFilesTest, DesktopEntryPassesTheValidator) {
  const std::string validator = FindProgram("desktop-file-validate");
  if (validator.empty()) GTEST_SKIP() << "desktop-file-validate is not installed";
  const test::ProcessResult result = test::RunProcess(validator, {kDesktopFile});
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  // Warnings and hints count too.
  EXPECT_EQ(result.out + result.err, "");
}

TEST(DesktopFilesTest, MimeDescriptionIsWellFormed) {
  const std::string lint = FindProgram("xmllint");
  if (lint.empty()) GTEST_SKIP() << "xmllint is not installed";
  const test::ProcessResult result = test::RunProcess(lint, {"--noout", kMimeFile});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.err, "");
}

TEST(DesktopFilesTest, MimeDatabaseLearnsOurGlobs) {
  const std::string updater = FindProgram("update-mime-database");
  if (updater.empty()) GTEST_SKIP() << "update-mime-database is not installed";
  char pattern[] = "/tmp/pelo-mime-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path folder(pattern);
  fs::create_directories(folder / "packages");
  fs::copy_file(kMimeFile, folder / "packages" / "pelo-mime.xml");
  const test::ProcessResult result = test::RunProcess(updater, {folder.string()});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  std::set<std::string> globs;
  for (const std::string& line : Split(ReadAll((folder / "globs2").string()), '\n')) {
    if (line[0] != '#') globs.insert(line);
  }
  fs::remove_all(folder);
  EXPECT_EQ(globs, (std::set<std::string>{"50:application/x-nerika-data:*.nrk",
                                          "50:application/x-nerika-page:*.npg"}));
}

TEST(DesktopFilesTest, EntryAndDescriptionAgree) {
  // Every type the entry opens is described, and nothing else.
  const std::string xml = ReadAll(kMimeFile);
  std::set<std::string> described;
  const std::string opening = "<mime-type type=\"";
  for (std::size_t at = xml.find(opening); at != std::string::npos;
       at = xml.find(opening, at + 1)) {
    const std::size_t begin = at + opening.size();
    described.insert(xml.substr(begin, xml.find('"', begin) - begin));
  }
  const std::vector<std::string> opened = Split(DesktopValue("MimeType"), ';');
  EXPECT_EQ(std::set<std::string>(opened.begin(), opened.end()), described);
  EXPECT_EQ(described.size(), 2u);

  // The icon it names is the one installed as pelo.svg, and the command takes files.
  EXPECT_EQ(DesktopValue("Icon"), "pelo");
  EXPECT_TRUE(fs::exists(kSource + "/src/gui/app/resources/pelo.svg"));
  EXPECT_EQ(DesktopValue("Exec"), "pelo %F");
  EXPECT_EQ(DesktopValue("Name[ja]"), "ぺろん");
}

}  // namespace
}  // namespace pelo
