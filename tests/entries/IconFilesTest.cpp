#include "entries/IconFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "calendar/Paths.h"
#include "entries/Datas.h"

namespace pelo {
namespace {

namespace fs = std::filesystem;

void Put16(std::string& bytes, uint32_t value) {
  bytes.push_back(static_cast<char>(value & 0xFF));
  bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& bytes, uint32_t value) {
  Put16(bytes, value & 0xFFFF);
  Put16(bytes, value >> 16);
}

// A bitmap file: the 14-byte file header, the bitmap header of the given size and a few
// pixel bytes (nobody reads them).
std::string Bitmap(uint32_t info_size, int32_t width, int32_t height, uint32_t planes = 1,
                   uint32_t bits = 24) {
  std::string bytes = "BM";
  Put32(bytes, 14 + info_size + 16);
  Put32(bytes, 0);
  Put32(bytes, 14 + info_size);
  Put32(bytes, info_size);
  if (info_size == 12) {
    Put16(bytes, static_cast<uint32_t>(width));
    Put16(bytes, static_cast<uint32_t>(height));
  } else {
    Put32(bytes, static_cast<uint32_t>(width));
    Put32(bytes, static_cast<uint32_t>(height));
  }
  Put16(bytes, planes);
  Put16(bytes, bits);
  while (bytes.size() < 14 + info_size + 16) bytes.push_back('\0');
  return bytes;
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

TEST_F(IconFilesTest, OnlyBitmapHeadersCount) {
  std::string truncated = Bitmap(40, 16, 16);
  truncated.resize(27);
  std::string lower_case = Bitmap(40, 16, 16);
  lower_case[0] = 'b';
  lower_case[1] = 'm';
  const struct {
    const char* label;
    std::string bytes;
    bool found;
    int32_t width, height;
  } cases[] = {
      {"core header", Bitmap(12, 32, 20, 1, 8), true, 32, 20},
      {"top-down", Bitmap(40, 16, -16, 1, 32), true, 16, 16},
      {"v3 header", Bitmap(52, 4, 4, 1, 16), true, 4, 4},
      {"v3 alpha header", Bitmap(56, 4, 4, 1, 32), true, 4, 4},
      {"v4 header", Bitmap(108, 5, 6, 1, 4), true, 5, 6},
      {"v5 header", Bitmap(124, 7, 3, 1, 1), true, 7, 3},
      {"zero width", Bitmap(40, 0, 16), false, 0, 0},
      {"negative width", Bitmap(40, -5, 16), false, 0, 0},
      {"zero height", Bitmap(40, 16, 0), false, 0, 0},
      {"most negative height", Bitmap(40, 16, INT32_MIN), false, 0, 0},
      {"no planes", Bitmap(40, 16, 16, 0), false, 0, 0},
      {"two planes", Bitmap(40, 16, 16, 2), false, 0, 0},
      {"3 bits", Bitmap(40, 16, 16, 1, 3), false, 0, 0},
      {"0 bits", Bitmap(40, 16, 16, 1, 0), false, 0, 0},
      {"16 bits in a core header", Bitmap(12, 16, 16, 1, 16), false, 0, 0},
      {"core header of zero width", Bitmap(12, 0, 16, 1, 8), false, 0, 0},
      {"header size 20", Bitmap(20, 16, 16), false, 0, 0},
      {"header size 64", Bitmap(64, 16, 16), false, 0, 0},
      {"truncated", truncated, false, 0, 0},
      {"only BM", "BM", false, 0, 0},
      {"empty", "", false, 0, 0},
      {"text", "BMP? no, just some text that is long enough to hold a header", false, 0, 0},
      {"lower-case magic", lower_case, false, 0, 0},
  };
  for (const auto& c : cases) {
    WriteFile(data_ / "probe.bmp", c.bytes);
    const std::optional<TIconFile> icon = FindIconFile("probe.bmp", Data());
    ASSERT_EQ(icon.has_value(), c.found) << c.label;
    if (icon) {
      EXPECT_EQ(*icon, (TIconFile{Data() + "/probe.bmp", c.width, c.height})) << c.label;
    }
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
  const TLineContext context{Data()};
  TData data;
  ASSERT_TRUE(data.ParseLine("1/1 a &i(sub\\pic2.bmp)", context));
  ASSERT_TRUE(data.Icon.has_value());
  EXPECT_EQ(*data.Icon, (TIconFile{Data() + "/sub/pic2.bmp", 32, 8}));
  EXPECT_EQ(data.Text, "a");

  EXPECT_FALSE(data.ParseLine("1/1 a &i(garbage.bmp)", context));
  EXPECT_EQ(data.ErrorText, "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。");
  EXPECT_FALSE(data.Icon.has_value());
  EXPECT_EQ(data.Text, "1/1 a &i(garbage.bmp)");

  // Without a context a relative name is looked for from the current folder.
  EXPECT_FALSE(data.ParseLine("1/1 a &i(pic.bmp)"));
  EXPECT_EQ(data.ErrorText, "ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。");
}

}  // namespace
}  // namespace pelo
