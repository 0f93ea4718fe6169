//===- payload_sums.h - checksums of the payload resources ------*- C++ -*-===//
//
// The installer checks its payload against a resource of checksums before it writes
// anything: for each payload resource in order, a 32-bit record count, then for each
// record the CRC-32 of the record as stored (length field and bytes), the CRC-32 of the
// file it expands to and that file's length; last the CRC-32 of all the bytes before it.
// Every number is 32-bit little-endian.
//
//===----------------------------------------------------------------------===//

#ifndef KWBPACK_PAYLOAD_SUMS_H
#define KWBPACK_PAYLOAD_SUMS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kwbpack {

// The checksum resource for the payload resources given in order. Throws for a resource
// whose records run past its end or do not expand.
std::vector<uint8_t>
buildPayloadSums(const std::vector<std::vector<uint8_t>> &Resources);

} // namespace kwbpack

#endif
