//===- lzss_parse.cpp - Choosing literals and matches ---------------------===//

#include "lzss_parse.h"

#include <cstdint>

namespace kwbpack {

std::vector<Token> parseOptimal(const std::vector<Match> &Matches) {
  const size_t Size = Matches.size();
  // Bits[P] = least size of the rest of the stream from position P on. A
  // 2,000,000-byte input is at most 18,000,000 bits: 32 bits are plenty.
  std::vector<uint32_t> Bits(Size + 1, 0);
  std::vector<Token> Choice(Size);
  for (size_t Pos = Size; Pos-- > 0;) {
    // Every length up to the longest is available at the same distance, and
    // all cost the same: take the one leaving the cheapest rest. Ties go to
    // the longer match (same size, fewer steps to decode). Written without
    // branches, which would be mispredicted about half the time.
    uint32_t MatchRest = UINT32_MAX;
    unsigned MatchLen = 0;
    for (unsigned Len = MinMatch; Len <= Matches[Pos].Length; ++Len) {
      const bool Take = Bits[Pos + Len] <= MatchRest;
      MatchRest = Take ? Bits[Pos + Len] : MatchRest;
      MatchLen = Take ? Len : MatchLen;
    }
    const uint32_t LiteralCost = Bits[Pos + 1] + LiteralBits;
    if (MatchLen && MatchRest + MatchBits <= LiteralCost) {
      Bits[Pos] = MatchRest + MatchBits;
      Choice[Pos] = {uint16_t(MatchLen), Matches[Pos].Distance};
    } else {
      Bits[Pos] = LiteralCost;
      Choice[Pos] = Token{};
    }
  }

  size_t Steps = 0;
  for (size_t Pos = 0; Pos < Size; Pos += Choice[Pos].Length)
    ++Steps;
  std::vector<Token> Parse;
  Parse.reserve(Steps);
  for (size_t Pos = 0; Pos < Size; Pos += Choice[Pos].Length)
    Parse.push_back(Choice[Pos]);
  return Parse;
}

std::vector<Token> parseGreedy(const std::vector<Match> &Matches) {
  std::vector<Token> Parse;
  for (size_t Pos = 0; Pos < Matches.size(); Pos += Parse.back().Length) {
    const Match &M = Matches[Pos];
    Parse.push_back(M.Length ? Token{M.Length, M.Distance} : Token{});
  }
  return Parse;
}

} // namespace kwbpack
