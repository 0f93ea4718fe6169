#include "test_support.h"

#include <mspack.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

bool pathExists(const std::string &Path) {
  struct stat St;
  return ::lstat(Path.c_str(), &St) == 0;
}

std::vector<std::string> listDirectory(const std::string &Dir) {
  std::vector<std::string> Names;
  if (DIR *D = ::opendir(Dir.c_str())) {
    while (const dirent *E = ::readdir(D)) {
      const std::string Name = E->d_name;
      if (Name != "." && Name != "..")
        Names.push_back(Name);
    }
    ::closedir(D);
  }
  std::sort(Names.begin(), Names.end());
  return Names;
}

namespace {

void removeTree(const std::string &Path) {
  struct stat St;
  if (::lstat(Path.c_str(), &St) != 0)
    return;
  if (S_ISDIR(St.st_mode)) {
    for (const std::string &Name : listDirectory(Path))
      removeTree(Path + "/" + Name);
    ::rmdir(Path.c_str());
  } else {
    ::unlink(Path.c_str());
  }
}

std::string readText(const std::string &Path) {
  const Bytes Data = readFileBytes(Path);
  return std::string(Data.begin(), Data.end());
}

} // namespace

ScratchDir::ScratchDir() {
  const char *Base = std::getenv("TMPDIR");
  std::string Template = std::string(Base && *Base ? Base : "/tmp") +
                         "/kwbpack-test.XXXXXX";
  if (!::mkdtemp(&Template[0]))
    throw std::runtime_error("cannot create a scratch directory");
  Dir = Template;
}

ScratchDir::~ScratchDir() { removeTree(Dir); }

Decoded decodeWithLibmspack(const Bytes &SzddFile) {
  ScratchDir Scratch;
  writeFileBytes(Scratch.file("in"), SzddFile);
  Decoded Result;
  msszdd_decompressor *D = mspack_create_szdd_decompressor(nullptr);
  if (!D) {
    Result.Error = "libmspack: cannot create a decompressor";
    return Result;
  }
  const int Err = D->decompress(D, Scratch.file("in").c_str(),
                                Scratch.file("out").c_str());
  mspack_destroy_szdd_decompressor(D);
  if (Err != MSPACK_ERR_OK) {
    Result.Error = "libmspack error " + std::to_string(Err);
    return Result;
  }
  Result.Ok = true;
  Result.Data = readFileBytes(Scratch.file("out"));
  return Result;
}

Decoded decodeWithMsexpand(const std::string &MsexpandPath,
                           const Bytes &SzddFile) {
  ScratchDir Scratch;
  writeFileBytes(Scratch.file("in"), SzddFile);
  const RunResult Run = runProgram({MsexpandPath}, Scratch.file("in"));
  Decoded Result;
  if (Run.ExitCode != 0) {
    Result.Error = "msexpand exit " + std::to_string(Run.ExitCode) + ": " +
                   Run.Stderr;
    return Result;
  }
  Result.Ok = true;
  Result.Data = toBytes(Run.Stdout);
  return Result;
}

std::string findOnPath(const std::string &Name) {
  const char *Path = std::getenv("PATH");
  std::string Dirs = Path ? Path : "/usr/bin:/bin";
  size_t Start = 0;
  while (Start <= Dirs.size()) {
    size_t End = Dirs.find(':', Start);
    if (End == std::string::npos)
      End = Dirs.size();
    const std::string Candidate = Dirs.substr(Start, End - Start) + "/" + Name;
    if (End > Start && ::access(Candidate.c_str(), X_OK) == 0)
      return Candidate;
    Start = End + 1;
  }
  return "";
}

RunResult runProgram(const std::vector<std::string> &Argv,
                     const std::string &StdinPath, int TimeoutSeconds) {
  // Output goes to files rather than pipes so a chatty child never blocks
  // while we poll for its exit.
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
    const int In =
        ::open(StdinPath.empty() ? "/dev/null" : StdinPath.c_str(), O_RDONLY);
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

  RunResult Result;
  const auto Deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(TimeoutSeconds);
  int Status = 0;
  for (;;) {
    const pid_t Done = ::waitpid(Pid, &Status, WNOHANG);
    if (Done == Pid)
      break;
    if (Done < 0 && errno != EINTR)
      throw std::runtime_error("waitpid failed");
    if (std::chrono::steady_clock::now() > Deadline) {
      ::kill(Pid, SIGKILL);
      ::waitpid(Pid, &Status, 0);
      Result.Stderr = Argv[0] + " timed out after " +
                      std::to_string(TimeoutSeconds) + " s";
      return Result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(Status))
    Result.ExitCode = WEXITSTATUS(Status);
  Result.Stdout = readText(OutPath);
  Result.Stderr = readText(ErrPath);
  return Result;
}

} // namespace packtest
