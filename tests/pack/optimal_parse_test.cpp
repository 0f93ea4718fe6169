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

constexpr size_t Window = 4096;

// Longest match at each position found the slow, obvious way: try every
// distance the window allows, with the stream preceded by 4096 spaces.
std::vector<unsigned> naiveLongestMatches(const Bytes &Input) {
  Bytes Stream(Window, ' ');
  Stream.insert(Stream.end(), Input.begin(), Input.end());
  std::vector<unsigned> Longest(Input.size(), 0);
  for (size_t Pos = 0; Pos < Input.size(); ++Pos) {
    const size_t At = Window + Pos;
    const size_t Limit = std::min<size_t>(18, Stream.size() - At);
    for (size_t Dist = 1; Dist <= Window; ++Dist) {
      size_t Len = 0;
      while (Len < Limit && Stream[At - Dist + Len] == Stream[At + Len])
        ++Len;
      Longest[Pos] = std::max<unsigned>(Longest[Pos], unsigned(Len));
    }
  }
  return Longest;
}

struct Exhaustive {
  const std::vector<unsigned> &Longest;
  size_t Best = SIZE_MAX;

  // Walks every parse of the input from Pos on, having used Literals and
  // Matches tokens so far.
  void walk(size_t Pos, size_t Literals, size_t Matches) {
    if (Pos == Longest.size()) {
      const size_t Tokens = Literals + Matches;
      const size_t Size = 14 + Literals + 2 * Matches + (Tokens + 7) / 8;
      Best = std::min(Best, Size);
      return;
    }
    walk(Pos + 1, Literals + 1, Matches);
    for (size_t Len = 3; Len <= Longest[Pos]; ++Len)
      walk(Pos + Len, Literals, Matches + 1);
  }
};

size_t smallestPossibleSize(const Bytes &Input) {
  const std::vector<unsigned> Longest = naiveLongestMatches(Input);
  Exhaustive Search{Longest};
  Search.walk(0, 0, 0);
  return Search.Best;
}

void checkAgainstExhaustiveSearch(const std::string &Alphabet,
                                  size_t MaxLength, int Cases, uint32_t Seed) {
  std::mt19937 Rng(Seed);
  for (int Case = 0; Case < Cases; ++Case) {
    Bytes Input(Rng() % (MaxLength + 1));
    for (uint8_t &B : Input)
      B = uint8_t(Alphabet[Rng() % Alphabet.size()]);
    const Bytes Szdd = kwbpack::compressToSzdd(Input.data(), Input.size());
    const std::string Shown(Input.begin(), Input.end());
    ASSERT_EQ(Szdd.size(), smallestPossibleSize(Input)) << '"' << Shown << '"';
    const Decoded Result = decodeWithLibmspack(Szdd);
    ASSERT_TRUE(Result.Ok && Result.Data == Input) << '"' << Shown << '"';
  }
}

// Two letters give many overlapping matches and many equally good parses.
TEST(OptimalParse, MatchesExhaustiveSearchOverTwoLetters) {
  checkAgainstExhaustiveSearch("ab", 22, 150, 1);
}

// A space lets matches reach into the window's initial spaces.
TEST(OptimalParse, MatchesExhaustiveSearchWithSpaces) {
  checkAgainstExhaustiveSearch("a b", 22, 150, 2);
}

// Zero bytes too: nothing may treat them as the end of the data.
TEST(OptimalParse, MatchesExhaustiveSearchOverFourLettersWithZero) {
  checkAgainstExhaustiveSearch(std::string("abc\0", 4), 26, 150, 3);
}

// Inputs too long to enumerate: a dynamic program over true byte counts,
// tracking how many tokens the current flag byte already governs. It does not
// rely on the encoder's argument that the fewest bits make the fewest bytes,
// and small differences in cost only change the parse on longer inputs.
size_t smallestPossibleSizeByBytes(const Bytes &Input) {
  const std::vector<unsigned> Longest = naiveLongestMatches(Input);
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
      Bytes Input(1000 + Rng() % 3000);
      for (uint8_t &B : Input)
        B = uint8_t(Alphabet[Rng() % Alphabet.size()]);
      const Bytes Szdd = kwbpack::compressToSzdd(Input.data(), Input.size());
      ASSERT_EQ(Szdd.size(), smallestPossibleSizeByBytes(Input))
          << "alphabet \"" << Alphabet << "\", case " << Case;
    }
  }
}

// Runs long enough to need several maximal matches in a row.
TEST(OptimalParse, MatchesExhaustiveSearchOnRuns) {
  std::mt19937 Rng(4);
  for (int Case = 0; Case < 40; ++Case) {
    Bytes Input;
    while (Input.size() < 26)
      Input.insert(Input.end(), 1 + Rng() % 12, uint8_t("xy "[Rng() % 3]));
    const Bytes Szdd = kwbpack::compressToSzdd(Input.data(), Input.size());
    ASSERT_EQ(Szdd.size(), smallestPossibleSize(Input))
        << '"' << std::string(Input.begin(), Input.end()) << '"';
  }
}

// The benchmark compares against a greedy parse; it has to be a valid one.
TEST(GreedyParse, DecodesAndIsNeverSmallerThanOptimal) {
  const Bytes Input = mixedBytes(50000, 17);
  const Bytes Greedy = kwbpack::compressToSzdd(Input.data(), Input.size(),
                                               kwbpack::ParseStrategy::Greedy);
  const Bytes Optimal = kwbpack::compressToSzdd(Input.data(), Input.size());
  const Decoded Result = decodeWithLibmspack(Greedy);
  ASSERT_TRUE(Result.Ok) << Result.Error;
  EXPECT_TRUE(Result.Data == Input);
  EXPECT_LE(Optimal.size(), Greedy.size());
}

} // namespace
