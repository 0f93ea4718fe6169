//===- szdd_encoder.h - SZDD mode 'A' compressor ----------------*- C++ -*-===//
//
// Writes the compressed-file format the installer's expansion code reads:
// a 14-byte header (signature, mode 'A', no missing name character, the
// expanded length) followed by the LZSS stream.
//
//===----------------------------------------------------------------------===//
#ifndef KWBPACK_SZDD_ENCODER_H
#define KWBPACK_SZDD_ENCODER_H

#include "lzss_parse.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kwbpack {

/// The largest input the installer accepts for one payload file.
constexpr size_t MaxInputSize = 2000000;

constexpr size_t SzddHeaderSize = 14;

enum class ParseStrategy { Optimal, Greedy };

/// The LZSS stream (no header) that expands to Data along Parse. Unused bits
/// of the last flag byte stay 0, and nothing follows the last token: decoders
/// stop when the stream ends.
std::vector<uint8_t> encodeLzss(const uint8_t *Data, size_t Size,
                                const std::vector<Token> &Parse);

/// A complete SZDD file that expands to Data. Throws std::length_error for
/// inputs over MaxInputSize.
std::vector<uint8_t> compressToSzdd(const uint8_t *Data, size_t Size,
                                    ParseStrategy Strategy =
                                        ParseStrategy::Optimal);

} // namespace kwbpack

#endif
