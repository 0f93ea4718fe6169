#include "platform/win32/win32_drives.h"

#include "base/windows_api.h"

namespace {

// Windows asks for a missing disk in a box of its own before the call fails, unless
// told not to; the folder browser reports a drive it cannot read itself.
class NoDiskRequests {
public:
  NoDiskRequests() : Previous(::SetErrorMode(SEM_FAILCRITICALERRORS)) {
    ::SetErrorMode(Previous | SEM_FAILCRITICALERRORS);
  }
  NoDiskRequests(const NoDiskRequests &) = delete;
  NoDiskRequests &operator=(const NoDiskRequests &) = delete;
  ~NoDiskRequests() { ::SetErrorMode(Previous); }

private:
  UINT Previous;
};

void TakeEntry(const WIN32_FIND_DATAA &data, FoundEntry *entry) {
  entry->Name = data.cFileName;
  entry->Attributes = data.dwFileAttributes;
}

} // namespace

uint32_t Win32Drives::TypeOf(const char *root) { return ::GetDriveTypeA(root); }

bool Win32Drives::FreeSpace(const char *root, VolumeFreeSpace *space) {
  NoDiskRequests quiet;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!::GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
    return false;
  space->SectorsPerCluster = sectorsPerCluster;
  space->BytesPerSector = bytesPerSector;
  space->FreeClusters = freeClusters;
  return true;
}

bool Win32FileSearch::Start(const char *pattern, SearchHandle *search, FoundEntry *entry) {
  NoDiskRequests quiet;
  WIN32_FIND_DATAA data;
  HANDLE found = ::FindFirstFileA(pattern, &data);
  if (found == INVALID_HANDLE_VALUE)
    return false;
  *search = reinterpret_cast<SearchHandle>(found);
  TakeEntry(data, entry);
  return true;
}

bool Win32FileSearch::Next(SearchHandle search, FoundEntry *entry) {
  NoDiskRequests quiet;
  WIN32_FIND_DATAA data;
  if (!::FindNextFileA(reinterpret_cast<HANDLE>(search), &data))
    return false;
  TakeEntry(data, entry);
  return true;
}

void Win32FileSearch::Close(SearchHandle search) { ::FindClose(reinterpret_cast<HANDLE>(search)); }
