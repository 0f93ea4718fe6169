// The 3-D look for dialogs on systems that draw flat controls themselves (NT 3.x): the
// platform's 3-D controls library, used only where it is installed.
#pragma once

#include "base/windows_api.h"

class ThreeDimensionalControls {
public:
  ThreeDimensionalControls() : Library(nullptr), Instance(nullptr), Registered(false) {}
  ThreeDimensionalControls(const ThreeDimensionalControls &) = delete;
  ThreeDimensionalControls &operator=(const ThreeDimensionalControls &) = delete;
  ~ThreeDimensionalControls() { Disable(); }

  // Registers the program with the library and has it subclass dialogs automatically.
  // Returns false when the library or its entry points are missing; the look then
  // simply stays flat.
  bool Enable(HINSTANCE instance);
  void Disable();

private:
  HMODULE Library;
  HINSTANCE Instance;
  bool Registered;
};
