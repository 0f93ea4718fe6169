#include "base/path_characters.h"

namespace {

bool IsWhiteSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

} // namespace

int CharacterLength(const CString &text, int index, const CodePage &codePage) {
  if (index + 1 < text.GetLength() &&
      codePage.IsLeadByte(static_cast<unsigned char>(text.GetAt(index))))
    return 2;
  return 1;
}

int FindLastBackslash(const CString &text, const CodePage &codePage) {
  int found = -1;
  for (int i = 0; i < text.GetLength(); i += CharacterLength(text, i, codePage)) {
    if (text.GetAt(i) == '\\' && CharacterLength(text, i, codePage) == 1)
      found = i;
  }
  return found;
}

bool EndsWithBackslash(const CString &text, const CodePage &codePage) {
  int last = -1;
  for (int i = 0; i < text.GetLength(); i += CharacterLength(text, i, codePage))
    last = i;
  return last >= 0 && last == text.GetLength() - 1 && text.GetAt(last) == '\\';
}

CString TrimWhiteSpace(const CString &text, const CodePage &codePage) {
  // A lead byte is never white space, so the leading run can be skipped byte by byte;
  // the trailing run is found walking forward by characters.
  int first = 0;
  while (first < text.GetLength() && IsWhiteSpace(text.GetAt(first)))
    ++first;
  int end = first;
  for (int i = first; i < text.GetLength();) {
    int length = CharacterLength(text, i, codePage);
    if (length != 1 || !IsWhiteSpace(text.GetAt(i)))
      end = i + length;
    i += length;
  }
  return CString(text.GetString() + first, end - first);
}

CString PathIn(const CString &folder, const char *name) {
  CString path = folder;
  path += '\\';
  path += name;
  return path;
}
