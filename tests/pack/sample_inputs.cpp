#include "sample_inputs.h"

#include "szdd_encoder.h"

#include <random>
#include <stdexcept>

namespace packtest {

namespace {

// A file of the machine, or Fallback when it is missing; real files are
// better test data than anything generated, but the tests must not depend
// on them.
Bytes machineFileOr(const std::string &Path, Bytes Fallback) {
  try {
    Bytes Data = readFileBytes(Path);
    if (Data.size() > kwbpack::MaxInputSize)
      Data.resize(kwbpack::MaxInputSize);
    return Data;
  } catch (const std::exception &) {
    return Fallback;
  }
}

Bytes generatedText(size_t Size) {
  static const char *const Words[] = {
      "the",     "installer", "copies",  "each",   "file",  "into",
      "its",     "folder",    "and",     "writes", "a",     "shortcut",
      "when",    "asked",     "to;",     "setup",  "ends.", "Windows",
      "program", "data",      "\n",      "of",     "is",    "with"};
  std::mt19937 Rng(7);
  std::string Text;
  while (Text.size() < Size) {
    Text += Words[Rng() % (sizeof Words / sizeof *Words)];
    Text += ' ';
  }
  Text.resize(Size);
  return toBytes(Text);
}

Bytes runs() {
  Bytes Data;
  std::mt19937 Rng(3);
  for (int Run = 0; Run < 400; ++Run)
    Data.insert(Data.end(), 1 + Rng() % 300, uint8_t(Rng()));
  return Data;
}

// A random 4096-byte block three times: the only matches are exactly as far
// back as the window reaches.
Bytes windowEdge() {
  const Bytes Block = randomBytes(4096, 11);
  Bytes Data;
  for (int Copy = 0; Copy < 3; ++Copy)
    Data.insert(Data.end(), Block.begin(), Block.end());
  return Data;
}

} // namespace

Bytes randomBytes(size_t Size, uint32_t Seed) {
  std::mt19937 Rng(Seed);
  Bytes Data(Size);
  for (uint8_t &B : Data)
    B = uint8_t(Rng());
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

std::vector<std::string> sampleInputNames() {
  return {"Empty",      "OneByte", "FifteenBytes", "AllSpaces",
          "LeadingSpaces", "Runs", "Text",         "Executable",
          "Random",     "WindowEdge", "TrailingZeros", "Mixed",
          "LargestAllowed"};
}

Bytes makeSampleInput(const std::string &Name) {
  if (Name == "Empty")
    return {};
  if (Name == "OneByte")
    return {'x'};
  if (Name == "FifteenBytes")
    return toBytes("Fifteen bytes!\n");
  if (Name == "AllSpaces")
    return Bytes(20000, ' ');
  if (Name == "LeadingSpaces")
    return toBytes("       two words   and spaces");
  if (Name == "Runs")
    return runs();
  if (Name == "Text")
    return machineFileOr("/usr/share/common-licenses/GPL-3",
                         generatedText(35000));
  if (Name == "Executable")
    return machineFileOr("/usr/bin/ls", readFileBytes("/proc/self/exe"));
  if (Name == "Random")
    return randomBytes(100000, 5);
  if (Name == "WindowEdge")
    return windowEdge();
  if (Name == "TrailingZeros") {
    // Zero is what lies past the end in some match finders' buffers: a
    // match must not run on into it.
    Bytes Data = toBytes("zeros follow");
    Data.insert(Data.end(), 100, 0);
    return Data;
  }
  if (Name == "Mixed")
    return mixedBytes(300000, 9);
  if (Name == "LargestAllowed")
    return mixedBytes(kwbpack::MaxInputSize, 13);
  throw std::invalid_argument("no sample input named " + Name);
}

} // namespace packtest
