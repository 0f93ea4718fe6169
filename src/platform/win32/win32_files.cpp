#include "platform/win32/win32_files.h"

#include "base/system_library.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/file_time_conversion.h"

namespace {

HANDLE ToHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }
FileHandle FromHandle(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

uint32_t Open(const char *path, DWORD access, DWORD disposition, FileHandle *file,
              DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  *file = 0;
  // No sharing: nobody else may read or write the file while it is open here.
  HANDLE handle = ::CreateFileA(path, access, 0, nullptr, disposition, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return LastErrorOf();
  *file = FromHandle(handle);
  return 0;
}

typedef UINT(WINAPI *FolderQuery)(LPSTR, UINT);

CString FolderText(FolderQuery query) {
  CString text;
  char *buffer = text.GetBuffer(MAX_PATH);
  UINT length = query(buffer, MAX_PATH);
  // 0 is a failure, and a length of MAX_PATH or more is the size the text would need.
  text.ReleaseBuffer(length < MAX_PATH ? static_cast<int>(length) : 0);
  return text;
}

} // namespace

uint32_t Win32Files::CreateNew(const char *path, FileHandle *file) {
  return Open(path, GENERIC_WRITE, CREATE_NEW, file);
}

uint32_t Win32Files::CreateSelfRemoving(const char *path, FileHandle *file) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, file,
              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
}

uint32_t Win32Files::OpenForReading(const char *path, FileHandle *file) {
  return Open(path, GENERIC_READ, OPEN_EXISTING, file);
}

uint32_t Win32Files::Write(FileHandle file, const void *data, uint32_t size,
                           uint32_t *written) {
  DWORD count = 0;
  BOOL done = ::WriteFile(ToHandle(file), data, size, &count, nullptr);
  *written = count;
  return done ? 0 : LastErrorOf();
}

bool Win32Files::ReadTimes(FileHandle file, FileTimes *times) {
  FILETIME creation, lastAccess, lastWrite;
  if (!::GetFileTime(ToHandle(file), &creation, &lastAccess, &lastWrite))
    return false;
  times->Creation = FromFileTime(creation);
  times->LastAccess = FromFileTime(lastAccess);
  times->LastWrite = FromFileTime(lastWrite);
  return true;
}

void Win32Files::Close(FileHandle file) { ::CloseHandle(ToHandle(file)); }

bool Win32Files::SetTimes(FileHandle file, const FileTimes &times) {
  FILETIME creation = ToFileTime(times.Creation);
  FILETIME lastAccess = ToFileTime(times.LastAccess);
  FILETIME lastWrite = ToFileTime(times.LastWrite);
  return ::SetFileTime(ToHandle(file), &creation, &lastAccess, &lastWrite) != FALSE;
}

uint32_t Win32Files::ProbeWriting(const char *path) {
  FileHandle file;
  const uint32_t error = Open(path, GENERIC_WRITE, OPEN_EXISTING, &file);
  if (file)
    ::CloseHandle(ToHandle(file));
  return error;
}

uint32_t Win32Files::Move(const char *from, const char *to, bool replace) {
  if (!replace)
    return ::MoveFileA(from, to) ? 0 : LastErrorOf();
  // Windows 95 and 98 export the name, but as a stub that fails as not implemented.
  typedef BOOL(WINAPI * MoveFunction)(LPCSTR, LPCSTR, DWORD);
  const MoveFunction move =
      LibraryFunction<MoveFunction>(::GetModuleHandleA("kernel32.dll"), "MoveFileExA");
  if (!move)
    return ERROR_CALL_NOT_IMPLEMENTED;
  return move(from, to, MOVEFILE_REPLACE_EXISTING) ? 0 : LastErrorOf();
}

uint32_t Win32Files::Delete(const char *path) {
  return ::DeleteFileA(path) ? 0 : LastErrorOf();
}

uint32_t Win32Files::NameSeed() {
  return ::GetTickCount() ^ ::GetCurrentProcessId() << 12;
}

uint32_t Win32Folders::CreateFolder(const char *path) {
  return ::CreateDirectoryA(path, nullptr) ? 0 : LastErrorOf();
}

CString Win32SystemFolders::SystemFolder() { return FolderText(::GetSystemDirectoryA); }

CString Win32SystemFolders::WindowsFolder() { return FolderText(::GetWindowsDirectoryA); }
