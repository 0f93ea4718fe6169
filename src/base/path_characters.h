// Character-aware rules for path strings in the ANSI code page. A search for a
// backslash walks the text one character at a time, so that the trail byte of a
// double-byte character is never taken for a separator even when it is 0x5C.
#pragma once

#include "base/cstring.h"
#include "base/code_page.h"

// The byte count of the character that starts at index: 2 for a lead byte that has a
// byte after it, 1 otherwise.
int CharacterLength(const CString &text, int index, const CodePage &codePage);

// The byte position of the last backslash character, or -1 when there is none.
int FindLastBackslash(const CString &text, const CodePage &codePage);

// True when the last character of the text is a backslash.
bool EndsWithBackslash(const CString &text, const CodePage &codePage);

// The text without leading and trailing white space (space, tab, line feed, vertical
// tab, form feed, carriage return); double-byte characters stay whole.
CString TrimWhiteSpace(const CString &text, const CodePage &codePage);

// folder + "\\" + name: a path inside the folder, made in one place.
CString PathIn(const CString &folder, const char *name);
