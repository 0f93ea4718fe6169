/* Loaded into the installer by the driver's message hook on the installer's thread, it
   reads a tree view from inside: another process cannot, since the memory that
   ReadProcessMemory reaches in an emulated 32-bit installer is not the memory the
   installer sees. When the tree receives the message "kwbdrive tree" it sets the text of
   the driver's window named in the message's wParam to its items, one line each, "depth
   handle image selected-image text"; Windows copies a window text between processes. */
#include <windows.h>

#include <commctrl.h>

#include <stdio.h>

static char Items[60000];
static int Length;

static void AddItems(HWND tree, HTREEITEM item, int depth) {
  for (; item && Length < (int)sizeof Items - 2 * MAX_PATH;
       item = TreeView_GetNextSibling(tree, item)) {
    char text[MAX_PATH] = "";
    TVITEMA query = {.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, .hItem = item,
                     .pszText = text, .cchTextMax = sizeof text};
    TreeView_GetItem(tree, &query);
    Length += sprintf(Items + Length, "%d %p %d %d %s\n", depth, (void *)item, query.iImage,
                      query.iSelectedImage, text);
    AddItems(tree, TreeView_GetChild(tree, item), depth + 1);
  }
}

__declspec(dllexport) LRESULT CALLBACK TreeHook(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT *sent = (const CWPSTRUCT *)lParam;
  if (code == HC_ACTION && sent->message == RegisterWindowMessageA("kwbdrive tree")) {
    Items[Length = 0] = '\0';
    AddItems(sent->hwnd, TreeView_GetRoot(sent->hwnd), 0);
    SendMessageA((HWND)sent->wParam, WM_SETTEXT, 0, (LPARAM)Items);
  }
  return CallNextHookEx(NULL, code, wParam, lParam);
}
