#include "app/command_line.h"

#include "base/path_characters.h"


const char CommandLineUsage[] =
    "Usage: kwbsetup [/S] [/EDITION=3.1.1|/EDITION=4.2] [/LOG=file] [/D=folder]\r\n"
    "/S  install without asking; needs /EDITION=\r\n"
    "/EDITION=  the version to install, 3.1.1 or 4.2\r\n"
    "/LOG=  write each step into this file\r\n"
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

// Characters no path may hold, as single-byte characters; a trail byte of a double-byte
// character may have any of these values from 0x40 up ('|' among them) and is not one.
bool IsImpossibleInPath(unsigned char ch) {
  return ch < 0x20 || ch == '"' || ch == '<' || ch == '>' || ch == '|' || ch == '*' ||
         ch == '?';
}

// The value of an option, which begins at text: the rest of the line without its
// trailing blanks (restOfLine), or else the rest of the word, without the quotation
// marks that scripts and deployment tools put around an argument holding blanks: around
// the whole option (quoted), around the value, or both. *next is where the line goes on.
// A trailing backslash stays for the installation to remove, as it does from a typed
// folder.
CString OptionValue(const char *text, bool quoted, bool restOfLine, const CodePage &codePage,
                    const char **next, bool *valid) {
  int quotes = quoted ? 1 : 0;
  if (*text == '"') {
    ++quotes;
    ++text;
  }
  int length = 0;
  if (restOfLine) {
    while (text[length])
      ++length;
    *next = text + length;
    while (length > 0 && IsBlank(text[length - 1]))
      --length;
    for (int i = 0; i < quotes; ++i, --length)
      if (length <= 0 || text[length - 1] != '"')
        *valid = false;
  } else {
    // Neither a blank nor a quotation mark is ever a trail byte.
    while (text[length] && (quotes ? text[length] != '"' : !IsBlank(text[length])))
      ++length;
    const char *after = text + length;
    for (int i = 0; i < quotes && *valid; ++i) {
      if (*after != '"')
        *valid = false;
      else
        ++after;
    }
    if (*after && !IsBlank(*after))
      *valid = false;
    *next = after;
  }
  CString value(text, length > 0 ? length : 0);
  if (length <= 0 || (length == 1 && *text == '\\'))
    *valid = false;
  // A byte below 0x40 is never a trail byte: after a lead byte it is a character of its own.
  for (int i = 0, step; i < value.GetLength(); i += step) {
    step = CharacterLength(value, i, codePage);
    if (step == 2 && static_cast<unsigned char>(value.GetAt(i + 1)) < 0x40)
      step = 1;
    if (step == 1 && IsImpossibleInPath(static_cast<unsigned char>(value.GetAt(i))))
      *valid = false;
  }
  if (!*valid)
    value.Truncate(0);
  return value;
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

__attribute__((noinline)) CommandLine ParseCommandLine(const char *arguments, const CodePage &codePage) {
  CommandLine result = {true, false, -1, CString(), CString()};
  const char *p = arguments;
  for (;;) {
    while (IsBlank(*p))
      ++p;
    if (!*p)
      break;
    const bool quoted = *p == '"';
    const bool folder = StartsWithOption(p + quoted, "/D=");
    if (folder || StartsWithOption(p + quoted, "/LOG=")) {
      (folder ? result.Folder : result.LogFile) =
          OptionValue(p + quoted + (folder ? 3 : 5), quoted, folder, codePage, &p, &result.Valid);
      continue;
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
