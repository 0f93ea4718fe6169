//===- payload_resource.h - Packed payload resource layout ------*- C++ -*-===//
//
// The installer carries its files as one resource: per file, a 32-bit
// little-endian length N followed by N bytes, which are the file's SZDD form
// minus its 4-byte "SZDD" signature (so the length sits where the signature
// was, and the reader puts "SZDD" back in place to get a file any SZDD
// decoder reads); a zero length ends the list. No real record is that short.
//
//===----------------------------------------------------------------------===//
#ifndef KWBPACK_PAYLOAD_RESOURCE_H
#define KWBPACK_PAYLOAD_RESOURCE_H

#include <cstdint>
#include <vector>

namespace kwbpack {

/// Builds the resource from complete SZDD files, kept in the given order.
std::vector<uint8_t>
buildPayloadResource(const std::vector<std::vector<uint8_t>> &SzddFiles);

} // namespace kwbpack

#endif
