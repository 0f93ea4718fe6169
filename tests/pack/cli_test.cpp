// The command line as the build uses it: successful runs produce the same
// bytes as the library, and every failure says one clear line on stderr,
// exits non-zero, and leaves no output (not even a partial or temporary one).
#include "sample_inputs.h"
#include "test_support.h"

#include "szdd_encoder.h"

#include <gtest/gtest.h>

using namespace packtest;

namespace {

RunResult kwbpack(std::vector<std::string> Args) {
  Args.insert(Args.begin(), KWBPACK_EXE);
  return runProgram(Args);
}

void expectOneLineError(const RunResult &Run) {
  EXPECT_NE(Run.ExitCode, 0);
  EXPECT_NE(Run.ExitCode, -1) << "crashed or hung: " << Run.Stderr;
  EXPECT_EQ(Run.Stderr.rfind("kwbpack: ", 0), 0u) << Run.Stderr;
  ASSERT_FALSE(Run.Stderr.empty());
  EXPECT_EQ(Run.Stderr.find('\n'), Run.Stderr.size() - 1) << Run.Stderr;
  EXPECT_TRUE(Run.Stdout.empty());
}

class Cli : public testing::Test {
protected:
  std::string write(const std::string &Name, const Bytes &Data) {
    writeFileBytes(Scratch.file(Name), Data);
    return Scratch.file(Name);
  }
  ScratchDir Scratch;
};

TEST_F(Cli, CompressWritesWhatTheLibraryMakes) {
  const Bytes Input = mixedBytes(40000, 8);
  const RunResult Run =
      kwbpack({"compress", write("in", Input), Scratch.file("out")});
  ASSERT_EQ(Run.ExitCode, 0) << Run.Stderr;
  EXPECT_TRUE(readFileBytes(Scratch.file("out")) ==
              kwbpack::compressToSzdd(Input.data(), Input.size()));
  EXPECT_EQ(listDirectory(Scratch.path()),
            (std::vector<std::string>{"in", "out"}));
}

TEST_F(Cli, AcceptsInputOfExactlyTheLimit) {
  const Bytes Input = mixedBytes(kwbpack::MaxInputSize, 6);
  const RunResult Run =
      kwbpack({"compress", write("in", Input), Scratch.file("out")});
  ASSERT_EQ(Run.ExitCode, 0) << Run.Stderr;
  const Decoded Result = decodeWithLibmspack(readFileBytes(Scratch.file("out")));
  ASSERT_TRUE(Result.Ok) << Result.Error;
  EXPECT_TRUE(Result.Data == Input);
}

TEST_F(Cli, RefusesInputOneByteOverTheLimit) {
  const std::string In = write("in", Bytes(kwbpack::MaxInputSize + 1, 'z'));
  const RunResult Run = kwbpack({"compress", In, Scratch.file("out")});
  expectOneLineError(Run);
  EXPECT_NE(Run.Stderr.find("2000000"), std::string::npos) << Run.Stderr;
  const RunResult InResource =
      kwbpack({"resource", Scratch.file("payload"), In});
  expectOneLineError(InResource);
  EXPECT_EQ(listDirectory(Scratch.path()), (std::vector<std::string>{"in"}));
}

TEST_F(Cli, MissingInputLeavesExistingOutputUntouched) {
  const Bytes Old = toBytes("previous build");
  const std::string Out = write("out", Old);
  expectOneLineError(kwbpack({"compress", Scratch.file("absent"), Out}));
  EXPECT_TRUE(readFileBytes(Out) == Old);
  // A bad input late in the list must not leave a resource with the earlier
  // records either.
  expectOneLineError(kwbpack(
      {"resource", Out, write("good", toBytes("ok")), Scratch.file("absent")}));
  EXPECT_TRUE(readFileBytes(Out) == Old);
  EXPECT_EQ(listDirectory(Scratch.path()),
            (std::vector<std::string>{"good", "out"}));
}

TEST_F(Cli, UnwritableOutputLeavesNothingBehind) {
  const std::string In = write("in", toBytes("some data to pack"));
  expectOneLineError(
      kwbpack({"compress", In, Scratch.file("no/such/dir/out")}));
  // A directory in the way: the temporary file is made, then cannot replace
  // it, and must be cleaned up.
  ASSERT_EQ(::mkdir(Scratch.file("taken").c_str(), 0755), 0);
  expectOneLineError(kwbpack({"compress", In, Scratch.file("taken")}));
  expectOneLineError(kwbpack({"resource", Scratch.file("taken"), In}));
  EXPECT_EQ(listDirectory(Scratch.path()),
            (std::vector<std::string>{"in", "taken"}));
  EXPECT_TRUE(listDirectory(Scratch.file("taken")).empty());
}

TEST_F(Cli, BadCommandLinesAreErrors) {
  const std::string In = write("in", toBytes("x"));
  const std::vector<std::string> Cases[] = {
      {},
      {"squash", "a", "b"},
      {"compress", In},
      {"resource"},
      {"resource", Scratch.file("payload")}, // an empty input list
      {"compress", Scratch.path(), Scratch.file("out")}, // a directory as input
  };
  for (const std::vector<std::string> &Args : Cases)
    expectOneLineError(kwbpack(Args));
  EXPECT_EQ(listDirectory(Scratch.path()), (std::vector<std::string>{"in"}));
}

TEST_F(Cli, HelpDescribesBothCommands) {
  const RunResult Run = kwbpack({"--help"});
  EXPECT_EQ(Run.ExitCode, 0);
  EXPECT_NE(Run.Stdout.find("compress IN OUT"), std::string::npos);
  EXPECT_NE(Run.Stdout.find("resource OUT IN1"), std::string::npos);
}

} // namespace
