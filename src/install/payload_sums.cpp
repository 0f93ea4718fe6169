#include "install/payload_sums.h"

const char DamagedSetupMessage[] = "The setup program is damaged\r\nObtain a new copy and try again";

namespace {

const int FirstPayloadId = IDR_LIBRARY_PAYLOAD;
const int PayloadResourceCount = 3;
const uint32_t SumsPerRecord = 3;

// The sums of one payload resource: its record count and where its records' sums begin.
// False when the sums resource is too short for them.
bool FindResourceSums(const ResourceBytes &sums, int resourceId, uint32_t *count,
                      const uint8_t **records) {
  uint32_t offset = 0;
  for (int id = FirstPayloadId;; ++id) {
    if (sums.Size < 4 || offset > sums.Size - 4)
      return false;
    *count = ReadNumber(sums.Data + offset);
    offset += 4;
    if (*count > (sums.Size - offset) / (4 * SumsPerRecord))
      return false;
    *records = sums.Data + offset;
    if (id == resourceId)
      return true;
    offset += *count * 4 * SumsPerRecord;
  }
}

} // namespace

uint32_t ReadNumber(const uint8_t *bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool ReadPayloadRecord(const ResourceBytes &resource, uint32_t offset, PayloadRecord *record) {
  if (resource.Size < 4 || offset > resource.Size - 4)
    return false;
  const uint32_t length = ReadNumber(resource.Data + offset);
  if (length > resource.Size - offset - 4)
    return false;
  record->Data = resource.Data + offset + 4;
  record->Length = length;
  return true;
}

const uint8_t *FindExpandedFileSum(const ResourceBytes &sums, int resourceId, int index) {
  uint32_t count = 0;
  const uint8_t *records = nullptr;
  if (!FindResourceSums(sums, resourceId, &count, &records) ||
      static_cast<uint32_t>(index) >= count)
    return nullptr;
  return records + index * 4 * SumsPerRecord + 4;
}

__attribute__((noinline)) bool IsPayloadIntact(PayloadResources &resources) {
  ResourceBytes sums;
  if (!resources.Find(PayloadSumsResourceId, &sums))
    return false;
  const uint8_t *records = nullptr;
  for (int id = FirstPayloadId; id < FirstPayloadId + PayloadResourceCount; ++id) {
    ResourceBytes payload;
    uint32_t count = 0;
    if (!resources.Find(id, &payload) || !FindResourceSums(sums, id, &count, &records))
      return false;
    // Each record, as many as counted, then the end mark; nothing read past the end.
    uint32_t offset = 0;
    for (uint32_t i = 0;; ++i, records += 4 * SumsPerRecord) {
      PayloadRecord record;
      if (!ReadPayloadRecord(payload, offset, &record))
        return false;
      if (i == count) {
        if (record.Length != 0)
          return false;
        break;
      }
      if (record.Length == 0 ||
          Crc32(record.Data - 4, 4 + record.Length) != ReadNumber(records))
        return false;
      offset += 4 + record.Length;
    }
  }
  // After the last resource's sums, only the CRC of every byte before it.
  const uint8_t *end = sums.Data + sums.Size - 4;
  return records == end && Crc32(sums.Data, sums.Size - 4) == ReadNumber(end);
}
