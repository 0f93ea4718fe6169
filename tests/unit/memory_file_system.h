// An in-memory file system for the folder creation and payload extraction tests. It
// keeps drives, folders and files with their bytes, times and open handles, answers
// like the Win32 calls do (missing parents, existing names, read-only files, sharing,
// a disk that fills up), records every call, and can fail any single call with a
// chosen error. Names compare without regard to the case of ASCII letters.
#pragma once

#include "platform/code_page.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/system_folders.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class MemoryFileSystem : public Files, public Folders, public SystemFolders {
public:
  enum Operation {
    CreateFolderCall,
    CreateForWritingCall,
    OpenForReadingCall,
    WriteCall,
    ReadTimesCall,
    SetTimesCall,
    DeleteCall,
    ExpandCall, // the LZ expansion stand-in asks for its failures here
  };

  struct Entry {
    std::string Path; // as it was first created
    bool IsFolder = false;
    std::string Bytes;
    FileTimes Times = {0, 0, 0};
    // A read-only file cannot be created over, written, stamped or deleted (error 5); a
    // read-only folder lets nothing be created inside it.
    bool ReadOnly = false;
    // Opening the file for reading fails with error 5.
    bool Unreadable = false;
    int OpenHandles = 0;
  };

  explicit MemoryFileSystem(const CodePage &codePage);

  // One line per call: "<operation> <path> -> <result>", e.g. "create-folder C:\A -> 0",
  // "write C:\A\kwb.tmp 4 -> 0", "set-times C:\A\KWB.exe -> ok".
  std::vector<std::string> Calls;
  // What SystemFolder and WindowsFolder report; "" stands for a folder that cannot be
  // read.
  std::string SystemFolderText = "C:\\WINDOWS\\SYSTEM";
  std::string WindowsFolderText = "C:\\WINDOWS";
  // Relative names are taken relative to this folder.
  std::string CurrentFolder = "C:\\WORK";
  // Bytes that can still be written; a write beyond them writes what fits and fails
  // with error 112, as a full disk does.
  uint64_t FreeBytes = UINT64_MAX;
  // The clock the file system stamps new and written files with, from 2024-01-01 00:00
  // UTC. It moves on by one second at every call that changes a file.
  FileTime Now = 133485408000000000ULL;

  // Adds a drive ("D:") or a folder with every folder above it.
  void AddFolder(const std::string &path);
  // Adds a file (its folder must exist) last written at lastWrite.
  Entry &AddFile(const std::string &path, const std::string &bytes, FileTime lastWrite);
  Entry *Find(const std::string &path);
  bool Exists(const std::string &path) { return Find(path) != nullptr; }
  size_t OpenHandleCount() const { return Handles.size(); }

  // Makes the call of the operation on path (the nth such call from now) fail with
  // error. A failing write first writes `written` bytes; with error 0 it is a write that
  // reports success but writes only `written` bytes.
  void Fail(Operation operation, const std::string &path, uint32_t error, uint32_t written = 0,
            int nth = 1);
  // For the expansion stand-in: the bytes of the file at path, or the error that opening
  // it for reading with others allowed to read would give. The call is recorded as
  // "expand"; *injected is set when a failure was asked for with Fail(ExpandCall, ...).
  uint32_t ReadForExpansion(const std::string &path, std::string *bytes, bool *injected,
                            uint32_t *injectedError);
  void Record(const std::string &line) { Calls.push_back(line); }

  uint32_t CreateFolder(const char *path) override;
  uint32_t CreateForWriting(const char *path, FileHandle *file) override;
  uint32_t OpenForReading(const char *path, FileHandle *file) override;
  uint32_t Write(FileHandle file, const void *data, uint32_t size, uint32_t *written) override;
  bool ReadTimes(FileHandle file, FileTimes *times) override;
  void Close(FileHandle file) override;
  bool SetTimes(const char *path, const FileTimes &times) override;
  uint32_t Delete(const char *path) override;
  CString SystemFolder() override;
  CString WindowsFolder() override;

private:
  struct Failure {
    Operation Call;
    std::string Key;
    uint32_t Error;
    uint32_t Written;
    int Remaining;
  };
  struct OpenFile {
    std::string Key;
    bool ForWriting;
  };

  std::string Absolute(const std::string &path) const;
  std::string KeyOf(const std::string &path) const;
  std::string ParentKey(const std::string &key) const;
  // Whether a failure was asked for this call; if so, its error and bytes written.
  bool Injected(Operation operation, const std::string &key, uint32_t *error,
                uint32_t *written = nullptr);
  // The error for making a new entry at key: its parent must be a folder that is not
  // read-only.
  uint32_t CheckParent(const std::string &key);
  // The error for opening, replacing or deleting an existing entry: a folder or a
  // locked file is refused, a file open elsewhere is shared.
  static uint32_t Refusal(const Entry &entry, bool locked);
  FileTime Tick() { return Now += FileTimeTicksPerSecond; }

  const CodePage &Characters;
  std::map<std::string, Entry> Entries;
  std::vector<Failure> Failures;
  std::map<FileHandle, OpenFile> Handles;
  FileHandle NextHandle = 100;
};
