#include "datafiles/LoadErrors.h"

#include "text/Paths.h"
#include "text/Texts.h"

namespace pelo {

namespace {

// Space, U+2026, space: the horizontal ellipsis is 0x81 0x63 in the files' own encoding.
constexpr std::string_view kReportSeparator = " \u2026 ";
constexpr std::string_view kHeadingTail = " を読込み中にエラーが発生しました。";
constexpr std::string_view kCannotOpenTail = " を開くことができません！";

}  // namespace

std::string ErrorReportLine(std::string_view line_text, std::string_view message) {
  return Concat({line_text, kReportSeparator, message});
}

std::string ErrorReportHeading(std::string_view path) {
  return Concat({FileNameOf(path), kHeadingTail});
}

std::string CannotOpenMessage(std::string_view path) { return Concat({path, kCannotOpenTail}); }

}  // namespace pelo
