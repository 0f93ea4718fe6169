#include "framework/common_controls.h"

#include "base/system_library.h"

namespace {

CommonControlsLibrary Load() {
  HMODULE library = LoadSystemLibrary("COMCTL32.DLL");
  CommonControlsLibrary calls;
  calls.InitCommonControls =
      LibraryFunction<CommonControlsLibrary::InitFunction>(library, "InitCommonControls");
  calls.ImageListCreate =
      LibraryFunction<CommonControlsLibrary::CreateFunction>(library, "ImageList_Create");
  calls.ImageListDestroy =
      LibraryFunction<CommonControlsLibrary::DestroyFunction>(library, "ImageList_Destroy");
  calls.ImageListReplaceIcon = LibraryFunction<CommonControlsLibrary::ReplaceIconFunction>(
      library, "ImageList_ReplaceIcon");
  return calls;
}

} // namespace

// The library stays loaded until the program ends: its window classes and image lists
// live in it.
const CommonControlsLibrary &CommonControls() {
  static const CommonControlsLibrary library = Load();
  return library;
}

bool AfxInitCommonControls() {
  const CommonControlsLibrary &library = CommonControls();
  if (!library.InitCommonControls)
    return false;
  library.InitCommonControls();
  return true;
}
