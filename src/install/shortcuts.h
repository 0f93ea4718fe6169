// The shortcuts to the main executable: KWB.lnk on the user's desktop and in the Start
// menu's program group, both folders as the user's Shell folders key records them.
#pragma once

#include "base/cstring.h"
#include "base/code_page.h"
#include "platform/log.h"
#include "platform/registry.h"
#include "platform/shell_links.h"

struct ShellFolders {
  CString Desktop;
  CString Programs;
};

// The "Desktop" and "Programs" values of the key Software\Microsoft\Windows\CurrentVersion
// \Explorer\Shell folders below HKEY_CURRENT_USER, each read as text into a 260-byte
// buffer.
// A missing key level gives two empty folders; a missing value, or one that does not
// fit, an empty folder.
ShellFolders LookUpShellFolders(Registry &registry, RegistryKey currentUser);

// The link file folder\KWB.lnk, or "" when there must be no shortcut in that folder:
// when the folder is unknown (empty), since the name alone would land at the root of
// whatever drive is current, or when the name has more characters than the shell's
// 260-character name buffer holds with its terminating NUL.
CString ShortcutFile(const CString &folder, const CodePage &codePage);

// Writes the shortcut "KWB" to target into folder, unless ShortcutFile rules it out.
// Whether the shell wrote it is only logged: a missing shortcut is no reason to call a
// finished installation a failure.
void PlaceShortcut(ShellLinks &links, Log &log, const CodePage &codePage, const CString &folder,
                   const CString &target);
