// Drives the real kwbsetup.exe from a second process, as a user would, by the steps of one
// row of the scenario table (scenarios.txt, which describes the step language). Every
// wait is bounded by the timeout given; a check that does not hold within a twentieth of
// it is reported and the row goes on, a wait that runs out ends the row.
//
//   kwbdrive TABLE ROW INSTALLER [TIMEOUT_SECONDS]
//
// Exit code 0 when every check held, 1 with a line per failed check otherwise, 2 for a
// row that cannot be read.
#include <windows.h>

#include <commctrl.h>

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

int Failures = 0;
DWORD TimeoutMs = 60000;
DWORD CheckMs = TimeoutMs / 20; // how long a check may take to hold
std::string Installer;
PROCESS_INFORMATION Process = {};
// A program started beside the installer (the installed KWB.exe), running until killed.
PROCESS_INFORMATION Other = {};
HANDLE ErrorStream = INVALID_HANDLE_VALUE; // the installer's standard error, a file
std::string ErrorStreamFile;
const DWORD Started = GetTickCount();
HWND Current = nullptr; // the dialog or message box the last wait found

void Report(bool held, const std::string &what) {
  // The time lets a benchmark tell how long a step took.
  printf("%6lu ms %s: %s\n", GetTickCount() - Started, held ? "ok" : "FAILED", what.c_str());
  fflush(stdout);
  Failures += !held;
}

// Checks are polled rather than read once: a posted click or key is handled some time
// after the post, and a sent message would overtake it.
void Expect(const std::string &what, const std::string &wanted,
            const std::function<std::string()> &actual) {
  std::string seen = actual();
  for (DWORD start = GetTickCount(); seen != wanted && GetTickCount() - start < CheckMs;
       Sleep(10))
    seen = actual();
  Report(seen == wanted,
         what + " is \"" + wanted + "\"" + (seen == wanted ? "" : " but was \"" + seen + "\""));
}

std::string TextOf(HWND window) {
  // WM_GETTEXT crosses processes; GetWindowText would not read another process's controls.
  char text[65536] = {0};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 10000, nullptr);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {0};
  GetClassNameA(window, name, sizeof name);
  return name;
}

const struct {
  const char *Name;
  int Id;
} Names[] = {{"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};

int IdOf(const std::string &word) {
  for (const auto &name : Names)
    if (word == name.Name)
      return name.Id;
  return atoi(word.c_str());
}

std::string NameOf(int id) {
  for (const auto &name : Names)
    if (id == name.Id)
      return name.Name;
  return std::to_string(id);
}

// A visible dialog or message box of the installer that has the control, or null; with
// the control id -1, any visible window of the installer.
HWND FindDialog(int controlId) {
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == Process.dwProcessId && IsWindowVisible(window) &&
        (controlId == -1 || (ClassOf(window) == "#32770" && GetDlgItem(window, controlId))))
      return window;
  }
  return nullptr;
}

// The shown control with the id when there is one: the browse button shares its id with
// the hidden placeholder it replaces.
HWND Control(int id) {
  HWND first = GetDlgItem(Current, id);
  for (HWND child = first; child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgCtrlID(child) == id && IsWindowVisible(child))
      return child;
  return first;
}

// The window with the keyboard focus in the installer's thread; GetFocus only sees this
// process's own windows. Rows run in parallel on one display, where another row's window
// can take the activation, and an inactive thread has no focus: the dialog is made the
// foreground window first, which gives the focus back to the control that had it.
HWND Focus() {
  SetForegroundWindow(Current);
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(Current, nullptr), &thread);
  return thread.hwndFocus;
}

bool Ended(DWORD waitMs) { return WaitForSingleObject(Process.hProcess, waitMs) == WAIT_OBJECT_0; }

