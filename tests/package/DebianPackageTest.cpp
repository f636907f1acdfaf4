// The Debian package as `cpack -G DEB` makes it from this build, read back with dpkg-deb: the
// files a desktop program installs and nothing else, and control fields that let apt install
// it with what it needs; and the manual pages it carries render without a warning.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "RunProcess.h"

namespace pelo {
namespace {

namespace fs = std::filesystem;
using test::FindProgram;
using test::RunProcess;

const std::string kSource = PELO_SOURCE_DIR;

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

class DebianPackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dpkg_deb_ = FindProgram("dpkg-deb");
    if (dpkg_deb_.empty() || FindProgram("dpkg-shlibdeps").empty()) {
      GTEST_SKIP() << "the Debian packaging tools (dpkg-dev) are not installed";
    }
    char pattern[] = "/tmp/pelo-deb-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    const test::ProcessResult made =
        RunProcess(PELO_CPACK, {"-G", "DEB", "--config", PELO_CPACK_CONFIG, "-B", folder_});
    ASSERT_EQ(made.exit_code, 0) << made.out << made.err;
    arch_ = Trimmed(RunProcess(FindProgram("dpkg"), {"--print-architecture"}).out);
    deb_ = (fs::path(folder_) / ("pelo_" + std::string(PELO_VERSION) + "-1_" + arch_ + ".deb"))
               .string();
    ASSERT_TRUE(fs::exists(deb_)) << deb_;
  }

  void TearDown() override {
    if (!folder_.empty()) fs::remove_all(folder_);
  }

  std::string Field(const std::string& name) const {
    return Trimmed(RunProcess(dpkg_deb_, {"-f", deb_, name}).out);
  }

  std::string dpkg_deb_;
  std::string folder_;
  std::string arch_;
  std::string deb_;
};

TEST_F(DebianPackageTest, HoldsTheProgramsAndTheirDesktopFiles) {
  const test::ProcessResult listed = RunProcess(dpkg_deb_, {"-c", deb_});
  ASSERT_EQ(listed.exit_code, 0) << listed.err;
  // "-rwxr-xr-x root/root 506328 2026-12-07 12:27 ./usr/bin/pelo": the files and their modes.
  std::map<std::string, std::string> files;
  std::istringstream lines(listed.out);
  std::string mode, owner, size, day, time, path;
  while (lines >> mode >> owner >> size >> day >> time >> path) {
    EXPECT_EQ(owner, "root/root") << path;
    if (mode[0] != 'd') files[path] = mode;
  }
  const std::string program = "-rwxr-xr-x";
  const std::string data = "-rw-r--r--";
  std::map<std::string, std::string> expected = {
      {"./usr/bin/pelo", program},
      {"./usr/bin/pelo-agenda", program},
      {"./usr/share/applications/pelo.desktop", data},
      {"./usr/share/icons/hicolor/scalable/apps/pelo.svg", data},
      {"./usr/share/mime/packages/pelo-mime.xml", data},
      {"./usr/share/man/man1/pelo.1.gz", data},
      {"./usr/share/man/man1/pelo-agenda.1.gz", data},
      {"./usr/share/man/ja/man1/pelo.1.gz", data},
      {"./usr/share/man/ja/man1/pelo-agenda.1.gz", data},
      {"./usr/share/doc/pelo/copyright", data},
  };
#ifdef PELO_SERVE_PACKAGED
  expected.insert({{"./usr/bin/pelo-serve", program},
                   {"./usr/lib/systemd/user/pelo-serve@.service", data},
                   {"./usr/share/man/man1/pelo-serve.1.gz", data},
                   {"./usr/share/man/ja/man1/pelo-serve.1.gz", data}});
#endif
  EXPECT_EQ(files, expected);
}

TEST_F(DebianPackageTest, CarriesTheLicenceAsItsCopyright) {
  const std::string tree = (fs::path(folder_) / "tree").string();
  const test::ProcessResult unpacked = RunProcess(dpkg_deb_, {"-x", deb_, tree});
  ASSERT_EQ(unpacked.exit_code, 0) << unpacked.err;
  const auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(in), {}};
  };
  const std::string licence = read(kSource + "/LICENSE");
  EXPECT_TRUE(licence.starts_with("MIT License\n\nCopyright (c) 2026 The Pelo developers\n"));
  EXPECT_EQ(read(tree + "/usr/share/doc/pelo/copyright"), licence);
}

TEST_F(DebianPackageTest, ControlFieldsNameWhatItNeeds) {
  const std::vector<std::pair<const char*, std::string>> fields = {
      {"Package", "pelo"},      {"Version", std::string(PELO_VERSION) + "-1"},
      {"Architecture", arch_},  {"Section", "utils"},
      {"Priority", "optional"},
  };
  for (const auto& [name, value] : fields) EXPECT_EQ(Field(name), value) << name;
  // "Name <address>" as configured, and not a domain reserved for examples.
  const std::string maintainer = Field("Maintainer");
  EXPECT_EQ(maintainer, PELO_MAINTAINER);
  EXPECT_TRUE(std::regex_match(maintainer, std::regex(R"([^<>]+ <[^<>@ ]+@[^<>@ ]+>)")));
  EXPECT_FALSE(std::regex_search(maintainer, std::regex(R"(@example\.(org|com|net)>)")));
  EXPECT_EQ(Field("Description").substr(0, Field("Description").find('\n')),
            "read-only viewer for Nerika schedule data files");
  // Found by dpkg-shlibdeps from the programs' links, and what no link shows.
  std::set<std::string> depends;
  std::istringstream items(Field("Depends"));
  for (std::string item; std::getline(items >> std::ws, item, ',');) {
    depends.insert(item.substr(0, item.find(' ')));
  }
  for (const char* package :
       {"libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6svg6",
        "qt6-translations-l10n", "fonts-ipafont-gothic", "fonts-ipafont-mincho"}) {
    EXPECT_TRUE(depends.contains(package)) << package << " in " << Field("Depends");
  }
#ifdef PELO_SERVE_PACKAGED
  EXPECT_TRUE(depends.contains("libcpp-httplib0.11")) << Field("Depends");
#endif
}

TEST(ManualPagesTest, RenderWithoutWarnings) {
  const std::string groff = FindProgram("groff");
  if (groff.empty()) GTEST_SKIP() << "groff is not installed";
  for (const char* page : {"pelo.1", "pelo-agenda.1", "pelo-serve.1", "ja/pelo.1",
                           "ja/pelo-agenda.1", "ja/pelo-serve.1"}) {
    // Every warning, those of lines that cannot be broken or adjusted included: Japanese has
    // no spaces to break at.
    const test::ProcessResult shown =
        RunProcess(groff, {"-man", "-Tutf8", "-Kutf8", "-ww", "-z", kSource + "/docs/man/" + page});
    EXPECT_EQ(shown.exit_code, 0) << page;
    EXPECT_EQ(shown.err, "") << page;
  }
}

}  // namespace
}  // namespace pelo
