#pragma once

// A text most values leave empty, in the room of a pointer: nothing is allocated until it
// holds something. An entry has two such texts (its annotation, the message of a bad line), and
// a file holds a hundred thousand entries.

#include <memory>
#include <string>
#include <string_view>

namespace pelo {

class TRareText {
 public:
  TRareText() = default;
  TRareText(std::string_view text) { *this = text; }  // implicit, as a string is
  TRareText(const TRareText& other) : TRareText(other.view()) {}
  TRareText& operator=(const TRareText& other) { return *this = other.view(); }
  TRareText(TRareText&&) noexcept = default;
  TRareText& operator=(TRareText&&) noexcept = default;

  TRareText& operator=(std::string_view text) {
    if (text.empty()) {
      text_.reset();
    } else if (text_) {
      text_->assign(text);  // a text may take a part of itself
    } else {
      text_ = std::make_unique<std::string>(text);
    }
    return *this;
  }
  TRareText& operator=(const char* text) { return *this = std::string_view(text); }

  // An empty text is never held.
  bool empty() const noexcept { return text_ == nullptr; }
  void clear() noexcept { text_.reset(); }
  std::string_view view() const noexcept { return text_ ? std::string_view(*text_) : ""; }
  operator std::string_view() const noexcept { return view(); }

  friend bool operator==(const TRareText& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const TRareText& a, const TRareText& b) noexcept {
    return a.view() == b.view();
  }

 private:
  std::unique_ptr<std::string> text_;
};

}  // namespace pelo
