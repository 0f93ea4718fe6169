//===- rank_set.cpp - Ordered integer set with O(1)-ish neighbours --------===//

#include "rank_set.h"

#include <algorithm>

namespace kwbpack {

namespace {

int lowestBit(uint64_t Word) { return __builtin_ctzll(Word); }
int highestBit(uint64_t Word) { return 63 - __builtin_clzll(Word); }

// Bits of a word strictly above / below bit Index.
uint64_t maskAbove(unsigned Index) {
  return Index == 63 ? 0 : ~uint64_t(0) << (Index + 1);
}
uint64_t maskBelow(unsigned Index) { return (uint64_t(1) << Index) - 1; }

} // namespace

RankSet::RankSet(size_t Bound) {
  size_t Words = (Bound + 63) / 64;
  do {
    Words = Words ? Words : 1;
    Levels.emplace_back(Words, 0);
    Words = (Words + 63) / 64;
  } while (Levels.back().size() > 1);
}

void RankSet::clear() {
  for (auto &Level : Levels)
    std::fill(Level.begin(), Level.end(), 0);
}

void RankSet::insert(uint32_t Value) {
  for (auto &Level : Levels) {
    Level[Value / 64] |= uint64_t(1) << (Value % 64);
    Value /= 64;
  }
}

void RankSet::erase(uint32_t Value) {
  for (auto &Level : Levels) {
    uint64_t &Word = Level[Value / 64];
    Word &= ~(uint64_t(1) << (Value % 64));
    if (Word)
      return; // Parents still have other members below them.
    Value /= 64;
  }
}

int64_t RankSet::above(uint32_t Value) const {
  // Climb until some word has a member to the right of our path...
  size_t Level = 0;
  uint64_t Index = Value;
  for (;; ++Level, Index /= 64) {
    if (Level == Levels.size())
      return None;
    uint64_t Rest = Levels[Level][Index / 64] & maskAbove(Index % 64);
    if (Rest) {
      Index = (Index / 64) * 64 + lowestBit(Rest);
      break;
    }
  }
  // ...then descend along the leftmost members.
  while (Level-- > 0)
    Index = Index * 64 + lowestBit(Levels[Level][Index]);
  return int64_t(Index);
}

int64_t RankSet::below(uint32_t Value) const {
  size_t Level = 0;
  uint64_t Index = Value;
  for (;; ++Level, Index /= 64) {
    if (Level == Levels.size())
      return None;
    uint64_t Rest = Levels[Level][Index / 64] & maskBelow(Index % 64);
    if (Rest) {
      Index = (Index / 64) * 64 + highestBit(Rest);
      break;
    }
  }
  while (Level-- > 0)
    Index = Index * 64 + highestBit(Levels[Level][Index]);
  return int64_t(Index);
}

} // namespace kwbpack
