// The folder browser on the real Win32 API, over the drives that
// folder_browser_drives.sh builds: A: a floppy drive without a medium, C: the prefix's
// own drive, D: a fixed drive with folders of every kind, M: a CD-ROM and N: a network
// drive.
#include "app/setup_app.h"
#include "folder_browser/folder_dialog.h"
#include "message_box_hook.h"
#include "platform/win32/win32_drives.h"
#include "setup_dialog/setup_dialog.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

typedef std::vector<std::string> Names;

// The system's file search, with every search pattern recorded.
class RecordedSearch : public Win32FileSearch {
public:
  bool Start(const char *pattern, SearchHandle *search, FoundEntry *entry) override {
    Patterns.push_back(pattern);
    return Win32FileSearch::Start(pattern, search, entry);
  }
  Names Patterns;
};

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM FirstChild(HWND tree, HTREEITEM item) { return NextItem(tree, item, item ? TVGN_CHILD : TVGN_ROOT); }

std::string ItemText(HWND tree, HTREEITEM item) {
  char text[MAX_PATH] = {0};
  TVITEMA read = {TVIF_TEXT | TVIF_HANDLE, item, 0, 0, text, MAX_PATH, 0, 0, 0, 0};
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read));
  return text;
}

// The texts of the item's children ("" for a placeholder), or of the drives for none.
Names Children(HWND tree, HTREEITEM parent) {
  Names names;
  for (HTREEITEM item = FirstChild(tree, parent); item; item = NextItem(tree, item, TVGN_NEXT))
    names.push_back(ItemText(tree, item));
  return names;
}

HTREEITEM ItemAt(HWND tree, const Names &path) {
  HTREEITEM item = nullptr;
  for (size_t i = 0; i < path.size(); ++i)
    for (item = FirstChild(tree, i ? item : nullptr); item && ItemText(tree, item) != path[i];)
      item = NextItem(tree, item, TVGN_NEXT);
  return item;
}

void Press(HWND window, int id) { PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }

class FolderBrowser : public ::testing::Test {
protected:
  // The application's main window opens the browser, as the Setup dialog does.
  void SetUp() override {
    MainWindow.Attach(CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr));
    App.MainWindow = &MainWindow;
  }
  void TearDown() override { DestroyWindow(MainWindow.GetSafeHwnd()); }
  // Runs a new browser on the given folder, as each click of the browse button does; each
  // step sees its window and its tree. The browser's FolderPath is left in Returned.
  INT_PTR Run(const char *folder, std::vector<std::function<void(HWND, HWND)>> steps) {
    CFolderDialog dialog(&MainWindow, Searches, DriveQuestions);
    dialog.FolderPath = folder;
    ModalDriver driver([&] { return dialog.GetSafeHwnd(); });
    for (auto &step : steps)
      driver.Then([&dialog, step] { step(dialog.GetSafeHwnd(), GetDlgItem(dialog.GetSafeHwnd(), IDC_FOLDER_TREE)); });
    const INT_PTR result = dialog.DoModal();
    Returned = dialog.FolderPath;
    return result;
  }
  static void ExpandByKey(HWND tree, const Names &path) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ItemAt(tree, path)));
    SendMessageA(tree, WM_KEYDOWN, VK_RIGHT, 0);
  }

  CSetupApp App;
  CWnd MainWindow;
  RecordedSearch Searches;
  Win32Drives DriveQuestions;
  std::string Returned;
};

