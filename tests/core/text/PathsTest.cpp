#include "text/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace pelo {
namespace {

TEST(Paths, FolderAndFileName) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
  } cases[] = {
      {"/home/user/data.nrk", "/home/user", "data.nrk"},
      {"C:\\Nerika\\pics\\a.bmp", "C:\\Nerika\\pics", "a.bmp"},
      {"pics\\sub/a.bmp", "pics\\sub", "a.bmp"},
      {"pics/sub\\a.bmp", "pics/sub", "a.bmp"},
      {"a.bmp", "", "a.bmp"},
      {"/a.bmp", "/", "a.bmp"},
      {"folder/", "folder", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
  }
}

TEST(Paths, JoinPath) {
  const struct {
    const char* folder;
    const char* name;
    const char* expected;
  } cases[] = {
      {"/data", "a.bmp", "/data/a.bmp"},
      {"/data/", "a.bmp", "/data/a.bmp"},
      {"/", "a.bmp", "/a.bmp"},
      {"", "a.bmp", "a.bmp"},
      {"/data", "/abs/a.bmp", "/abs/a.bmp"},
      {"/data", "sub/a.bmp", "/data/sub/a.bmp"},
      {"/data", "", "/data/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JoinPath(c.folder, c.name), c.expected) << c.folder << " + " << c.name;
  }
}

TEST(Paths, ProgramFolderHoldsThisProgram) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_NE(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/test_paths"));
}

}  // namespace
}  // namespace pelo
