//===- little_endian.h - Appending little-endian integers -------*- C++ -*-===//
#ifndef KWBPACK_LITTLE_ENDIAN_H
#define KWBPACK_LITTLE_ENDIAN_H

#include <cstdint>
#include <vector>

namespace kwbpack {

inline void appendLittleEndian32(std::vector<uint8_t> &Out, uint32_t Value) {
  for (int Shift = 0; Shift < 32; Shift += 8)
    Out.push_back(uint8_t(Value >> Shift));
}

} // namespace kwbpack

#endif
