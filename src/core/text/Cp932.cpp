#include "text/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <utility>

#include "text/Texts.h"

namespace pelo {

namespace {

constexpr bool IsLeadByte(unsigned char c) noexcept {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

constexpr bool IsTrailByte(unsigned char c) noexcept {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// One conversion descriptor per direction and thread, opened on first use and kept for the
// life of the thread: opening one costs far more than decoding a line.
class TConverter {
 public:
  TConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~TConverter() {
    if (ok()) iconv_close(cd_);
  }
  TConverter(const TConverter&) = delete;
  TConverter& operator=(const TConverter&) = delete;

  bool ok() const noexcept { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can; returns false with errno set where iconv stops.
  bool Convert(const char*& in, std::size_t& in_left, std::string& out, std::size_t& used) {
    char* in_ptr = const_cast<char*>(in);  // iconv's signature, the input is not written
    char* out_ptr = out.data() + used;
    std::size_t out_left = out.size() - used;
    const std::size_t result = iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left);
    in = in_ptr;
    used = static_cast<std::size_t>(out_ptr - out.data());
    return result != static_cast<std::size_t>(-1);
  }

  void Reset() noexcept { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t cd_;
};

void MakeRoom(std::string& out, std::size_t used, std::size_t wanted) {
  if (out.size() - used < wanted) out.resize(out.size() * 2 + wanted);
}

void PutBytes(std::string& out, std::size_t& used, std::string_view bytes) {
  MakeRoom(out, used, bytes.size());
  out.replace(used, bytes.size(), bytes);
  used += bytes.size();
}

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// Notes one U+FFFD put in at offset in the text.
void NoteBadPlace(TDecodedText& decoded, std::size_t offset) noexcept {
  if (decoded.bad_places++ == 0) decoded.first_bad = offset;
}

// Without the CP932 converter of the C library (a stripped system) ASCII and half-width
// katakana still read; everything else shows as replacement characters.
void DecodeWithoutConverter(std::string_view bytes, TDecodedText& decoded) {
  std::string& out = decoded.text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c >= 0xA1 && c <= 0xDF) {
      AppendUtf8(out, U'\uFF61' + (c - 0xA1));
    } else {
      if (IsLeadByte(c) && i + 1 < bytes.size() &&
          IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
        ++i;
      }
      NoteBadPlace(decoded, out.size());
      out += kReplacementUtf8;
    }
  }
}

// Decodes CP932 into decoded.text, noting every byte that is no character.
void DecodeCp932Into(std::string_view bytes, TDecodedText& decoded) {
  thread_local TConverter converter("UTF-8", "CP932");
  if (!converter.ok()) return DecodeWithoutConverter(bytes, decoded);
  converter.Reset();
  // One byte gives at most three bytes of UTF-8 (half-width katakana).
  std::string& out = decoded.text;
  out.assign(bytes.size() * 3 + 16, '\0');
  std::size_t used = 0;
  const char* in = bytes.data();
  std::size_t in_left = bytes.size();
  while (in_left > 0) {
    if (converter.Convert(in, in_left, out, used)) break;
    if (errno == E2BIG) {
      MakeRoom(out, used, 16);
      continue;
    }
    // Anything else stops at a byte that is no character: replace it and its trail byte if
    // it has one, then go on. Every round consumes input, so this always ends.
    const auto lead = static_cast<unsigned char>(in[0]);
    std::size_t skip = 1;
    if (IsLeadByte(lead) && in_left >= 2 && IsTrailByte(static_cast<unsigned char>(in[1]))) {
      skip = 2;
    }
    NoteBadPlace(decoded, used);
    PutBytes(out, used, kReplacementUtf8);
    in += skip;
    in_left -= skip;
    converter.Reset();
  }
  out.resize(used);
  // The room for the worst case is about three times the text: a file's text is kept while
  // its entries are read, so it gives back what it did not use.
  out.shrink_to_fit();
}

// Copies UTF-8 into decoded.text with one U+FFFD for every byte that starts no character.
void DecodeUtf8Into(std::string_view bytes, TDecodedText& decoded) {
  std::string& out = decoded.text;
  out.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t next = pos;
    while (next < bytes.size() && static_cast<unsigned char>(bytes[next]) < 0x80) ++next;
    out.append(bytes.substr(pos, next - pos));
    pos = next;
    if (pos == bytes.size()) break;
    if (NextCodePoint(bytes, next) == kReplacementChar && next - pos == 1) {
      NoteBadPlace(decoded, out.size());
      out += kReplacementUtf8;
    } else {
      out.append(bytes.substr(pos, next - pos));
    }
    pos = next;
  }
}

// Valid UTF-8 with at least one byte beyond ASCII.
bool IsUtf8BeyondAscii(std::string_view bytes) noexcept {
  bool beyond_ascii = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    if (NextCodePoint(bytes, pos) == kReplacementChar && pos - start == 1) return false;
    beyond_ascii = true;
  }
  return beyond_ascii;
}

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::string DecodeCp932(std::string_view bytes) {
  TDecodedText decoded;
  DecodeCp932Into(bytes, decoded);
  return std::move(decoded.text);
}

TDecodedText DecodeFileText(std::string_view bytes) {
  TDecodedText decoded;
  if (bytes.starts_with(kUtf8ByteOrderMark)) {
    decoded.encoding = TTextEncoding::kUtf8;
    DecodeUtf8Into(bytes.substr(kUtf8ByteOrderMark.size()), decoded);
    return decoded;
  }
  // Text that is both (a few half-width katakana can be) stays CP932, as it always read.
  DecodeCp932Into(bytes, decoded);
  if (decoded.bad_places > 0 && IsUtf8BeyondAscii(bytes)) {
    decoded = TDecodedText{};
    decoded.encoding = TTextEncoding::kUtf8;
    DecodeUtf8Into(bytes, decoded);
  }
  return decoded;
}

std::string EncodeCp932(std::string_view utf8) {
  thread_local TConverter converter("CP932", "UTF-8");
  std::string out(utf8.size() + 16, '\0');
  std::size_t used = 0;
  const char* in = utf8.data();
  std::size_t in_left = utf8.size();
  if (converter.ok()) converter.Reset();
  while (in_left > 0) {
    if (converter.ok()) {
      if (converter.Convert(in, in_left, out, used)) break;
      if (errno == E2BIG) {
        MakeRoom(out, used, 16);
        continue;
      }
    }
    // A character CP932 has no code for (or bytes that are no UTF-8): one "?" for it.
    const std::string_view rest(in, in_left);
    std::size_t length = 0;
    const char32_t c = NextCodePoint(rest, length);
    PutBytes(out, used, (!converter.ok() && c < 0x80) ? std::string_view(in, 1) : "?");
    in += length;
    in_left -= length;
    if (converter.ok()) converter.Reset();
  }
  out.resize(used);
  return out;
}

}  // namespace pelo
