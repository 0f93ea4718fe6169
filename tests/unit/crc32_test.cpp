// The CRC-32 against zlib's: every length up to two eight-byte steps and a tail, and a
// long run that meets every table entry, at each of the eight alignments of a buffer.
#include "base/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

TEST(Crc32, MatchesZlibAtEveryLengthAndAlignment) {
  alignas(8) static uint8_t bytes[8 + 4096];
  for (size_t i = 0; i < sizeof bytes; ++i)
    bytes[i] = uint8_t(i * i * 2654435761u >> 13);
  for (size_t length : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 4096})
    for (size_t alignment = 0; alignment < 8; ++alignment)
      EXPECT_EQ(Crc32(bytes + alignment, length), crc32(0, bytes + alignment, uInt(length)))
          << length << " bytes at " << alignment;
}

} // namespace
