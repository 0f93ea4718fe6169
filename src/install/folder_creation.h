// Making sure the install folder exists: the folder and every missing folder above it
// are created, top first.
#pragma once

#include "base/cstring.h"
#include "base/code_page.h"
#include "platform/folders.h"
#include "platform/log.h"

#include <stdint.h>

// The longest trimmed path that is attempted is one byte less than this.
const int FolderPathLengthLimit = 240;

// Creates the folder at path (a full path without a trailing backslash; leading and
// trailing white space is ignored) and any missing folders above it. Returns 0 when the
// folder exists now; ErrorBadLength (24) when the trimmed path is 240 bytes or longer,
// and ErrorBadPathname (161) when it is not a full path (a drive root "D:", "D:\..." or
// "\\server\..."), both without trying anything; ErrorPathNotFound (3) when a missing folder above it cannot
// be split off, or when it still cannot be made after its parent was; otherwise the
// platform error of the deepest level that failed. Folders made before a failure stay.
// Each folder made is logged.
uint32_t CreateFolderPath(Folders &folders, Log &log, const CodePage &codePage,
                          const CString &path);

// Cuts the last component off path, leaving the parent in path, and returns the
// component. Returns "" when there is no usable split: no backslash, or only one at the
// very start (path unchanged), or a parent shorter than 3 bytes or itself ending in a
// backslash (path already shortened).
CString SplitLastComponent(CString &path, const CodePage &codePage);
