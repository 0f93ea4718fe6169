// Files, folders and the system folders over the Win32 file functions.
#pragma once

#include "platform/files.h"
#include "platform/folders.h"
#include "platform/system_folders.h"

class Win32Files : public Files {
public:
  uint32_t CreateNew(const char *path, FileHandle *file) override;
  uint32_t CreateSelfRemoving(const char *path, FileHandle *file) override;
  uint32_t OpenForReading(const char *path, FileHandle *file) override;
  uint32_t Write(FileHandle file, const void *data, uint32_t size, uint32_t *written) override;
  bool ReadTimes(FileHandle file, FileTimes *times) override;
  bool SetTimes(FileHandle file, const FileTimes &times) override;
  void Close(FileHandle file) override;
  uint32_t ProbeWriting(const char *path) override;
  uint32_t Move(const char *from, const char *to, bool replace) override;
  uint32_t Delete(const char *path) override;
  uint32_t NameSeed() override;
};

class Win32Folders : public Folders {
public:
  uint32_t CreateFolder(const char *path) override;
};

class Win32SystemFolders : public SystemFolders {
public:
  CString SystemFolder() override;
  CString WindowsFolder() override;
};
