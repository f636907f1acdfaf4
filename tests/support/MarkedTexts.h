#pragma once

// Texts written with "|" where a position lies ("1/1~1/|x"): tables of errors and where they
// are placed read at a glance.

#include <cstddef>
#include <string>
#include <string_view>

namespace pelo::test {

struct TMarkedText {
  std::string text;      // without the "|"
  std::size_t position;  // where the "|" stood
};

inline TMarkedText Marked(std::string_view marked) {
  const std::size_t position = marked.find('|');
  std::string text(marked);
  if (position != std::string_view::npos) text.erase(position, 1);
  return {text, position};
}

}  // namespace pelo::test
