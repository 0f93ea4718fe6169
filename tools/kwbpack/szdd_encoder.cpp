//===- szdd_encoder.cpp - SZDD mode 'A' compressor ------------------------===//

#include "szdd_encoder.h"
#include "little_endian.h"
#include "match_finder.h"

#include <stdexcept>
#include <string>

namespace kwbpack {

namespace {

constexpr uint8_t Signature[8] = {0x53, 0x5A, 0x44, 0x44,
                                  0x88, 0xF0, 0x27, 0x33};
constexpr uint8_t ModeA = 'A';

// The decoder stores its first output byte here, 16 short of the window end.
constexpr unsigned FirstWindowPos = WindowSize - 16;

} // namespace

std::vector<uint8_t> encodeLzss(const uint8_t *Data, size_t Size,
                                const std::vector<Token> &Parse) {
  std::vector<uint8_t> Out;
  Out.reserve(Size + Size / 8 + 1);
  size_t FlagIndex = 0;
  unsigned FlagBit = 8; // Forces a new flag byte before the first token.
  size_t Pos = 0;
  for (const Token &T : Parse) {
    if (FlagBit == 8) {
      FlagIndex = Out.size();
      Out.push_back(0);
      FlagBit = 0;
    }
    if (T.Length == 1) {
      Out[FlagIndex] |= uint8_t(1u << FlagBit);
      Out.push_back(Data[Pos]);
    } else {
      // Matches name an absolute window slot, not a distance.
      const unsigned Slot = (FirstWindowPos + Pos - T.Distance) % WindowSize;
      Out.push_back(uint8_t(Slot & 0xFF));
      Out.push_back(uint8_t(((Slot >> 4) & 0xF0) | (T.Length - MinMatch)));
    }
    ++FlagBit;
    Pos += T.Length;
  }
  if (Pos != Size)
    throw std::logic_error("parse does not cover the input");
  return Out;
}

std::vector<uint8_t> compressToSzdd(const uint8_t *Data, size_t Size,
                                    ParseStrategy Strategy) {
  if (Size > MaxInputSize)
    throw std::length_error("input is larger than " +
                            std::to_string(MaxInputSize) + " bytes");
  const std::vector<Match> Matches = findLongestMatches(Data, Size);
  const std::vector<Token> Parse = Strategy == ParseStrategy::Optimal
                                       ? parseOptimal(Matches)
                                       : parseGreedy(Matches);

  std::vector<uint8_t> Out(std::begin(Signature), std::end(Signature));
  Out.push_back(ModeA);
  Out.push_back(0); // No missing last name character.
  appendLittleEndian32(Out, uint32_t(Size));
  const std::vector<uint8_t> Stream = encodeLzss(Data, Size, Parse);
  Out.insert(Out.end(), Stream.begin(), Stream.end());
  return Out;
}

} // namespace kwbpack
