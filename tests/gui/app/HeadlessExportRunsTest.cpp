// pelo --export run as a script would, without a display: its exit status, nothing written but
// the picture, never over a file it reads nor half of it, and a PDF with text and its fonts.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QImage>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "RunProcess.h"

namespace pelo {
namespace {

using test::FindProgram;
using test::ProcessResult;
using test::RunProcess;

using Args = std::vector<std::string>;

const std::string kExamples = std::string(PELO_SOURCE_DIR) + "/examples/";
const std::string kSample = kExamples + "sample.nrk";
const std::string kSamplePage = kExamples + "sample.npg";

// No display and a platform that needs one: only the program's own choice of the offscreen
// platform lets it start. Its settings folder is the test's, and must stay empty.
class HeadlessExportRun : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(config_.isValid() && runtime_.isValid() && out_.isValid());
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit().constData(), 1);
    setenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit().constData(), 1);
  }

  ProcessResult Run(const Args& args) const { return RunProcess(PELO_BINARY, args); }
  std::string Out(const char* name) const { return out_.filePath(name).toStdString(); }
  static std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }

  QTemporaryDir config_;
  QTemporaryDir runtime_;
  QTemporaryDir out_;
};

namespace fs = std::filesystem;

// OUT leads to a file the run reads (by a link, a hard link or its name): refused, and every
// file read stays as it was. The program runs from a folder of its own, its page beside it.
TEST_F(HeadlessExportRun, NeverWritesOverAFileItReads) {
  const fs::path folder = out_.path().toStdString();
  fs::create_directories(folder / "bin");
  const fs::path program = folder / "bin" / "pelo";
  fs::copy_file(PELO_BINARY, program);
  const fs::path conf_folder = fs::path(config_.path().toStdString()) / "ZUKARA SOFT";
  fs::create_directories(conf_folder);
  const struct {
    const char* kind;
    fs::path input;
    std::string bytes;
  } inputs[] = {
      {"data", folder / "v.nrk", Bytes(kSample)},
      {"data named as a picture", folder / "x.nrk.png", Bytes(kSample)},
      {"page", folder / "page.npg", Bytes(kSamplePage)},
      {"page named as a picture", folder / "page.npg.pdf", Bytes(kSamplePage)},
      {"page beside the program", folder / "bin" / "Pelo.npg", Bytes(kSamplePage)},
      {"settings", conf_folder / "Pelo.conf", "[FormMain]\nLeft=10\n"},
  };
  for (const auto& input : inputs) Put(input.input, input.bytes);
  const Args files = {(folder / "v.nrk").string(), (folder / "x.nrk.png").string(),
                      (folder / "page.npg").string(), (folder / "page.npg.pdf").string()};
  for (const auto& input : inputs) {
    fs::create_symlink(input.input, folder / "link.png");
    fs::create_hard_link(input.input, folder / "hard.pdf");
    std::vector<std::string> outs = {(folder / "link.png").string(),
                                     (folder / "hard.pdf").string()};
    if (input.input.extension() == ".png" || input.input.extension() == ".pdf") {
      outs.push_back(input.input.string());
    }
    for (const std::string& out : outs) {
      Args args = {"--export", out};
      args.insert(args.end(), files.begin(), files.end());
      const ProcessResult r = RunProcess(program.string(), args);
      EXPECT_EQ(r.exit_code, 1) << input.kind << " " << out << "\n" << r.err;
      EXPECT_EQ(r.err, "pelo: " + out + "は読み込んでいるファイルなので書き込めません。\n")
          << input.kind;
      for (const auto& each : inputs) {
        EXPECT_EQ(Bytes(each.input), each.bytes) << input.kind << " " << out << " " << each.kind;
      }
    }
    fs::remove(folder / "link.png");
    fs::remove(folder / "hard.pdf");
  }
}

// What is not a regular file is refused at once: a FIFO would block the writer for good.
TEST_F(HeadlessExportRun, RefusesWhatIsNoRegularFileAtOnce) {
  const std::string timeout = FindProgram("timeout");
  if (timeout.empty()) GTEST_SKIP() << "timeout (coreutils) is not installed";
  const std::string fifo = Out("f.png");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(Out("folder.pdf"));
  fs::create_symlink("/dev/null", Out("null.png"));
  for (const std::string& out : {fifo, Out("folder.pdf"), Out("null.png")}) {
    const ProcessResult r = RunProcess(timeout, {"5", PELO_BINARY, "--export", out, kSample});
    EXPECT_EQ(r.exit_code, 1) << out << "\n" << r.err;
    EXPECT_EQ(r.err, "pelo: " + out + "は通常のファイルではないので書き込めません。\n");
  }
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
}

// A file system that fills up on the way: the run fails, the old picture stays as it was and
// no part of the new one is left.
TEST_F(HeadlessExportRun, AFullDiskLeavesTheOldFile) {
  const std::string mount_point = Out("small");
  fs::create_directory(mount_point);
  if (::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  }
  const std::string old_bytes = "an older picture";
  for (const char* name : {"old.png", "old.pdf"}) Put(mount_point + "/" + name, old_bytes);
  // 8 KiB left (each small file takes a page of 4 KiB), too little for either picture.
  Put(mount_point + "/filler", std::string(48 * 1024, 'x'));
  for (const char* name : {"old.png", "old.pdf"}) {
    const std::string out = mount_point + "/" + name;
    const ProcessResult r =
        Run({"--export", out, "--size", "2000x2000", "--date", "2027/1/1", kSample, kSamplePage});
    EXPECT_EQ(r.exit_code, 1) << name << "\n" << r.err;
    // The image library may say more before it.
    const std::string last_line = "pelo: cannot write " + out + "\n";
    EXPECT_TRUE(r.err.ends_with(last_line)) << name << "\n" << r.err;
    EXPECT_TRUE(Bytes(out) == old_bytes) << name;
    EXPECT_EQ(Entries(mount_point), (Args{"filler", "old.pdf", "old.png"})) << name;
  }
  ::umount2(mount_point.c_str(), MNT_DETACH);
}

