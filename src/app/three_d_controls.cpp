#include "app/three_d_controls.h"

namespace {

typedef BOOL(WINAPI *InstanceFunction)(HINSTANCE);

InstanceFunction LibraryFunction(HMODULE library, const char *name) {
  return reinterpret_cast<InstanceFunction>(
      reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

} // namespace

bool ThreeDimensionalControls::Enable(HINSTANCE instance) {
  if (Registered)
    return true;
  if (!Library)
    Library = ::LoadLibraryA("CTL3D32.DLL");
  if (!Library)
    return false;
  InstanceFunction registerApp = LibraryFunction(Library, "Ctl3dRegister");
  InstanceFunction autoSubclass = LibraryFunction(Library, "Ctl3dAutoSubclass");
  if (!registerApp || !autoSubclass || !registerApp(instance))
    return false;
  Registered = true;
  Instance = instance;
  autoSubclass(instance);
  return true;
}

void ThreeDimensionalControls::Disable() {
  if (Registered) {
    if (InstanceFunction unregisterApp = LibraryFunction(Library, "Ctl3dUnregister"))
      unregisterApp(Instance);
    Registered = false;
  }
  if (Library) {
    ::FreeLibrary(Library);
    Library = nullptr;
  }
}
