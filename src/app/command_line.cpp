#include "app/command_line.h"


const char CommandLineUsage[] =
    "Usage: kwbsetup [/S] [/EDITION=3.1.1|/EDITION=4.2] [/D=folder]\r\n"
    "/S  install without asking; needs /EDITION=\r\n"
    "/EDITION=  the version to install, 3.1.1 or 4.2\r\n"
    "/D=  the install folder; must come last, quoted or not";

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

char UpperAscii(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch; }

// True when the word starts with the option name, letters compared without case.
bool StartsWithOption(const char *word, const char *name) {
  for (; *name; ++word, ++name)
    if (UpperAscii(*word) != *name)
      return false;
  return true;
}

bool SameWord(const char *word, int length, const char *text) {
  int i = 0;
  for (; i < length && text[i]; ++i)
    if (UpperAscii(word[i]) != UpperAscii(text[i]))
      return false;
  return i == length && !text[i];
}

// Characters no folder name may hold. Trail bytes of double-byte characters are 0x40
// or above, so none of them is ever mistaken for one of these.
bool IsImpossibleInFolder(unsigned char ch) {
  return ch < 0x20 || ch == '"' || ch == '<' || ch == '>' || ch == '|' || ch == '*' ||
         ch == '?';
}

// The folder of /D=: the rest of the line without its trailing blanks, and without the
// quotation marks that scripts and deployment tools put around an argument holding blanks,
// either around the whole option (quoted) or around the folder alone. The trailing
// backslash stays for the installation to remove, as it does from a typed folder.
CString FolderOption(const char *text, bool quoted, bool *valid) {
  int length = 0;
  while (text[length])
    ++length;
  while (length > 0 && IsBlank(text[length - 1]))
    --length;
  if (!quoted && *text == '"') {
    quoted = true;
    ++text;
    --length;
  }
  if (quoted) {
    if (length <= 0 || text[length - 1] != '"')
      *valid = false;
    else
      --length;
  }
  if (length <= 0 || (length == 1 && *text == '\\'))
    *valid = false;
  for (int i = 0; i < length; ++i)
    if (IsImpossibleInFolder(static_cast<unsigned char>(text[i])))
      *valid = false;
  return *valid ? CString(text, length) : CString();
}

} // namespace

const char *ProgramArguments(const char *commandLine) {
  const char *p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p && *p != '"')
      ++p;
    if (*p == '"')
      ++p;
  } else {
    while (*p && !IsBlank(*p))
      ++p;
  }
  while (IsBlank(*p))
    ++p;
  return p;
}

CommandLine ParseCommandLine(const char *arguments) {
  CommandLine result = {true, false, -1, CString()};
  const char *p = arguments;
  for (;;) {
    while (IsBlank(*p))
      ++p;
    if (!*p)
      break;
    const bool quoted = *p == '"';
    if (StartsWithOption(p + quoted, "/D=")) {
      result.Folder = FolderOption(p + quoted + 3, quoted, &result.Valid);
      break;
    }
    const char *word = p;
    while (*p && !IsBlank(*p))
      ++p;
    const int length = static_cast<int>(p - word);
    int edition = -1;
    if (SameWord(word, length, "/S"))
      result.Silent = true;
    else if (SameWord(word, length, "/EDITION=3.1.1"))
      edition = 0;
    else if (SameWord(word, length, "/EDITION=4.2"))
      edition = 1;
    else
      result.Valid = false;
    if (edition >= 0) {
      if (result.Edition >= 0 && result.Edition != edition)
        result.Valid = false;
      result.Edition = edition;
    }
  }
  if (result.Silent && result.Edition < 0)
    result.Valid = false;
  return result;
}
