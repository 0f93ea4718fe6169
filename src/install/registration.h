// The two entries a finished installation leaves under HKEY_LOCAL_MACHINE, and the
// lookup of the previous installation that the Setup dialog makes at start.
#pragma once

#include "base/cstring.h"
#include "platform/registry.h"

// "KWB.exe": the main executable's file name and the name of its application path key.
extern const CString MainExecutableName;

// ...\CurrentVersion\App Paths\KWB.exe: default value = folder\KWB.exe, "Path" = folder.
void WriteAppPathEntry(Registry &registry, const CString &installFolder);
// ...\CurrentVersion\Uninstall\Vistrel Image Browser: "DisplayName" and a quoted
// "UninstallString".
void WriteUninstallEntry(Registry &registry, const CString &installFolder);
// The "Path" value of the application path entry, or "" when any part of it is missing
// or does not fit. Never creates a key.
CString ReadPreviousInstallFolder(Registry &registry);
