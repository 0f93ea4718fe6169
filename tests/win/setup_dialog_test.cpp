// The Setup dialog on the real Win32 API: what it shows, how it ends, and how it asks
// about an earlier installation recorded in the registry.
#include "app/setup_app.h"
#include "framework/win_app.h"
#include "install/registration.h"
#include "message_box_hook.h"
#include "platform/win32/win32_registry.h"
#include "setup_dialog/setup_dialog.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const char AppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KWB.exe";

class SetupDialog : public ::testing::Test {
protected:
  void SetUp() override {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, AppPathKey);
    App.MainWindow = &Dialog;
  }
  void TearDown() override {
    App.MainWindow = nullptr;
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, AppPathKey);
  }
  HWND Window() const { return Dialog.GetSafeHwnd(); }
  HWND Control(int id) const { return GetDlgItem(Window(), id); }
  void Click(int id) const { PostMessageA(Control(id), BM_CLICK, 0, 0); }
  bool Checked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // The visible window with the browse button's id: the icon button, not the placeholder.
  HWND VisibleBrowseButton() const {
    for (HWND child = GetWindow(Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetDlgCtrlID(child) == IDC_BROWSE && IsWindowVisible(child))
        return child;
    return nullptr;
  }
  ModalDriver Driver() {
    return ModalDriver([this] { return Window(); });
  }

  CSetupApp App;
  CSetupDialog Dialog;
};

