// Reads a payload resource back the way the installer does: length, record,
// next length, until a zero length; each record with "SZDD" put back in
// front must decode to its input.
#include "sample_inputs.h"
#include "test_support.h"

#include "payload_resource.h"
#include "szdd_encoder.h"

#include <gtest/gtest.h>

using namespace packtest;

namespace {

uint32_t readLittleEndian32(const Bytes &Data, size_t At) {
  return uint32_t(Data[At]) | uint32_t(Data[At + 1]) << 8 |
         uint32_t(Data[At + 2]) << 16 | uint32_t(Data[At + 3]) << 24;
}

// Walks Resource and checks it holds exactly Inputs, in order.
void expectResourceHolds(const Bytes &Resource, const std::vector<Bytes> &Inputs) {
  size_t At = 0;
  for (size_t Index = 0;; ++Index) {
    ASSERT_LE(At + 4, Resource.size()) << "no end mark";
    const uint32_t Length = readLittleEndian32(Resource, At);
    At += 4;
    if (Length == 0) {
      EXPECT_EQ(Index, Inputs.size()) << "records before the end mark";
      break;
    }
    ASSERT_LT(Index, Inputs.size()) << "more records than inputs";
    ASSERT_LE(At + Length, Resource.size()) << "record " << Index;
    Bytes Szdd = toBytes("SZDD");
    Szdd.insert(Szdd.end(), Resource.begin() + At,
                Resource.begin() + At + Length);
    At += Length;
    const Decoded Result = decodeWithLibmspack(Szdd);
    ASSERT_TRUE(Result.Ok) << "record " << Index << ": " << Result.Error;
    EXPECT_TRUE(Result.Data == Inputs[Index]) << "record " << Index;
  }
  EXPECT_EQ(At, Resource.size()) << "bytes after the end mark";
}

std::vector<Bytes> someInputs() {
  return {toBytes("first file\r\n"), {}, makeSampleInput("Executable"),
          Bytes(5000, ' '), mixedBytes(70000, 4)};
}

TEST(PayloadResource, RecordsReadBackInOrder) {
  const std::vector<Bytes> Inputs = someInputs();
  std::vector<Bytes> Files;
  for (const Bytes &Input : Inputs)
    Files.push_back(kwbpack::compressToSzdd(Input.data(), Input.size()));
  expectResourceHolds(kwbpack::buildPayloadResource(Files), Inputs);
}

TEST(PayloadResource, ToolWritesInputsInCommandLineOrder) {
  const std::vector<Bytes> Inputs = someInputs();
  ScratchDir Scratch;
  std::vector<std::string> Argv = {KWBPACK_EXE, "resource",
                                   Scratch.file("payload.bin")};
  for (size_t I = 0; I < Inputs.size(); ++I) {
    const std::string Path = Scratch.file("in" + std::to_string(I));
    writeFileBytes(Path, Inputs[I]);
    Argv.push_back(Path);
  }
  const RunResult Run = runProgram(Argv);
  ASSERT_EQ(Run.ExitCode, 0) << Run.Stderr;
  expectResourceHolds(readFileBytes(Scratch.file("payload.bin")), Inputs);
}

} // namespace
