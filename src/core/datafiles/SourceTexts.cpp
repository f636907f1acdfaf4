#include "datafiles/SourceTexts.h"

#include <algorithm>
#include <utility>

namespace pelo {

TSourceText::TSourceText(std::string text) : text_(std::move(text)) {
  const std::size_t size = text_.size();
  std::size_t pos = 0;
  while (pos < size) {
    std::size_t end = pos;
    while (end < size && text_[end] != '\n' && text_[end] != '\r') ++end;
    // A decoded data file is far below 4 GiB (the loader takes at most 64 MiB of bytes).
    lines_.push_back({static_cast<uint32_t>(pos), static_cast<uint32_t>(end - pos)});
    pos = end + 1;
    if (end < size && text_[end] == '\r' && pos < size && text_[pos] == '\n') ++pos;
  }
}

std::string_view TSourceText::Line(int32_t line_no) const noexcept {
  if (line_no < 1 || line_no > LineCount()) return {};
  const TSpan& span = lines_[static_cast<std::size_t>(line_no - 1)];
  return std::string_view(text_).substr(span.start, span.length);
}

int32_t TSourceText::LineAt(std::size_t offset) const noexcept {
  const auto ended_before = std::partition_point(lines_.begin(), lines_.end(), [&](TSpan span) {
    return std::size_t{span.start} + span.length < offset;
  });
  return static_cast<int32_t>(ended_before - lines_.begin()) + 1;
}

}  // namespace pelo
