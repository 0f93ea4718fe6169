//===- payload_resource.cpp - Packed payload resource layout --------------===//

#include "payload_resource.h"
#include "szdd_encoder.h"
#include "little_endian.h"

#include <stdexcept>

namespace kwbpack {

namespace {

constexpr size_t SignatureSize = 4;

} // namespace

std::vector<uint8_t>
buildPayloadResource(const std::vector<std::vector<uint8_t>> &SzddFiles) {
  std::vector<uint8_t> Out;
  for (const std::vector<uint8_t> &File : SzddFiles) {
    if (File.size() < SzddHeaderSize)
      throw std::invalid_argument("not an SZDD file");
    appendLittleEndian32(Out, uint32_t(File.size() - SignatureSize));
    Out.insert(Out.end(), File.begin() + SignatureSize, File.end());
  }
  appendLittleEndian32(Out, 0); // End mark.
  return Out;
}

} // namespace kwbpack
