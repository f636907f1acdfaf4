#pragma once

// What a reader of user input returns: nothing, or a message for the user and where in the
// text it arose. Input never throws. A reader that hands part of its text to another puts its
// own words in front of that one's message and moves the position into its own text
// (InContext), so the innermost message comes out last: "日付の" "2番目の" "終了" "年が...".

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "text/Texts.h"

namespace pelo {

class [[nodiscard]] TParseError {
 public:
  // No error.
  TParseError() = default;
  // An error with a message that is not empty, at position: the byte offset in the text that
  // was read where the part that failed begins (0 when the text as a whole is wrong).
  TParseError(std::string_view message, std::size_t position)
      : message_(message), position_(position) {}

  bool Failed() const noexcept { return !message_.empty(); }
  const std::string& Message() const noexcept { return message_; }
  std::size_t Position() const noexcept { return position_; }

  // This error as the caller reports it: prefix in front of the message, and the position
  // moved by offset, where the text that was read begins in the caller's text. No error
  // stays no error.
  TParseError InContext(std::string_view prefix, std::size_t offset) && {
    if (Failed()) {
      if (!prefix.empty()) message_ = Concat({prefix, message_});
      position_ += offset;
    }
    return std::move(*this);
  }

 private:
  std::string message_;
  std::size_t position_ = 0;
};

}  // namespace pelo
