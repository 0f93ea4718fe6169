// Files as the payload extraction uses them: created new for writing, opened for
// reading, written, their times read through the open file and set by path, closed,
// moved over another and deleted. A file opened through a handle is shared with no one while it is open.
// Handles are opaque numbers; 0 means "no file". Failures come back as the platform's
// error number (platform_errors.h).
#pragma once

#include "platform/file_time.h"

#include <stdint.h>

typedef uintptr_t FileHandle;

class Files {
public:
  virtual ~Files() {}

  // Creates a new file with write access; fails when anything of that name exists, so
  // that no link standing there is ever followed. Returns 0 and the handle, or the
  // platform error and leaves *file at 0.
  virtual uint32_t CreateNew(const char *path, FileHandle *file) = 0;
  // Opens an existing file with read access. Returns 0 and the handle, or the platform
  // error and leaves *file at 0.
  virtual uint32_t OpenForReading(const char *path, FileHandle *file) = 0;
  // Writes size bytes at the current position. *written receives the count the platform
  // wrote, which may be short of size even when the result is 0.
  virtual uint32_t Write(FileHandle file, const void *data, uint32_t size,
                         uint32_t *written) = 0;
  // Reads the creation, last-access and last-write times of an open file.
  virtual bool ReadTimes(FileHandle file, FileTimes *times) = 0;
  virtual void Close(FileHandle file) = 0;
  // Applies all three times to the file at path, which must not be open.
  virtual bool SetTimes(const char *path, const FileTimes &times) = 0;
  // Puts the closed file at from in the place of to in one step, replacing the entry of
  // that name (a link is replaced, never followed). Returns 0 or the platform error.
  virtual uint32_t Replace(const char *from, const char *to) = 0;
  // Returns 0 or the platform error.
  virtual uint32_t Delete(const char *path) = 0;
};

// Owns one open file and closes it when it goes out of scope.
class OpenedFile {
public:
  explicit OpenedFile(Files &files) : Owner(files), Handle(0) {}
  OpenedFile(const OpenedFile &) = delete;
  OpenedFile &operator=(const OpenedFile &) = delete;
  ~OpenedFile() { Close(); }

  uint32_t CreateNew(const char *path) {
    Close();
    return Owner.CreateNew(path, &Handle);
  }
  uint32_t OpenForReading(const char *path) {
    Close();
    return Owner.OpenForReading(path, &Handle);
  }
  void Close() {
    if (Handle)
      Owner.Close(Handle);
    Handle = 0;
  }
  FileHandle Get() const { return Handle; }
  explicit operator bool() const { return Handle != 0; }

private:
  Files &Owner;
  FileHandle Handle;
};
