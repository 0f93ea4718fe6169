// Folder creation and the last-component split over arbitrary bytes in a double-byte
// code page, on drives C: and D:, with the call the input chooses failing with the error
// it chooses. The invariants: creation ends with one of its documented codes, creates
// only folders that lead up to the trimmed path, and a split loses no byte.
#include "base/path_characters.h"
#include "memory_platform.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1)
    return -1;
  static const uint32_t errors[] = {ErrorAccessDenied, ErrorPathNotFound, ErrorDiskFull, ErrorBadPathname};
  MemoryMachine machine(DoubleByte);
  machine.AddFolder("D:");
  if (data[0] >> 4)
    machine.Fail("create-folder", data[0] >> 4, errors[data[0] & 3]);
  const CString path(reinterpret_cast<const char *>(data + 1), static_cast<int>(size - 1));

  const uint32_t result = CreateFolderPath(machine, machine, DoubleByte, path);
  Require(result == 0 || result == ErrorBadLength || result == ErrorPathNotFound ||
              result == ErrorAccessDenied || result == ErrorDiskFull || result == ErrorBadPathname,
          "folder creation returned an undocumented code");
  const std::string trimmed(TrimWhiteSpace(path, DoubleByte).GetString());
  // A level is created without the blanks that end it, as the platform drops them.
  for (const auto &[made, entry] : machine.Entries) {
    size_t end = made.size();
    while (end < trimmed.size() && strchr(" \t\n\v\f\r", trimmed[end]) && trimmed[end])
      ++end;
    Require(made == "C:" || made == "D:" ||
                (trimmed.compare(0, made.size(), made) == 0 && (end >= trimmed.size() || trimmed[end] == '\\')),
            "a folder was created that does not lead up to the path");
  }
  Require(result != 0 || machine.Entries.count(trimmed), "success was reported for a folder that was not made");

  CString parent = path;
  const CString last = SplitLastComponent(parent, DoubleByte);
  Require(last.IsEmpty() || parent + "\\" + last == path, "the split lost bytes");
  return 0;
}
