// The folder browser ("Setup Folder"): a tree of the local fixed and removable drives
// whose folders are read from the disk only when an item is first opened. The caller
// sets FolderPath to the folder to preselect; after OK, FolderPath holds the path of the
// item selected last, with a trailing backslash.
#pragma once

#include "resource_ids.h"
#include "base/code_page.h"
#include "framework/common_controls.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "platform/drives.h"
#include "platform/file_search.h"
#include "platform/platform_family.h"

// What the browser works through, handed in by its caller.
struct FolderBrowserPlatform {
  FileSearch &Searches;
  Drives &DriveQuestions;
  const CodePage &Characters;
  // Free space shows on the NT family only.
  PlatformFamily PlatformCode;
};

class CFolderDialog : public CDialog {
public:
  enum { IDD = IDD_FOLDER_BROWSER };

  CFolderDialog(CWnd *parent, const FolderBrowserPlatform &platform);

  CImageList FolderImages;
  CString FolderPath;
  CEdit FreeSpaceField;
  CStatic FolderLabel;
  CTreeCtrl FolderTree;
  HTREEITEM CurrentItem;

protected:
  BOOL OnInitDialog() override { return InitialiseFolderDialog(); }
  void ExchangeControlData(CDataExchange *exchange) override;

  BOOL InitialiseFolderDialog();
  void OnFolderExpanding(NMHDR *header, LRESULT *result);
  void OnFolderSelected(NMHDR *header, LRESULT *result);
  void SelectInitialFolder();
  HTREEITEM FindPathItem(CString path);
  HTREEITEM FindChildItem(HTREEITEM parent, const CString &component, bool expand);
  bool ReadSubfolders(HTREEITEM item);
  // True when a search of the pattern finds a subfolder that the tree lists.
  bool HasSubfolders(const char *pattern);
  void GetItemPath(HTREEITEM item, CString &path);
  void AppendItemText(HTREEITEM item, CString &text);
  CString GetFreeSpaceText(const CString &path);

private:
  void ListDrives();
  // True when the item has a placeholder child, that is when its subfolders have not
  // been read yet; the placeholder is then deleted.
  bool TakePlaceholder(HTREEITEM item);

  const FolderBrowserPlatform &Platform;

  DECLARE_MESSAGE_MAP()
};
