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

// Length of the match at Pos from Dist back, the stream being preceded by
// the window's spaces and cut at the end of Input.
size_t matchLength(const Bytes &Input, size_t Pos, size_t Dist) {
  auto At = [&](ptrdiff_t I) { return I < 0 ? uint8_t(' ') : Input[I]; };
  size_t Len = 0;
  while (Len < 18 && Pos + Len < Input.size() &&
         At(ptrdiff_t(Pos + Len) - ptrdiff_t(Dist)) == Input[Pos + Len])
    ++Len;
  return Len;
}

void expectLongestMatches(const Bytes &Input) {
  const std::vector<kwbpack::Match> Found =
      kwbpack::findLongestMatches(Input.data(), Input.size());
  ASSERT_EQ(Found.size(), Input.size());
  for (size_t Pos = 0; Pos < Input.size(); ++Pos) {
    size_t Longest = 0;
    for (size_t Dist = Window; Dist >= 1 && Longest < 18; --Dist)
      Longest = std::max(Longest, matchLength(Input, Pos, Dist));
    const size_t Expected = Longest >= 3 ? Longest : 0;
    ASSERT_EQ(Found[Pos].Length, Expected) << "at " << Pos;
    if (Expected) {
      ASSERT_GE(Found[Pos].Distance, 1u);
      ASSERT_LE(Found[Pos].Distance, Window);
      ASSERT_EQ(matchLength(Input, Pos, Found[Pos].Distance), Expected)
          << "distance " << Found[Pos].Distance << " at " << Pos;
    }
  }
}

TEST(MatchFinder, FindsLongestMatchOverTwoLetters) {
  std::mt19937 Rng(1);
  Bytes Input(10000);
  for (uint8_t &B : Input)
    B = uint8_t("ab"[Rng() % 2]);
  expectLongestMatches(Input);
}

// Zero bytes at the end must not let a match run past it.
TEST(MatchFinder, StopsAtEndOfZeroBytes) {
  std::mt19937 Rng(3);
  for (int Case = 0; Case < 50; ++Case) {
    Bytes Input(1 + Rng() % 300);
    for (uint8_t &B : Input)
      B = Rng() % 4 ? 0 : 'a';
    expectLongestMatches(Input);
  }
}

// Long enough that the finder carries its window across its internal
// batches of work more than once.
TEST(MatchFinder, FindsLongestMatchInLongMixedData) {
  expectLongestMatches(mixedBytes(140000, 2));
}

// A random block repeated: every match is exactly as far back as the window
// reaches, at every position of a long input.
TEST(MatchFinder, FindsFullWindowDistanceThroughoutLongInput) {
  const Bytes Block = randomBytes(Window, 12);
  Bytes Input;
  for (int Copy = 0; Copy < 36; ++Copy)
    Input.insert(Input.end(), Block.begin(), Block.end());
  expectLongestMatches(Input);
}

// Copies from just inside, at, and just beyond the window's reach.
TEST(MatchFinder, RespectsWindowReach) {
  for (size_t Gap : {Window - 1, Window, Window + 1}) {
    Bytes Input = randomBytes(Gap, uint32_t(Gap));
    Input.insert(Input.end(), Input.begin(), Input.begin() + 100);
    expectLongestMatches(Input);
  }
}

TEST(MatchFinder, UsesInitialSpacesAndStopsAtEnd) {
  expectLongestMatches(toBytes("     spaced  out      "));
  expectLongestMatches(Bytes(40, ' '));
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
