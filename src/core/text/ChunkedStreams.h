#pragma once

// A long text output handed to its stream in pieces, so that it never stands whole in memory
// (nor twice while its string grows): the writer appends to Text() and calls EndPart() after
// each record; the rest goes out when the writer ends.

#include <cstddef>
#include <ostream>
#include <string>

namespace pelo {

class TChunkedStream {
 public:
  static constexpr std::size_t kChunkBytes = 64 * 1024;

  explicit TChunkedStream(std::ostream& stream) : stream_(stream) {
    text_.reserve(kChunkBytes + kChunkBytes / 4);
  }
  ~TChunkedStream() { Flush(); }
  TChunkedStream(const TChunkedStream&) = delete;
  TChunkedStream& operator=(const TChunkedStream&) = delete;

  // What is still to be written.
  std::string& Text() noexcept { return text_; }
  // After a record: a text grown to a chunk goes to the stream.
  void EndPart() {
    if (text_.size() >= kChunkBytes) Flush();
  }

 private:
  void Flush() {
    stream_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }

  std::ostream& stream_;
  std::string text_;
};

}  // namespace pelo
