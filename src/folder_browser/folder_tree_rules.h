// The rules of the folder tree that need no window: how a path is cut into the names of
// its items, how an item's text is matched against such a name, and which entries of a
// folder search become folder items.
#pragma once

#include "base/cstring.h"
#include "base/code_page.h"

#include <stdint.h>

// Takes the first component off path and returns it: the text before the first
// backslash character, which path loses together with that backslash. Without a
// backslash the whole path is the component and path becomes empty. The trail byte of
// a double-byte character is never taken for a backslash.
CString TakeFirstComponent(CString &path, const CodePage &codePage);

// True when the two names are equal but for the case of the letters A to Z; every other
// character, including both bytes of a double-byte character, must be the same.
bool IsSameItemName(const CString &a, const CString &b, const CodePage &codePage);

// True for an entry that the tree lists as a subfolder: a folder other than "." and
// "..", without the system attribute. Hidden folders are listed.
bool IsListedSubfolder(const CString &name, uint32_t attributes);
