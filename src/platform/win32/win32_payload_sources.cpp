#include "platform/win32/win32_payload_sources.h"

#include "platform/win32/file_handle.h"
#include "base/system_library.h"

#include <lzexpand.h>
#include <string.h>

namespace {

// The LZ library's four calls, looked up once from the system folder's copy.
struct LzLibrary {
  typedef INT(WINAPI *OpenFunction)(LPSTR, LPOFSTRUCT, WORD);
  typedef INT(WINAPI *InitFunction)(INT);
  typedef INT(WINAPI *ReadFunction)(INT, LPSTR, INT);
  typedef void(WINAPI *CloseFunction)(INT);

  LzLibrary() {
    HMODULE library = LoadSystemLibrary("LZ32.DLL");
    Open = LibraryFunction<OpenFunction>(library, "LZOpenFileA");
    Init = LibraryFunction<InitFunction>(library, "LZInit");
    Read = LibraryFunction<ReadFunction>(library, "LZRead");
    Close = LibraryFunction<CloseFunction>(library, "LZClose");
  }
  bool Complete() const { return Open && Init && Read && Close; }

  OpenFunction Open;
  InitFunction Init;
  ReadFunction Read;
  CloseFunction Close;
};

// The library stays loaded until the program ends.
const LzLibrary &Lz() {
  static const LzLibrary library;
  return library;
}

// Owns one handle of the LZ expansion library and closes it with LZClose, which also
// closes the file underneath. A negative value is an error code, not a handle.
class LzHandle {
public:
  explicit LzHandle(INT handle) : Handle(handle) {}
  LzHandle(const LzHandle &) = delete;
  LzHandle &operator=(const LzHandle &) = delete;
  ~LzHandle() {
    if (Handle >= 0)
      Lz().Close(Handle);
  }
  INT Get() const { return Handle; }

private:
  INT Handle;
};

// Hands an open file, read from its start, to the library, which closes it with its own
// handle from then on.
INT InitFromFile(HANDLE opened) {
  ScopedFileHandle file(opened);
  if (!file || ::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) != 0)
    return LZERROR_BADINHANDLE;
  // File handles fit in 32 bits on 64-bit Windows too, which is what lets the library
  // take them as HFILE values.
  INT handle = Lz().Init(static_cast<INT>(reinterpret_cast<INT_PTR>(file.Get())));
  if (handle >= 0)
    file.Release();
  return handle;
}

// Opens a compressed file for expansion, read-only, letting others read but not write it.
INT OpenCompressedFile(const char *path) {
  size_t length = strlen(path);
  if (length < OFS_MAXPATHNAME) {
    OFSTRUCT reopen;
    memset(&reopen, 0, sizeof reopen);
    reopen.cBytes = sizeof reopen;
    reopen.fFixedDisk = 1;
    char name[OFS_MAXPATHNAME];
    memcpy(name, path, length + 1);
    return Lz().Open(name, &reopen, OF_READ | OF_SHARE_DENY_WRITE);
  }
  // LZOpenFileA goes through OpenFile, which keeps the path in the 128 bytes of the
  // OFSTRUCT and fails for anything longer, yet install folders may be up to 239 bytes
  // long. Such a file is opened the same way here and handed to LZInit, which reads the
  // same header and gives the same kind of handle.
  return InitFromFile(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

bool Win32PayloadResources::Find(int id, ResourceBytes *bytes) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
  if (!found)
    return false;
  HGLOBAL loaded = ::LoadResource(module, found);
  const void *data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data)
    return false;
  // Resources stay mapped with the executable: there is nothing to unlock or free.
  bytes->Data = static_cast<const uint8_t *>(data);
  bytes->Size = ::SizeofResource(module, found);
  return true;
}

uint8_t *Win32MemoryBlocks::AllocateZeroed(uint32_t size) {
  // A fixed block's handle is its address.
  return static_cast<uint8_t *>(::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size));
}

void Win32MemoryBlocks::Free(uint8_t *block) { ::GlobalFree(block); }

namespace {

// Expands with one read from what the library opened, and closes it. Without the library
// nothing can be expanded: the same as a file that fails to open.
int32_t Expand(INT opened, uint8_t *buffer, int32_t size) {
  LzHandle file(opened);
  if (file.Get() < 0)
    return file.Get();
  return Lz().Read(file.Get(), reinterpret_cast<char *>(buffer), size);
}

} // namespace

int32_t Win32LzExpansion::ExpandFile(const char *path, uint8_t *buffer, int32_t size) {
  return Expand(Lz().Complete() ? OpenCompressedFile(path) : LZERROR_BADINHANDLE, buffer, size);
}

int32_t Win32LzExpansion::ExpandOpenFile(FileHandle file, uint8_t *buffer, int32_t size) {
  HANDLE handle = reinterpret_cast<HANDLE>(file);
  if (!Lz().Complete()) {
    ::CloseHandle(handle);
    return LZERROR_BADINHANDLE;
  }
  return Expand(InitFromFile(handle), buffer, size);
}
