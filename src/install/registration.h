// The two entries a finished installation leaves under HKEY_LOCAL_MACHINE, and the
// lookup of the previous installation that the Setup dialog makes at start.
#pragma once

#include "base/cstring.h"
#include "platform/log.h"
#include "platform/registry.h"

#include <stdint.h>

// "KWB.exe": the main executable's file name and the name of its application path key.
extern const char MainExecutableName[];

// The version of an edition as the Setup dialog counts them: "3.1.1" for 0, "4.2" for 1.
const char *EditionVersion(int edition);

// What the uninstall entry tells of an installation besides its folder.
struct InstalledProduct {
  int Edition;
  // The installed files' sizes together, the library's included, in kilobytes rounded up.
  uint32_t SizeInKilobytes;
  // The local date of the installation, "YYYYMMDD".
  CString Date;
};

// ...\CurrentVersion\App Paths\KWB.exe: default value = folder\KWB.exe, "Path" = folder.
void WriteAppPathEntry(Registry &registry, Log &log, const CString &installFolder);
// ...\CurrentVersion\Uninstall\Vistrel Image Browser: "DisplayName" and a quoted
// "UninstallString", then what the list of installed programs and package managers show
// and detect: version, publisher, icon, location, date, size, and that the entry can
// neither change nor repair the installation.
void WriteUninstallEntry(Registry &registry, Log &log, const CString &installFolder,
                         const InstalledProduct &product);
// The "Path" value of the application path entry, or "" when any part of it is missing
// or does not fit. Never creates a key.
CString ReadPreviousInstallFolder(Registry &registry);
