#include "install/shortcuts.h"

#include "install/key_path.h"
#include "base/path_characters.h"

namespace {

const uint32_t FolderValueBufferSize = 260;
// The wide-character buffer the link file name is converted into, its NUL included.
const int LinkNameBufferCharacters = 260;
const char LinkFileName[] = "\\KWB.lnk";
const char ShortcutDescription[] = "Vistrel";

int CharacterCount(const CString &text, const CodePage &codePage) {
  int count = 0;
  for (int i = 0; i < text.GetLength(); i += CharacterLength(text, i, codePage))
    ++count;
  return count;
}

} // namespace

ShellFolders LookUpShellFolders(Registry &registry, RegistryKey currentUser) {
  KeyPath path(registry, currentUser,
               "Software\0Microsoft\0Windows\0CurrentVersion\0Explorer\0Shell folders\0");
  ShellFolders folders;
  if (!path.Innermost())
    return folders;
  folders.Desktop = QueryText(registry, path.Innermost(), "Desktop", FolderValueBufferSize);
  folders.Programs = QueryText(registry, path.Innermost(), "Programs", FolderValueBufferSize);
  return folders;
}

CString ShortcutFile(const CString &folder, const CodePage &codePage) {
  if (folder.IsEmpty())
    return CString();
  CString linkFile = folder + LinkFileName;
  if (CharacterCount(linkFile, codePage) >= LinkNameBufferCharacters)
    return CString();
  return linkFile;
}

void PlaceShortcut(ShellLinks &links, Log &log, const CodePage &codePage, const CString &folder,
                   const CString &target) {
  CString linkFile = ShortcutFile(folder, codePage);
  if (!linkFile.IsEmpty())
    log.Write("Shortcut %s%s", linkFile.GetString(),
              links.CreateShortcut(target, linkFile, ShortcutDescription) < 0 ? ": failed" : "");
}
