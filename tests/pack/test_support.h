// Helpers shared by the kwbpack tests: scratch files, the external SZDD
// decoders the installer's output must satisfy, and running programs.
#ifndef KWBPACK_TESTS_TEST_SUPPORT_H
#define KWBPACK_TESTS_TEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

namespace packtest {

using Bytes = std::vector<uint8_t>;

Bytes toBytes(const std::string &Text);
Bytes readFileBytes(const std::string &Path);
void writeFileBytes(const std::string &Path, const Bytes &Data);
// Names in Dir, sorted.
std::vector<std::string> listDirectory(const std::string &Dir);

// A fresh directory under the system temp folder, removed with its contents.
class ScratchDir {
public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir &) = delete;
  ScratchDir &operator=(const ScratchDir &) = delete;
  const std::string &path() const { return Dir; }
  std::string file(const std::string &Name) const { return Dir + "/" + Name; }

private:
  std::string Dir;
};

// What a decoder made of an SZDD file: Ok with the expanded bytes, or an
// explanation in Error.
struct Decoded {
  bool Ok = false;
  Bytes Data;
  std::string Error;
};

Decoded decodeWithLibmspack(const Bytes &SzddFile);
// With msexpand from PATH; Error is "" when msexpand is not installed.
Decoded decodeWithMsexpand(const Bytes &SzddFile);
bool haveMsexpand();

struct RunResult {
  int ExitCode = -1; // -1 when the program did not exit normally.
  std::string Stdout;
  std::string Stderr;
};

// Runs Argv[0] with Argv, stdin from StdinPath (or /dev/null when empty).
RunResult runProgram(const std::vector<std::string> &Argv,
                     const std::string &StdinPath = "");

} // namespace packtest

#endif
