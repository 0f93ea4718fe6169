#include "folder_browser/folder_dialog.h"

#include "folder_browser/folder_tree_rules.h"
#include "folder_browser/free_space_text.h"
#include "framework/file_find.h"
#include "framework/message_box.h"
#include "framework/small_icon.h"
#include "framework/wait_cursor.h"

namespace {

const char Caption[] = "Setup Folder";
// Search patterns: every entry of a folder given with its trailing backslash, and of
// one given without.
const char AllEntries[] = "*.*";
const char SubfolderEntries[] = "\\*.*";
// The images of the tree's image list.
const int ClosedFolderImage = 0;
const int OpenFolderImage = 1;

} // namespace

BEGIN_MESSAGE_MAP(CFolderDialog, CDialog)
ON_NOTIFY(TVN_ITEMEXPANDINGA, IDC_FOLDER_TREE, &CFolderDialog::OnFolderExpanding)
ON_NOTIFY(TVN_SELCHANGEDA, IDC_FOLDER_TREE, &CFolderDialog::OnFolderSelected)
END_MESSAGE_MAP()

CFolderDialog::CFolderDialog(CWnd *parent, const FolderBrowserPlatform &platform)
    : CDialog(IDD, parent), CurrentItem(nullptr), Platform(platform) {
  // The template's tree-view control is a window class of the common controls library,
  // which registers it here.
  AfxInitCommonControls();
}

void CFolderDialog::ExchangeControlData(CDataExchange *exchange) {
  DDX_Control(exchange, IDC_FREE_SPACE, FreeSpaceField);
  DDX_Control(exchange, IDC_FOLDER_LABEL, FolderLabel);
  DDX_Control(exchange, IDC_FOLDER_TREE, FolderTree);
}

BOOL CFolderDialog::InitialiseFolderDialog() {
  CDialog::OnInitDialog();
  SetWindowText(Caption);
  // The images are the icons' small pictures, which grow with the display scale as the
  // tree's text does. Without the image list the tree still works, only without
  // pictures; the tone tells that something is amiss.
  const int iconSize = SmallIconSize();
  if (!FolderImages.Create(iconSize, iconSize, ILC_MASK, 0, 8))
    ::Beep(99, 99);
  FolderImages.Add(LoadSmallIcon(IDI_FOLDER_CLOSED));
  FolderImages.Add(LoadSmallIcon(IDI_FOLDER_OPEN));
  FolderTree.AddStyle(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
  FolderTree.SetImageList(FolderImages, TVSIL_NORMAL);
  ListDrives();
  SelectInitialFolder();
  ::SetFocus(FolderTree.GetSafeHwnd());
  return FALSE;
}

void CFolderDialog::ListDrives() {
  // Nothing on a drive is read here: whether a removable drive holds a medium shows only
  // when its item is opened.
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    char root[] = {letter, ':', '\\', '\0'};
    const uint32_t type = Platform.DriveQuestions.TypeOf(root);
    if (type != DriveTypeFixed && type != DriveTypeRemovable)
      continue;
    // The item shows the drive without the backslash.
    root[2] = '\0';
    HTREEITEM item = FolderTree.InsertItem(root, ClosedFolderImage, ClosedFolderImage,
                                           TVI_ROOT, TVI_LAST);
    FolderTree.InsertItem("", ClosedFolderImage, ClosedFolderImage, item, TVI_LAST);
  }
}

// Both notifications leave the result at the 0 the message map starts it with: the
// tree expands the item and takes the selection.
void CFolderDialog::OnFolderExpanding(NMHDR *header, LRESULT *) {
  const NMTREEVIEWA *change = reinterpret_cast<const NMTREEVIEWA *>(header);
  HTREEITEM item = change->itemNew.hItem;
  const int image = change->action == TVE_EXPAND ? OpenFolderImage : ClosedFolderImage;
  FolderTree.SetItemImage(item, image, image);
  if (TakePlaceholder(item))
    ReadSubfolders(item);
}

void CFolderDialog::OnFolderSelected(NMHDR *header, LRESULT *) {
  CurrentItem = reinterpret_cast<const NMTREEVIEWA *>(header)->itemNew.hItem;
  GetItemPath(CurrentItem, FolderPath);
  HTREEITEM selected = FolderTree.GetSelectedItem();
  if (selected) {
    CString path;
    GetItemPath(selected, path);
    FolderLabel.SetWindowText(path);
    if (Platform.PlatformCode == WindowsNtFamily)
      FreeSpaceField.SetWindowText(GetFreeSpaceText(FolderPath));
  }
}

