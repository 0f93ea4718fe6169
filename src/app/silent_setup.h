// An installation without a window, for /S: the same run as a press of OK in the Setup
// dialog, over a view that shows nothing, with the outcome as the process's exit code.
#pragma once

#include "app/command_line.h"
#include "install/installation_run.h"

// The folder a silent run installs into: the one on the command line, else the folder
// of a recorded installation (a silent run answers the reinstall question with yes),
// else the default folder under the Windows folder's drive.
CString SilentInstallFolder(const CommandLine &line, Registry &registry,
                            const CString &windowsFolder);

// Installs the command line's edition into SilentInstallFolder's folder and returns the
// exit code.
ExitCode RunSilentInstallation(const CommandLine &line, const InstallPlatform &platform);