// Waits for a shown window of the installer with the control; the WM_NULL afterwards
// makes sure its thread has finished the handler that showed it.
bool WaitFor(int controlId, const std::string &what) {
  Current = nullptr;
  for (DWORD start = GetTickCount(); Process.hProcess && GetTickCount() - start < TimeoutMs;) {
    if ((Current = FindDialog(controlId)) != nullptr)
      break;
    if (Ended(100))
      break;
  }
  if (Current)
    SendMessageTimeoutA(Current, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, nullptr);
  Report(Current != nullptr, what + " appears");
  return Current != nullptr;
}

// The message box's buttons by name ("yes,no"), then "icon" when it shows one.
std::string BoxLayout(HWND box) {
  std::string buttons, icon;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (!(style & WS_VISIBLE))
      continue;
    if (ClassOf(child) == "Button")
      buttons += (buttons.empty() ? "" : ",") + NameOf(GetDlgCtrlID(child));
    else if ((style & SS_TYPEMASK) == SS_ICON && SendMessageA(child, STM_GETICON, 0, 0))
      icon = " icon";
  }
  return buttons + icon;
}

// The tree's items in order, as the hook that the driver has the installer load reads them
// from inside (tree_hook.c). It answers with the text of a window of the driver's, which
// Windows copies between processes as it does every window text.
struct TreeItem {
  int Depth, Image, SelectedImage;
  void *Handle;
  std::string Text;
};

std::vector<TreeItem> TreeItems(HWND tree) {
  static HWND reply =
      CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  static DWORD hookedThread = 0;
  // The hook is set on the installer's thread once per start of the installer.
  const DWORD thread = GetWindowThreadProcessId(tree, nullptr);
  if (thread != hookedThread) {
    HMODULE hook = LoadLibraryA("tree_hook.dll");
    auto *procedure =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void *>(GetProcAddress(hook, "TreeHook")));
    hookedThread =
        procedure && SetWindowsHookExA(WH_CALLWNDPROC, procedure, hook, thread) ? thread : 0;
  }
  // The hook answers while the driver waits for the message to be handled.
  SetWindowTextA(reply, "");
  SendMessageTimeoutA(tree, RegisterWindowMessageA("kwbdrive tree"),
                      reinterpret_cast<WPARAM>(reply), 0, SMTO_ABORTIFHUNG, 10000, nullptr);
  std::istringstream lines(TextOf(reply));
  std::vector<TreeItem> items;
  TreeItem item;
  while (lines >> item.Depth >> item.Handle >> item.Image >> item.SelectedImage &&
         std::getline(lines.ignore(1), item.Text))
    items.push_back(item);
  return items;
}

std::string Joined(const Words &words, size_t from, const char *separator = " ") {
  std::string text;
  for (size_t i = from; i < words.size(); ++i)
    text += (i > from ? separator : "") + words[i];
  return text;
}

// The dialog procedure of a template laid out only to be measured.
INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Where a control lies in its dialog's client area: "left,top,right,bottom".
std::string Placement(HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&r), 2);
  return Joined({std::to_string(r.left), std::to_string(r.top), std::to_string(r.right),
                 std::to_string(r.bottom)}, 0, ",");
}

// The item whose texts from the top down, joined by backslashes, are path; null for none.
HTREEITEM ItemAt(HWND tree, const std::string &path) {
  Words above;
  for (const TreeItem &item : TreeItems(tree)) {
    above.resize(item.Depth);
    above.push_back(item.Text);
    if (Joined(above, 0, "\\") == path)
      return static_cast<HTREEITEM>(item.Handle);
  }
  return nullptr;
}