TEST_F(FolderBrowser, ShowsTemplate149WithTheFolderImages) {
  // Units: left, top, width and height in dialog units.
  struct Control { int Id; const char *Class, *Text; RECT Units; LONG Style; } controls[] = {
      {IDOK, "Button", "OK", {177, 167, 50, 14}, WS_TABSTOP | BS_DEFPUSHBUTTON},
      {IDCANCEL, "Button", "Cancel", {118, 167, 50, 14}, WS_TABSTOP},
      // The tree turns its WS_BORDER into a client edge.
      {IDC_FOLDER_TREE, "SysTreeView32", "", {4, 17, 223, 146}, WS_TABSTOP | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT},
      {IDC_FOLDER_CAPTION, "Static", "Folder:", {3, 3, 26, 8}, SS_LEFT},
      {IDC_FOLDER_LABEL, "Static", "A:\\", {30, 1, 197, 14}, SS_CENTERIMAGE}, // the tree's first drive
      {IDC_FREE_SPACE, "Edit", "", {5, 166, 108, 14}, WS_TABSTOP | ES_READONLY},
  };
  EXPECT_EQ(Run("", {[&](HWND window, HWND tree) {
              EXPECT_EQ(TextOf(window), "Setup Folder");
              EXPECT_EQ(GetFocus(), tree);
              RECT size = {0, 0, 233, 183}, client;
              MapDialogRect(window, &size);
              GetClientRect(window, &client);
              EXPECT_TRUE(EqualRect(&size, &client));
              HWND child = GetWindow(window, GW_CHILD);
              for (const Control &c : controls) {
                SCOPED_TRACE(c.Id);
                ASSERT_EQ(GetDlgCtrlID(child), c.Id) << "template order";
                EXPECT_EQ(ClassOf(child) + TextOf(child), std::string(c.Class) + c.Text);
                EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & c.Style, c.Style);
                RECT units = c.Units, placed;
                MapDialogRect(window, &units);
                GetWindowRect(child, &placed);
                MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&placed), 2);
                EXPECT_TRUE(placed.left == units.left && placed.top == units.top && placed.right - placed.left == units.right && placed.bottom - placed.top == units.bottom);
                child = GetWindow(child, GW_HWNDNEXT);
              }
              HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
              int cx = 0, cy = 0;
              EXPECT_TRUE(ImageList_GetImageCount(images) == 2 && ImageList_GetIconSize(images, &cx, &cy) && cx == 16 && cy == 16);
              Press(window, IDCANCEL);
            }}),
            IDCANCEL);
}

TEST_F(FolderBrowser, PreselectsCaseInsensitivelyReadingOnlyTheFoldersOnThePath) {
  // When the walk finds nothing, the tree selects its first drive itself as it takes the
  // focus, and that selection is reported like any other; drive A: has no free space to show.
  struct Case {
    const char *Given, *Selected;
    size_t Searches; // a read and a probe per listed subfolder for each folder opened
    int32_t Platform;
    bool FreeSpaceShown;
  } cases[] = {
      {"d:\\tools\\bin\\", "D:\\Tools\\Bin\\", 6 + 3, WindowsNtFamily, true},
      {"D:\\Tools\\Bin\\Deep", "D:\\Tools\\Bin\\Deep\\", 6 + 3 + 2, Windows9xFamily, false},
      {"D:\\Tools\\Missing\\Deep\\", "A:\\", 6 + 3, WindowsNtFamily, false},
      {"d:\\", "D:\\", 0, WindowsNtFamily, true},
      {"", "A:\\", 0, WindowsNtFamily, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Given);
    Searches.Patterns.clear();
    App.PlatformCode = c.Platform;
    EXPECT_EQ(Run(c.Given, {[&](HWND window, HWND tree) {
                EXPECT_EQ(Children(tree, nullptr), (Names{"A:", "C:", "D:"})) << "fixed and removable drives only";
                EXPECT_EQ(Children(tree, ItemAt(tree, {"C:"})), Names{""}) << "read only when opened";
                EXPECT_EQ(ControlText(window, IDC_FOLDER_LABEL), c.Selected);
                EXPECT_EQ(Searches.Patterns.size(), c.Searches) << testing::PrintToString(Searches.Patterns);
                // Where D: is unread there is no such item, and the drives come back.
                EXPECT_EQ(Children(tree, ItemAt(tree, {"D:", "Unopened"})), c.Searches ? Names{""} : Children(tree, nullptr))
                    << "nothing below an unopened folder is read";
                const std::string freeSpace = ControlText(window, IDC_FREE_SPACE);
                EXPECT_EQ(std::regex_match(freeSpace, std::regex("[0-9]+[KM]B free")), c.FreeSpaceShown) << freeSpace;
                Press(window, IDOK);
              }}),
              IDOK);
    EXPECT_EQ(Returned, c.Selected);
  }
}

