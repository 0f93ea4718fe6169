// The checksums the installer carries for its own payload, RT_RCDATA 132. For each of the
// resources 129, 130 and 131 in that order: a 32-bit count of its records, then for each
// record three 32-bit values: the CRC-32 of the record as stored (its length field and its
// bytes), the CRC-32 of the file it expands to, and that file's length. Every number is
// little-endian; the CRC is the common reflected one (polynomial 0xEDB88320, as zlib's).
// Last, the CRC-32 of all the bytes before it, and nothing after.
#pragma once

#include "base/crc32.h"
#include "platform/payload_resources.h"
#include "resource_ids.h"

#include <stdint.h>

const int PayloadSumsResourceId = IDR_PAYLOAD_SUMS;

extern const char DamagedSetupMessage[];

// The little-endian 32-bit number at bytes.
uint32_t ReadNumber(const uint8_t *bytes);

// One record of a payload resource: the bytes after its length field, and that length.
struct PayloadRecord {
  const uint8_t *Data;
  uint32_t Length;
};

// Reads the record that starts at offset. Returns false when its length field, or the
// data the field announces, would run past the end of the resource: the resource is
// damaged, and nothing beyond its end may be read.
bool ReadPayloadRecord(const ResourceBytes &resource, uint32_t offset, PayloadRecord *record);

// Where the sums of the expanded file of the record at index in the payload resource
// with id (129, 130 or 131) lie in the sums resource: its CRC, then its length. Null when
// the sums hold no such record.
const uint8_t *FindExpandedFileSum(const ResourceBytes &sums, int resourceId, int index);

// True when the sums resource is there and whole (as long as its counts say, its own CRC
// last and matching), and every record of the three payload
// resources is there, as many as the sums count, with the CRC they give.
bool IsPayloadIntact(PayloadResources &resources);