// The string value of the key (HKLM\...), "(no key)" or "(no string value)", in the
// registry view of the installer, whose bitness the driver shares.
std::string RegistryText(const std::string &path, const std::string &name) {
  HKEY key = nullptr;
  if (path.compare(0, 5, "HKLM\\") != 0 ||
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.substr(5).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "(no key)";
  char data[1024] = {0};
  DWORD type = 0, size = sizeof data - 1;
  const LONG status =
      RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
  RegCloseKey(key);
  return status != ERROR_SUCCESS || type != REG_SZ ? "(no string value)" : data;
}

// Whether a file or folder matches the path, which may hold wildcards.
std::string Presence(const std::string &path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return "absent";
  FindClose(search);
  return "present";
}

// One step; false ends the row.
bool Step(const Words &step) {
  const std::string &verb = step[0];
  auto arg = [&](size_t i) { return i < step.size() ? step[i] : std::string(); };
  const std::string what = "control " + arg(1);
  auto post = [&](HWND window, UINT message, WPARAM w, LPARAM l) {
    Report(PostMessageA(window, message, w, l) != FALSE, Joined(step, 0));
  };
  if (verb == "start") {
    // The installer's standard error goes to a file of its own for each start.
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    if (ErrorStream != INVALID_HANDLE_VALUE)
      CloseHandle(ErrorStream);
    ErrorStream = CreateFileA(ErrorStreamFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = ErrorStream;
    std::string command = "\"" + Installer + "\" " + Joined(step, 1);
    const bool started = CreateProcessA(Installer.c_str(), &command[0], nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &Process) != FALSE;
    Report(started, "the installer starts: " + command);
    return started;
  }
  if (verb == "await") {
    // A check that may take as long as any wait: the end of an installation.
    CheckMs = TimeoutMs;
    Step(Words(step.begin() + 1, step.end()));
    CheckMs = TimeoutMs / 20;
    return true;
  }
  if (verb == "dialog")
    return WaitFor(IdOf(arg(1)), "a dialog with control " + arg(1));
  if (verb == "box") {
    if (!WaitFor(0xFFFF, "a message box"))
      return false;
    HWND owner = GetWindow(Current, GW_OWNER);
    Expect("its text", arg(1), [] { return TextOf(GetDlgItem(Current, 0xFFFF)); });
    Expect("its caption", arg(2), [] { return TextOf(Current); });
    Expect("its buttons", arg(3), [] { return BoxLayout(Current); });
    Expect("its owner", arg(4), [&] {
      return !owner ? "-" : GetDlgItem(owner, IdOf(arg(4))) ? arg(4) : "another window";
    });
  } else if (verb == "nowindow") {
    Expect("a shown window with control " + arg(1), "no",
           [&] { return FindDialog(IdOf(arg(1))) ? "yes" : "no"; });
  } else if (verb == "caption") {
    Expect("the caption", arg(1), [] { return TextOf(Current); });
  } else if (verb == "text") {
    Expect("the text of " + what, arg(2), [&] { return TextOf(Control(IdOf(arg(1)))); });
  } else if (verb == "checked" || verb == "visible" || verb == "enabled" || verb == "icon" ||
             verb == "rowheight") {
    Expect(verb + " " + what, arg(2), [&] {
      HWND control = Control(IdOf(arg(1)));
      return std::to_string(verb == "checked" ? SendMessageA(control, BM_GETCHECK, 0, 0)
                            : verb == "icon"  ? SendMessageA(control, BM_GETIMAGE, IMAGE_ICON, 0) != 0
                            : verb == "rowheight" ? SendMessageA(control, TVM_GETITEMHEIGHT, 0, 0)
                            : verb == "visible" ? IsWindowVisible(control)
                                                : IsWindowEnabled(control));
    });
  } else if (verb == "focus") {
    Expect("the control with the focus", NameOf(IdOf(arg(1))),
           [] { return NameOf(GetDlgCtrlID(Focus())); });
  } else if (verb == "tree") {
    Expect("the items of tree " + arg(1), Joined(step, 2, "|"), [&] {
      Words items;
      for (const TreeItem &item : TreeItems(Control(IdOf(arg(1)))))
        items.push_back(std::string(item.Depth, '>') + item.Text +
                        (item.Image || item.SelectedImage ? "@" + std::to_string(item.Image) + "," +
                                                                std::to_string(item.SelectedImage)
                                                          : ""));
      return Joined(items, 0, "|");
    });
  } else if (verb == "matches") {
    const std::regex pattern(arg(2));
    Expect("the text of " + what + " matching " + arg(2), "yes", [&] {
      return std::regex_match(TextOf(Control(IdOf(arg(1)))), pattern) ? "yes" : "no";
    });
  } else if (verb == "style") {
    const LONG bits = strtol(arg(2).c_str(), nullptr, 16);
    Expect("the style bits " + arg(2) + " of " + what, "set", [&] {
      return (GetWindowLongA(Control(IdOf(arg(1))), GWL_STYLE) & bits) == bits ? "set" : "not set";
    });
  } else if (verb == "covers") {
    // The shown control and the hidden one with its id, whose place it takes.
    Expect("the margins of the shown " + what + " around the hidden one", arg(2), [&] {
      RECT shown, hidden;
      GetWindowRect(Control(IdOf(arg(1))), &shown);
      GetWindowRect(GetDlgItem(Current, IdOf(arg(1))), &hidden);
      return std::to_string(hidden.left - shown.left) + "," + std::to_string(hidden.top - shown.top) +
             "," + std::to_string(shown.right - hidden.right) + "," +
             std::to_string(shown.bottom - hidden.bottom);
    });
  } else if (verb == "centred") {
    Expect("the dialog's distance from the middle of the work area", "0", [] {
      RECT area, window;
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
      GetWindowRect(Current, &window);
      return std::to_string((abs(window.left + window.right - area.left - area.right) +
                             abs(window.top + window.bottom - area.top - area.bottom)) / 4);
    });
  } else if (verb == "layout") {
    // The installer's dialog template laid out here, hidden, at the display scale this
    // process shares with the installer: every control of the template, the hidden
    // placeholder among them, lies where the same layout puts it in the installer.
    HMODULE file = LoadLibraryExA(Installer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = FindResourceA(file, MAKEINTRESOURCEA(IdOf(arg(1))), RT_DIALOG);
    std::string bytes(16, '\0');
    if (found)
      bytes.assign(static_cast<const char *>(LockResource(LoadResource(file, found))),
                   SizeofResource(file, found));
    bytes[bytes[2] == '\xff' ? 15 : 3] &= ~0x10; // WS_VISIBLE, in the (extended) style
    // The tree view's class, from the system folder's library: the rows that plant one
    // beside the installer (and the driver) check that nothing loads the planted copy.
    char system[MAX_PATH] = {0};
    GetSystemDirectoryA(system, MAX_PATH);
    reinterpret_cast<void(WINAPI *)()>(GetProcAddress(
        LoadLibraryA((system + std::string("\\comctl32.dll")).c_str()), "InitCommonControls"))();
    HWND copy = CreateDialogIndirectParamA(
        nullptr, reinterpret_cast<const DLGTEMPLATE *>(bytes.data()), nullptr,
        IgnoreMessages, 0);
    Report(found && copy, "template " + arg(1) + " laid out here");
    for (HWND control = GetWindow(copy, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(control);
      Expect("the place of control " + std::to_string(id), Placement(control),
             [&] { return Placement(GetDlgItem(Current, id)); });
    }
    DestroyWindow(copy);
    FreeLibrary(file);
  } else if (verb == "focusmark") {
    // What the control's window procedure makes of the focus arriving.
    post(Control(IdOf(arg(1))), WM_SETFOCUS, 0, 0);
    Expect("the focus mark of " + what, arg(2), [&] {
      return std::to_string((SendMessageA(Control(IdOf(arg(1))), BM_GETSTATE, 0, 0) & BST_FOCUS) != 0);
    });
  } else if (verb == "paints") {
    // Shown normally, minimised and restored, the dialog validates what is invalidated; a
    // paint handler that did not would be asked to paint forever.
    for (const int show : {SW_SHOWNORMAL, SW_MINIMIZE, SW_RESTORE}) {
      ShowWindowAsync(Current, show);
      InvalidateRect(Current, nullptr, TRUE);
      Expect("the dialog painted when shown with " + std::to_string(show), "painted",
             [] { return GetUpdateRect(Current, nullptr, FALSE) ? "waiting" : "painted"; });
    }
  } else if (verb == "select") {
    // Posted like a key, so that it keeps its place among the keys and clicks before it.
    Expect("an item " + arg(2) + " in tree " + arg(1), "yes",
           [&] { return ItemAt(Control(IdOf(arg(1))), arg(2)) ? "yes" : "no"; });
    post(Control(IdOf(arg(1))), TVM_SELECTITEM, TVGN_CARET,
         reinterpret_cast<LPARAM>(ItemAt(Control(IdOf(arg(1))), arg(2))));
  } else if (verb == "set") {
    Report(SendMessageTimeoutA(Control(IdOf(arg(1))), WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(arg(2).c_str()), SMTO_ABORTIFHUNG, 10000,
                               nullptr) != 0,
           Joined(step, 0));
  } else if (verb == "click") {
    // Posted: a sent click would block while the installer shows a message box.
    post(Control(IdOf(arg(1))), BM_CLICK, 0, 0);
  } else if (verb == "key") {
    const WPARAM key = arg(1) == "esc"     ? VK_ESCAPE
                       : arg(1) == "enter" ? VK_RETURN
                       : arg(1) == "right" ? VK_RIGHT
                       : arg(1) == "left"  ? VK_LEFT
                                           : VK_TAB;
    post(Focus() ? Focus() : Current, WM_KEYDOWN, key, 0x00010001);
  } else if (verb == "close") {
    post(Current, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (verb == "end") {
    DWORD code = 0;
    const bool ended =
        Process.hProcess && Ended(TimeoutMs) && GetExitCodeProcess(Process.hProcess, &code);
    Report(ended && code == strtoul(arg(1).c_str(), nullptr, 0),
           "the installer ends with exit code " + arg(1) +
               (ended ? " (" + std::to_string(code) + ")" : ""));
    return ended;
  } else if (verb == "watch") {
    // Until the installer ends, polled far more often than any message box could come and go.
    std::string shown = "none";
    for (DWORD start = GetTickCount(); shown == "none" && !Ended(5) &&
                                       GetTickCount() - start < TimeoutMs;)
      if (HWND window = FindDialog(-1))
        shown = ClassOf(window) + " \"" + TextOf(window) + "\"";
    Report(shown == "none", "no window of the installer is shown (" + shown + ")");
  } else if (verb == "stderr") {
    Expect("the error stream", arg(1), [] {
      std::ifstream file(ErrorStreamFile, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    });
  } else if (verb == "second") {
    // A second copy of the installer while the first runs: it must end by itself.
    std::string command = "\"" + Installer + "\" " + Joined(step, 2);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second = {};
    DWORD code = 0;
    const bool ended = CreateProcessA(Installer.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                      &startup, &second) &&
                       WaitForSingleObject(second.hProcess, TimeoutMs) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(second.hProcess, &code);
    Report(ended && code == strtoul(arg(1).c_str(), nullptr, 0),
           "a second copy ends with exit code " + arg(1) + " (" + std::to_string(code) + ")");
  } else if (verb == "run") {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + arg(1) + "\"";
    Report(CreateProcessA(arg(1).c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &Other) != FALSE &&
               WaitForInputIdle(Other.hProcess, TimeoutMs) == 0,
           "it runs: " + arg(1));
  } else if (verb == "kill") {
    Report(Other.hProcess && TerminateProcess(Other.hProcess, 0) &&
               WaitForSingleObject(Other.hProcess, TimeoutMs) == WAIT_OBJECT_0,
           "the program started ends");
  } else if (verb == "killat") {
    // The installer held where the mark is written: what it made so far is there.
    for (DWORD start = GetTickCount();
         GetFileAttributesA(arg(1).c_str()) == INVALID_FILE_ATTRIBUTES && !Ended(10) &&
         GetTickCount() - start < TimeoutMs;) {
    }
    Expect("a file " + arg(2) + " before the kill", "present", [&] { return Presence(arg(2)); });
    Report(TerminateProcess(Process.hProcess, 9) != FALSE, "the installer is killed");
  } else if (verb == "writable") {
    Report(SetFileAttributesA(arg(1).c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE, Joined(step, 0));
  } else if (verb == "absent") {
    Expect(arg(1), "absent",
           [&] { return RegistryText(arg(1), "") != "(no key)" ? "present" : Presence(arg(1)); });
  } else if (verb == "regvalue") {
    Expect(arg(1) + " " + arg(2), arg(3), [&] { return RegistryText(arg(1), arg(2)); });
  } else {
    Report(false, "a known step: " + Joined(step, 0));
    return false;
  }
  return true;
}

// Splits a row's steps into words: blanks separate, double quotes group (a quoted "\r\n"
// stands for a line break, \" inside the text for a double quote), and a semicolon ends a
// step.
std::vector<Words> Parse(const std::string &text) {
  std::vector<Words> steps(1);
  for (size_t i = 0; i < text.size();) {
    if (isspace(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == ';') {
      steps.emplace_back();
      ++i;
    } else if (text[i] == '"') {
      // A backslash before a quote escapes it, unless the step ends there: a folder's
      // own trailing backslash, as in "D:\Tools\".
      size_t end = text.find('"', i + 1);
      while (end != std::string::npos && text[end - 1] == '\\') {
        const size_t next = text.find_first_not_of(" \t", end + 1);
        if (next == std::string::npos || text[next] == ';')
          break;
        end = text.find('"', end + 1);
      }
      std::string word = text.substr(i + 1, end - i - 1);
      for (size_t at; (at = word.find("\\r\\n")) != std::string::npos;)
        word.replace(at, 4, "\r\n");
      for (size_t at; (at = word.find("\\\"")) != std::string::npos;)
        word.replace(at, 2, "\"");
      steps.back().push_back(word);
      i = end == std::string::npos ? text.size() : end + 1;
    } else {
      const size_t end = text.find_first_of(" \t;", i);
      steps.back().push_back(text.substr(i, end - i));
      i = end == std::string::npos ? text.size() : end;
    }
  }
  return steps;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: kwbdrive TABLE ROW INSTALLER [TIMEOUT_SECONDS]\n");
    return 2;
  }
  Installer = argv[3];
  ErrorStreamFile = Installer.substr(0, Installer.find_last_of('\\') + 1) + "stderr.txt";
  if (argc > 4)
    TimeoutMs = static_cast<DWORD>(atoi(argv[4])) * 1000;
  CheckMs = TimeoutMs / 20;
  std::ifstream table(argv[1]);
  std::string line, steps;
  // A row is "name | preparation | steps".
  while (steps.empty() && std::getline(table, line)) {
    const size_t bar = line.find('|'), second = line.find('|', bar + 1);
    if (line[0] != '#' && second != std::string::npos &&
        Parse(line.substr(0, bar)) == std::vector<Words>{{argv[2]}})
      steps = line.substr(second + 1);
  }
  if (steps.empty()) {
    fprintf(stderr, "kwbdrive: no row %s in %s\n", argv[2], argv[1]);
    return 2;
  }
  // The table is UTF-8; the installer's texts are in the ANSI code page.
  std::wstring wide(steps.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, steps.data(), steps.size(), &wide[0], wide.size()));
  steps.resize(wide.size() * 2);
  steps.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), wide.size(), &steps[0], steps.size(),
                                   nullptr, nullptr));
  for (const Words &step : Parse(steps))
    if (!step.empty() && !Step(step))
      break;
  if (Process.hProcess && !Ended(0)) {
    Report(false, "the installer had ended; ending it");
    TerminateProcess(Process.hProcess, 99);
    Ended(10000);
  }
  printf("%s: %s\n", argv[2], Failures ? "FAILED" : "passed");
  return Failures ? 1 : 0;
}
