#include "sample_inputs.h"

#include "szdd_encoder.h"

#include <functional>
#include <map>
#include <random>
#include <stdexcept>

namespace packtest {

namespace {

// A file of the machine, or Fallback when it is missing; real files are
// better test data than anything generated, but the tests must not depend
// on them.
Bytes machineFileOr(const std::string &Path, const std::function<Bytes()> &Fallback) {
  try {
    Bytes Data = readFileBytes(Path);
    Data.resize(std::min(Data.size(), kwbpack::MaxInputSize));
    return Data;
  } catch (const std::exception &) {
    return Fallback();
  }
}

Bytes repeated(const Bytes &Block, int Times) {
  Bytes Data;
  for (int I = 0; I < Times; ++I)
    Data.insert(Data.end(), Block.begin(), Block.end());
  return Data;
}

const std::map<std::string, std::function<Bytes()>> &samples() {
  static const std::map<std::string, std::function<Bytes()>> Samples = {
      {"Empty", [] { return Bytes(); }},
      {"OneByte", [] { return Bytes{'x'}; }},
      {"FifteenBytes", [] { return toBytes("Fifteen bytes!\n"); }},
      {"AllSpaces", [] { return Bytes(20000, ' '); }},
      {"LeadingSpaces", [] { return toBytes("       two words   and spaces"); }},
      {"Runs",
       [] {
         Bytes Data;
         std::mt19937 Rng(3);
         for (int Run = 0; Run < 400; ++Run)
           Data.insert(Data.end(), 1 + Rng() % 300, uint8_t(Rng()));
         return Data;
       }},
      {"Text",
       [] {
         return machineFileOr("/usr/share/common-licenses/GPL-3", [] {
           return bytesFrom("the installer copies each file\n", 35000, 7);
         });
       }},
      {"Executable",
       [] { return machineFileOr("/usr/bin/ls", [] { return readFileBytes("/proc/self/exe"); }); }},
      {"Random", [] { return randomBytes(100000, 5); }},
      // A random block three times: the only matches are exactly as far back
      // as the window reaches.
      {"WindowEdge", [] { return repeated(randomBytes(4096, 11), 3); }},
      // Zero is what lies past the end in some match finders' buffers: a
      // match must not run on into it.
      {"TrailingZeros",
       [] {
         Bytes Data = toBytes("zeros follow");
         Data.resize(Data.size() + 100, 0);
         return Data;
       }},
      {"Mixed", [] { return mixedBytes(300000, 9); }},
      {"LargestAllowed", [] { return mixedBytes(kwbpack::MaxInputSize, 13); }},
  };
  return Samples;
}

} // namespace

Bytes randomBytes(size_t Size, uint32_t Seed) {
  std::mt19937 Rng(Seed);
  Bytes Data(Size);
  for (uint8_t &B : Data)
    B = uint8_t(Rng());
  return Data;
}

Bytes bytesFrom(const std::string &Alphabet, size_t Size, uint32_t Seed) {
  std::mt19937 Rng(Seed);
  Bytes Data(Size);
  for (uint8_t &B : Data)
    B = uint8_t(Alphabet[Rng() % Alphabet.size()]);
  return Data;
}

Bytes mixedBytes(size_t Size, uint32_t Seed) {
  std::mt19937 Rng(Seed);
  Bytes Data;
  Data.reserve(Size);
  while (Data.size() < Size) {
    const size_t Len = 1 + Rng() % 40;
    switch (Rng() % 4) {
    case 0: // run
      Data.insert(Data.end(), Len, uint8_t(Rng()));
      break;
    case 1: // random stretch
      for (size_t I = 0; I < Len; ++I)
        Data.push_back(uint8_t(Rng()));
      break;
    default: { // copy from up to 5000 back, so some lie beyond the window
      if (Data.empty())
        break;
      const size_t Back = 1 + Rng() % std::min<size_t>(Data.size(), 5000);
      for (size_t I = 0; I < Len; ++I)
        Data.push_back(Data[Data.size() - Back]);
      break;
    }
    }
  }
  Data.resize(Size);
  return Data;
}

size_t matchLength(const Bytes &Input, size_t Pos, size_t Dist) {
  size_t Len = 0;
  while (Len < 18 && Pos + Len < Input.size() &&
         (Pos + Len < Dist ? uint8_t(' ') : Input[Pos + Len - Dist]) == Input[Pos + Len])
    ++Len;
  return Len;
}

std::vector<size_t> longestMatches(const Bytes &Input) {
  std::vector<size_t> Longest(Input.size(), 0);
  for (size_t Pos = 0; Pos < Input.size(); ++Pos)
    for (size_t Dist = 4096; Dist >= 1 && Longest[Pos] < 18; --Dist)
      Longest[Pos] = std::max(Longest[Pos], matchLength(Input, Pos, Dist));
  return Longest;
}

std::vector<std::string> sampleInputNames() {
  std::vector<std::string> Names;
  for (const auto &Sample : samples())
    Names.push_back(Sample.first);
  return Names;
}

Bytes makeSampleInput(const std::string &Name) {
  auto Found = samples().find(Name);
  if (Found == samples().end())
    throw std::invalid_argument("no sample input named " + Name);
  return Found->second();
}

} // namespace packtest
