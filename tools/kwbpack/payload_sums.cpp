//===- payload_sums.cpp - checksums of the payload resources --------------===//
//
// The expanded files' sums are taken from the records themselves, expanded here by a
// decoder of the format's own, so that what the installer compares against is what the
// records hold, whatever they were packed from.
//
//===----------------------------------------------------------------------===//

#include "payload_sums.h"

#include "base/crc32.h"

#include <stdexcept>

namespace kwbpack {

namespace {

uint32_t readLE32(const uint8_t *P) {
  return uint32_t(P[0]) | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16 |
         uint32_t(P[3]) << 24;
}

void appendLE32(std::vector<uint8_t> &Out, uint32_t Value) {
  for (int Shift = 0; Shift < 32; Shift += 8)
    Out.push_back(uint8_t(Value >> Shift));
}

// Expands an SZDD body (what follows the 14-byte header): a flag byte per eight tokens,
// a literal or a 12-bit window position and a length of 3 to 18; the window starts as
// spaces and is written from position 4080.
std::vector<uint8_t> expandSzddBody(const uint8_t *P, const uint8_t *End) {
  std::vector<uint8_t> Out;
  uint8_t Window[4096];
  for (uint8_t &Byte : Window)
    Byte = ' ';
  unsigned Pos = 4080;
  while (P < End) {
    const unsigned Flags = *P++;
    for (int Bit = 0; Bit < 8 && P < End; ++Bit) {
      if (Flags >> Bit & 1) {
        Out.push_back(Window[Pos++ & 4095] = *P++);
        continue;
      }
      if (End - P < 2)
        throw std::runtime_error("a record ends inside a match");
      unsigned From = P[0] | (P[1] & 0xF0) << 4, Length = (P[1] & 0x0F) + 3;
      P += 2;
      while (Length--)
        Out.push_back(Window[Pos++ & 4095] = Window[From++ & 4095]);
    }
  }
  return Out;
}

} // namespace

std::vector<uint8_t>
buildPayloadSums(const std::vector<std::vector<uint8_t>> &Resources) {
  std::vector<uint8_t> Sums;
  for (const std::vector<uint8_t> &Resource : Resources) {
    std::vector<uint8_t> Records;
    uint32_t Count = 0;
    for (size_t Offset = 0;; ++Count) {
      if (Resource.size() < 4 || Offset > Resource.size() - 4)
        throw std::runtime_error("a payload resource has no end mark");
      const uint32_t Length = readLE32(&Resource[Offset]);
      if (Length == 0)
        break;
      if (Length < 10 || Length > Resource.size() - Offset - 4)
        throw std::runtime_error("a payload record runs past its resource");
      const uint8_t *Record = &Resource[Offset];
      const std::vector<uint8_t> File =
          expandSzddBody(Record + 14, Record + 4 + Length);
      if (File.size() != readLE32(Record + 10))
        throw std::runtime_error("a payload record does not expand to its length");
      appendLE32(Records, Crc32(Record, 4 + Length));
      appendLE32(Records, Crc32(File.data(), File.size()));
      appendLE32(Records, uint32_t(File.size()));
      Offset += 4 + Length;
    }
    appendLE32(Sums, Count);
    Sums.insert(Sums.end(), Records.begin(), Records.end());
  }
  appendLE32(Sums, Crc32(Sums.data(), Sums.size()));
  return Sums;
}

} // namespace kwbpack
