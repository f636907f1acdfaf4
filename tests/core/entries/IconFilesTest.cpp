#include "entries/IconFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BitmapTesting.h"
#include "entries/Entries.h"
#include "text/Paths.h"

namespace pelo {
namespace {

namespace fs = std::filesystem;

std::string Bitmap(uint32_t info_size, int32_t width, int32_t height) {
  return test::Bitmap({.info_size = info_size, .width = width, .height = height});
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

class IconFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pelo-icons-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    data_ = root_ / "data";
    fs::create_directories(data_ / "sub");
    fs::create_directories(root_ / "other");
    WriteFile(data_ / "pic.bmp", Bitmap(40, 16, 15));
    WriteFile(data_ / "sub" / "pic2.bmp", Bitmap(40, 32, 8));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  std::string Data() const { return data_.string(); }

  fs::path root_;
  fs::path data_;
};

TEST_F(IconFilesTest, FoundAsWritten) {
  const struct {
    std::string name;
    std::string folder;
    std::string path;
    int32_t width, height;
  } cases[] = {
      {"pic.bmp", Data(), Data() + "/pic.bmp", 16, 15},
      {"pic.bmp", Data() + "/", Data() + "/pic.bmp", 16, 15},
      {"sub\\pic2.bmp", Data(), Data() + "/sub/pic2.bmp", 32, 8},
      {"sub/pic2.bmp", Data(), Data() + "/sub/pic2.bmp", 32, 8},
      {"..\\data\\pic.bmp", (root_ / "other").string(),
       (root_ / "other").string() + "/../data/pic.bmp", 16, 15},
      {Data() + "/pic.bmp", (root_ / "other").string(), Data() + "/pic.bmp", 16, 15},
  };
  for (const auto& c : cases) {
    const std::optional<TIconFile> icon = FindIconFile(c.name, c.folder);
    ASSERT_TRUE(icon.has_value()) << c.name;
    EXPECT_EQ(*icon, (TIconFile{c.path, c.width, c.height})) << c.name;
  }
}

TEST(CheckBitmapHeaderTest, OnlyPlausibleBitmapsCount) {
  using test::TBitmapLayout;
  const struct {
    const char* label;
    TBitmapLayout layout;
    int32_t width, height;  // 0 x 0: not found
  } cases[] = {
      {"plain", {}, 16, 16},
      {"core header", {.info_size = 12, .width = 32, .height = 20, .bits = 8}, 32, 20},
      {"top-down", {.height = -16, .bits = 32}, 16, 16},
      {"v3 header", {.info_size = 52, .width = 4, .height = 4, .bits = 16}, 4, 4},
      {"v4 header", {.info_size = 108, .width = 5, .height = 6, .bits = 4}, 5, 6},
      {"v5 header", {.info_size = 124, .width = 7, .height = 3, .bits = 1}, 7, 3},
      {"largest", {.width = 1024, .height = 1024, .bits = 1}, 1024, 1024},
      {"RLE8", {.bits = 8, .compression = 1}, 16, 16},
      {"RLE4", {.bits = 4, .compression = 2}, 16, 16},
      {"bit fields", {.bits = 16, .compression = 3}, 16, 16},
      {"short palette", {.bits = 8, .colors_used = 2}, 16, 16},
      // A 54-byte header claiming the largest picture there is.
      {"lying header", {.width = INT32_MAX, .height = INT32_MAX, .pixel_bytes = 0}, 0, 0},
      {"one column too wide", {.width = 1025, .height = 1, .bits = 1}, 0, 0},
      {"one row too tall", {.width = 1, .height = -1025, .bits = 1}, 0, 0},
      {"core header too wide", {.info_size = 12, .width = 65535, .height = 1, .bits = 1}, 0, 0},
      {"a pixel byte short", {.width = 2, .height = 2, .pixel_bytes = 15}, 0, 0},
      {"RLE without its end mark", {.bits = 8, .compression = 1, .pixel_bytes = 1}, 0, 0},
      {"RLE8 of 24 bits", {.compression = 1}, 0, 0},
      {"bit fields of 24 bits", {.compression = 3}, 0, 0},
      {"embedded JPEG", {.compression = 4}, 0, 0},
      {"top-down RLE", {.height = -16, .bits = 8, .compression = 1}, 0, 0},
      {"palette larger than the bits", {.bits = 1, .colors_used = 3}, 0, 0},
      {"pixels inside the headers", {.offset_shift = -4}, 0, 0},
      {"pixels past the end", {.offset_shift = 1}, 0, 0},
      {"zero width", {.width = 0}, 0, 0},
      {"negative width", {.width = -5}, 0, 0},
      {"zero height", {.height = 0}, 0, 0},
      {"most negative height", {.height = INT32_MIN, .pixel_bytes = 0}, 0, 0},
      {"two planes", {.planes = 2}, 0, 0},
      {"3 bits", {.bits = 3}, 0, 0},
      {"16 bits in a core header", {.info_size = 12, .bits = 16}, 0, 0},
      {"header size 20", {.info_size = 20}, 0, 0},
  };
  for (const auto& c : cases) {
    const std::string bytes = test::Bitmap(c.layout);
    const std::optional<TIconFile> icon = CheckBitmapHeader(bytes, bytes.size());
    const TIconFile found = icon.value_or(TIconFile{});
    EXPECT_EQ(found, (TIconFile{"", c.width, c.height})) << c.label;
  }
}

TEST(CheckBitmapHeaderTest, NoBitmapHeaderAtAll) {
  std::string lower_case = Bitmap(40, 16, 16);
  lower_case[0] = 'b';
  lower_case[1] = 'm';
  const std::string plain = Bitmap(40, 16, 16);
  const struct {
    const char* label;
    std::string head;
    std::uintmax_t file_size;
  } cases[] = {
      {"headers cut short", plain.substr(0, 53), plain.size()},
      {"core header cut short", Bitmap(12, 2, 2).substr(0, 25), 1000},
      {"only BM", "BM", 1000},
      {"empty", "", 0},
      {"text", "BMP? no, just some text that is long enough to hold a header", 1000},
      {"lower-case magic", lower_case, lower_case.size()},
      {"file shorter than its head says", plain, plain.size() - 1},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(CheckBitmapHeader(c.head, c.file_size).has_value()) << c.label;
  }
}

TEST_F(IconFilesTest, OnlyFilesThatPassTheChecksAreFound) {
  WriteFile(data_ / "lying.bmp",
            test::Bitmap({.width = INT32_MAX, .height = INT32_MAX, .pixel_bytes = 0}));
  ASSERT_EQ(fs::file_size(data_ / "lying.bmp"), 54u);
  int asked = 0;
  const struct {
    const char* name;
    bool decodes;
    bool found;
  } cases[] = {
      {"pic.bmp", true, true},
      {"pic.bmp", false, false},
      {"lying.bmp", true, false},
  };
  for (const auto& c : cases) {
    asked = 0;
    const TPictureCheck check = [&](const TIconFile& picture) {
      ++asked;
      EXPECT_EQ(picture, (TIconFile{Data() + "/pic.bmp", 16, 15}));
      return c.decodes;
    };
    EXPECT_EQ(FindIconFile(c.name, Data(), check).has_value(), c.found) << c.name;
    // The decoder is asked only about files whose header passed.
    EXPECT_EQ(asked, std::string_view(c.name) == "pic.bmp" ? 1 : 0) << c.name;
  }
}

TEST_F(IconFilesTest, PipesFoldersAndDevicesAreNotFound) {
  ASSERT_EQ(::mkfifo((data_ / "fifo.bmp").c_str(), 0600), 0);
  fs::create_directories(data_ / "folder.bmp");
  fs::create_symlink(data_ / "fifo.bmp", data_ / "link-to-fifo.bmp");
  fs::create_symlink(data_ / "pic.bmp", data_ / "link-to-pic.bmp");
  // Nobody writes into the pipe: an open that waited for a writer would never return.
  EXPECT_FALSE(FindIconFile("fifo.bmp", Data()).has_value());
  EXPECT_FALSE(FindIconFile("link-to-fifo.bmp", Data()).has_value());
  EXPECT_FALSE(FindIconFile("folder.bmp", Data()).has_value());
  EXPECT_FALSE(FindIconFile("/dev/null", Data()).has_value());
  EXPECT_FALSE(FindIconFile("/dev/zero", Data()).has_value());
  EXPECT_FALSE(FindIconFile("missing.bmp", Data()).has_value());
  EXPECT_FALSE(FindIconFile("", Data()).has_value());
  const std::optional<TIconFile> linked = FindIconFile("link-to-pic.bmp", Data());
  ASSERT_TRUE(linked.has_value());
  EXPECT_EQ(linked->Width, 16);
}

TEST_F(IconFilesTest, ProgramFolderIsTheFallback) {
  const std::string name = "pelo-test-icon-" + std::to_string(::getpid()) + ".bmp";
  const fs::path beside_program = fs::path(ProgramFolder()) / name;
  WriteFile(beside_program, Bitmap(40, 9, 9));
  const std::optional<TIconFile> icon = FindIconFile("C:\\pictures\\" + name, Data());
  const std::optional<TIconFile> bare = FindIconFile(name, Data());
  // Found beside the data file, the data file's folder wins.
  WriteFile(data_ / name, Bitmap(40, 3, 3));
  const std::optional<TIconFile> local = FindIconFile(name, Data());
  std::error_code ignored;
  fs::remove(beside_program, ignored);

  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(*icon, (TIconFile{beside_program.string(), 9, 9}));
  ASSERT_TRUE(bare.has_value());
  EXPECT_EQ(bare->Path, beside_program.string());
  ASSERT_TRUE(local.has_value());
  EXPECT_EQ(*local, (TIconFile{Data() + "/" + name, 3, 3}));
}

TEST_F(IconFilesTest, CommandI) {
  WriteFile(data_ / "garbage.bmp", "garbage");
  const TLineContext context{Data(), nullptr, {}};
  TEntry entry;
  ASSERT_FALSE(entry.ParseLine("1/1 a &i(sub\\pic2.bmp)", context).Failed());
  ASSERT_NE(entry.Icon, nullptr);
  EXPECT_EQ(*entry.Icon, (TIconFile{Data() + "/sub/pic2.bmp", 32, 8}));
  EXPECT_EQ(entry.Text, "a");

  EXPECT_TRUE(entry.ParseLine("1/1 a &i(garbage.bmp)", context).Failed());
  EXPECT_EQ(entry.ErrorText, "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。");
  EXPECT_EQ(entry.Icon, nullptr);
  EXPECT_EQ(entry.Text, "1/1 a &i(garbage.bmp)");

  // A picture that does not decode is not found either.
  const TLineContext refusing{Data(), nullptr, [](const TIconFile&) { return false; }};
  EXPECT_TRUE(entry.ParseLine("1/1 a &i(sub\\pic2.bmp)", refusing).Failed());
  EXPECT_EQ(entry.ErrorText, "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。");
  EXPECT_EQ(entry.Icon, nullptr);

  // Without a context a relative name is looked for from the current folder.
  EXPECT_TRUE(entry.ParseLine("1/1 a &i(pic.bmp)").Failed());
  EXPECT_EQ(entry.ErrorText, "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。");
}

}  // namespace
}  // namespace pelo
