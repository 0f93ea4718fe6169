// Drives the real kwbsetup.exe from a second process, as a user would: it starts the
// installer, waits for its windows, reads and clicks them across the process boundary,
// and checks how the program ends. Every wait is bounded by the timeout given.
//
//   kwbdrive SCENARIO INSTALLER [TIMEOUT_SECONDS]
//
// Scenarios:
//   cancel        the Setup dialog as it first appears, then Cancel
//   escape        the Setup dialog, then the Escape key
//   close-box     the Setup dialog, then the window's close box
//   refuse        the refusal message on an unsupported platform, then OK
//   reinstall-yes the reinstall question, Yes, the recorded folder, then Cancel
//   reinstall-no  the reinstall question, No, and no Setup dialog at all
//
// Exit code 0 when every check held; 1 with a message per failed check otherwise.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

int Failures = 0;
DWORD TimeoutMs = 60000;

void Check(bool condition, const std::string &what) {
  if (!condition) {
    ++Failures;
    printf("FAILED: %s\n", what.c_str());
  } else {
    printf("ok: %s\n", what.c_str());
  }
  fflush(stdout);
}

std::string TextOf(HWND window) {
  // WM_GETTEXT crosses processes; GetWindowText would not read another process's controls.
  char text[1024] = {0};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 10000, nullptr);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {0};
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct Search {
  DWORD ProcessId;
  int ControlId; // a control the window must have
  HWND Found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto *search = reinterpret_cast<Search *>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->ProcessId && ClassOf(window) == "#32770" &&
      GetDlgItem(window, search->ControlId) != nullptr) {
    search->Found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindDialog(DWORD processId, int controlId) {
  Search search = {processId, controlId, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

const int SetupPathEdit = 1001;
const int MessageBoxText = 0xFFFF;

class Installer {
public:
  explicit Installer(const char *path) {
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    ZeroMemory(&Process, sizeof Process);
    std::string command = std::string("\"") + path + "\"";
    Started = CreateProcessA(path, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &Process) != FALSE;
    Check(Started, std::string("the installer starts: ") + path);
  }
  ~Installer() {
    if (!Started)
      return;
    if (WaitForSingleObject(Process.hProcess, 0) == WAIT_TIMEOUT) {
      printf("FAILED: the installer was still running; ending it\n");
      ++Failures;
      TerminateProcess(Process.hProcess, 99);
      WaitForSingleObject(Process.hProcess, 10000);
    }
    CloseHandle(Process.hThread);
    CloseHandle(Process.hProcess);
  }

  // Waits for a window of the installer that has the control; null after the timeout or
  // when the installer ended first. The WM_NULL afterwards makes sure the window's thread
  // has finished the handler that showed it.
  HWND WaitForDialog(int controlId) {
    const DWORD start = GetTickCount();
    while (Started && GetTickCount() - start < TimeoutMs) {
      HWND window = FindDialog(Process.dwProcessId, controlId);
      if (window && IsWindowVisible(window)) {
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, nullptr);
        return window;
      }
      if (WaitForSingleObject(Process.hProcess, 100) == WAIT_OBJECT_0)
        return nullptr;
    }
    return nullptr;
  }

  bool SawSetupDialog() { return FindDialog(Process.dwProcessId, SetupPathEdit) != nullptr; }

  // Waits for the installer to end; its exit code, or -1 when it did not end in time.
  long WaitForEnd() {
    if (!Started || WaitForSingleObject(Process.hProcess, TimeoutMs) != WAIT_OBJECT_0)
      return -1;
    DWORD code = 0;
    GetExitCodeProcess(Process.hProcess, &code);
    return static_cast<long>(code);
  }

  bool Started = false;
  PROCESS_INFORMATION Process;
};

bool Checked(HWND dialog, int id) {
  return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Buttons are clicked by posting: a sent click would block while the installer shows a
// message box.
void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void AnswerMessageBox(HWND box, int id) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

// The window with the keyboard focus in the dialog's thread; GetFocus only sees this
// process's own windows.
HWND FocusOf(HWND dialog) {
  GUITHREADINFO thread;
  ZeroMemory(&thread, sizeof thread);
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
  return thread.hwndFocus;
}

void CheckSetupDialogAsFirstShown(HWND dialog, const std::string &folder) {
  Check(TextOf(dialog) == "Setup Vistrel", "the dialog's caption is \"Setup Vistrel\"");
  Check(TextOf(GetDlgItem(dialog, SetupPathEdit)) == folder, "the edit box shows " + folder);
  Check(TextOf(GetDlgItem(dialog, 1002)) == "Install Vistrel Image Browser?",
        "the status area asks \"Install Vistrel Image Browser?\"");
  Check(!Checked(dialog, 1005) && !Checked(dialog, 1006), "no edition is chosen");
  Check(IsWindowVisible(GetDlgItem(dialog, IDOK)) && IsWindowVisible(GetDlgItem(dialog, IDCANCEL)),
        "OK and Cancel are shown");
  Check(FocusOf(dialog) == GetDlgItem(dialog, IDOK), "the focus is on OK");
}

const char DefaultFolder[] = "C:\\Program Files\\Corvane Software\\Vistrel";

int EndTheDialog(const char *installer, const char *how) {
  Installer setup(installer);
  HWND dialog = setup.WaitForDialog(SetupPathEdit);
  Check(dialog != nullptr, "the Setup dialog appears");
  if (!dialog)
    return 1;
  CheckSetupDialogAsFirstShown(dialog, DefaultFolder);
  if (strcmp(how, "cancel") == 0) {
    Click(dialog, IDCANCEL);
  } else if (strcmp(how, "escape") == 0) {
    HWND focus = FocusOf(dialog);
    PostMessageA(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  } else {
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  Check(setup.WaitForEnd() == 0, std::string("the program ends after ") + how);
  return 0;
}

int Refuse(const char *installer) {
  Installer setup(installer);
  HWND box = setup.WaitForDialog(MessageBoxText);
  Check(box != nullptr, "a message box appears");
  if (!box)
    return 1;
  Check(TextOf(GetDlgItem(box, MessageBoxText)) == "Only Windows 95, 98 or NT4.0",
        "it says \"Only Windows 95, 98 or NT4.0\"");
  Check(TextOf(box) == "kwbsetup", "it is titled with the program's name");
  Check(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) && !GetDlgItem(box, IDYES),
        "it has only an OK button");
  Check(!setup.SawSetupDialog(), "no Setup dialog is shown");
  AnswerMessageBox(box, IDOK);
  Check(setup.WaitForEnd() == 0, "the program ends after OK");
  return 0;
}

int Reinstall(const char *installer, bool yes) {
  Installer setup(installer);
  HWND box = setup.WaitForDialog(MessageBoxText);
  Check(box != nullptr, "the reinstall question appears");
  if (!box)
    return 1;
  Check(TextOf(GetDlgItem(box, MessageBoxText)) == "A previous installation found\r\nReinstall?",
        "it asks \"A previous installation found / Reinstall?\"");
  Check(TextOf(box) == "kwbsetup", "it is titled with the program's name");
  Check(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDCANCEL),
        "it has Yes and No");
  HWND hidden = FindDialog(setup.Process.dwProcessId, SetupPathEdit);
  Check(!hidden || !IsWindowVisible(hidden), "the Setup dialog is not yet shown");
  AnswerMessageBox(box, yes ? IDYES : IDNO);
  if (!yes) {
    Check(setup.WaitForEnd() == 0, "the program ends after No");
    Check(!setup.SawSetupDialog(), "no Setup dialog was shown");
    return 0;
  }
  HWND dialog = setup.WaitForDialog(SetupPathEdit);
  Check(dialog != nullptr, "the Setup dialog appears after Yes");
  if (!dialog)
    return 1;
  CheckSetupDialogAsFirstShown(dialog, "E:\\Apps\\Viewer");
  Click(dialog, IDCANCEL);
  Check(setup.WaitForEnd() == 0, "the program ends after Cancel");
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: kwbdrive SCENARIO INSTALLER [TIMEOUT_SECONDS]\n");
    return 2;
  }
  if (argc > 3)
    TimeoutMs = static_cast<DWORD>(atoi(argv[3])) * 1000;
  const std::string scenario = argv[1];
  const char *installer = argv[2];
  if (scenario == "cancel" || scenario == "escape" || scenario == "close-box")
    EndTheDialog(installer, scenario.c_str());
  else if (scenario == "refuse")
    Refuse(installer);
  else if (scenario == "reinstall-yes" || scenario == "reinstall-no")
    Reinstall(installer, scenario == "reinstall-yes");
  else {
    fprintf(stderr, "kwbdrive: unknown scenario %s\n", scenario.c_str());
    return 2;
  }
  printf("%s: %s\n", scenario.c_str(), Failures ? "FAILED" : "passed");
  return Failures ? 1 : 0;
}
