//===- file_io.h - Whole-file reads and all-or-nothing writes ---*- C++ -*-===//
#ifndef KWBPACK_FILE_IO_H
#define KWBPACK_FILE_IO_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kwbpack {

/// Reads all of Path. Throws std::runtime_error with a one-line message
/// naming Path when it cannot be read or holds more than MaxSize bytes.
std::vector<uint8_t> readWholeFile(const std::string &Path, size_t MaxSize);

/// Writes Bytes to a temporary file beside Path, then renames it over Path,
/// so Path ends up either complete or untouched and no temporary file is
/// left behind. Throws std::runtime_error naming Path on failure.
void writeFileAtomically(const std::string &Path,
                         const std::vector<uint8_t> &Bytes);

} // namespace kwbpack

#endif
