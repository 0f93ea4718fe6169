#include "app/exit_code.h"

#include <string.h>

namespace {

// By exit code, each ended by a NUL.
constexpr char Outcomes[] = "installed\0bad command line\0unsupported platform\0folder not created\0"
                        "file not written\0setup damaged\0setup already running\0file in use";

constexpr int CountTexts(const char *texts, int size) {
  int count = 0;
  for (int i = 0; i < size; ++i)
    count += texts[i] == 0;
  return count;
}
static_assert(CountTexts(Outcomes, sizeof Outcomes) == ExitFileInUse + 1,
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
  if (code == ExitInstalled && !installed)
    return "nothing installed";
  const char *text = Outcomes;
  for (int i = 0; i < code; ++i)
    text += strlen(text) + 1;
  return text;
}
