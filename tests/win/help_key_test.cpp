// The help key on the real Win32 API: pressed in a dialog or in a message box over it, it
// reaches the application's command map as the Help command, once per press.
#include "framework/dialog.h"
#include "framework/win_app.h"
#include "message_box_hook.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

namespace {

class HelpCountingApp : public CWinApp {
public:
  int HelpCommands = 0;
  void CountHelp() { ++HelpCommands; }
  const CommandMapEntry *GetCommandMap() const override {
    static const CommandMapEntry commands[] = {
        {ID_HELP, static_cast<void (CWinApp::*)()>(&HelpCountingApp::CountHelp)}, {0, nullptr}};
    return commands;
  }
};

struct HelpKeyCase {
  const char *Where;
  bool InMessageBox;
  WPARAM Key;
  LPARAM KeyData; // bit 30: the key was already down (auto-repeat)
  int HelpCommands;
};

const HelpKeyCase HelpKeyCases[] = {
    {"F1 in the dialog", false, VK_F1, 1, 1},
    {"F1 in a message box over the dialog", true, VK_F1, 1, 1},
    {"F2 in the dialog", false, VK_F2, 1, 0},
    {"F1 held down, repeating", false, VK_F1, 1 | 1 << 30, 0},
};

class HelpKey : public ::testing::TestWithParam<HelpKeyCase> {};

TEST_P(HelpKey, BecomesTheHelpCommandOfTheApplication) {
  const HelpKeyCase &row = GetParam();
  HelpCountingApp app;
  CDialog dialog(IDD_SETUP);
  app.MainWindow = &dialog;
  MessageBoxHook boxes(row.InMessageBox ? std::vector<int>{IDOK} : std::vector<int>{});
  ModalDriver driver([&] { return dialog.GetSafeHwnd(); });
  driver.Then([&] {
    // Posted to the thread's queue, the key is read by whichever modal loop runs next.
    PostMessageA(GetDlgItem(dialog.GetSafeHwnd(), IDOK), WM_KEYDOWN, row.Key, row.KeyData);
    if (row.InMessageBox)
      MessageBoxA(dialog.GetSafeHwnd(), "Box", "Help key", MB_OK);
    PostMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL) << row.Where;
  EXPECT_EQ(app.HelpCommands, row.HelpCommands) << row.Where;
  EXPECT_EQ(boxes.Seen.size(), row.InMessageBox ? 1u : 0u) << row.Where;
}

INSTANTIATE_TEST_SUITE_P(Rows, HelpKey, ::testing::ValuesIn(HelpKeyCases));

} // namespace
