// The installer's command line, for administrators who roll it out from a script:
//
//   kwbsetup.exe [/S] [/EDITION=3.1.1|/EDITION=4.2] [/LOG=file] [/D=folder]
//
// Option names are case-insensitive. /D= comes last and takes the rest of the line as
// the folder, blanks included; /LOG= takes the next word. Quotation marks around a value
// or around the whole option are not part of it. Without any option the program behaves
// exactly as it always has.
#pragma once

#include "app/exit_code.h"
#include "base/code_page.h"
#include "base/cstring.h"

struct CommandLine {
  // False for /?, an unknown option, a stray word, an edition that does not exist, two
  // different editions, an empty or impossible folder, and /S without an edition: the
  // program then shows CommandLineUsage and ends with ExitBadCommandLine.
  bool Valid;
  // /S: install without a window and without asking.
  bool Silent;
  // /EDITION=: 0 for 3.1.1, 1 for 4.2, as the Setup dialog counts them; -1 when absent.
  int Edition;
  // /D=: the folder as given, a trailing backslash included; "" when absent or invalid.
  CString Folder;
  // /LOG=: the log file's path as given; "" when absent or invalid.
  CString LogFile;
};

extern const char CommandLineUsage[];

// The arguments of a whole command line as GetCommandLineA gives it: what follows the
// program's name (quoted or not) and the blanks after it.
const char *ProgramArguments(const char *commandLine);

// Values are checked character by character in the code page, so that a trail byte that
// happens to be '|' or another character no path may hold is taken for what it is.
CommandLine ParseCommandLine(const char *arguments, const CodePage &codePage);
