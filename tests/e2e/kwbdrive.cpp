// Drives the real kwbsetup.exe from a second process, as a user would, by the steps of one
// row of the scenario table (scenarios.txt, which describes the step language), in the
// ANSI code page of the installer's texts (scenario.sh converts the row). Every
// wait is bounded by the timeout given; a check that does not hold within a twentieth of
// it is reported and the row goes on, a wait that runs out ends the row.
//
//   kwbdrive TABLE ROW INSTALLER [TIMEOUT_SECONDS]
//
// Exit code 0 when every check held, 1 with a line per failed check otherwise, 2 for a
// row that cannot be read.
#include <windows.h>

#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>
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
std::string ErrorStreamFile; // the installer's standard error, a file for each start
int Starts = 0;
const DWORD Started = GetTickCount();
HWND Current = nullptr; // the dialog or message box the last wait found

void Report(bool held, const std::string &what) {
  // The time lets a benchmark tell how long a step took.
  printf("%6lu ms %s: %s\n", GetTickCount() - Started, held ? "ok" : "FAILED", what.c_str());
  fflush(stdout);
  Failures += !held;
}

// Whether the installer has ended, or was never started, within the wait.
bool Ended(DWORD waitMs) {
  return !Process.hProcess || WaitForSingleObject(Process.hProcess, waitMs) == WAIT_OBJECT_0;
}

// Polls every pollMs until done() holds (true) or ms have passed; while the installer
// runs, when whileRunning.
bool Until(DWORD ms, DWORD pollMs, const std::function<bool()> &done, bool whileRunning = false) {
  for (const DWORD start = GetTickCount(); !done();)
    if (GetTickCount() - start >= ms || (whileRunning ? Ended(pollMs) : (Sleep(pollMs), false)))
      return false;
  return true;
}

// Checks are polled rather than read once: a posted click or key is handled some time
// after the post, and a sent message would overtake it.
void Expect(const std::string &what, const std::string &wanted,
            const std::function<std::string()> &actual) {
  std::string seen;
  Until(CheckMs, 10, [&] { return (seen = actual()) == wanted; });
  Report(seen == wanted, what + " is \"" + wanted + "\"" + (seen == wanted ? "" : " but was \"" + seen + "\""));
}

// A message sent to a window of the installer, which may hang: what it answered.
LRESULT Send(HWND window, UINT message, WPARAM w = 0, const void *l = nullptr) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, message, w, reinterpret_cast<LPARAM>(l), SMTO_ABORTIFHUNG, 10000, &answer);
  return static_cast<LRESULT>(answer);
}

std::string TextOf(HWND window) {
  // WM_GETTEXT crosses processes; GetWindowText would not read another process's controls.
  char text[65536] = {0};
  Send(window, WM_GETTEXT, sizeof text, text);
  return text;
}

// Numbers separated by commas.
std::string Listed(std::initializer_list<long> numbers) {
  std::string text;
  for (const long number : numbers)
    text += (text.empty() ? "" : ",") + std::to_string(number);
  return text;
}

// Starts the program with the arguments; with an error handle, its standard error goes
// there (the one handle it inherits).
bool Launch(const std::string &program, const std::string &arguments,
            PROCESS_INFORMATION *started, HANDLE error = nullptr) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = error ? STARTF_USESTDHANDLES : 0;
  startup.hStdError = error;
  std::string command = "\"" + program + "\" " + arguments;
  return CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, error != nullptr, 0,
                        nullptr, nullptr, &startup, started) != FALSE;
}

// A process's exit code once it has ended, or "no end" when it does not end in time.
std::string ExitCode(HANDLE process) {
  DWORD code = 0;
  const bool ended = process && WaitForSingleObject(process, TimeoutMs) == WAIT_OBJECT_0;
  return ended && GetExitCodeProcess(process, &code) ? std::to_string(code) : "no end";
}

