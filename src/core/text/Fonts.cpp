#include "text/Fonts.h"

#include "text/Texts.h"

namespace pelo {

namespace {

// "$" followed by one to eight hexadecimal digits.
bool ParseColor(std::string_view item, uint32_t& color) {
  const std::string_view digits = item.substr(1);
  if (digits.empty() || digits.size() > 8) return false;
  uint32_t value = 0;
  for (const char c : digits) {
    uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else {
      return false;
    }
    value = (value << 4) | digit;
  }
  color = value;
  return true;
}

}  // namespace

std::string FontToText(const TFontSpec& font) {
  std::string text = font.Name + "," + std::to_string(font.Size);
  const bool plain_style = !font.Underline && !font.StrikeOut;
  if (font.Bold || font.Italic || font.Underline || font.StrikeOut) {
    text.push_back(',');
    if (plain_style) text += font.Bold ? (font.Italic ? "BoldItalic" : "Bold") : "Italic";
  }
  return std::string(CutToSjisWidth(text, kMaxFontTextWidth));
}

void TextToFont(std::string_view text, TFontSpec& font) {
  std::string rest(text);
  std::string item;
  while (NextCommaItem(rest, item)) {
    // Two commas in a row say nothing; taking the empty item as a face name would wipe the
    // face, so it is skipped without touching the style either. Same for a blank item.
    const std::string_view trimmed = TrimControl(item);
    if (trimmed.empty()) continue;
    if (item[0] == '#') continue;
    if (item[0] == '$') {
      ParseColor(item, font.Color);
      continue;
    }
    font.Bold = font.Italic = font.Underline = font.StrikeOut = false;
    // Blanks around a style name or a size are forgiven; the face name stays as written.
    const std::string upper = AsciiUpper(trimmed);
    if (upper == "BOLD" || upper == "ITALIC" || upper == "BOLDITALIC") {
      font.Bold = upper.find("BOLD") != std::string::npos;
      font.Italic = upper.find("ITALIC") != std::string::npos;
      continue;
    }
    int32_t size = 0;
    if (ParseInt32(trimmed, size)) {
      font.Size = size;
    } else {
      font.Name = item;
    }
  }
}

}  // namespace pelo
