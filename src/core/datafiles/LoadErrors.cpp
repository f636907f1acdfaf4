#include "datafiles/LoadErrors.h"

#include <unordered_map>

#include "text/Paths.h"
#include "text/Texts.h"

namespace pelo {

namespace {

// Space, U+2026, space: the horizontal ellipsis is 0x81 0x63 in the files' own encoding.
constexpr std::string_view kReportSeparator = " \u2026 ";
constexpr std::string_view kHeadingTail = " を読込み中にエラーが発生しました。";
constexpr std::string_view kCannotOpenTail = " を開くことができません！";
constexpr std::string_view kUnlistedHead = "ほか ";
constexpr std::string_view kUnlistedTail = " 行にも誤りがあります。";
constexpr std::string_view kLineNoTail = " 行目";
constexpr std::string_view kBadBytesOneTail = "に文字として読めないバイトがあり、�で表示します。";
constexpr std::string_view kBadBytesMoreTail =
    " か所に文字として読めないバイトがあり、�で表示します。";
constexpr std::string_view kNulTail = "にNUL文字があるため、これより後は読み込みません。";

std::string CountText(std::size_t count) { return std::to_string(count); }

// The lines not among before, in their order (a line there twice is new the second time).
std::vector<std::string> LinesNotIn(const std::vector<std::string>& lines,
                                    const std::vector<std::string>& before) {
  std::unordered_map<std::string_view, std::size_t> counts;
  for (const std::string& line : before) ++counts[line];
  std::vector<std::string> added;
  for (const std::string& line : lines) {
    std::size_t& count = counts[line];
    if (count > 0) {
      --count;
    } else {
      added.push_back(line);
    }
  }
  return added;
}

}  // namespace

std::string ErrorReportLine(std::string_view line_text, std::string_view message) {
  return Concat({line_text, kReportSeparator, message});
}

std::string ErrorReportHeading(std::string_view path) {
  return Concat({FileNameOf(path), kHeadingTail});
}

std::string CannotOpenMessage(std::string_view path) { return Concat({path, kCannotOpenTail}); }

std::string UnlistedBadLinesLine(std::size_t count) {
  return Concat({kUnlistedHead, CountText(count), kUnlistedTail});
}

std::string BadBytesNote(std::string_view line_text, int32_t line_no, std::size_t places) {
  const std::string where = Concat({std::to_string(line_no), kLineNoTail});
  if (places <= 1) return ErrorReportLine(line_text, Concat({where, kBadBytesOneTail}));
  return ErrorReportLine(line_text, Concat({where, "など ", CountText(places), kBadBytesMoreTail}));
}

std::string NulNote(std::string_view line_text, int32_t line_no) {
  return ErrorReportLine(line_text, Concat({std::to_string(line_no), kLineNoTail, kNulTail}));
}

TLoadErrorReport TLoadErrorCollector::Report() const {
  TLoadErrorReport report{heading_, lines_, notes_};
  if (unlisted_ > 0) report.lines.push_back(UnlistedBadLinesLine(unlisted_));
  return report;
}

TLoadErrorReport TLoadErrorCollector::NewSince(const TLoadErrorCollector& before) const {
  TLoadErrorReport report{heading_, LinesNotIn(lines_, before.lines_),
                          LinesNotIn(notes_, before.notes_)};
  if (unlisted_ > before.unlisted_) report.lines.push_back(UnlistedBadLinesLine(unlisted_));
  return report;
}

}  // namespace pelo
