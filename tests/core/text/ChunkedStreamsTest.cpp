#include "text/ChunkedStreams.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace pelo {
namespace {

// Records of the sizes given, each of its own letter: the stream holds them all, in order, and
// has been written to before the end once more than a chunk was appended.
TEST(TChunkedStream, EveryRecordOnceInOrder) {
  constexpr std::size_t kChunk = TChunkedStream::kChunkBytes;
  const struct {
    std::vector<std::size_t> sizes;
    bool written_before_end;
  } cases[] = {
      {{}, false},
      {{1, 2, 3}, false},
      {{kChunk - 1}, false},
      {{kChunk}, true},
      {{kChunk - 1, 1, 5}, true},
      {{3 * kChunk + 7, 10, kChunk / 2, kChunk / 2, 1}, true},
  };
  for (const auto& c : cases) {
    std::ostringstream stream;
    std::string expected;
    bool written_before_end = false;
    {
      TChunkedStream chunks(stream);
      for (std::size_t i = 0; i < c.sizes.size(); ++i) {
        const std::string record(c.sizes[i], static_cast<char>('a' + i % 26));
        chunks.Text() += record;
        expected += record;
        chunks.EndPart();
      }
      written_before_end = !stream.str().empty();
    }
    EXPECT_EQ(written_before_end, c.written_before_end) << c.sizes.size();
    EXPECT_EQ(stream.str(), expected) << c.sizes.size();
  }
}

}  // namespace
}  // namespace pelo
