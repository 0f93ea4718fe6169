// Packed payload resources for the extraction tests, made with the project's packer
// from generated product files, and the pieces to build damaged ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Text-like bytes that compress the way real files do; the same seed gives the same
// bytes.
std::string GeneratedFile(uint32_t seed, size_t size);

// The file in SZDD form, as the packer writes it.
std::string Compressed(const std::string &bytes);

// One payload record: the SZDD form without its first four bytes behind its length.
std::string Record(const std::string &bytes);
// A 32-bit little-endian number, as record lengths are written.
std::string LittleEndian32(uint32_t value);
// A whole resource: the records of the files, in order, and the zero end mark.
std::string PackedResource(const std::vector<std::string> &files);

// The stand-in product: the four files of each edition and the library.
struct ProductFiles {
  std::vector<std::string> Edition311; // KWB.exe, KWB.hlp, KWB.cnt, uninstall.exe
  std::vector<std::string> Edition42;
  std::string Library;
};
const ProductFiles &TestProduct();
