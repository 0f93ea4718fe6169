//===- rank_set.h - Ordered integer set with O(1)-ish neighbours -*- C++ -*-===//
//
// A set of integers below a fixed bound, answering "nearest member below /
// above" with a few word operations on a tree of 64-bit masks. The match
// finder keeps the sort ranks of the current window in it; unlike a hash
// chain or a search tree, its cost per query does not depend on how
// repetitive the input is.
//
//===----------------------------------------------------------------------===//
#ifndef KWBPACK_RANK_SET_H
#define KWBPACK_RANK_SET_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kwbpack {

class RankSet {
public:
  static constexpr int64_t None = -1;

  explicit RankSet(size_t Bound);

  /// Empties the set.
  void clear();
  void insert(uint32_t Value);
  void erase(uint32_t Value);

  /// The largest member smaller than Value, or None.
  int64_t below(uint32_t Value) const;
  /// The smallest member larger than Value, or None.
  int64_t above(uint32_t Value) const;

private:
  // Levels[0] holds one bit per value; a bit of Levels[L + 1] is set when the
  // corresponding word of Levels[L] is non-zero. The top level is one word.
  std::vector<std::vector<uint64_t>> Levels;
};

} // namespace kwbpack

#endif
