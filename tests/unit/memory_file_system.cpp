#include "memory_file_system.h"

#include "platform/platform_errors.h"

#include <algorithm>

namespace {

std::string Result(uint32_t error) { return std::to_string(error); }
std::string Result(bool done) { return done ? "ok" : "failed"; }

} // namespace

MemoryFileSystem::MemoryFileSystem(const CodePage &codePage) : Characters(codePage) {
  AddFolder("C:");
}

std::string MemoryFileSystem::Absolute(const std::string &path) const {
  if (path.size() >= 2 && path[1] == ':')
    return path;
  if (!path.empty() && path[0] == '\\')
    return CurrentFolder.substr(0, 2) + path;
  return CurrentFolder + "\\" + path;
}

std::string MemoryFileSystem::KeyOf(const std::string &path) const {
  std::string key = Absolute(path);
  // ASCII letters compare without case; the trail byte of a double-byte character is
  // part of the character and keeps its value.
  bool endsInSeparator = false;
  for (size_t i = 0; i < key.size(); ++i) {
    if (Characters.IsLeadByte(static_cast<unsigned char>(key[i])) && i + 1 < key.size()) {
      ++i;
      endsInSeparator = false;
      continue;
    }
    key[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[i])));
    endsInSeparator = key[i] == '\\';
  }
  // "C:\A\" names the folder C:\A, and "C:\" the drive C:.
  if (endsInSeparator && key.size() > 2)
    key.pop_back();
  return key;
}

std::string MemoryFileSystem::ParentKey(const std::string &key) const {
  size_t separator = std::string::npos;
  for (size_t i = 0; i < key.size(); ++i) {
    if (Characters.IsLeadByte(static_cast<unsigned char>(key[i])) && i + 1 < key.size())
      ++i;
    else if (key[i] == '\\')
      separator = i;
  }
  return separator == std::string::npos ? std::string() : key.substr(0, separator);
}

void MemoryFileSystem::AddFolder(const std::string &path) {
  std::string key = KeyOf(path);
  std::string parent = ParentKey(key);
  if (!parent.empty() && !Entries.count(parent))
    AddFolder(Absolute(path).substr(0, parent.size()));
  Entry &entry = Entries[key];
  if (entry.Path.empty()) {
    entry.Path = Absolute(path);
    entry.IsFolder = true;
    entry.Times = {Now, Now, Now};
  }
}

MemoryFileSystem::Entry &MemoryFileSystem::AddFile(const std::string &path,
                                                   const std::string &bytes,
                                                   FileTime lastWrite) {
  std::string key = KeyOf(path);
  Entry &entry = Entries[key];
  entry.Path = Absolute(path);
  entry.Bytes = bytes;
  entry.Times = {lastWrite, lastWrite, lastWrite};
  return entry;
}

MemoryFileSystem::Entry *MemoryFileSystem::Find(const std::string &path) {
  auto found = Entries.find(KeyOf(path));
  return found == Entries.end() ? nullptr : &found->second;
}

void MemoryFileSystem::Fail(Operation operation, const std::string &path, uint32_t error,
                            uint32_t written, int nth) {
  Failures.push_back(Failure{operation, KeyOf(path), error, written, nth});
}

bool MemoryFileSystem::Injected(Operation operation, const std::string &key, uint32_t *error,
                                uint32_t *written) {
  for (auto it = Failures.begin(); it != Failures.end(); ++it) {
    if (it->Call != operation || it->Key != key)
      continue;
    if (--it->Remaining > 0)
      return false;
    *error = it->Error;
    if (written)
      *written = it->Written;
    Failures.erase(it);
    return true;
  }
  return false;
}

uint32_t MemoryFileSystem::Refusal(const Entry &entry, bool locked) {
  if (entry.IsFolder || locked)
    return ErrorAccessDenied;
  return entry.OpenHandles > 0 ? ErrorSharingViolation : 0;
}

uint32_t MemoryFileSystem::CheckParent(const std::string &key) {
  std::string parent = ParentKey(key);
  auto found = parent.empty() ? Entries.end() : Entries.find(parent);
  if (found == Entries.end() || !found->second.IsFolder)
    return ErrorPathNotFound;
  return found->second.ReadOnly ? ErrorAccessDenied : 0;
}

uint32_t MemoryFileSystem::CreateFolder(const char *path) {
  std::string key = KeyOf(path);
  uint32_t error = 0;
  if (!Injected(CreateFolderCall, key, &error))
    error = Entries.count(key) ? ErrorAlreadyExists : CheckParent(key);
  if (error == 0) {
    Entry &entry = Entries[key];
    entry.Path = Absolute(path);
    entry.IsFolder = true;
    entry.Times = {Tick(), Now, Now};
  }
  Record("create-folder " + std::string(path) + " -> " + Result(error));
  return error;
}

