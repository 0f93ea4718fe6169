#include "base/cstring.h"

#include <stdlib.h>
#include <string.h>

namespace {

char EmptyText[1] = {0};

void AbortOnOutOfMemory() { abort(); }

OutOfMemoryHandler OnOutOfMemory = AbortOnOutOfMemory;

int TextLength(const char *text) { return text ? static_cast<int>(strlen(text)) : 0; }

} // namespace

void SetOutOfMemoryHandler(OutOfMemoryHandler handler) {
  OnOutOfMemory = handler ? handler : AbortOnOutOfMemory;
}

CString::CString() : Data(EmptyText), Length(0), Capacity(0) {}

CString::CString(const char *text) : CString() { Append(text, TextLength(text)); }

CString::CString(const char *text, int length) : CString() { Append(text, length); }

CString::CString(const CString &other) : CString() { Append(other.Data, other.Length); }

CString::CString(CString &&other) noexcept
    : Data(other.Data), Length(other.Length), Capacity(other.Capacity) {
  other.Data = EmptyText;
  other.Length = 0;
  other.Capacity = 0;
}

CString::~CString() { Release(); }

CString &CString::operator=(const CString &other) {
  if (this != &other) {
    Truncate(0);
    Append(other.Data, other.Length);
  }
  return *this;
}

CString &CString::operator=(CString &&other) noexcept {
  if (this != &other) {
    Release();
    Data = other.Data;
    Length = other.Length;
    Capacity = other.Capacity;
    other.Data = EmptyText;
    other.Length = 0;
    other.Capacity = 0;
  }
  return *this;
}

CString &CString::operator=(const char *text) {
  // The text may point into this string's own buffer; copy it first.
  CString copy(text);
  return *this = static_cast<CString &&>(copy);
}

CString &CString::operator+=(const CString &text) {
  Append(text.Data, text.Length);
  return *this;
}

CString &CString::operator+=(const char *text) {
  Append(text, TextLength(text));
  return *this;
}

CString &CString::operator+=(char ch) {
  Append(&ch, 1);
  return *this;
}

void CString::Append(const char *text, int length) {
  if (length <= 0)
    return;
  // Appending a piece of this string to itself must survive the reallocation.
  if (text >= Data && text < Data + Length) {
    CString copy(text, length);
    Append(copy.Data, copy.Length);
    return;
  }
  Reserve(Length + length);
  memcpy(Data + Length, text, static_cast<size_t>(length));
  Length += length;
  Data[Length] = 0;
}

CString CString::Left(int count) const {
  if (count < 0)
    count = 0;
  return CString(Data, count < Length ? count : Length);
}

CString CString::Mid(int first) const {
  if (first < 0)
    first = 0;
  if (first >= Length)
    return CString();
  return CString(Data + first, Length - first);
}

void CString::Truncate(int length) {
  if (length < 0)
    length = 0;
  if (length < Length) {
    Length = length;
    Data[Length] = 0;
  }
}

void CString::MakeUpperAscii() {
  for (int i = 0; i < Length; ++i)
    if (Data[i] >= 'a' && Data[i] <= 'z')
      Data[i] = static_cast<char>(Data[i] - 'a' + 'A');
}

char *CString::GetBuffer(int minLength) {
  Reserve(minLength > Length ? minLength : Length);
  // Zero the spare room, so that a buffer the caller fills without a NUL still ends
  // where the caller's bytes end.
  if (Capacity != 0)
    memset(Data + Length, 0, static_cast<size_t>(Capacity - Length) + 1);
  return Data;
}

void CString::ReleaseBuffer(int newLength) {
  if (Capacity == 0)
    return;
  if (newLength < 0 || newLength > Capacity) {
    // A buffer filled without a NUL ends at its end.
    const void *nul = memchr(Data, 0, static_cast<size_t>(Capacity));
    newLength = nul ? static_cast<int>(static_cast<const char *>(nul) - Data) : Capacity;
  }
  Length = newLength;
  Data[Length] = 0;
}

void CString::Reserve(int capacity) {
  if (capacity <= Capacity)
    return;
  // Grow by half again so that a run of appends stays linear.
  int grown = Capacity + Capacity / 2;
  if (grown > capacity)
    capacity = grown;
  char *fresh = static_cast<char *>(malloc(static_cast<size_t>(capacity) + 1));
  if (!fresh) {
    OnOutOfMemory();
    abort();
  }
  memcpy(fresh, Data, static_cast<size_t>(Length) + 1);
  Release();
  Data = fresh;
  Capacity = capacity;
}

void CString::Release() {
  if (Capacity != 0)
    free(Data);
  Data = EmptyText;
  Capacity = 0;
}

bool operator==(const CString &a, const CString &b) {
  return a.Length == b.Length && memcmp(a.Data, b.Data, static_cast<size_t>(a.Length)) == 0;
}

bool operator==(const CString &a, const char *b) {
  return strcmp(a.Data, b ? b : "") == 0 && TextLength(b) == a.Length;
}

CString operator+(const CString &a, const CString &b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString &a, const char *b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const char *a, const CString &b) {
  CString result(a);
  result += b;
  return result;
}

void AppendNumber(CString &text, unsigned number, int digits, unsigned base) {
  char reversed[12];
  int count = 0;
  do {
    const unsigned digit = number % base;
    reversed[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'A' - 10 + digit);
    number /= base;
  } while (number || count < digits);
  while (count)
    text += reversed[--count];
}

CString OnOneLine(const char *text) {
  CString line;
  for (const char *p = text; *p; ++p) {
    if (p[0] == '\r' && p[1] == '\n') {
      line += ' ';
      ++p;
    } else {
      line += *p;
    }
  }
  return line;
}
