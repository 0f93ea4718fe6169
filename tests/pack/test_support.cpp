#include "test_support.h"

#include <mspack.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace packtest {

Bytes toBytes(const std::string &Text) { return Bytes(Text.begin(), Text.end()); }

Bytes readFileBytes(const std::string &Path) {
  std::ifstream In(Path, std::ios::binary);
  if (!In)
    throw std::runtime_error("cannot open " + Path);
  return Bytes(std::istreambuf_iterator<char>(In), {});
}

void writeFileBytes(const std::string &Path, const Bytes &Data) {
  std::ofstream Out(Path, std::ios::binary);
  Out.write(reinterpret_cast<const char *>(Data.data()),
            std::streamsize(Data.size()));
  if (!Out.flush())
    throw std::runtime_error("cannot write " + Path);
}

std::vector<std::string> listDirectory(const std::string &Dir) {
  std::vector<std::string> Names;
  for (const fs::directory_entry &E : fs::directory_iterator(Dir))
    Names.push_back(E.path().filename().string());
  std::sort(Names.begin(), Names.end());
  return Names;
}

ScratchDir::ScratchDir() {
  std::string Template = (fs::temp_directory_path() / "kwbpack-test.XXXXXX").string();
  if (!::mkdtemp(&Template[0]))
    throw std::runtime_error("cannot create a scratch directory");
  Dir = Template;
}

ScratchDir::~ScratchDir() {
  std::error_code Ignored;
  fs::remove_all(Dir, Ignored);
}

Decoded decodeWithLibmspack(const Bytes &SzddFile) {
  ScratchDir Scratch;
  writeFileBytes(Scratch.file("in"), SzddFile);
  Decoded Result;
  msszdd_decompressor *D = mspack_create_szdd_decompressor(nullptr);
  const int Err = D ? D->decompress(D, Scratch.file("in").c_str(),
                                    Scratch.file("out").c_str())
                    : MSPACK_ERR_NOMEMORY;
  if (D)
    mspack_destroy_szdd_decompressor(D);
  if (Err != MSPACK_ERR_OK) {
    Result.Error = "libmspack error " + std::to_string(Err);
    return Result;
  }
  Result.Ok = true;
  Result.Data = readFileBytes(Scratch.file("out"));
  return Result;
}

bool haveMsexpand() { return std::system("command -v msexpand >/dev/null") == 0; }

Decoded decodeWithMsexpand(const Bytes &SzddFile) {
  ScratchDir Scratch;
  writeFileBytes(Scratch.file("in"), SzddFile);
  const RunResult Run = runProgram({"/bin/sh", "-c", "exec msexpand"}, Scratch.file("in"));
  Decoded Result;
  if (Run.ExitCode != 0) {
    Result.Error = "msexpand exit " + std::to_string(Run.ExitCode) + ": " + Run.Stderr;
    return Result;
  }
  Result.Ok = true;
  Result.Data = toBytes(Run.Stdout);
  return Result;
}

RunResult runProgram(const std::vector<std::string> &Argv,
                     const std::string &StdinPath) {
  // Output goes to files rather than pipes so a chatty child never blocks.
  ScratchDir Scratch;
  const std::string OutPath = Scratch.file("stdout");
  const std::string ErrPath = Scratch.file("stderr");
  std::vector<char *> Args;
  for (const std::string &A : Argv)
    Args.push_back(const_cast<char *>(A.c_str()));
  Args.push_back(nullptr);

  const pid_t Pid = ::fork();
  if (Pid < 0)
    throw std::runtime_error("fork failed");
  if (Pid == 0) {
    const int In = ::open(StdinPath.empty() ? "/dev/null" : StdinPath.c_str(), O_RDONLY);
    const int Out = ::open(OutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int Err = ::open(ErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (In < 0 || Out < 0 || Err < 0)
      ::_exit(126);
    ::dup2(In, 0);
    ::dup2(Out, 1);
    ::dup2(Err, 2);
    ::execv(Args[0], Args.data());
    ::_exit(127);
  }
  // A hung child is ended by the test's own time limit.
  int Status = 0;
  while (::waitpid(Pid, &Status, 0) < 0 && errno == EINTR) {
  }
  RunResult Result;
  if (WIFEXITED(Status))
    Result.ExitCode = WEXITSTATUS(Status);
  const Bytes Out = readFileBytes(OutPath), Err = readFileBytes(ErrPath);
  Result.Stdout.assign(Out.begin(), Out.end());
  Result.Stderr.assign(Err.begin(), Err.end());
  return Result;
}

} // namespace packtest
