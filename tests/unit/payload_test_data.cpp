#include "payload_test_data.h"

#include "payload_resource.h"
#include "szdd_encoder.h"

namespace {

std::vector<uint8_t> BytesOf(const std::string &text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

std::string GeneratedFile(uint32_t seed, size_t size) {
  static const char *const words[] = {"Vistrel", "image",  "browser", "thumbnail", "JPEG",
                                      "folder",  "window", "print",   "slide",     "zoom",
                                      "\r\n",    "\x01\x02", "\xff",  "rotate",    "crop"};
  const size_t wordCount = sizeof words / sizeof words[0];
  std::string bytes;
  uint32_t state = seed * 2654435761u + 1;
  while (bytes.size() < size) {
    state = state * 1664525u + 1013904223u;
    bytes += words[(state >> 16) % wordCount];
    // Now and then a byte of noise, so that not everything is a match.
    if ((state >> 8) % 7 == 0)
      bytes += static_cast<char>(state >> 24);
    bytes += ' ';
  }
  bytes.resize(size);
  return bytes;
}

std::string Compressed(const std::string &bytes) {
  std::vector<uint8_t> szdd =
      kwbpack::compressToSzdd(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
  return std::string(szdd.begin(), szdd.end());
}

std::string LittleEndian32(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

std::string Record(const std::string &bytes) {
  std::string szdd = Compressed(bytes);
  return LittleEndian32(static_cast<uint32_t>(szdd.size() - 4)) + szdd.substr(4);
}

std::string PackedResource(const std::vector<std::string> &files) {
  std::vector<std::vector<uint8_t>> compressed;
  for (const std::string &file : files)
    compressed.push_back(BytesOf(Compressed(file)));
  std::vector<uint8_t> resource = kwbpack::buildPayloadResource(compressed);
  return std::string(resource.begin(), resource.end());
}

const ProductFiles &TestProduct() {
  static const ProductFiles product = {
      {GeneratedFile(1, 61000), GeneratedFile(2, 23000), GeneratedFile(3, 700),
       GeneratedFile(4, 9100)},
      {GeneratedFile(11, 64000), GeneratedFile(12, 21000), GeneratedFile(13, 820),
       GeneratedFile(14, 9300)},
      GeneratedFile(20, 31000),
  };
  return product;
}
