// The libraries that are not on the platform's list of known DLLs (the LZ library, the
// common controls, the 3-D controls) are loaded here, at run time, from the system
// folder by full path. Imported by name, the loader would look for them next to the
// executable first, and an installer usually runs from a downloads folder where anyone
// may have left a DLL of that name to run with the installer's rights.
#pragma once

#include "base/windows_api.h"

// Loads the named library from the system folder, or returns null when it is not there.
// Its own imports are looked for beside it, in the system folder, before anywhere else.
HMODULE LoadSystemLibrary(const char *name);

// An exported function of a library, as the function type the caller names; null when
// the library or the export is missing.
template <typename Function> Function LibraryFunction(HMODULE library, const char *name) {
  return library ? reinterpret_cast<Function>(
                       reinterpret_cast<void (*)()>(::GetProcAddress(library, name)))
                 : nullptr;
}

// Keeps the installer's folder and the current one out of the search for the libraries
// that the platform's own DLLs load by name later on: the search is narrowed to the
// system folder where the platform offers it, and elsewhere those libraries are loaded
// from there first. Called before any window or COM object exists.
void RemoveCurrentFolderFromLibrarySearch();
