#include "message_box_hook.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

MessageBoxHook *ActiveHook = nullptr;
ModalDriver *ActiveDriver = nullptr;

// The static that holds a message box's text has this id in every implementation.
const int MessageBoxTextId = 0xFFFF;

// The box is not yet visible when it activates, so the controls' own WS_VISIBLE bits
// tell which of them it will show.
BOOL CALLBACK CollectButton(HWND child, LPARAM context) {
  auto *seen = reinterpret_cast<MessageBoxSeen *>(context);
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  if (!(style & WS_VISIBLE))
    return TRUE;
  if (ClassOf(child) == "Button")
    seen->Buttons.push_back(GetDlgCtrlID(child));
  if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON &&
      SendMessageA(child, STM_GETICON, 0, 0) != 0)
    seen->HasIcon = true;
  return TRUE;
}

} // namespace

std::string TextOf(HWND window) {
  char text[1024] = {0};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {0};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string ControlText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

MessageBoxHook::MessageBoxHook(std::vector<int> answers) : Answers(std::move(answers)) {
  ActiveHook = this;
  Hook = SetWindowsHookExA(WH_CBT, &MessageBoxHook::Procedure, nullptr, GetCurrentThreadId());
  EXPECT_NE(Hook, nullptr) << "the message box hook could not be set";
}

MessageBoxHook::~MessageBoxHook() {
  if (Hook)
    UnhookWindowsHookEx(Hook);
  ActiveHook = nullptr;
}

LRESULT CALLBACK MessageBoxHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && ActiveHook && ClassOf(window) == "#32770" &&
      GetDlgItem(window, MessageBoxTextId))
    ActiveHook->Answer(window);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxHook::Answer(HWND box) {
  // Activation can be reported more than once for the same box.
  for (const MessageBoxSeen &seen : Seen)
    if (seen.Caption == TextOf(box) && seen.Owner == GetWindow(box, GW_OWNER) &&
        seen.Text == ControlText(box, MessageBoxTextId) && Seen.size() > Answers.size())
      return;
  MessageBoxSeen seen;
  seen.Caption = TextOf(box);
  seen.Text = ControlText(box, MessageBoxTextId);
  seen.Owner = GetWindow(box, GW_OWNER);
  seen.OwnerVisible = seen.Owner && IsWindowVisible(seen.Owner);
  EnumChildWindows(box, &CollectButton, reinterpret_cast<LPARAM>(&seen));
  Seen.push_back(seen);

  const bool expected = Seen.size() <= Answers.size();
  const int asked = expected ? Answers[Seen.size() - 1] : 0;
  const bool present =
      std::find(seen.Buttons.begin(), seen.Buttons.end(), asked) != seen.Buttons.end();
  if (!expected)
    ADD_FAILURE() << "unexpected message box \"" << seen.Text << "\"";
  else if (!present)
    ADD_FAILURE() << "message box \"" << seen.Text << "\" has no button " << asked;
  // A box that is not answered as asked is closed all the same, so that nothing hangs.
  const int answer = present ? asked : seen.Buttons.empty() ? IDCANCEL : seen.Buttons.front();
  // Posted, so that the box finishes opening before it reads the click.
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

ModalDriver::ModalDriver(std::function<HWND()> dialog, unsigned limitMs)
    : Dialog(std::move(dialog)), LimitMs(limitMs), Started(GetTickCount()) {
  ActiveDriver = this;
  Timer = SetTimer(nullptr, 0, 30, &ModalDriver::Tick);
  EXPECT_NE(Timer, 0u) << "the driver's timer could not be set";
}

ModalDriver::~ModalDriver() {
  KillTimer(nullptr, Timer);
  ActiveDriver = nullptr;
}

void CALLBACK ModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (ActiveDriver)
    ActiveDriver->OnTick();
}

void ModalDriver::OnTick() {
  HWND dialog = Dialog();
  if (!dialog)
    return;
  const DWORD elapsed = GetTickCount() - Started;
  if (elapsed > LimitMs + 10000) {
    ADD_FAILURE() << "the dialog did not end within " << LimitMs / 1000 << " s";
    EndDialog(dialog, -2);
    return;
  }
  if (!IsWindowVisible(dialog))
    return;
  Shown = true;
  if (Next < Steps.size()) {
    // Advance first: a step may open a message box whose loop ticks again.
    const size_t step = Next++;
    Steps[step]();
  }
}
