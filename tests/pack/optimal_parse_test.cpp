// The encoder promises the smallest file the format allows. On inputs small
// enough to try every possible parse, check that promise against the true
// byte size of each parse, trailing partial flag byte included.
#include "sample_inputs.h"
#include "test_support.h"

#include "szdd_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

using namespace packtest;

namespace {

// The smallest file over every parse of the input from Pos on, having used
// Literals and Matches tokens so far.
size_t smallestBySearch(const std::vector<size_t> &Longest, size_t Pos = 0,
                        size_t Literals = 0, size_t Matches = 0) {
  if (Pos == Longest.size())
    return 14 + Literals + 2 * Matches + (Literals + Matches + 7) / 8;
  size_t Best = smallestBySearch(Longest, Pos + 1, Literals + 1, Matches);
  for (size_t Len = 3; Len <= Longest[Pos]; ++Len)
    Best = std::min(Best, smallestBySearch(Longest, Pos + Len, Literals, Matches + 1));
  return Best;
}

TEST(OptimalParse, MatchesExhaustiveSearch) {
  struct Case {
    const char *Name;
    std::string Alphabet;
    size_t MaxLength;
  } Cases[] = {
      // Two letters give many overlapping matches and many equally good parses.
      {"two letters", "ab", 22},
      // A space lets matches reach into the window's initial spaces.
      {"with spaces", "a b", 22},
      // Zero bytes too: nothing may treat them as the end of the data.
      {"with zero", std::string("abc\0", 4), 26},
  };
  std::mt19937 Rng(1);
  for (const Case &C : Cases) {
    for (int Round = 0; Round < 150; ++Round) {
      const Bytes Input = bytesFrom(C.Alphabet, Rng() % (C.MaxLength + 1), Rng());
      SCOPED_TRACE(std::string(C.Name) + ": \"" + std::string(Input.begin(), Input.end()) + '"');
      const Bytes Szdd = kwbpack::compressToSzdd(Input.data(), Input.size());
      ASSERT_EQ(Szdd.size(), smallestBySearch(longestMatches(Input)));
      const Decoded Result = decodeWithLibmspack(Szdd);
      ASSERT_TRUE(Result.Ok && Result.Data == Input);
    }
  }
  // Runs long enough to need several maximal matches in a row.
  for (int Round = 0; Round < 40; ++Round) {
    Bytes Input;
    while (Input.size() < 26)
      Input.insert(Input.end(), 1 + Rng() % 12, uint8_t("xy "[Rng() % 3]));
    SCOPED_TRACE('"' + std::string(Input.begin(), Input.end()) + '"');
    const Bytes Szdd = kwbpack::compressToSzdd(Input.data(), Input.size());
    ASSERT_EQ(Szdd.size(), smallestBySearch(longestMatches(Input)));
  }
}

// Inputs too long to enumerate: a dynamic program over true byte counts,
// tracking how many tokens the current flag byte already governs. It does not
// rely on the encoder's argument that the fewest bits make the fewest bytes,
// and small differences in cost only change the parse on longer inputs.
size_t smallestByBytes(const Bytes &Input) {
  const std::vector<size_t> Longest = longestMatches(Input);
  // Best[Pos][Used]: fewest bytes for the rest from Pos on, when Used tokens
  // of the current flag byte are taken (0: the next token starts a new one).
  std::vector<std::array<size_t, 8>> Best(Input.size() + 1);
  Best[Input.size()].fill(0);
  for (size_t Pos = Input.size(); Pos-- > 0;) {
    for (size_t Used = 0; Used < 8; ++Used) {
      const size_t Flag = Used == 0 ? 1 : 0;
      const size_t Next = (Used + 1) % 8;
      size_t Least = Flag + 1 + Best[Pos + 1][Next];
      for (size_t Len = 3; Len <= Longest[Pos]; ++Len)
        Least = std::min(Least, Flag + 2 + Best[Pos + Len][Next]);
      Best[Pos][Used] = Least;
    }
  }
  return 14 + Best[0][0];
}

TEST(OptimalParse, MatchesByteExactOptimumOnLongerInputs) {
  std::mt19937 Rng(6);
  for (const std::string Alphabet : {"ab", "a b", "abcdefgh"}) {
    for (int Case = 0; Case < 4; ++Case) {
      const Bytes Input = bytesFrom(Alphabet, 1000 + Rng() % 3000, Rng());
      const Bytes Szdd = kwbpack::compressToSzdd(Input.data(), Input.size());
      ASSERT_EQ(Szdd.size(), smallestByBytes(Input))
          << "alphabet \"" << Alphabet << "\", case " << Case;
    }
  }
}

// The benchmark compares against a greedy parse; it has to be a valid one.
TEST(GreedyParse, DecodesAndIsNeverSmallerThanOptimal) {
  const Bytes Input = mixedBytes(50000, 17);
  const Bytes Greedy = kwbpack::compressToSzdd(Input.data(), Input.size(),
                                               kwbpack::ParseStrategy::Greedy);
  const Decoded Result = decodeWithLibmspack(Greedy);
  ASSERT_TRUE(Result.Ok) << Result.Error;
  EXPECT_TRUE(Result.Data == Input);
  EXPECT_LE(kwbpack::compressToSzdd(Input.data(), Input.size()).size(), Greedy.size());
}

} // namespace
