// Owns one Win32 file handle and closes it when it goes out of scope.
#pragma once

#include "base/windows_api.h"

class ScopedFileHandle {
public:
  explicit ScopedFileHandle(HANDLE handle) : Handle(handle) {}
  ScopedFileHandle(const ScopedFileHandle &) = delete;
  ScopedFileHandle &operator=(const ScopedFileHandle &) = delete;
  ~ScopedFileHandle() {
    if (Handle != INVALID_HANDLE_VALUE && Handle != nullptr)
      ::CloseHandle(Handle);
  }

  HANDLE Get() const { return Handle; }
  explicit operator bool() const { return Handle != INVALID_HANDLE_VALUE && Handle != nullptr; }
  // Takes the handle, closing the one held before.
  void Reset(HANDLE handle) {
    this->~ScopedFileHandle();
    Handle = handle;
  }
  // Hands the handle to a new owner, which closes it from now on.
  HANDLE Release() {
    HANDLE handle = Handle;
    Handle = INVALID_HANDLE_VALUE;
    return handle;
  }

private:
  HANDLE Handle;
};

// GetLastError after a failed call, never 0: a caller that reads 0 as success must not
// mistake a failure for one.
inline DWORD LastErrorOf() {
  DWORD error = ::GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;
}
