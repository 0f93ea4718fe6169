// Test support for the dialogs: a hook that answers message boxes, and a driver that
// runs steps inside a modal dialog's message loop.
#pragma once

#include "platform/win32/windows_api.h"

#include <functional>
#include <string>
#include <vector>

// What a message box showed when it opened.
struct MessageBoxSeen {
  std::string Caption;
  std::string Text;
  HWND Owner = nullptr;
  bool OwnerVisible = false;
  std::vector<int> Buttons; // the command ids of its buttons
  bool HasIcon = false;
};

// While it lives, every message box this thread opens is recorded and answered with the
// next of the given buttons. A box without the asked-for button, or one more box than
// answers, fails the test (and is closed, so that nothing hangs).
class MessageBoxHook {
public:
  explicit MessageBoxHook(std::vector<int> answers = {});
  ~MessageBoxHook();
  MessageBoxHook(const MessageBoxHook &) = delete;
  MessageBoxHook &operator=(const MessageBoxHook &) = delete;

  std::vector<MessageBoxSeen> Seen;

private:
  static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);
  void Answer(HWND box);

  HHOOK Hook;
  std::vector<int> Answers;
};

// Runs test steps one at a time from a thread timer, which fires inside the dialog's
// modal loop once the dialog is visible. After the last step, or when the time limit
// passes, the dialog is expected to end; if it has not ended 10 s after the limit the
// driver ends it with -2 and fails the test.
class ModalDriver {
public:
  explicit ModalDriver(std::function<HWND()> dialog, unsigned limitMs = 20000);
  ~ModalDriver();
  void Then(std::function<void()> step) { Steps.push_back(std::move(step)); }
  // True when the dialog became visible at some point while the driver ran.
  bool DialogWasShown() const { return Shown; }

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void OnTick();

  std::function<HWND()> Dialog;
  std::vector<std::function<void()>> Steps;
  size_t Next = 0;
  unsigned LimitMs;
  DWORD Started;
  UINT_PTR Timer;
  bool Shown = false;
};

// Window text, class name and the text of a dialog's control.
std::string TextOf(HWND window);
std::string ClassOf(HWND window);
std::string ControlText(HWND dialog, int id);