TEST_F(SetupDialog, OpensWithTheDefaultFolderTheQuestionNoEditionAndTheFocusOnOK) {
  MessageBoxHook boxes;
  ModalDriver driver([this] { return Window(); });
  driver.Then([&] {
    EXPECT_EQ(TextOf(Window()), "Setup Vistrel");
    EXPECT_EQ(ControlText(Window(), IDC_PATH_EDIT), "C:\\Program Files\\Corvane Software\\Vistrel")
        << "Wine's Windows folder is C:\\windows";
    EXPECT_EQ(ControlText(Window(), IDC_STATUS_TEXT), "Install Vistrel Image Browser?");
    EXPECT_FALSE(Checked(IDC_VERSION_311));
    EXPECT_FALSE(Checked(IDC_VERSION_42));
    EXPECT_EQ(GetFocus(), Control(IDOK)) << "the focus is on the first tab stop, OK";

    // Tab runs OK, Cancel, the edit box and back: neither the browse button nor a radio
    // button is reachable.
    std::vector<int> order;
    HWND at = Control(IDOK);
    for (int i = 0; i < 4; ++i) {
      at = GetNextDlgTabItem(Window(), at, FALSE);
      order.push_back(GetDlgCtrlID(at));
    }
    EXPECT_EQ(order, (std::vector<int>{IDCANCEL, IDC_PATH_EDIT, IDOK, IDCANCEL}));

    HWND browse = VisibleBrowseButton();
    ASSERT_NE(browse, nullptr) << "the browse button is shown";
    EXPECT_EQ(GetWindowLongA(browse, GWL_STYLE) & (WS_TABSTOP | BS_ICON), BS_ICON);
    EXPECT_NE(SendMessageA(browse, BM_GETIMAGE, IMAGE_ICON, 0), 0) << "it shows the folder icon";
    RECT placeholder, button;
    GetWindowRect(Control(IDC_BROWSE), &placeholder);
    GetWindowRect(browse, &button);
    EXPECT_EQ(button.left, placeholder.left - 2);
    EXPECT_EQ(button.right, placeholder.right + 2);
    EXPECT_EQ(button.top, placeholder.top - 4);
    EXPECT_EQ(button.bottom, placeholder.bottom + 4);
    EXPECT_FALSE(IsWindowVisible(Control(IDC_BROWSE))) << "the placeholder stays hidden";
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_BROWSE)));

    EXPECT_EQ(SendMessageA(Window(), WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(Dialog.AppIcon));
    EXPECT_EQ(SendMessageA(Window(), WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(Dialog.AppIcon));
    EXPECT_EQ(SendMessageA(Window(), WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(Dialog.AppIcon));
    EXPECT_NE(Dialog.AppIcon, nullptr);

    // Placed at 0, 0 in its template, the dialog opens in the middle of the work area.
    RECT area, window;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(Window(), &window);
    EXPECT_NEAR((window.left + window.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (area.top + area.bottom) / 2, 1);
  });
  driver.Then([&] { Click(IDCANCEL); });

  EXPECT_EQ(Dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(boxes.Seen.empty());
  EXPECT_EQ(Dialog.InstallFolder, "C:\\Program Files\\Corvane Software\\Vistrel");
  EXPECT_EQ(Dialog.Edition, -1);
}

TEST_F(SetupDialog, CancelEscapeAndTheCloseBoxEachEndTheDialogWithCancel) {
  const char *ways[] = {"Cancel", "Escape", "close box"};
  for (const char *way : ways) {
    SCOPED_TRACE(way);
    CSetupDialog dialog;
    App.MainWindow = &dialog;
    MessageBoxHook boxes;
    ModalDriver driver([&] { return dialog.GetSafeHwnd(); });
    driver.Then([&] {
      HWND window = dialog.GetSafeHwnd();
      if (way == ways[0])
        PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
      else if (way == ways[1])
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
      else
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(boxes.Seen.empty());
  }
}

TEST_F(SetupDialog, OkWithoutAnEditionAsksForOneAndKeepsTheDialogOpen) {
  MessageBoxHook boxes({IDOK});
  ModalDriver driver([this] { return Window(); });
  driver.Then([&] { Click(IDOK); });
  driver.Then([&] {
    ASSERT_EQ(boxes.Seen.size(), 1u);
    const MessageBoxSeen &box = boxes.Seen[0];
    EXPECT_EQ(box.Text.rfind("Please select the version", 0), 0u) << box.Text;
    EXPECT_EQ(box.Caption, AfxGetAppName()) << "titled with the program's name";
    EXPECT_EQ(box.Buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(box.HasIcon) << "the exclamation icon is added";
    EXPECT_EQ(box.Owner, Window());
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(Dialog.InstallBusy, 0);
  });
  driver.Then([&] { Click(IDCANCEL); });
  EXPECT_EQ(Dialog.DoModal(), IDCANCEL);
}

TEST_F(SetupDialog, RadioGroupExchangesTheEditionBothWays) {
  ModalDriver driver([this] { return Window(); });
  driver.Then([&] { Click(IDC_VERSION_42); });
  driver.Then([&] {
    Dialog.UpdateData(TRUE);
    EXPECT_EQ(Dialog.Edition, 1) << "4.2 is the second radio button of the group";
    Click(IDC_VERSION_311);
  });
  driver.Then([&] {
    Dialog.UpdateData(TRUE);
    EXPECT_EQ(Dialog.Edition, 0);
    Dialog.Edition = 1;
    Dialog.UpdateData(FALSE);
    EXPECT_TRUE(Checked(IDC_VERSION_42));
    EXPECT_FALSE(Checked(IDC_VERSION_311));
    Dialog.Edition = -1;
    Dialog.UpdateData(FALSE);
    EXPECT_FALSE(Checked(IDC_VERSION_42));
    EXPECT_FALSE(Checked(IDC_VERSION_311));
    Dialog.Edition = 5;
    Dialog.UpdateData(TRUE);
    EXPECT_EQ(Dialog.Edition, -1) << "none checked reads back as none chosen";

    Dialog.StatusText = "changed";
    Dialog.UpdateData(FALSE);
    EXPECT_EQ(ControlText(Window(), IDC_STATUS_TEXT), "changed");
    SetWindowTextA(Control(IDC_STATUS_TEXT), "typed");
    Dialog.UpdateData(TRUE);
    EXPECT_EQ(Dialog.StatusText, "typed");
    Click(IDCANCEL);
  });
  EXPECT_EQ(Dialog.DoModal(), IDCANCEL);
}

TEST_F(SetupDialog, BrowseButtonSwallowsFocusAndPaintingWorksNormalAndMinimised) {
  ModalDriver driver([this] { return Window(); });
  driver.Then([&] {
    HWND browse = VisibleBrowseButton();
    ASSERT_NE(browse, nullptr);
    SetFocus(browse);
    EXPECT_EQ(SendMessageA(browse, BM_GETSTATE, 0, 0) & BST_FOCUS, 0)
        << "the button's own focus handling must not run";
    SetFocus(Control(IDCANCEL));
    EXPECT_NE(SendMessageA(Control(IDCANCEL), BM_GETSTATE, 0, 0) & BST_FOCUS, 0)
        << "an ordinary button does take the focus";

    // Painting that is handed on to the default, or done by the handler when minimised,
    // validates the window; a handler that did neither would leave it to repaint forever.
    InvalidateRect(Window(), nullptr, TRUE);
    UpdateWindow(Window());
    EXPECT_FALSE(GetUpdateRect(Window(), nullptr, FALSE));
    ShowWindow(Window(), SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(Window()));
    InvalidateRect(Window(), nullptr, TRUE);
    UpdateWindow(Window());
    EXPECT_FALSE(GetUpdateRect(Window(), nullptr, FALSE));
    ShowWindow(Window(), SW_RESTORE);
    Click(IDCANCEL);
  });
  EXPECT_EQ(Dialog.DoModal(), IDCANCEL);
}

TEST_F(SetupDialog, RecordedFolderIsOfferedAfterTheReinstallQuestionIsAnsweredYes) {
  Win32Registry registry;
  WriteAppPathEntry(registry, "E:\\Apps\\Viewer");
  MessageBoxHook boxes({IDYES});
  ModalDriver driver([this] { return Window(); });
  driver.Then([&] {
    ASSERT_EQ(boxes.Seen.size(), 1u);
    const MessageBoxSeen &box = boxes.Seen[0];
    EXPECT_EQ(box.Text, "A previous installation found\r\nReinstall?");
    EXPECT_EQ(box.Buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_TRUE(box.HasIcon);
    EXPECT_EQ(box.Caption, AfxGetAppName());
    EXPECT_EQ(box.Owner, Window());
    EXPECT_FALSE(box.OwnerVisible) << "the question comes before the dialog";
    EXPECT_EQ(ControlText(Window(), IDC_PATH_EDIT), "E:\\Apps\\Viewer");
    EXPECT_EQ(ControlText(Window(), IDC_STATUS_TEXT), "Install Vistrel Image Browser?");
    Click(IDCANCEL);
  });
  EXPECT_EQ(Dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(driver.DialogWasShown());
  EXPECT_EQ(Dialog.InstallFolder, "E:\\Apps\\Viewer");
}

TEST_F(SetupDialog, RecordedFolderAnsweredNoEndsWithoutShowingTheDialog) {
  Win32Registry registry;
  WriteAppPathEntry(registry, "E:\\Apps\\Viewer");
  MessageBoxHook boxes({IDNO});
  ModalDriver driver([this] { return Window(); });
  EXPECT_EQ(Dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(boxes.Seen.size(), 1u);
  EXPECT_FALSE(driver.DialogWasShown());
}

} // namespace
