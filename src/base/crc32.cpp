// Eight bytes a step over eight tables, made on the heap before the program starts, so
// that the file carries none of their 8 KB. Table[k][b] is the CRC register after the
// byte b and k zero bytes: in a step of n bytes, the first byte goes through Table[n - 1]
// and the last through Table[0], each byte first combined with the register's byte that
// meets it, and what is left of the register moves down by the n bytes.
#include "base/crc32.h"

#include <string.h>

namespace {

uint32_t (*Table)[256];

struct TableMaker {
  TableMaker();
} Maker;

// Table[0][b] is b shifted out bit by bit; every further entry is the entry one table
// down shifted by another eight zero bits.
TableMaker::TableMaker() {
  Table = new uint32_t[8][256];
  uint32_t *entry = Table[0];
  for (uint32_t n = 0; n < 8 * 256; ++n) {
    uint32_t crc = n < 256 ? n : entry[n - 256];
    for (int bit = 0; bit < 8; ++bit)
      crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
    entry[n] = crc;
  }
}

} // namespace

uint32_t Crc32(const uint8_t *data, size_t size) {
  uint32_t crc = ~0u;
#if UINTPTR_MAX > 0xFFFFFFFFu && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  // The 64-bit builds, where a few more bytes of code cost nothing, read the eight bytes
  // as two little-endian words and look up the four bytes that do not depend on the
  // register first, so that only half the step waits for the one before.
  for (; size >= 8; size -= 8, data += 8) {
    uint32_t low, high;
    memcpy(&low, data, 4);
    memcpy(&high, data + 4, 4);
    low ^= crc;
    const uint32_t later = (Table[3][high & 255] ^ Table[2][high >> 8 & 255]) ^
                           (Table[1][high >> 16 & 255] ^ Table[0][high >> 24]);
    crc = (Table[7][low & 255] ^ Table[6][low >> 8 & 255]) ^
          (Table[5][low >> 16 & 255] ^ Table[4][low >> 24]) ^ later;
  }
#endif
  while (size) {
    const size_t step = size < 8 ? size : 8;
    size -= step;
    uint32_t next = 0;
    for (const uint32_t *table = Table[step]; table != Table[0];) {
      table -= 256;
      next ^= table[(*data++ ^ crc) & 255];
      crc >>= 8;
    }
    crc ^= next;
  }
  return ~crc;
}
