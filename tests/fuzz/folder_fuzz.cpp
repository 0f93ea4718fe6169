// Folder creation and the last-component split over arbitrary bytes in a double-byte
// code page. The invariants: creation ends with one of its documented codes, creates
// only folders that lead up to the trimmed path, and a split loses no byte.
#include "memory_platform.h"
#include "install/folder_creation.h"
#include "install/path_characters.h"
#include "platform/platform_errors.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

// Folders that behave like CreateDirectoryA on drives C: and D:, failing the call the
// input chooses with the error it chooses.
class FuzzedFolders : public Folders {
public:
  FuzzedFolders(const CodePage &codePage, int failingCall, uint32_t error)
      : Characters(codePage), FailingCall(failingCall), Error(error) {}

  uint32_t CreateFolder(const char *path) override {
    if (++Calls == FailingCall)
      return Error;
    std::string folder(path);
    if (Existing.count(folder))
      return ErrorAlreadyExists;
    int separator = FindLastBackslash(CString(path), Characters);
    std::string parent = separator < 0 ? "" : folder.substr(0, static_cast<size_t>(separator));
    if (parent != "C:" && parent != "D:" && !Existing.count(parent))
      return ErrorPathNotFound;
    Existing.insert(folder);
    return 0;
  }

  std::set<std::string> Existing;
  int Calls = 0;

private:
  const CodePage &Characters;
  int FailingCall;
  uint32_t Error;
};

void Fail(const char *what) {
  fprintf(stderr, "%s\n", what);
  abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1)
    return -1;
  static const uint32_t errors[] = {ErrorAccessDenied, ErrorPathNotFound, ErrorDiskFull,
                                    ErrorBadPathname};
  TestCodePage codePage;
  codePage.DoubleByte = true;
  FuzzedFolders folders(codePage, data[0] >> 4, errors[data[0] & 3]);
  const CString path(reinterpret_cast<const char *>(data + 1), static_cast<int>(size - 1));

  uint32_t result = CreateFolderPath(folders, codePage, path);
  if (result != 0 && result != ErrorBadLength && result != ErrorPathNotFound &&
      result != ErrorAccessDenied && result != ErrorDiskFull && result != ErrorBadPathname)
    Fail("folder creation returned an undocumented code");
  const std::string trimmed(TrimWhiteSpace(path, codePage).GetString());
  // A level is created without the blanks that end it, as the platform drops them.
  for (const std::string &made : folders.Existing) {
    size_t end = made.size();
    while (end < trimmed.size() && strchr(" \t\n\v\f\r", trimmed[end]) && trimmed[end])
      ++end;
    if (trimmed.compare(0, made.size(), made) != 0 || (end < trimmed.size() && trimmed[end] != '\\'))
      Fail("a folder was created that does not lead up to the path");
  }
  if (result == 0 && !folders.Existing.count(trimmed))
    Fail("success was reported for a folder that was not made");

  CString parent = path;
  CString last = SplitLastComponent(parent, codePage);
  if (!last.IsEmpty() && !(parent + "\\" + last == path))
    Fail("the split lost bytes");
  return 0;
}
