// The command line of pelo --export (the binary itself: HeadlessExportRunsTest).

#include "app/HeadlessExports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelo {
namespace {

using Args = std::vector<std::string>;

std::string Line(const Args& args) {
  std::string line;
  for (const std::string& arg : args) line += arg + " ";
  return line;
}

TEST(ExportArguments, Accepted) {
  const struct {
    Args args;
    std::string output;
    TPictureFormat format;
    TDateRec date;
    QSize size;
    Args files;
  } cases[] = {
      {{"--export", "a.png", "x.nrk"},
       "a.png",
       TPictureFormat::kPng,
       kNullDate,
       {960, 640},
       {"x.nrk"}},
      {{"x.nrk", "--export", "B.PDF", "p.npg"},
       "B.PDF",
       TPictureFormat::kPdf,
       kNullDate,
       {960, 640},
       {"x.nrk", "p.npg"}},
      {{"--date", "2027-01-01", "--size", "16x8192", "--export", "a.png", "x.nrk"},
       "a.png",
       TPictureFormat::kPng,
       {2027, 1, 1},
       {16, 8192},
       {"x.nrk"}},
      // The value of --export is no file to read, whatever its name.
      {{"--export", "x.nrk.png", "x.nrk.png"},
       "x.nrk.png",
       TPictureFormat::kPng,
       kNullDate,
       {960, 640},
       {"x.nrk.png"}},
      {{"--export", "p.npg.pdf", "x.nrk"},
       "p.npg.pdf",
       TPictureFormat::kPdf,
       kNullDate,
       {960, 640},
       {"x.nrk"}},
      // Files are sorted out later, as the window sorts them.
      {{"--export", "a.pdf", "--size", "800x600", "notes.txt"},
       "a.pdf",
       TPictureFormat::kPdf,
       kNullDate,
       {800, 600},
       {"notes.txt"}},
  };
  for (const auto& c : cases) {
    TExportOptions options;
    const TParseError error = ParseExportArguments(c.args, options);
    ASSERT_FALSE(error.Failed()) << Line(c.args) << error.Message();
    EXPECT_TRUE(AsksForExport(c.args)) << Line(c.args);
    EXPECT_EQ(options.output, c.output) << Line(c.args);
    EXPECT_EQ(options.format, c.format) << Line(c.args);
    EXPECT_EQ(options.date, c.date) << Line(c.args);
    EXPECT_EQ(options.size, c.size) << Line(c.args);
    EXPECT_EQ(options.files, c.files) << Line(c.args);
  }
}

TEST(ExportArguments, Refused) {
  const Args cases[] = {
      {"--export", "a.png"},                     // no file
      {"x.nrk"},                                 // no output
      {"--export"},                              // no value
      {"--export", "a.png", "x.nrk", "--date"},  // no value
      {"--export", "a.jpg", "x.nrk"},            // neither PNG nor PDF
      {"--export", "a.png", "--export", "b.png", "x.nrk"},
      {"--export=a.png", "x.nrk"},                // only the separate value
      {"--export", "a.png", "--bogus", "x.nrk"},  // unknown option
      {"--export", "a.png", "--date", "2023/2/29", "x.nrk"},
      {"--export", "a.png", "--size", "15x100", "x.nrk"},
      {"--export", "a.png", "--size", "100x8193", "x.nrk"},
      {"--export", "a.png", "--size", "axb", "x.nrk"},
  };
  for (const Args& args : cases) {
    TExportOptions options;
    const TParseError error = ParseExportArguments(args, options);
    EXPECT_TRUE(error.Failed()) << Line(args);
    // One line on standard error.
    EXPECT_FALSE(error.Message().empty()) << Line(args);
    EXPECT_EQ(error.Message().find('\n'), std::string::npos) << Line(args);
  }
  EXPECT_FALSE(AsksForExport({"a.nrk", "--exports", "x.png"}));
  EXPECT_TRUE(AsksForExport({"a.nrk", "--export=x.png"}));
}

}  // namespace
}  // namespace pelo
