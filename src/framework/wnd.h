// CWnd: a borrowed window handle with the few calls the program makes on it, and the
// message map through which a window class routes messages to member handlers.
// A CWnd never owns its window: destroying the object leaves the window alone.
#pragma once

#include "base/cstring.h"
#include "base/windows_api.h"

class CWnd;

// The window's text; empty when it has none or it cannot be read.
CString WindowText(HWND window);

typedef void (CWnd::*AfxVoidHandler)();
typedef LRESULT (CWnd::*AfxResultHandler)();
// A control notification (WM_NOTIFY): the notification's header, and the result that
// goes back to the control, 0 unless the handler sets it.
typedef void (CWnd::*AfxNotifyHandler)(NMHDR *header, LRESULT *result);

// One line of a message map. For WM_COMMAND and WM_NOTIFY, Code and Id select the
// notification and the control; for other messages they are 0. The handler is of the
// kind the constructor was given. Message numbers, registered ones included, fit in
// 16 bits.
struct MessageMapEntry {
  enum HandlerKind : WORD { NoHandler, VoidKind, ResultKind, NotifyKind };

  constexpr MessageMapEntry() : Message(0), Kind(NoHandler), Code(0), Id(0), VoidHandler(nullptr) {}
  constexpr MessageMapEntry(UINT message, UINT code, UINT id, AfxVoidHandler handler)
      : Message(static_cast<WORD>(message)), Kind(VoidKind), Code(code), Id(id),
        VoidHandler(handler) {}
  constexpr MessageMapEntry(UINT message, UINT code, UINT id, AfxResultHandler handler)
      : Message(static_cast<WORD>(message)), Kind(ResultKind), Code(code), Id(id),
        ResultHandler(handler) {}
  constexpr MessageMapEntry(UINT message, UINT code, UINT id, AfxNotifyHandler handler)
      : Message(static_cast<WORD>(message)), Kind(NotifyKind), Code(code), Id(id),
        NotifyHandler(handler) {}

  WORD Message;
  HandlerKind Kind;
  UINT Code;
  UINT Id;
  union {
    AfxVoidHandler VoidHandler;
    AfxResultHandler ResultHandler;
    AfxNotifyHandler NotifyHandler;
  };
};

// A class's own entries and the map of its base class, searched after them.
struct MessageMap {
  const MessageMap *Base;
  const MessageMapEntry *Entries;
};

#define DECLARE_MESSAGE_MAP()                                                                \
protected:                                                                                   \
  static const MessageMapEntry MessageEntries[];                                             \
                                                                                             \
public:                                                                                      \
  static const MessageMap Map;                                                               \
  const MessageMap *GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                               \
  const MessageMap theClass::Map = {&baseClass::Map, theClass::MessageEntries};              \
  const MessageMap *theClass::GetMessageMap() const { return &theClass::Map; }               \
  const MessageMapEntry theClass::MessageEntries[] = {

#define END_MESSAGE_MAP()                                                                    \
  MessageMapEntry()                                                                          \
  }                                                                                          \
  ;

// Handlers: void Handler() unless the message needs a result, then LRESULT Handler();
// notifications from a control: void Handler(NMHDR *, LRESULT *).
#define ON_MESSAGE_VOID(message, handler)                                                    \
  MessageMapEntry(message, 0, 0, static_cast<AfxVoidHandler>(handler)),
#define ON_MESSAGE_RESULT(message, handler)                                                  \
  MessageMapEntry(message, 0, 0, static_cast<AfxResultHandler>(handler)),
#define ON_BN_CLICKED(id, handler)                                                           \
  MessageMapEntry(WM_COMMAND, BN_CLICKED, id, static_cast<AfxVoidHandler>(handler)),
#define ON_NOTIFY(code, id, handler)                                                         \
  MessageMapEntry(WM_NOTIFY, static_cast<UINT>(code), id,                                    \
                  static_cast<AfxNotifyHandler>(handler)),

class CWnd {
public:
  // Out of line: the dialogs hold many wrappers, and a call is shorter than the stores.
  __attribute__((noinline)) CWnd();
  CWnd(const CWnd &) = delete;
  CWnd &operator=(const CWnd &) = delete;

  HWND GetSafeHwnd() const { return Hwnd; }
  void Attach(HWND window) { Hwnd = window; }
  void Detach() { Hwnd = nullptr; }

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(Hwnd, message, wParam, lParam);
  }
  void SetWindowText(const char *text) const { ::SetWindowTextA(Hwnd, text); }
  CString GetWindowText() const { return WindowText(Hwnd); }
  BOOL ShowWindow(int command) const { return ::ShowWindow(Hwnd, command); }
  BOOL IsIconic() const { return ::IsIconic(Hwnd); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(Hwnd, id); }

  virtual const MessageMap *GetMessageMap() const { return &Map; }
  static const MessageMap Map;

protected:
  // Wrappers live in the objects that use them and are never deleted through a CWnd
  // pointer.
  ~CWnd() {}

  // Runs the handler the message map lists for the message, if any. Returns false when
  // there is none, or when the handler asked for the default processing with Default().
  bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
  // Called by a handler that wants the message's default processing after all.
  void Default() { DefaultRequested = true; }

  // Routes a control window's messages through this object's message map; whatever the
  // map does not take goes to the control's own window procedure.
  void SubclassWindow(HWND window);

  HWND Hwnd;

private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam);
  static const MessageMapEntry MessageEntries[];

  WNDPROC OriginalProc;
  bool DefaultRequested;
};
