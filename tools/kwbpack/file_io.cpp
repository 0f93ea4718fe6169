//===- file_io.cpp - Whole-file reads and all-or-nothing writes -----------===//

#include "file_io.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kwbpack {

namespace {

[[noreturn]] void failWithErrno(const std::string &What,
                                const std::string &Path) {
  throw std::runtime_error(What + " '" + Path + "': " + std::strerror(errno));
}

// Closes a descriptor when leaving scope, however that happens.
class FileDescriptor {
public:
  explicit FileDescriptor(int Fd) : Fd(Fd) {}
  ~FileDescriptor() {
    if (Fd >= 0)
      ::close(Fd);
  }
  FileDescriptor(const FileDescriptor &) = delete;
  FileDescriptor &operator=(const FileDescriptor &) = delete;
  int get() const { return Fd; }
  // Closes now, reporting the error a deferred write may only show here.
  bool close() {
    const int Result = ::close(Fd);
    Fd = -1;
    return Result == 0;
  }

private:
  int Fd;
};

// The mode a plain open(..., 0666) would give, which mkstemp does not.
mode_t defaultFileMode() {
  const mode_t Mask = ::umask(0);
  ::umask(Mask);
  return 0666 & ~Mask;
}

} // namespace

std::vector<uint8_t> readWholeFile(const std::string &Path, size_t MaxSize) {
  FileDescriptor File(::open(Path.c_str(), O_RDONLY | O_CLOEXEC));
  if (File.get() < 0)
    failWithErrno("cannot open", Path);

  std::vector<uint8_t> Bytes;
  uint8_t Buffer[65536];
  for (;;) {
    const ssize_t Got = ::read(File.get(), Buffer, sizeof Buffer);
    if (Got < 0) {
      if (errno == EINTR)
        continue;
      failWithErrno("cannot read", Path);
    }
    if (Got == 0)
      return Bytes;
    // Stop reading as soon as the file is known to be too large.
    if (Bytes.size() + size_t(Got) > MaxSize)
      throw std::runtime_error("input '" + Path + "' is larger than " +
                               std::to_string(MaxSize) + " bytes");
    Bytes.insert(Bytes.end(), Buffer, Buffer + Got);
  }
}

void writeFileAtomically(const std::string &Path,
                         const std::vector<uint8_t> &Bytes) {
  // Beside the target, so the rename stays within one file system.
  std::string TempPath = Path + ".tmp.XXXXXX";
  FileDescriptor File(::mkstemp(&TempPath[0]));
  if (File.get() < 0)
    failWithErrno("cannot create output", Path);

  auto Abandon = [&](const char *What) {
    const int Saved = errno;
    ::unlink(TempPath.c_str());
    errno = Saved;
    failWithErrno(What, Path);
  };

  if (::fchmod(File.get(), defaultFileMode()) != 0)
    Abandon("cannot set permissions of output");
  size_t Done = 0;
  while (Done < Bytes.size()) {
    const ssize_t Put =
        ::write(File.get(), Bytes.data() + Done, Bytes.size() - Done);
    if (Put < 0 && errno == EINTR)
      continue;
    if (Put <= 0)
      Abandon("cannot write output");
    Done += size_t(Put);
  }
  if (!File.close())
    Abandon("cannot write output");
  if (::rename(TempPath.c_str(), Path.c_str()) != 0)
    Abandon("cannot replace output");
}

} // namespace kwbpack
