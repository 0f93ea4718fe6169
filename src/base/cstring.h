// CString: the counted, growable 8-bit string of the program. It holds text in the
// ANSI code page with byte lengths; character-aware searches live with the path rules
// that need them. The type uses no exceptions and no standard library container, so
// that the shipped executable stays small; an allocation failure is fatal (see
// SetOutOfMemoryHandler), since no string in this program is large.
#pragma once

#include <stddef.h>

class CString {
public:
  // Out of line on purpose: the program makes many empty strings, and a call is shorter
  // than the three stores it stands for.
  __attribute__((noinline)) CString();
  CString(const char *text);
  CString(const char *text, int length);
  CString(const CString &other);
  CString(CString &&other) noexcept;
  ~CString();

  CString &operator=(const CString &other);
  __attribute__((noinline)) CString &operator=(CString &&other) noexcept;
  CString &operator=(const char *text);

  int GetLength() const { return Length; }
  bool IsEmpty() const { return Length == 0; }
  const char *GetString() const { return Data; }
  operator const char *() const { return Data; }
  char GetAt(int index) const { return Data[index]; }

  CString &operator+=(const CString &text);
  CString &operator+=(const char *text);
  CString &operator+=(char ch);
  void Append(const char *text, int length);

  // The first count bytes (or all of them when count is larger).
  CString Left(int count) const;
  // The bytes from first to the end.
  CString Mid(int first) const;

  // Shortens the text to its first length bytes.
  void Truncate(int length);
  // Upper-cases the ASCII letters a to z; other bytes stay as they are.
  void MakeUpperAscii();

  // Direct access for routines that fill a buffer: GetBuffer makes room for at least
  // minLength bytes plus a NUL; ReleaseBuffer sets the length to newLength, or to the
  // position of the first NUL when newLength is negative.
  char *GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);

  friend bool operator==(const CString &a, const CString &b);
  friend bool operator==(const CString &a, const char *b);
  friend bool operator!=(const CString &a, const CString &b) { return !(a == b); }
  friend bool operator!=(const CString &a, const char *b) { return !(a == b); }

private:
  void Reserve(int capacity);
  void Release();

  char *Data;
  int Length;
  int Capacity; // 0 while Data points at the shared empty text.
};

CString operator+(const CString &a, const CString &b);
CString operator+(const CString &a, const char *b);
CString operator+(const char *a, const CString &b);

// Appends number in decimal, or in upper-case hexadecimal with base 16, with leading
// zeros up to digits places.
void AppendNumber(CString &text, unsigned number, int digits = 1, unsigned base = 10);

// The message as one line, as the error stream and the log show it: each line break
// (a carriage return and a line feed) becomes a blank.
CString OnOneLine(const char *text);

// Called when memory for a string cannot be had; it must not return. The default
// aborts the program.
typedef void (*OutOfMemoryHandler)();
void SetOutOfMemoryHandler(OutOfMemoryHandler handler);
