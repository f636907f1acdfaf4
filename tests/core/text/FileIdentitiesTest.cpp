#include "text/FileIdentities.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace pelo {
namespace {

namespace fs = std::filesystem;

// A folder of the test's with one data file and one page file in it, and names of every kind
// beside them.
class FileIdentities : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pelo-identities-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    std::ofstream(At("v.nrk")) << "2026/12/7 data\n";
    std::ofstream(At("page.npg")) << "[NerikaPage1]\n";
    std::ofstream(At("other.png")) << "old picture";
    fs::create_symlink(At("v.nrk"), At("link.png"));
    fs::create_symlink("page.npg", At("relative-link.pdf"));
    fs::create_hard_link(At("v.nrk"), At("hard.pdf"));
    fs::create_symlink(At("gone"), At("dangling.png"));
    fs::create_directory(At("folder.png"));
    ASSERT_EQ(::mkfifo(At("fifo.png").c_str(), 0600), 0);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string At(const char* name) const { return (folder_ / name).string(); }

  fs::path folder_;
};

TEST_F(FileIdentities, RefusesInputsByIdentityAndWhatIsNoRegularFile) {
  const std::vector<std::string> inputs = {At("v.nrk"), At("page.npg"), At("missing.nrk")};
  const std::string kInput = "は読み込んでいるファイルなので書き込めません。";
  const std::string kNotRegular = "は通常のファイルではないので書き込めません。";
  const struct {
    std::string path;
    std::string refusal_tail;  // empty: the output may go there
    TFileKind kind;
  } cases[] = {
      {At("v.nrk"), kInput, TFileKind::kRegular},
      {(folder_ / "." / "v.nrk").string(), kInput, TFileKind::kRegular},
      {At("link.png"), kInput, TFileKind::kRegular},
      {At("relative-link.pdf"), kInput, TFileKind::kRegular},
      {At("hard.pdf"), kInput, TFileKind::kRegular},
      {At("page.npg"), kInput, TFileKind::kRegular},
      {At("other.png"), "", TFileKind::kRegular},
      {At("new.png"), "", TFileKind::kMissing},
      // A name both sides give that names no file is no input.
      {At("missing.nrk"), "", TFileKind::kMissing},
      {At("dangling.png"), "", TFileKind::kMissing},
      {At("folder.png"), kNotRegular, TFileKind::kOther},
      {At("fifo.png"), kNotRegular, TFileKind::kOther},
      {"/dev/null", kNotRegular, TFileKind::kOther},
      {"", "", TFileKind::kMissing},
  };
  for (const auto& c : cases) {
    const std::string expected = c.refusal_tail.empty() ? "" : "out" + c.refusal_tail;
    EXPECT_EQ(RefusedOutput(c.path, "out", inputs), expected) << c.path;
    EXPECT_EQ(FileKindOf(c.path), c.kind) << c.path;
  }
  EXPECT_EQ(RefusedOutput(At("v.nrk"), "v.nrk", {}), "");
}

}  // namespace
}  // namespace pelo
