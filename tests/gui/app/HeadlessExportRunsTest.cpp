// The real pelo binary run with --export as a script would run it, without a display: the exit
// status of bad usage, of a file that cannot be written and of success, nothing written but
// the picture, and a PDF that a PDF reader shows with its Japanese text and embedded fonts.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QImage>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
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

// The binary runs with no display at all and a platform that would need one: only the
// program's own choice of the offscreen platform lets it start. Its settings folder is a
// folder of the test's, which must stay empty.
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
  static std::vector<std::string> Entries(const QTemporaryDir& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path().toStdString())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  QTemporaryDir config_;
  QTemporaryDir runtime_;
  QTemporaryDir out_;
};

TEST_F(HeadlessExportRun, ExitStatus) {
  const std::string unwritable = "/nonexistent-folder/x";
  const struct {
    Args args;
    int status;
    const char* written;  // the one file in the output folder afterwards, or none
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
      {{"--export", Out("b.pdf"), kSample}, 0, "b.pdf"},
      {{"--export", Out("a.png"), "--size", "320x200", "--date", "2027/1/1", kSample, kSamplePage},
       0,
       "a.png"},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    for (const std::string& name : Entries(out_))
      std::filesystem::remove(out_.filePath(name.c_str()).toStdString());
    const ProcessResult r = Run(c.args);
    EXPECT_EQ(r.exit_code, c.status) << line << "\n" << r.err;
    EXPECT_EQ(r.out, "") << line;
    if (c.status == 2) {
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << line << "\n" << r.err;
    }
    EXPECT_EQ(Entries(out_), c.written ? Args{c.written} : Args{}) << line;
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
  EXPECT_EQ(Entries(config_), Args{});
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
