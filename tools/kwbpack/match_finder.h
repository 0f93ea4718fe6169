//===- match_finder.h - Longest LZSS match at every position ----*- C++ -*-===//
//
// The optimal parse needs, for every input position, the longest match the
// SZDD window allows. Every match costs the same number of bits whatever its
// distance, so the longest one (and any one distance for it) is all it needs:
// each shorter length is a prefix of that same match.
//
//===----------------------------------------------------------------------===//
#ifndef KWBPACK_MATCH_FINDER_H
#define KWBPACK_MATCH_FINDER_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kwbpack {

constexpr unsigned WindowSize = 4096;
constexpr unsigned MinMatch = 3;
constexpr unsigned MaxMatch = 18;
/// The farthest a match reaches back. The format would allow the whole window,
/// but the classic encoder never reaches further than the window minus the
/// longest match, and a decoder of its time may rely on that.
constexpr unsigned MaxDistance = WindowSize - MaxMatch;

/// The longest match at one position. Length is 0 when no match of at least
/// MinMatch bytes exists; Distance counts back from the position, 1..MaxDistance.
struct Match {
  uint16_t Length = 0;
  uint16_t Distance = 0;
};

/// For each position of Data, the longest match (at most MaxMatch bytes and
/// never past the end of Data) starting within the previous MaxDistance bytes.
/// Bytes before the start of Data count as spaces, as the decoder's window
/// starts out filled with them; matches may overlap their own output.
std::vector<Match> findLongestMatches(const uint8_t *Data, size_t Size);

} // namespace kwbpack

#endif
