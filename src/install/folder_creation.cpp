#include "install/folder_creation.h"

#include "base/path_characters.h"
#include "platform/platform_errors.h"

namespace {

// A parent shorter than this is a drive ("C:") or less, which cannot be created.
const int ShortestParentLength = 3;

// A drive root ("D:", as the folder browser gives it), a path from a drive's root
// ("D:\\...") or a server's share ("\\\\server\\share..."). Anything else is taken from the
// current folder or drive, and the registry entries and links would later record a
// folder that points nowhere.
bool IsFullPath(const CString &path) {
  const int length = path.GetLength();
  const char first = static_cast<char>(path.GetAt(0) | 0x20);
  if (length >= 2 && first >= 'a' && first <= 'z' && path.GetAt(1) == ':')
    return length == 2 || path.GetAt(2) == '\\';
  return length >= 2 && path.GetAt(0) == '\\' && path.GetAt(1) == '\\';
}

enum ParentCreation { CreateMissingParents, CreateThisLevelOnly };

uint32_t CreateFolderLevels(Folders &folders, Log &log, const CodePage &codePage,
                            const CString &path, ParentCreation parents) {
  CString trimmed = TrimWhiteSpace(path, codePage);
  if (trimmed.GetLength() >= FolderPathLengthLimit)
    return ErrorBadLength;
  uint32_t error = folders.CreateFolder(trimmed);
  if (error == 0)
    log.Write("Folder created: %s", trimmed.GetString());
  if (error == 0 || error == ErrorAlreadyExists)
    return 0;
  if (error != ErrorPathNotFound || parents == CreateThisLevelOnly)
    return error;

  // The path is cut to its parent; this level is joined on again after the parent is made.
  CString &parent = trimmed;
  const CString last = SplitLastComponent(parent, codePage);
  if (last.IsEmpty())
    return ErrorPathNotFound;
  uint32_t parentResult = CreateFolderLevels(folders, log, codePage, parent, CreateMissingParents);
  if (parentResult != 0)
    return parentResult;
  // The parent exists now, so this level should follow. If it still reports a missing
  // folder above it (a component that is a file, or a parent whose trailing blanks only
  // its own creation dropped), going round again would repeat the same two steps for
  // ever: the error is final.
  return CreateFolderLevels(folders, log, codePage, parent + "\\" + last,
                            CreateThisLevelOnly);
}

} // namespace

uint32_t CreateFolderPath(Folders &folders, Log &log, const CodePage &codePage,
                          const CString &path) {
  const CString trimmed = TrimWhiteSpace(path, codePage);
  if (trimmed.GetLength() < FolderPathLengthLimit && !IsFullPath(trimmed))
    return ErrorBadPathname;
  return CreateFolderLevels(folders, log, codePage, trimmed, CreateMissingParents);
}

CString SplitLastComponent(CString &path, const CodePage &codePage) {
  int separator = FindLastBackslash(path, codePage);
  if (separator <= 0)
    return CString();
  CString last = path.Mid(separator + 1);
  path.Truncate(separator);
  if (path.GetLength() < ShortestParentLength || EndsWithBackslash(path, codePage))
    return CString();
  return last;
}
