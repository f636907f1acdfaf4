#include "ServeTokens.h"

#include <fstream>

#include "text/Texts.h"

namespace pelo::serve {

namespace {

std::string_view TrimBlanks(std::string_view text) noexcept {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string ReadTokenFile(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  std::string line;
  if (!file || !std::getline(file, line)) {
    error = Concat({"cannot read the token file '", path, "'"});
    return {};
  }
  std::string token(TrimBlanks(line));
  if (token.size() < kMinTokenLength) {
    error = Concat({"the token in '", path, "' is shorter than 16 characters"});
    return {};
  }
  return token;
}

std::string_view BearerToken(std::string_view authorization) noexcept {
  constexpr std::string_view kScheme = "bearer ";
  if (authorization.size() <= kScheme.size()) return {};
  for (std::size_t i = 0; i < kScheme.size(); ++i) {
    const char c = authorization[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kScheme[i]) return {};
  }
  return TrimBlanks(authorization.substr(kScheme.size()));
}

bool TokensEqual(std::string_view given, std::string_view expected) noexcept {
  // Every byte of the expected token is looked at whatever was given, so the time tells
  // nothing of how much of it was right.
  unsigned difference = given.size() == expected.size() ? 0u : 1u;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const char g = i < given.size() ? given[i] : '\0';
    difference |= static_cast<unsigned char>(g) ^ static_cast<unsigned char>(expected[i]);
  }
  return difference == 0 && !expected.empty();
}

}  // namespace pelo::serve
