// The CRC-32 of the payload's checksums: the common reflected one, polynomial 0xEDB88320,
// preset and final complement, as zlib's crc32 and the ZIP format compute it. The installer
// checks its payload with it and the packer writes the sums it checks against.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The CRC-32 of size bytes.
uint32_t Crc32(const uint8_t *data, size_t size);
