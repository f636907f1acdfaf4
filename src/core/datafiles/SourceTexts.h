#pragma once

// The text of a data file as it was read, split into its physical lines: the loader reads the
// entries from these lines, and they stay so that the line an entry came from can be shown
// and searched afterwards.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelo {

class TSourceText {
 public:
  TSourceText() = default;
  // CR LF, a lone LF and a lone CR each end a line; a last line without an end is a line too.
  explicit TSourceText(std::string text);

  int32_t LineCount() const noexcept { return static_cast<int32_t>(lines_.size()); }
  std::size_t Size() const noexcept { return text_.size(); }
  // Line line_no (from 1) without its end; empty when there is no such line.
  std::string_view Line(int32_t line_no) const noexcept;
  // The number of the line that holds the character at offset of the text (one that is no
  // line end, or the end of the text: after a last line end that is the line after it).
  int32_t LineAt(std::size_t offset) const noexcept;

 private:
  struct TSpan {
    uint32_t start;
    uint32_t length;
  };
  std::string text_;
  std::vector<TSpan> lines_;
};

}  // namespace pelo
