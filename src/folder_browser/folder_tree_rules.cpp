#include "folder_browser/folder_tree_rules.h"

#include "base/path_characters.h"
#include "platform/file_search.h"

namespace {

char FoldAsciiLetter(char ch) { return ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch; }

} // namespace

CString TakeFirstComponent(CString &path, const CodePage &codePage) {
  // Without a backslash character the search ends at the end of the path, and the rest
  // after it is empty.
  int end = 0;
  for (int length; end < path.GetLength(); end += length) {
    length = CharacterLength(path, end, codePage);
    if (length == 1 && path.GetAt(end) == '\\')
      break;
  }
  CString component(path.GetString(), end);
  path = path.Mid(end + 1);
  return component;
}

bool IsSameItemName(const CString &a, const CString &b, const CodePage &codePage) {
  if (a.GetLength() != b.GetLength())
    return false;
  for (int i = 0; i < a.GetLength();) {
    const int length = CharacterLength(a, i, codePage);
    if (length != CharacterLength(b, i, codePage))
      return false;
    if (length == 2) {
      if (a.GetAt(i) != b.GetAt(i) || a.GetAt(i + 1) != b.GetAt(i + 1))
        return false;
    } else if (FoldAsciiLetter(a.GetAt(i)) != FoldAsciiLetter(b.GetAt(i))) {
      return false;
    }
    i += length;
  }
  return true;
}

bool IsListedSubfolder(const CString &name, uint32_t attributes) {
  // "." and "..": one or two bytes, each a dot.
  const int length = name.GetLength();
  if (length <= 2 && name.GetAt(0) == '.' && name.GetAt(length - 1) == '.')
    return false;
  return (attributes & FileAttributeDirectory) && !(attributes & FileAttributeSystem);
}
