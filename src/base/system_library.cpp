#include "base/system_library.h"

#include <string.h>

HMODULE LoadSystemLibrary(const char *name) {
  char path[MAX_PATH];
  const size_t nameLength = strlen(name);
  UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length + 1 + nameLength >= MAX_PATH)
    return nullptr;
  if (path[length - 1] != '\\')
    path[length++] = '\\';
  memcpy(path + length, name, nameLength + 1);
  // The altered search path makes the library's own imports resolve from its folder
  // first; systems that do not know the flag fail the call and get the plain load, which
  // still names the library by its full path.
  HMODULE library = ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  return library ? library : ::LoadLibraryA(path);
}

void RemoveCurrentFolderFromLibrarySearch() {
  // The call with an empty folder is documented to take the current folder out of the
  // search order. SetDefaultDllDirectories would narrow it further, but where it exists
  // on Vista it is reported to keep the shell's link object from loading, and the
  // libraries this program loads itself are named by full path anyway.
  typedef BOOL(WINAPI * SetFolder)(const char *);
  SetFolder setFolder =
      LibraryFunction<SetFolder>(::GetModuleHandleA("kernel32.dll"), "SetDllDirectoryA");
  if (setFolder)
    setFolder("");
}
