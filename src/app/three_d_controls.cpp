#include "app/three_d_controls.h"

#include "base/system_library.h"

namespace {

typedef BOOL(WINAPI *InstanceFunction)(HINSTANCE);

} // namespace

bool ThreeDimensionalControls::Enable(HINSTANCE instance) {
  if (Registered)
    return true;
  if (!Library)
    Library = LoadSystemLibrary("CTL3D32.DLL");
  if (!Library)
    return false;
  InstanceFunction registerApp = LibraryFunction<InstanceFunction>(Library, "Ctl3dRegister");
  InstanceFunction autoSubclass = LibraryFunction<InstanceFunction>(Library, "Ctl3dAutoSubclass");
  if (!registerApp || !autoSubclass || !registerApp(instance))
    return false;
  Registered = true;
  Instance = instance;
  autoSubclass(instance);
  return true;
}

void ThreeDimensionalControls::Disable() {
  if (Registered) {
    if (InstanceFunction unregisterApp = LibraryFunction<InstanceFunction>(Library, "Ctl3dUnregister"))
      unregisterApp(Instance);
    Registered = false;
  }
  if (Library) {
    ::FreeLibrary(Library);
    Library = nullptr;
  }
}
