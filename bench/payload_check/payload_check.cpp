// How long the start-up check of the payload takes: the stand-in payload's sizes, a
// payload of 2 MB and one of 7 MB (a real product's size), each checked many times over
// the bytes in memory; the best round gives the speed.
//     build/native/bench/payload_check/payload_check_bench
#include "install/payload_sums.h"
#include "payload_resource.h"
#include "payload_sums.h"
#include "szdd_encoder.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;

// Bytes that compress about as real programs do.
Bytes Generated(uint32_t seed, size_t size) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = uint8_t((i * i * seed) >> 10);
  return bytes;
}

class InMemory : public PayloadResources {
public:
  std::map<int, Bytes> Resources;
  bool Find(int id, ResourceBytes *bytes) override {
    auto found = Resources.find(id);
    if (found == Resources.end())
      return false;
    *bytes = {found->second.data(), uint32_t(found->second.size())};
    return true;
  }
};

void Measure(const char *name, const std::vector<std::vector<size_t>> &sizes) {
  InMemory payload;
  std::vector<Bytes> packed;
  size_t total = 0;
  for (size_t r = 0; r < sizes.size(); ++r) {
    std::vector<Bytes> files;
    for (size_t size : sizes[r])
      files.push_back(kwbpack::compressToSzdd(Generated(uint32_t(r * 7 + size), size).data(), size));
    packed.push_back(kwbpack::buildPayloadResource(files));
    payload.Resources[int(129 + r)] = packed.back();
    total += packed.back().size();
  }
  payload.Resources[132] = kwbpack::buildPayloadSums(packed);
  const int rounds = 50;
  double best = 1e9;
  bool intact = true;
  for (int i = 0; i < rounds; ++i) {
    const auto begun = std::chrono::steady_clock::now();
    intact = IsPayloadIntact(payload) && intact;
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begun).count();
    best = ms < best ? ms : best;
  }
  std::printf("%-22s %9zu bytes packed  %7.2f ms a check  %6.2f GB/s  %s\n", name, total, best,
              total / best / 1e6, intact ? "intact" : "NOT INTACT");
}

} // namespace

int main() {
  Measure("stand-in payload", {{13312}, {16896, 1397, 345, 14848}, {16896, 1393, 341, 14848}});
  Measure("2 MB payload", {{372736}, {560000, 120000, 30000, 90000}, {580000, 120000, 30000, 90000}});
  Measure("7 MB payload", {{1900000}, {1900000, 600000, 100000, 400000}, {1950000, 600000, 100000, 400000}});
  return 0;
}
