// What the Setup dialog does on the real Win32 API that a second process cannot see: the
// edition read back through the radio group, the icon button's focus handling and
// placement, the dialog's icons and painting, its placement on the screen. What it shows
// and how it ends are the end-to-end scenarios' part (tests/e2e).
#include "app/setup_app.h"
#include "message_box_hook.h"
#include "setup_dialog/setup_dialog.h"

#include <gtest/gtest.h>

namespace {

class SetupDialog : public ::testing::Test {
protected:
  void SetUp() override { App.MainWindow = &Dialog; }
  void TearDown() override { App.MainWindow = nullptr; }
  HWND Window() const { return Dialog.GetSafeHwnd(); }
  HWND Control(int id) const { return GetDlgItem(Window(), id); }
  bool Checked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // Runs the checks inside the dialog's modal loop, then ends it with Cancel.
  void WhileShown(const std::function<void()> &checks) {
    ModalDriver driver([this] { return Window(); });
    driver.Then(checks);
    driver.Then([this] { PostMessageA(Control(IDCANCEL), BM_CLICK, 0, 0); });
    EXPECT_EQ(Dialog.DoModal(), IDCANCEL);
  }

  CSetupApp App;
  CSetupDialog Dialog;
};

TEST_F(SetupDialog, RadioGroupExchangesTheEditionBothWays) {
  // Clicking a radio button, or -1 for none checked: the edition read back; then the
  // edition written and the buttons it checks.
  const struct {
    int Click, ReadBack, Write;
    bool Checks311, Checks42;
  } rows[] = {{IDC_VERSION_42, 1, 0, true, false},
              {IDC_VERSION_311, 0, 1, false, true},
              {-1, -1, -1, false, false}};
  WhileShown([&] {
    for (const auto &row : rows) {
      SCOPED_TRACE(row.Click);
      if (row.Click > 0)
        SendMessageA(Control(row.Click), BM_CLICK, 0, 0);
      else
        CheckRadioButton(Window(), IDC_VERSION_311, IDC_VERSION_42, 0);
      Dialog.Edition = 7;
      Dialog.UpdateData(TRUE);
      EXPECT_EQ(Dialog.Edition, row.ReadBack);
      Dialog.Edition = row.Write;
      Dialog.UpdateData(FALSE);
      EXPECT_EQ(Checked(IDC_VERSION_311), row.Checks311);
      EXPECT_EQ(Checked(IDC_VERSION_42), row.Checks42);
    }
  });
}

TEST_F(SetupDialog, IconButtonIconsPaintingAndPlacement) {
  WhileShown([&] {
    // The visible window with the browse button's id: the icon button, not the placeholder.
    HWND browse = FindWindowExA(Window(), Control(IDC_BROWSE), "Button", nullptr);
    while (browse && GetDlgCtrlID(browse) != IDC_BROWSE)
      browse = FindWindowExA(Window(), browse, "Button", nullptr);
    ASSERT_NE(browse, nullptr);
    EXPECT_NE(SendMessageA(browse, BM_GETIMAGE, IMAGE_ICON, 0), 0) << "it shows the folder icon";
    RECT placeholder, button;
    GetWindowRect(Control(IDC_BROWSE), &placeholder);
    GetWindowRect(browse, &button);
    InflateRect(&placeholder, 2, 4);
    EXPECT_TRUE(EqualRect(&placeholder, &button)) << "2 pixels wider and 4 taller each side";
    SetFocus(browse);
    EXPECT_EQ(SendMessageA(browse, BM_GETSTATE, 0, 0) & BST_FOCUS, 0)
        << "the button's own focus handling must not run";

    const LRESULT icon = reinterpret_cast<LRESULT>(Dialog.AppIcon);
    EXPECT_NE(icon, 0);
    EXPECT_EQ(SendMessageA(Window(), WM_GETICON, ICON_BIG, 0), icon);
    EXPECT_EQ(SendMessageA(Window(), WM_GETICON, ICON_SMALL, 0), icon);
    EXPECT_EQ(SendMessageA(Window(), WM_QUERYDRAGICON, 0, 0), icon);

    // Placed at 0, 0 in its template, the dialog opens in the middle of the work area.
    RECT area, window;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(Window(), &window);
    EXPECT_NEAR(window.left + window.right, area.left + area.right, 2);
    EXPECT_NEAR(window.top + window.bottom, area.top + area.bottom, 2);

    // Painting handed on to the default, or done by the handler when minimised, validates
    // the window; a handler that did neither would leave it to repaint forever.
    for (int show : {SW_SHOWNORMAL, SW_MINIMIZE, SW_RESTORE}) {
      ShowWindow(Window(), show);
      InvalidateRect(Window(), nullptr, TRUE);
      UpdateWindow(Window());
      EXPECT_FALSE(GetUpdateRect(Window(), nullptr, FALSE)) << "shown with " << show;
    }
  });
}

} // namespace
