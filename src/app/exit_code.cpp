#include "app/exit_code.h"

namespace {

// By exit code.
const char *const Outcomes[] = {
    "installed",          "bad command line", "unsupported platform", "folder not created",
    "file not written",   "setup damaged",    "setup already running", "file in use",
};
static_assert(sizeof Outcomes / sizeof *Outcomes == ExitFileInUse + 1,
              "one text for each exit code, in the order of their numbers");

} // namespace

ExitCode ExitCodeOf(InstallOutcome outcome) {
  switch (outcome) {
  case InstallCompleted:
    return ExitInstalled;
  case InstallFolderRefused:
    return ExitFolderNotCreated;
  case InstallFileInUse:
    return ExitFileInUse;
  case InstallDamaged:
    return ExitDamagedInstaller;
  case InstallFilesFailed:
    return ExitFileNotWritten;
  case InstallNotRun:
    break;
  }
  // Only a run without an edition starts nothing, and the command line refuses that.
  return ExitBadCommandLine;
}

const char *OutcomeText(ExitCode code, bool installed) {
  return code == ExitInstalled && !installed ? "nothing installed" : Outcomes[code];
}
