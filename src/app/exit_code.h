// How the program ends, for the script or deployment tool that started it, decided in
// one place from how the run went.
#pragma once

#include "install/payload_extraction.h"

// An interactive run that is closed in any way ends with ExitInstalled's 0.
enum ExitCode {
  ExitInstalled = 0,
  ExitBadCommandLine = 1,
  ExitUnsupportedPlatform = 2,
  ExitFolderNotCreated = 3,
  ExitFileNotWritten = 4,
  ExitDamagedInstaller = 5,
  ExitAlreadyRunning = 6,
  ExitFileInUse = 7,
};

// The exit code of an unattended run that ended with the outcome.
ExitCode ExitCodeOf(InstallOutcome outcome);

// The outcome for the log's last line, beside the exit code.
const char *OutcomeText(ExitCode code, bool installed);
