// The common controls the folder browser uses: a borrowing wrapper for the tree-view
// control, whose calls each send one message, and an image list that owns its images.
#pragma once

#include "framework/wnd.h"

#include <commctrl.h>

// The calls of the common controls library that the program makes, looked up in the
// system folder's copy the first time they are needed; a missing one is null.
struct CommonControlsLibrary {
  typedef void(WINAPI *InitFunction)();
  typedef HIMAGELIST(WINAPI *CreateFunction)(int, int, UINT, int, int);
  typedef BOOL(WINAPI *DestroyFunction)(HIMAGELIST);
  typedef int(WINAPI *ReplaceIconFunction)(HIMAGELIST, int, HICON);

  InitFunction InitCommonControls;
  CreateFunction ImageListCreate;
  DestroyFunction ImageListDestroy;
  ReplaceIconFunction ImageListReplaceIcon;
};
const CommonControlsLibrary &CommonControls();

// Registers the library's window classes (the tree view among them); false when the
// library is missing.
bool AfxInitCommonControls();

class CImageList {
public:
  CImageList() : List(nullptr) {}
  CImageList(const CImageList &) = delete;
  CImageList &operator=(const CImageList &) = delete;
  ~CImageList() {
    if (List)
      CommonControls().ImageListDestroy(List);
  }

  BOOL Create(int cx, int cy, UINT flags, int initial, int grow) {
    const CommonControlsLibrary &library = CommonControls();
    if (!library.ImageListCreate || !library.ImageListDestroy || !library.ImageListReplaceIcon)
      return FALSE;
    List = library.ImageListCreate(cx, cy, flags, initial, grow);
    return List != nullptr;
  }
  // Appends the icon's image and its mask; the list keeps copies, not the icon. A list
  // that was never made takes nothing, and the library's functions may then be missing.
  int Add(HICON icon) const {
    return List ? CommonControls().ImageListReplaceIcon(List, -1, icon) : -1;
  }
  HIMAGELIST GetSafeHandle() const { return List; }

private:
  HIMAGELIST List;
};

class CTreeCtrl : public CWnd {
public:
  HTREEITEM InsertItem(const char *text, int image, int selectedImage, HTREEITEM parent,
                       HTREEITEM insertAfter) const {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char *>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  BOOL DeleteItem(HTREEITEM item) const {
    return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
  }
  // TVGN_CHILD, TVGN_NEXT, TVGN_PARENT or TVGN_CARET; the first child of no item is the
  // first top-level item.
  HTREEITEM GetNextItem(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
  }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  // Copies the item's text into buffer (size bytes with its NUL).
  BOOL GetItemText(HTREEITEM item, char *buffer, int size) const {
    TVITEMA read = {};
    read.mask = TVIF_TEXT | TVIF_HANDLE;
    read.hItem = item;
    read.pszText = buffer;
    read.cchTextMax = size;
    buffer[0] = '\0';
    return static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read)));
  }
  BOOL SetItemImage(HTREEITEM item, int image, int selectedImage) const {
    TVITEMA change = {};
    change.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    change.hItem = item;
    change.iImage = image;
    change.iSelectedImage = selectedImage;
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change)));
  }
  BOOL SetItemState(HTREEITEM item, UINT state, UINT stateMask) const {
    TVITEMA change = {};
    change.mask = TVIF_HANDLE | TVIF_STATE;
    change.hItem = item;
    change.state = state;
    change.stateMask = stateMask;
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change)));
  }
  BOOL Expand(HTREEITEM item, UINT action) const {
    return static_cast<BOOL>(SendMessage(TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)));
  }
  BOOL SelectItem(HTREEITEM item) const {
    return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
  }
  BOOL EnsureVisible(HTREEITEM item) const {
    return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)));
  }
  void SetImageList(const CImageList &images, int kind) const {
    SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(kind),
                reinterpret_cast<LPARAM>(images.GetSafeHandle()));
  }
  void AddStyle(DWORD styles) const {
    ::SetWindowLongPtrA(Hwnd, GWL_STYLE, ::GetWindowLongPtrA(Hwnd, GWL_STYLE) | styles);
  }
};
