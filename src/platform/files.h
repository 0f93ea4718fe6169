// Files as the payload extraction uses them: created new, opened for reading, written,
// their times read and set through the open file, closed, moved and deleted. A file
// opened through a handle is shared with no one while it is open. Handles are opaque
// numbers; 0 means "no file". Failures come back as the platform's error number
// (platform_errors.h).
#pragma once

#include "platform/file_time.h"

#include <stdint.h>

typedef uintptr_t FileHandle;

class Files {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~Files() = default;

public:
  // Creates a new file with write access; fails when anything of that name exists, so
  // that no link standing there is ever followed. Returns 0 and the handle, or the
  // platform error and leaves *file at 0.
  virtual uint32_t CreateNew(const char *path, FileHandle *file) = 0;
  // As CreateNew, with read access as well, for a file that the system removes when its
  // handle is closed, also when the process ends. The NT family only.
  virtual uint32_t CreateSelfRemoving(const char *path, FileHandle *file) = 0;
  // Opens an existing file with read access. Returns 0 and the handle, or the platform
  // error and leaves *file at 0.
  virtual uint32_t OpenForReading(const char *path, FileHandle *file) = 0;
  // Writes size bytes at the current position. *written receives the count the platform
  // wrote, which may be short of size even when the result is 0.
  virtual uint32_t Write(FileHandle file, const void *data, uint32_t size,
                         uint32_t *written) = 0;
  // Reads and sets the creation, last-access and last-write times of an open file.
  virtual bool ReadTimes(FileHandle file, FileTimes *times) = 0;
  virtual bool SetTimes(FileHandle file, const FileTimes &times) = 0;
  virtual void Close(FileHandle file) = 0;
  // Whether the existing file at path could be opened for writing now: 0 when it could,
  // or the platform error: ErrorFileNotFound when there is none, ErrorSharingViolation
  // when another program holds it open (a running program's own file), ErrorAccessDenied
  // when it is read-only. Nothing is written.
  virtual uint32_t ProbeWriting(const char *path) = 0;
  // Renames the closed file at from to to; with replace, an entry of that name is
  // replaced in one step (a link is replaced, never followed), and ErrorCallNotImplemented
  // comes back where the system cannot do that (the 95 family). Returns 0 or the platform
  // error.
  virtual uint32_t Move(const char *from, const char *to, bool replace) = 0;
  // Returns 0 or the platform error.
  virtual uint32_t Delete(const char *path) = 0;
  // A number that differs from run to run, from which names no one can foresee are made.
  virtual uint32_t NameSeed() = 0;
};

// Owns one open file and closes it when it goes out of scope.
class OpenedFile {
public:
  explicit OpenedFile(Files &files) : Owner(files), Handle(0) {}
  OpenedFile(const OpenedFile &) = delete;
  OpenedFile &operator=(const OpenedFile &) = delete;
  ~OpenedFile() { Close(); }

  uint32_t OpenForReading(const char *path) {
    Close();
    return Owner.OpenForReading(path, &Handle);
  }
  // Takes a handle that the caller opened.
  FileHandle *Receive() {
    Close();
    return &Handle;
  }
  void Close() {
    if (Handle)
      Owner.Close(Handle);
    Handle = 0;
  }
  // Gives the handle up to a new owner, which closes it from now on.
  FileHandle Release() {
    const FileHandle handle = Handle;
    Handle = 0;
    return handle;
  }
  FileHandle Get() const { return Handle; }
  explicit operator bool() const { return Handle != 0; }

private:
  Files &Owner;
  FileHandle Handle;
};