TEST_F(FolderBrowser, GivesAnExpandButtonOnlyToFoldersWithListedSubfolders) {
  ASSERT_EQ(GetFileAttributesA("D:\\OnlySystem\\Sys"), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM))
      << "Wine keeps the system attribute in an extended attribute of the host's file system";
  ASSERT_EQ(GetFileAttributesA("D:\\OnlyHidden\\.cache"), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Run("D:\\Tools\\", {[&](HWND, HWND tree) {
                  EXPECT_EQ(Children(tree, ItemAt(tree, {"D:"})), (Names{"OnlyFiles", "OnlyHidden", "OnlySystem", "Tools", "Unopened"}))
                      << "sorted; no file and no system folder";
                  const std::pair<const char *, Names> buttons[] = {
                      {"OnlyFiles", {}}, {"OnlyHidden", {""}}, {"OnlySystem", {}}, {"Tools", {""}}};
                  for (const auto &b : buttons)
                    EXPECT_EQ(Children(tree, ItemAt(tree, {"D:", b.first})), b.second) << b.first;
                  ExpandByKey(tree, {"D:", "OnlyHidden"});
                },
                [&](HWND window, HWND tree) {
                  EXPECT_EQ(Children(tree, ItemAt(tree, {"D:", "OnlyHidden"})), Names{".cache"});
                  Press(window, IDCANCEL);
                }}),
            IDCANCEL);
}

TEST_F(FolderBrowser, DriveWithoutAMediumIsReportedOnceOnExpansion) {
  MessageBoxHook boxes({IDOK});
  EXPECT_EQ(Run("A:\\", {[&](HWND, HWND tree) { ExpandByKey(tree, {"A:"}); },
                         [&](HWND window, HWND tree) {
                           ASSERT_EQ(boxes.Seen.size(), 1u);
                           EXPECT_EQ(boxes.Seen[0].Text, "Error Drive: A:\r\nCorrect and try again");
                           EXPECT_EQ(boxes.Seen[0].Buttons, std::vector<int>{IDOK});
                           EXPECT_EQ(boxes.Seen[0].Owner, window) << "the box is modal to the browser";
                           EXPECT_EQ(Children(tree, ItemAt(tree, {"A:"})), Names{}) << "no children, no expand button";
                           ExpandByKey(tree, {"A:"});
                         },
                         [&](HWND window, HWND) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
            IDCANCEL);
  EXPECT_EQ(Searches.Patterns, Names{"A:\\*.*"}) << "read once";
}

TEST(BrowseForFolder, ReturnsTheChosenFolderWithoutItsBackslashOrChangesNothing) {
  // A message to the browser's control (0: to the browser) that ends it.
  const struct Way { int Control; UINT Message; WPARAM Param; } ok = {IDOK, BM_CLICK, 0}, cancel = {IDCANCEL, BM_CLICK, 0},
                escape = {IDC_FOLDER_TREE, WM_KEYDOWN, VK_ESCAPE}, closeBox = {0, WM_SYSCOMMAND, SC_CLOSE};
  struct Case {
    const char *Proposed;
    Way Ending;
    const char *Shown, *Kept; // the edit box's text and InstallFolder afterwards
  } cases[] = {
      {"D:\\Tools", ok, "D:\\Tools", "D:\\Tools"}, {"d:", ok, "D:", "D:"},
      {"d:\\tools\\LIB", ok, "D:\\Tools\\Lib", "D:\\Tools\\Lib"}, {"D:\\Nowhere", ok, "A:", "A:"},
      {"D:\\Tools", cancel, "X:\\Typed", "D:\\Tools"}, {"D:\\Tools", escape, "X:\\Typed", "D:\\Tools"},
      {"D:\\Tools", closeBox, "X:\\Typed", "D:\\Tools"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.Proposed) + " " + std::to_string(c.Ending.Message));
    CSetupApp app;
    CSetupDialog setup;
    app.MainWindow = &setup;
    ModalDriver driver([&] { return setup.GetSafeHwnd(); });
    driver.Then([&] {
      setup.InstallFolder = c.Proposed;
      SetDlgItemTextA(setup.GetSafeHwnd(), IDC_PATH_EDIT, "X:\\Typed");
      SendMessageA(setup.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED), 0);
    });
    driver.Then([&] {
      HWND browser = FindWindowA("#32770", "Setup Folder");
      ASSERT_NE(browser, nullptr);
      PostMessageA(c.Ending.Control ? GetDlgItem(browser, c.Ending.Control) : browser, c.Ending.Message, c.Ending.Param, 0);
    });
    driver.Then([&] {
      EXPECT_EQ(ControlText(setup.GetSafeHwnd(), IDC_PATH_EDIT), c.Shown);
      EXPECT_EQ(std::string(setup.InstallFolder), c.Kept);
      Press(setup.GetSafeHwnd(), IDCANCEL);
    });
    EXPECT_EQ(setup.DoModal(), IDCANCEL);
  }
}

} // namespace