std::string ClassOf(HWND window) {
  char name[256] = {0};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Control ids by name; any other id is a number.
const std::map<std::string, int> Ids = {{"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};

int IdOf(const std::string &word) { return Ids.count(word) ? Ids.at(word) : atoi(word.c_str()); }

std::string NameOf(int id) {
  for (const auto &[name, value] : Ids)
    if (value == id)
      return name;
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

// Waits for a shown window of the installer with the control; the WM_NULL afterwards
// makes sure its thread has finished the handler that showed it.
bool WaitFor(int controlId, const std::string &what) {
  if (Until(TimeoutMs, 100, [&] { return (Current = FindDialog(controlId)) != nullptr; }, true))
    Send(Current, WM_NULL);
  Report(Current != nullptr, what + " appears" +
                                (Current || !Ended(0) ? ""
                                                      : " (the installer ended with exit code " +
                                                            ExitCode(Process.hProcess) + ")"));
  return Current != nullptr;
}

// The message box's buttons by name ("yes,no"), then "icon" when it shows one.
std::string BoxLayout(HWND box) {
  std::string buttons, icon;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongA(child, GWL_STYLE), shown = style & WS_VISIBLE;
    if (shown && ClassOf(child) == "Button")
      buttons += (buttons.empty() ? "" : ",") + NameOf(GetDlgCtrlID(child));
    else if (shown && (style & SS_TYPEMASK) == SS_ICON && SendMessageA(child, STM_GETICON, 0, 0))
      icon = " icon";
  }
  return buttons + icon;
}

std::string Joined(const Words &words, size_t from, const char *separator = " ") {
  std::string text;
  for (size_t i = from; i < words.size(); ++i)
    text += (i > from ? separator : "") + words[i];
  return text;
}

// The tree's items in order, as the hook that the driver has the installer load reads them
// from inside (tree_hook.c), each with its path (its texts from the top down, joined by
// backslashes) and as the tree step shows it: one ">" per level, the text, and
// "@IMAGE,SELECTED" unless both images are 0. The hook answers with the text of a window
// of the driver's, which Windows copies between processes as it does every window text.
struct TreeItem {
  void *Handle;
  std::string Path, Shown;
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
  Send(tree, RegisterWindowMessageA("kwbdrive tree"), reinterpret_cast<WPARAM>(reply));
  std::istringstream lines(TextOf(reply));
  std::vector<TreeItem> items;
  Words above;
  int depth, image, selected;
  void *handle;
  std::string text;
  while (lines >> depth >> handle >> image >> selected && std::getline(lines.ignore(1), text)) {
    above.resize(depth);
    above.push_back(text);
    items.push_back({handle, Joined(above, 0, "\\"), std::string(depth, '>') + text +
                                                        (image || selected ? "@" + Listed({image, selected}) : "")});
  }
  return items;
}

// The dialog procedure of a template laid out only to be measured.
INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Where a control lies in its dialog's client area: "left,top,right,bottom".
std::string Placement(HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&r), 2);
  return Listed({r.left, r.top, r.right, r.bottom});
}

// The item with the path; null for none.
HTREEITEM ItemAt(HWND tree, const std::string &path) {
  for (const TreeItem &item : TreeItems(tree))
    if (item.Path == path)
      return static_cast<HTREEITEM>(item.Handle);
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
  DWORD size = sizeof data;
  const LONG status = RegGetValueA(key, nullptr, name.c_str(), RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr,
                                      data, &size);
  RegCloseKey(key);
  return status != ERROR_SUCCESS ? "(no string value)" : data;
}

// Whether a file or folder matches the path, which may hold wildcards.
std::string Presence(const std::string &path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  return search != INVALID_HANDLE_VALUE && FindClose(search) ? "present" : "absent";
}

// What a check of one control reads: its text, or the wanted text when its text "matches"
// that pattern or its "style" has those bits, the margins that it "covers" around the
// hidden control with its id (whose place it takes), or a number.
std::string Reading(const std::string &verb, HWND control, const std::string &wanted) {
  const LONG bits = strtol(wanted.c_str(), nullptr, 16);
  RECT shown = {}, hidden = {};
  GetWindowRect(control, &shown);
  GetWindowRect(GetDlgItem(GetParent(control), GetDlgCtrlID(control)), &hidden);
  return verb == "text"      ? TextOf(control)
         : verb == "matches" ? (std::regex_match(TextOf(control), std::regex(wanted)) ? wanted : TextOf(control))
         : verb == "style"   ? ((GetWindowLongA(control, GWL_STYLE) & bits) == bits ? wanted : "other bits")
         : verb == "covers"  ? Listed({hidden.left - shown.left, hidden.top - shown.top,
                                      shown.right - hidden.right, shown.bottom - hidden.bottom})
         : std::to_string(verb == "checked"     ? SendMessageA(control, BM_GETCHECK, 0, 0)
                          : verb == "rowheight" ? SendMessageA(control, TVM_GETITEMHEIGHT, 0, 0)
                          : verb == "focusmark" ? (SendMessageA(control, BM_GETSTATE, 0, 0) & BST_FOCUS) != 0
                          : verb == "visible"   ? IsWindowVisible(control)
                                                : IsWindowEnabled(control));
}

// One step; false ends the row.
bool Step(const Words &step) {
  const std::string &verb = step[0];
  auto arg = [&](size_t i) { return i < step.size() ? step[i] : std::string(); };
  auto post = [&](HWND window, UINT message, WPARAM w, LPARAM l) {
    Report(PostMessageA(window, message, w, l) != FALSE, Joined(step, 0));
  };
  if (verb == "start") {
    // The installer's standard error goes to a new file for each start, which no other
    // process may hold open for writing: the services and the desktop process that the
    // first program starts keep its standard handles.
    ErrorStreamFile = Installer.substr(0, Installer.find_last_of('\\') + 1) + "stderr" +
                      std::to_string(++Starts) + ".txt";
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE error = CreateFileA(ErrorStreamFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool started =
        error != INVALID_HANDLE_VALUE && Launch(Installer, Joined(step, 1), &Process, error);
    const DWORD why = GetLastError();
    CloseHandle(error);
    Report(started, "the installer starts: \"" + Installer + "\" " + Joined(step, 1) +
                        (started ? "" : " (error " + std::to_string(why) + ")"));
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
  } else if (std::regex_match(verb, std::regex("text|matches|style|covers|checked|visible|"
                                                "enabled|rowheight|focusmark"))) {
    // The focus mark: what the control's window procedure makes of the focus arriving.
    if (verb == "focusmark")
      post(Control(IdOf(arg(1))), WM_SETFOCUS, 0, 0);
    Expect("the " + verb + " of control " + arg(1), arg(2),
           [&] { return Reading(verb, Control(IdOf(arg(1))), arg(2)); });
  } else if (verb == "focus") {
    Expect("the control with the focus", NameOf(IdOf(arg(1))),
           [] { return NameOf(GetDlgCtrlID(Focus())); });
  } else if (verb == "tree") {
    Expect("the items of tree " + arg(1), Joined(step, 2, "|"), [&] {
      Words items;
      for (const TreeItem &item : TreeItems(Control(IdOf(arg(1)))))
        items.push_back(item.Shown);
      return Joined(items, 0, "|");
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
    reinterpret_cast<void(WINAPI *)()>(GetProcAddress(
        LoadLibraryExA("comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "InitCommonControls"))();
    HWND copy = CreateDialogIndirectParamA(nullptr, reinterpret_cast<const DLGTEMPLATE *>(bytes.data()),
                                           nullptr, IgnoreMessages, 0);
    Report(found && copy, "template " + arg(1) + " laid out here");
    for (HWND control = GetWindow(copy, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(control);
      Expect("the place of control " + std::to_string(id), Placement(control),
             [&] { return Placement(GetDlgItem(Current, id)); });
    }
    DestroyWindow(copy);
    FreeLibrary(file);
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
    Report(Send(Control(IdOf(arg(1))), WM_SETTEXT, 0, arg(2).c_str()) != 0, Joined(step, 0));
  } else if (verb == "click") {
    // Posted: a sent click would block while the installer shows a message box.
    post(Control(IdOf(arg(1))), BM_CLICK, 0, 0);
  } else if (verb == "key") {
    static const std::map<std::string, WPARAM> keys = {
        {"esc", VK_ESCAPE}, {"enter", VK_RETURN}, {"right", VK_RIGHT}, {"left", VK_LEFT}, {"tab", VK_TAB}};
    post(Focus() ? Focus() : Current, WM_KEYDOWN, keys.count(arg(1)) ? keys.at(arg(1)) : 0, 0x00010001);
  } else if (verb == "close") {
    post(Current, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (verb == "end") {
    const std::string code = ExitCode(Process.hProcess);
    Report(code == arg(1), "the installer ends with exit code " + arg(1) + " (" + code + ")");
    return code != "no end";
  } else if (verb == "watch") {
    // Until the installer ends, polled far more often than any message box could come and go.
    HWND shown = nullptr;
    Until(TimeoutMs, 5, [&] { return (shown = FindDialog(-1)) != nullptr; }, true);
    Report(!shown, "no window of the installer is shown (" +
                       (shown ? ClassOf(shown) + " \"" + TextOf(shown) + "\"" : "none") + ")");
  } else if (verb == "stderr") {
    Expect("the error stream", arg(1), [] {
      std::ifstream file(ErrorStreamFile, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    });
  } else if (verb == "second") {
    // A second copy of the installer while the first runs: it must end by itself.
    PROCESS_INFORMATION second = {};
    const std::string code =
        Launch(Installer, Joined(step, 2), &second) ? ExitCode(second.hProcess) : "no start";
    Report(code == arg(1), "a second copy ends with exit code " + arg(1) + " (" + code + ")");
  } else if (verb == "run") {
    Report(Launch(arg(1), "", &Other) && WaitForInputIdle(Other.hProcess, TimeoutMs) == 0,
           "it runs: " + arg(1));
  } else if (verb == "kill") {
    Report(Other.hProcess && TerminateProcess(Other.hProcess, 0) && ExitCode(Other.hProcess) == "0",
           "the program started ends");
  } else if (verb == "killat") {
    // The installer held where the mark is written: what it made so far is there.
    Until(TimeoutMs, 10, [&] { return Presence(arg(1)) == "present"; }, true);
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
// stands for a line break, \" inside the text for a double quote, unless the step ends
// after it: a folder's own trailing backslash, as in "D:\Tools\"), and a semicolon ends a
// step.
std::vector<Words> Parse(const std::string &text) {
  static const std::regex word(R"re(;|"((?:\\"(?!\s*(?:;|$))|[^"])*)"|[^\s;]+)re");
  std::vector<Words> steps(1);
  for (std::sregex_iterator at(text.begin(), text.end(), word), end; at != end; ++at) {
    if (at->str() == ";")
      steps.emplace_back();
    else
      steps.back().push_back(
          !(*at)[1].matched ? at->str()
                            : std::regex_replace(std::regex_replace(at->str(1), std::regex(R"(\\r\\n)"), "\r\n"),
                                                 std::regex(R"(\\")"), "\""));
  }
  return steps;
}

} // namespace

int main(int argc, char **argv) {
  // A row is "name | preparation | steps".
  std::string line, steps;
  std::smatch row;
  for (std::ifstream table(argc < 4 ? "" : argv[1]); steps.empty() && std::getline(table, line);)
    if (std::regex_match(line, row, std::regex(std::string(argv[2]) + " *\\|[^|]*\\|(.*)")))
      steps = row[1];
  if (steps.empty()) {
    fprintf(stderr, "usage: kwbdrive TABLE ROW INSTALLER [TIMEOUT_SECONDS], ROW a row of TABLE\n");
    return 2;
  }
  Installer = argv[3];
  TimeoutMs = argc > 4 ? static_cast<DWORD>(atoi(argv[4])) * 1000 : TimeoutMs;
  CheckMs = TimeoutMs / 20;
  for (const Words &step : Parse(steps))
    if (!step.empty() && !Step(step))
      break;
  if (!Ended(0)) {
    Report(false, "the installer had ended; ending it");
    TerminateProcess(Process.hProcess, 99);
    Ended(10000);
  }
  printf("%s: %s\n", argv[2], Failures ? "FAILED" : "passed");
  return Failures ? 1 : 0;
}
