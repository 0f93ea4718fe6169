// The match finder against a plain search over every distance, on inputs
// long enough to slide the window, and its ordered set against std::set.
#include "sample_inputs.h"

#include "match_finder.h"
#include "rank_set.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace packtest;

namespace {

constexpr size_t Window = 4096;

void expectLongestMatches(const Bytes &Input) {
  const std::vector<kwbpack::Match> Found =
      kwbpack::findLongestMatches(Input.data(), Input.size());
  const std::vector<size_t> Longest = longestMatches(Input);
  ASSERT_EQ(Found.size(), Input.size());
  for (size_t Pos = 0; Pos < Input.size(); ++Pos) {
    const size_t Expected = Longest[Pos] >= 3 ? Longest[Pos] : 0;
    ASSERT_EQ(Found[Pos].Length, Expected) << "at " << Pos;
    if (Expected) {
      ASSERT_GE(Found[Pos].Distance, 1u);
      ASSERT_LE(Found[Pos].Distance, Window);
      ASSERT_EQ(matchLength(Input, Pos, Found[Pos].Distance), Expected)
          << "distance " << Found[Pos].Distance << " at " << Pos;
    }
  }
}

Bytes withCopyAfter(size_t Gap) {
  Bytes Input = randomBytes(Gap, uint32_t(Gap));
  Input.insert(Input.end(), Input.begin(), Input.begin() + 100);
  return Input;
}

TEST(MatchFinder, FindsTheLongestMatchAsAPlainSearchDoes) {
  Bytes Repeats; // A random block repeated: every match is a full window back.
  const Bytes Block = randomBytes(Window, 12);
  for (int Copy = 0; Copy < 36; ++Copy)
    Repeats.insert(Repeats.end(), Block.begin(), Block.end());
  const std::pair<const char *, Bytes> Cases[] = {
      {"two letters", bytesFrom("ab", 10000, 1)},
      // Long enough that the finder carries its window across its internal
      // batches of work more than once.
      {"long mixed data", mixedBytes(140000, 2)},
      {"full window distance throughout", Repeats},
      {"copy from just inside the window", withCopyAfter(Window - 1)},
      {"copy from the window's edge", withCopyAfter(Window)},
      {"copy from just beyond the window", withCopyAfter(Window + 1)},
      {"initial spaces", toBytes("     spaced  out      ")},
      {"only spaces", Bytes(40, ' ')},
  };
  for (const auto &Case : Cases) {
    SCOPED_TRACE(Case.first);
    expectLongestMatches(Case.second);
  }
  // Zero bytes at the end must not let a match run past it.
  std::mt19937 Rng(3);
  for (int Case = 0; Case < 50; ++Case) {
    SCOPED_TRACE("zero bytes, case " + std::to_string(Case));
    expectLongestMatches(bytesFrom(std::string("\0\0\0a", 4), 1 + Rng() % 300, Case));
  }
}

TEST(RankSet, NeighboursAgreeWithStdSet) {
  const uint32_t Bound = 300000; // Several levels of the mask tree.
  kwbpack::RankSet Set(Bound);
  std::set<uint32_t> Reference;
  std::mt19937 Rng(5);
  for (int Step = 0; Step < 200000; ++Step) {
    // Values cluster at times so whole words empty and refill.
    const uint32_t Value = Rng() % 2 ? Rng() % Bound : Rng() % 200;
    if (Rng() % 3 == 0 && Reference.count(Value)) {
      Set.erase(Value);
      Reference.erase(Value);
    } else if (!Reference.count(Value)) {
      Set.insert(Value);
      Reference.insert(Value);
    }
    const uint32_t Probe = Rng() % Bound;
    const auto Above = Reference.upper_bound(Probe);
    const auto Below = Reference.lower_bound(Probe);
    ASSERT_EQ(Set.above(Probe),
              Above == Reference.end() ? kwbpack::RankSet::None : *Above);
    ASSERT_EQ(Set.below(Probe), Below == Reference.begin()
                                    ? kwbpack::RankSet::None
                                    : *std::prev(Below));
  }
}

} // namespace
