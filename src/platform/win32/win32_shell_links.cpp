#include "platform/win32/win32_shell_links.h"

#include "base/system_library.h"
#include "base/windows_api.h"

#include <objbase.h>
#include <objidl.h>
#include <shobjidl.h>

namespace {

// The three identifiers are defined here rather than taken from the uuid library,
// which would bring along a block of identifiers the program never uses.
const CLSID ShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID ShellLinkAnsiInterface = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID PersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Owns one COM interface pointer and releases it when it goes out of scope.
template <class Interface> class ComInterface {
public:
  ComInterface() : Pointer(nullptr) {}
  ComInterface(const ComInterface &) = delete;
  ComInterface &operator=(const ComInterface &) = delete;
  ~ComInterface() {
    if (Pointer)
      Pointer->Release();
  }

  Interface *operator->() const { return Pointer; }
  void **Receiver() { return reinterpret_cast<void **>(&Pointer); }

private:
  Interface *Pointer;
};

} // namespace

void Win32ShellLinks::InitialiseCom() {
  // The link object lives in any apartment, and saving a link needs no window: in the
  // multithreaded apartment COM makes none either, where the single-threaded one would
  // make its hidden window and so bring up the display driver for nothing. Windows 95 as
  // first released has only the single-threaded apartment (no CoInitializeEx).
  typedef HRESULT(WINAPI * InitialiseFunction)(LPVOID, DWORD);
  InitialiseFunction initialise =
      LibraryFunction<InitialiseFunction>(::GetModuleHandleA("OLE32.DLL"), "CoInitializeEx");
  // Only a successful initialisation (S_OK, or S_FALSE when COM was already on) is
  // balanced by an uninitialisation; a failed one must not be.
  ComInitialised = SUCCEEDED(initialise ? initialise(nullptr, COINIT_MULTITHREADED)
                                        : ::CoInitialize(nullptr));
}

void Win32ShellLinks::UninitialiseCom() {
  if (ComInitialised)
    ::CoUninitialize();
  ComInitialised = false;
}

int32_t Win32ShellLinks::CreateShortcut(const char *target, const char *linkFile, const char *description) {
  ComInterface<IShellLinkA> link;
  HRESULT result = ::CoCreateInstance(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                      ShellLinkAnsiInterface, link.Receiver());
  if (FAILED(result))
    return result;
  link->SetPath(target);
  link->SetDescription(description);
  ComInterface<IPersistFile> file;
  result = link->QueryInterface(PersistFileInterface, file.Receiver());
  if (FAILED(result))
    return result;
  // A name that does not convert whole is not saved at all: a cut or unterminated name
  // would put the link somewhere the user never asked for.
  WCHAR wideName[MAX_PATH];
  if (::MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wideName, MAX_PATH) == 0)
    return E_FAIL;
  return file->Save(wideName, TRUE);
}
