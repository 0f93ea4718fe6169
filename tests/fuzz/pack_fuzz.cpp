// The packer over arbitrary input: libmspack expands its output to exactly the input,
// and the optimal parse is never larger than a greedy one.
#include "memory_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > kwbpack::MaxInputSize)
    return -1;
  std::vector<uint8_t> packed = kwbpack::compressToSzdd(data, size);
  std::vector<uint8_t> greedy = kwbpack::compressToSzdd(data, size, kwbpack::ParseStrategy::Greedy);
  std::string expanded;
  int error = ExpandInMemory(std::string(packed.begin(), packed.end()), &expanded);
  Require(error == MSPACK_ERR_OK && expanded == std::string(data, data + size), "the packed file does not expand to the input");
  Require(packed.size() <= greedy.size(), "the optimal parse is larger than the greedy one");
  return 0;
}