uint32_t MemoryFileSystem::CreateForWriting(const char *path, FileHandle *file) {
  *file = 0;
  std::string key = KeyOf(path);
  uint32_t error = 0;
  auto found = Entries.find(key);
  if (!Injected(CreateForWritingCall, key, &error))
    error = found == Entries.end() ? CheckParent(key)
                                   : Refusal(found->second, found->second.ReadOnly);
  if (error == 0) {
    FileTime now = Tick();
    if (found == Entries.end()) {
      AddFile(path, std::string(), now);
    } else {
      // Truncating keeps the creation time, as the platform does.
      FreeBytes += found->second.Bytes.size();
      found->second.Bytes.clear();
      found->second.Times.LastAccess = now;
      found->second.Times.LastWrite = now;
    }
    Entries[key].OpenHandles++;
    *file = NextHandle++;
    Handles[*file] = OpenFile{key, true};
  }
  Record("create " + std::string(path) + " -> " + Result(error));
  return error;
}

uint32_t MemoryFileSystem::OpenForReading(const char *path, FileHandle *file) {
  *file = 0;
  std::string key = KeyOf(path);
  uint32_t error = 0;
  auto found = Entries.find(key);
  if (!Injected(OpenForReadingCall, key, &error))
    error = found != Entries.end() ? Refusal(found->second, found->second.Unreadable)
            : CheckParent(key) == ErrorPathNotFound ? ErrorPathNotFound
                                                    : ErrorFileNotFound;
  if (error == 0) {
    found->second.OpenHandles++;
    *file = NextHandle++;
    Handles[*file] = OpenFile{key, false};
  }
  Record("open " + std::string(path) + " -> " + Result(error));
  return error;
}

uint32_t MemoryFileSystem::Write(FileHandle file, const void *data, uint32_t size,
                                 uint32_t *written) {
  *written = 0;
  auto handle = Handles.find(file);
  if (handle == Handles.end() || !handle->second.ForWriting) {
    Record("write on a handle that is not open for writing");
    return 6; // ERROR_INVALID_HANDLE
  }
  Entry &entry = Entries[handle->second.Key];
  uint32_t error = 0;
  uint32_t count = size;
  if (Injected(WriteCall, handle->second.Key, &error, &count)) {
    count = std::min(size, count);
  } else if (FreeBytes < size) {
    error = ErrorDiskFull;
    count = static_cast<uint32_t>(FreeBytes);
  }
  entry.Bytes.append(static_cast<const char *>(data), count);
  FreeBytes -= std::min<uint64_t>(FreeBytes, count);
  entry.Times.LastWrite = Tick();
  *written = count;
  Record("write " + entry.Path + " " + std::to_string(size) + " -> " + Result(error) +
         (count != size ? " (" + std::to_string(count) + " written)" : ""));
  return error;
}

bool MemoryFileSystem::ReadTimes(FileHandle file, FileTimes *times) {
  auto handle = Handles.find(file);
  if (handle == Handles.end())
    return false;
  Entry &entry = Entries[handle->second.Key];
  uint32_t error = 0;
  bool done = !Injected(ReadTimesCall, handle->second.Key, &error);
  if (done)
    *times = entry.Times;
  Record("read-times " + entry.Path + " -> " + Result(done));
  return done;
}

void MemoryFileSystem::Close(FileHandle file) {
  auto handle = Handles.find(file);
  if (handle == Handles.end()) {
    Record("close of a handle that is not open");
    return;
  }
  Entry &entry = Entries[handle->second.Key];
  entry.OpenHandles--;
  Record("close " + entry.Path);
  Handles.erase(handle);
}

bool MemoryFileSystem::SetTimes(const char *path, const FileTimes &times) {
  std::string key = KeyOf(path);
  auto found = Entries.find(key);
  uint32_t error = 0;
  bool done = !Injected(SetTimesCall, key, &error) && found != Entries.end() &&
              !found->second.IsFolder && !found->second.ReadOnly &&
              found->second.OpenHandles == 0;
  if (done)
    found->second.Times = times;
  Record("set-times " + std::string(path) + " -> " + Result(done));
  return done;
}

uint32_t MemoryFileSystem::Delete(const char *path) {
  std::string key = KeyOf(path);
  auto found = Entries.find(key);
  uint32_t error = 0;
  if (!Injected(DeleteCall, key, &error))
    error = found == Entries.end() ? ErrorFileNotFound
                                   : Refusal(found->second, found->second.ReadOnly);
  if (error == 0) {
    FreeBytes += found->second.Bytes.size();
    Entries.erase(found);
  }
  Record("delete " + std::string(path) + " -> " + Result(error));
  return error;
}

uint32_t MemoryFileSystem::ReadForExpansion(const std::string &path, std::string *bytes,
                                            bool *injected, uint32_t *injectedError) {
  std::string key = KeyOf(path);
  auto found = Entries.find(key);
  *injectedError = 0;
  *injected = Injected(ExpandCall, key, injectedError);
  uint32_t error =
      found == Entries.end() ? ErrorFileNotFound : Refusal(found->second, found->second.Unreadable);
  if (error == 0)
    *bytes = found->second.Bytes;
  return error;
}

CString MemoryFileSystem::SystemFolder() {
  Record("system-folder -> \"" + SystemFolderText + "\"");
  return CString(SystemFolderText.c_str());
}

CString MemoryFileSystem::WindowsFolder() {
  Record("windows-folder -> \"" + WindowsFolderText + "\"");
  return CString(WindowsFolderText.c_str());
}
