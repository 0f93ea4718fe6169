//===- match_finder.cpp - Longest LZSS match at every position ------------===//
//
// Exact and bounded, whatever the input: positions are sorted by their first
// MaxMatch bytes, then a sliding set of the window's sort ranks gives, for
// each position, its two neighbours in that order among the window's
// positions. Of all strings in a sorted list, the one sharing the
// longest prefix with a given string is always one of its two neighbours, so
// comparing against those two finds the longest match.
//
//===----------------------------------------------------------------------===//

#include "match_finder.h"
#include "rank_set.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace kwbpack {

namespace {

// The decoder's window before the first byte, seen as stream history.
constexpr uint8_t WindowFill = ' ';

// Zero bytes past the data: whole sort keys for the last positions, and
// room for commonPrefix's word reads.
constexpr size_t TextPadding = 24;

// Positions are handled in blocks so the sort and the lookups stay within
// the processor's caches; each block also sorts the WindowSize positions
// before it, which its first matches may start from.
constexpr size_t BlockSize = 1 << 16;

// Compares eight bytes at a time; reads up to 7 bytes past Limit, which the
// text's padding covers.
unsigned commonPrefix(const uint8_t *A, const uint8_t *B, unsigned Limit) {
  static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
                "the first differing byte is found from the low end");
  for (unsigned Len = 0; Len < Limit; Len += 8) {
    uint64_t X, Y;
    std::memcpy(&X, A + Len, 8);
    std::memcpy(&Y, B + Len, 8);
    if (const uint64_t Diff = X ^ Y)
      return std::min(Limit, Len + unsigned(__builtin_ctzll(Diff)) / 8);
  }
  return Limit;
}

// Finds the matches of one block of positions at a time. Its buffers are
// reused from block to block: fresh large allocations would cost a page
// fault per page every time.
class BlockMatcher {
public:
  explicit BlockMatcher(const std::vector<uint8_t> &Text, size_t TextSize)
      : Text(Text), TextSize(TextSize), Window(WindowSize + BlockSize) {}

  // Fills Matches for the text positions Begin..End-1 (Begin >= WindowSize).
  void run(size_t Begin, size_t End, Match *Matches);

private:
  void sortByPrefix(size_t First, size_t Count);

  const std::vector<uint8_t> &Text;
  const size_t TextSize;
  std::vector<uint32_t> Order, Next, Rank;
  RankSet Window;
};

// LSD radix sort of positions First..First+Count-1 by their first MaxMatch
// bytes, leaving in Order their offsets from First. A suffix padded with
// zeros may sort level with a longer one, which is harmless because matches
// are cut at the end of the real data anyway.
void BlockMatcher::sortByPrefix(size_t First, size_t Count) {
  Order.resize(Count);
  Next.resize(Count);
  std::iota(Order.begin(), Order.end(), 0);
  const uint8_t *Base = Text.data() + First;
  // The bytes at key offset K of all positions are Base[K .. K+Count), so
  // each histogram follows from the one before by two updates.
  size_t Histogram[256] = {};
  for (size_t I = 0; I < Count; ++I)
    ++Histogram[Base[I + MaxMatch - 1]];
  for (unsigned Key = MaxMatch; Key-- > 0;) {
    if (Key + 1 < MaxMatch) {
      --Histogram[Base[Key + Count]];
      ++Histogram[Base[Key]];
    }
    // All alike in this byte, as in long runs: the order stands.
    if (std::find(std::begin(Histogram), std::end(Histogram), Count) !=
        std::end(Histogram))
      continue;
    size_t Start[256];
    std::exclusive_scan(std::begin(Histogram), std::end(Histogram),
                        std::begin(Start), size_t(0));
    for (uint32_t Off : Order)
      Next[Start[Base[Off + Key]]++] = Off;
    Order.swap(Next);
  }
}

void BlockMatcher::run(size_t Begin, size_t End, Match *Matches) {
  // Offsets below are relative to First, the oldest position in reach.
  const size_t First = Begin - WindowSize;
  const size_t Count = End - First;
  sortByPrefix(First, Count);
  Rank.resize(Count);
  for (size_t I = 0; I < Count; ++I)
    Rank[Order[I]] = uint32_t(I);

  Window.clear();
  for (size_t Off = WindowSize - MaxDistance; Off < WindowSize; ++Off)
    Window.insert(Rank[Off]);
  for (size_t Off = WindowSize; Off < Count; ++Off) {
    // Window holds exactly the MaxDistance positions before this one.
    const size_t Pos = First + Off;
    const unsigned Limit = unsigned(std::min<size_t>(MaxMatch, TextSize - Pos));
    Match &Best = Matches[Pos - WindowSize];
    for (int64_t Neighbour :
         {Window.below(Rank[Off]), Window.above(Rank[Off])}) {
      if (Neighbour == RankSet::None)
        continue;
      const size_t From = First + Order[Neighbour];
      const unsigned Len = commonPrefix(&Text[From], &Text[Pos], Limit);
      if (Len >= MinMatch && Len > Best.Length)
        Best = {uint16_t(Len), uint16_t(Pos - From)};
    }
    Window.erase(Rank[Off - MaxDistance]);
    Window.insert(Rank[Off]);
  }
}

} // namespace

std::vector<Match> findLongestMatches(const uint8_t *Data, size_t Size) {
  // Text = window fill, then the data, then key padding.
  const size_t TextSize = WindowSize + Size;
  std::vector<uint8_t> Text;
  Text.reserve(TextSize + TextPadding);
  Text.assign(WindowSize, WindowFill);
  Text.insert(Text.end(), Data, Data + Size);
  Text.resize(TextSize + TextPadding, 0);

  std::vector<Match> Matches(Size);
  BlockMatcher Matcher(Text, TextSize);
  for (size_t Begin = WindowSize; Begin < TextSize; Begin += BlockSize)
    Matcher.run(Begin, std::min(TextSize, Begin + BlockSize), Matches.data());
  return Matches;
}

} // namespace kwbpack