TEST_F(HeadlessExportRun, ExitStatus) {
  // Without a runtime folder Qt would warn in English: the run makes one of its own.
  unsetenv("XDG_RUNTIME_DIR");
  const std::string unwritable = "/nonexistent-folder/x";
  const std::string missing = Out("missing.nrk");
  const struct {
    Args args;
    int status;
    const char* written;   // the one file in the output folder afterwards, or none
    std::string err = {};  // the whole of standard error, where it matters
  } cases[] = {
      {{"--export"}, 2, nullptr},
      {{"--export", Out("a.gif"), kSample}, 2, nullptr},
      {{"--export", Out("a.png")}, 2, nullptr},
      {{"--export", Out("a.png"), "--size", "0x10", kSample}, 2, nullptr},
      {{"--export", Out("a.png"), "--date", "2023/2/29", kSample}, 2, nullptr},
      {{"--export", Out("a.png"), "--verbose", kSample}, 2, nullptr},
      {{"--export=" + Out("a.png"), kSample}, 2, nullptr},
      {{"--export", unwritable + ".png", kSample}, 1, nullptr},
      {{"--export", unwritable + ".pdf", kSample, kSamplePage}, 1, nullptr},
      // A data file that is not there: nothing is drawn without it.
      {{"--export", Out("a.png"), kSample, missing},
       1,
       nullptr,
       missing + " というファイルが見つかりません！\n"},
      {{"--export", Out("b.pdf"), kSample}, 0, "b.pdf"},
      {{"--export", Out("a.png"), "--size", "320x200", "--date", "2027/1/1", kSample, kSamplePage},
       0,
       "a.png"},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    for (const std::string& name : Entries(Out(""))) fs::remove(Out(name.c_str()));
    const ProcessResult r = Run(c.args);
    EXPECT_EQ(r.exit_code, c.status) << line << "\n" << r.err;
    EXPECT_EQ(r.out, "") << line;
    if (!c.err.empty() || c.status == 0) {
      EXPECT_EQ(r.err, c.err) << line;
    }
    if (c.status == 2) {
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << line << "\n" << r.err;
    }
    EXPECT_EQ(Entries(Out("")), c.written ? Args{c.written} : Args{}) << line;
  }
  // The last picture, at its size and not blank: the holidays are red.
  const QImage image(QString::fromStdString(Out("a.png")));
  EXPECT_EQ(image.size(), QSize(320, 200));
  bool red = false;
  for (int y = 0; y < image.height() && !red; ++y) {
    for (int x = 0; x < image.width() && !red; ++x) {
      const QColor color = image.pixelColor(x, y);
      red = color.red() > 200 && color.green() < 60 && color.blue() < 60;
    }
  }
  EXPECT_TRUE(red);
  EXPECT_EQ(Entries(config_.path().toStdString()), Args{});
}

TEST_F(HeadlessExportRun, PdfShowsTheJapaneseTextWithItsFontsEmbedded) {
  const std::string pdftotext = FindProgram("pdftotext");
  const std::string pdffonts = FindProgram("pdffonts");
  const std::string pdftoppm = FindProgram("pdftoppm");
  if (pdftotext.empty() || pdffonts.empty() || pdftoppm.empty()) {
    GTEST_SKIP() << "poppler-utils not installed";
  }
  const std::string pdf = Out("m.pdf");
  const ProcessResult r =
      Run({"--export", pdf, "--size", "960x640", "--date", "2027/1/1", kSample, kSamplePage});
  ASSERT_EQ(r.exit_code, 0) << r.err;

  // Text, not pixels: the entries, a holiday name and a derived period line read back.
  const ProcessResult text = RunProcess(pdftotext, {pdf, "-"});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  for (const char* expected : {"英会話教室", "燃えるゴミ", "元旦", "天皇誕生日", "年末年始休暇"}) {
    EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\n" << text.out;
  }

  // Every font is embedded, the Japanese ones among them.
  const ProcessResult fonts = RunProcess(pdffonts, {pdf});
  ASSERT_EQ(fonts.exit_code, 0) << fonts.err;
  std::istringstream lines(fonts.out);
  std::string line;
  int font_count = 0;
  bool ipa = false;
  for (int i = 0; std::getline(lines, line); ++i) {
    if (i < 2) continue;  // the heading and its rule
    ++font_count;
    ipa = ipa || line.rfind("IPA", 0) == 0;
    std::istringstream words(line);
    std::vector<std::string> fields{std::istream_iterator<std::string>(words), {}};
    ASSERT_GE(fields.size(), 6u) << line;
    // name, type words..., encoding, emb, sub, uni, object, generation
    EXPECT_EQ(fields[fields.size() - 5], "yes") << line;
  }
  EXPECT_GT(font_count, 0);
  EXPECT_TRUE(ipa) << fonts.out;

  // A PDF reader draws the page: at 48 dpi the 960 x 640 pixels (720 x 480 points) are
  // 480 x 320.
  const std::string prefix = Out("page");
  const ProcessResult drawn =
      RunProcess(pdftoppm, {"-r", "48", "-png", "-singlefile", pdf, prefix});
  ASSERT_EQ(drawn.exit_code, 0) << drawn.err;
  EXPECT_EQ(QImage(QString::fromStdString(prefix + ".png")).size(), QSize(480, 320));
}

}  // namespace
}  // namespace pelo
