// The program's icons at the small size Windows draws them at, which is also the program's
// measure of the display scale for what it places in pixels.
#pragma once

#include "framework/wnd.h"

// 16 pixels at 100% display scale, 24 at 150%, 32 at 200%. The program says in its
// manifest that it draws at the display's scale, so Windows reports the scaled size; the
// call exists on every system the program runs on, unlike the display-scale calls of
// later versions, and reading it needs no device context.
inline int SmallIconSize() { return ::GetSystemMetrics(SM_CXSMICON); }

// The icon resource's image of the small size, or the nearest one stretched when it has
// none. Shared, so the system keeps it for the program's lifetime and nobody destroys it;
// Windows 95 may then hand back the image of another size that it already keeps for the
// same resource, which is drawn shrunk, as it was before the program had small pictures.
inline HICON LoadSmallIcon(int id) {
  const int size = SmallIconSize();
  return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_ICON, size, size, LR_SHARED));
}