bool CFolderDialog::TakePlaceholder(HTREEITEM item) {
  HTREEITEM child = FolderTree.GetNextItem(item, TVGN_CHILD);
  if (!child)
    return false;
  CString text;
  AppendItemText(child, text);
  if (!text.IsEmpty())
    return false;
  FolderTree.DeleteItem(child);
  return true;
}

bool CFolderDialog::ReadSubfolders(HTREEITEM item) {
  CWaitCursor wait;
  // The search pattern of the item's folder, then of each of its subfolders in turn.
  CString pattern;
  GetItemPath(item, pattern);
  const int folderLength = pattern.GetLength();
  pattern += AllEntries;
  CFileFind finder(Platform.Searches);
  if (!finder.FindFile(pattern)) {
    // The item has lost its placeholder and keeps no children, so it is not read again
    // while the dialog is open.
    CString message("Error Drive: ");
    message.Append(pattern, 2);
    message += "\r\nCorrect and try again";
    AfxMessageBox(message, MB_OK);
    return false;
  }
  for (; finder.HasEntry(); finder.FindNextFile()) {
    const CString &name = finder.GetFileName();
    if (!IsListedSubfolder(name, finder.GetAttributes()))
      continue;
    HTREEITEM child =
        FolderTree.InsertItem(name, ClosedFolderImage, ClosedFolderImage, item, TVI_SORT);
    pattern.Truncate(folderLength);
    pattern += name;
    pattern += SubfolderEntries;
    if (HasSubfolders(pattern))
      FolderTree.InsertItem("", ClosedFolderImage, ClosedFolderImage, child, TVI_LAST);
  }
  return true;
}

bool CFolderDialog::HasSubfolders(const char *pattern) {
  // A folder that cannot be searched counts as having none; the probe reports nothing.
  CFileFind finder(Platform.Searches);
  if (!finder.FindFile(pattern))
    return false;
  for (; finder.HasEntry(); finder.FindNextFile())
    if (IsListedSubfolder(finder.GetFileName(), finder.GetAttributes()))
      return true;
  return false;
}

void CFolderDialog::GetItemPath(HTREEITEM item, CString &path) {
  // The path of the parent first, then this item's text and a backslash.
  if (!item) {
    path.Truncate(0);
    return;
  }
  GetItemPath(FolderTree.GetNextItem(item, TVGN_PARENT), path);
  AppendItemText(item, path);
  path += "\\";
}

void CFolderDialog::AppendItemText(HTREEITEM item, CString &text) {
  char buffer[MAX_PATH];
  FolderTree.GetItemText(item, buffer, sizeof buffer);
  text += buffer;
}

void CFolderDialog::SelectInitialFolder() {
  HTREEITEM found = FindPathItem(FolderPath);
  if (found) {
    FolderTree.SetItemState(found, TVIS_SELECTED, TVIS_SELECTED);
    // The tree reports the selection, which fills FolderPath, the label and the
    // free-space field before the dialog is shown.
    FolderTree.SelectItem(found);
  }
  HTREEITEM selected = FolderTree.GetSelectedItem();
  if (selected)
    FolderTree.EnsureVisible(selected);
}

HTREEITEM CFolderDialog::FindPathItem(CString path) {
  HTREEITEM result = nullptr;
  while (!path.IsEmpty()) {
    const CString component = TakeFirstComponent(path, Platform.Characters);
    result = FindChildItem(result, component, !path.IsEmpty());
  }
  return result;
}

HTREEITEM CFolderDialog::FindChildItem(HTREEITEM parent, const CString &component, bool expand) {
  // After a component that matched nothing the parent is none, and the next component
  // is looked for among the drives again.
  HTREEITEM item = parent ? FolderTree.GetNextItem(parent, TVGN_CHILD)
                          : FolderTree.GetNextItem(nullptr, TVGN_ROOT);
  CString text;
  for (; item; item = FolderTree.GetNextItem(item, TVGN_NEXT)) {
    text.Truncate(0);
    AppendItemText(item, text);
    if (IsSameItemName(text, component, Platform.Characters))
      break;
  }
  if (item && expand) {
    // The walk reads the item itself, so that it does not depend on whether the tree
    // reports its own expansion.
    if (TakePlaceholder(item))
      ReadSubfolders(item);
    FolderTree.Expand(item, TVE_EXPAND);
  }
  return item;
}

CString CFolderDialog::GetFreeSpaceText(const CString &path) {
  return FreeSpaceText(path, Platform.DriveQuestions);
}
