// CWinApp: the program's one application object. The derived class's single static
// instance registers itself while static initialisation runs; the entry point then
// calls InitInstance, which does all of the program's work. This framework has no
// message loop of its own: an application runs its main window modally inside
// InitInstance and returns false, and the program ends.
#pragma once

#include "base/cstring.h"
#include "framework/wnd.h"
#include "platform/log.h"

// The framework's standard Help command.
const UINT ID_HELP = 0xE146;

class CWinApp;

// One entry of an application's command map: a command id and the member that handles it.
struct CommandMapEntry {
  UINT Id;
  void (CWinApp::*Handler)();
};

class CWinApp {
public:
  CWinApp();
  CWinApp(const CWinApp &) = delete;
  CWinApp &operator=(const CWinApp &) = delete;
  virtual ~CWinApp();

  virtual BOOL InitInstance() { return FALSE; }
  virtual int ExitInstance() { return 0; }

  // Runs the command map entry for a command id; false when there is none.
  bool OnCommand(UINT id);
  // The default Help handler: the program's help file (its own path with the extension
  // ".HLP"), contents page.
  void OnHelp();

  CWnd *MainWindow;
  // Where every message box's text is recorded as well, when the program keeps a log.
  Log *MessageLog;

protected:
  // The help key in a dialog or message box of this thread becomes the Help command of
  // the main window (or of the application when there is none), where the command map
  // finds it. The dialog manager itself does nothing with the key, so without this
  // filter the Help entry of a command map would never be reached.
  static LRESULT CALLBACK HelpKeyFilter(int code, WPARAM wParam, LPARAM lParam);
  HHOOK HelpKeyHook;

  // The application's command map, ended by an entry with id 0; none by default.
  virtual const CommandMapEntry *GetCommandMap() const { return nullptr; }
};

// The application object, or null when the program has none (the test programs).
CWinApp *AfxGetApp();

// The application's name: the executable's file name without its extension. It is
// read into buffer (MAX_PATH + 1 bytes), and ends it.
const char *AfxGetAppName(char *buffer);
