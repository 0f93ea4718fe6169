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

namespace {

// The libraries that the system's own code loads by name for a program like this one
// (the theme, user-environment, set-up, compatibility, property-store, window-manager,
// base-cryptography, accessibility, COM-catalog and version libraries), each ended by a
// NUL and the list by another. (Only a name without a path gets ".dll" added.)
const char PreloadedLibraries[] =
    "uxtheme.dll\0userenv.dll\0setupapi.dll\0apphelp.dll\0propsys.dll\0dwmapi.dll\0"
    "cryptbase.dll\0oleacc.dll\0clbcatq.dll\0version.dll\0";

} // namespace

void RemoveCurrentFolderFromLibrarySearch() {
  // The call with an empty folder is documented to take the current folder out of the
  // search order (XP SP1 and later).
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  typedef BOOL(WINAPI * SetFolder)(const char *);
  SetFolder setFolder = LibraryFunction<SetFolder>(kernel, "SetDllDirectoryA");
  if (setFolder)
    setFolder("");
  // Where the system can narrow every later search to the system folder, it does so; on
  // Vista (6.0), where the call is reported to keep the shell's link object from loading,
  // on older systems and where it fails, each library the system would look for by name
  // is loaded once from the system folder, where a later load by name finds it in place.
  typedef BOOL(WINAPI * SetDefaultFolders)(DWORD);
  SetDefaultFolders setDefault =
      LibraryFunction<SetDefaultFolders>(kernel, "SetDefaultDllDirectories");
  if (setDefault && LOWORD(::GetVersion()) != 6 && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
    return;
  for (const char *name = PreloadedLibraries; *name; name += strlen(name) + 1)
    LoadSystemLibrary(name);
}
