// The installation over the stand-ins: presses of OK, and the folder creation and the
// registry entries it relies on. For the presses the bench is the dialog, the shell links
// and the registry at once, so that one log shows the order across them; each link and
// product key notes the folder the dialog holds at that moment.
#include "install/installation_run.h"
#include "memory_platform.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

typedef std::vector<std::string> Log;
const std::string Typed = "C:\\Program Files\\Corvane Software\\Vistrel";
// 260 bytes in 132 characters of code page 932.
const std::string Filling = "D:\\x" + std::string(256, '\x83');
const std::string Shell = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell folders";

struct Bench : SetupView, ShellLinks, MessageDisplay {
  // The product keys note the folder the dialog holds when they are written.
  struct NotedKeys : MemoryRegistry {
    Bench *Owner;
    RegistryKey CreateKey(RegistryKey parent, const char *name) override {
      Owner->Note(std::string("entry ") + name);
      return MemoryRegistry::CreateKey(parent, name);
    }
  };
  Bench() {
    Keys.Owner = this;
    Machine.Resources = PackedPayload();
    Machine.AddFolder("C:\\WINDOWS\\SYSTEM");
    Keys.AddKey(Shell);
    Keys.Keys[Shell] = {{"Desktop", std::string("D:\\Desk\0", 8)}, {"Programs", std::string("D:\\Menu\\Programs\0", 17)}};
    Keys.AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths");
    Keys.AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    InstallFolder = "E:\\Proposed";
  }
  Log Calls;
  int Checked = 1; std::string Text = Typed + "\\"; // the radio checked, the folder typed
  MemoryMachine Machine{DoubleByte};
  NotedKeys Keys;
  PayloadPlatform Payload{Machine, Machine, Machine, Machine, Machine, Machine, DoubleByte, *this};
  InstallPlatform Platform{Payload, Machine, Keys, MemoryRegistry::CurrentUser, *this};

  void Note(const std::string &w) {
    Calls.push_back(w + " while " + InstallFolder.GetString() + (InstallBusy ? " busy" : ""));
  }
  std::string State() {
    CString state = StatusText + "|" + InstallFolder + (InstallDone ? "|done" : "|");
    return std::string(state) + (InstallBusy ? " busy" : "");
  }
  void Show(const char *text) override { Calls.push_back(std::string("box ") + text); }
  void CloseAsCancel() override { Calls.push_back("end as cancel"); }
  void ReadControls() override { Edition = Checked; }
  void ShowMembers() override { Calls.push_back("show " + std::string(StatusText)); }
  CString FolderText() override { return Text.c_str(); }
  void ShowWaitCursor(bool shown) override { Calls.push_back(shown ? "wait" : "arrow"); }
  void HideControl(int id) override { Calls.push_back("hide " + std::to_string(id)); }
  void SetControlText(int id, const char *text) override {
    Calls.push_back(std::to_string(id) + " reads " + text);
  }
  void InitialiseCom() override { Calls.push_back("com on"); }
  void UninitialiseCom() override { Calls.push_back("com off"); }
  int32_t CreateShortcut(CString target, CString link, CString description) override {
    Note(std::string(link) + " -> " + target.GetString() + " \"" + description.GetString() + "\"");
    return 0;
  }
};

const std::string Success = "The program has been successfully installed\r\n\r\nA shortcut "
                            "(named KWB) can be found on Windows Desktop and in \"Programs\" "
                            "of Windows \"Start\".";
// A press that installs, with links in these shell folders ("" for none).
Log Installed(const std::string &desktop = "D:\\Desk", const std::string &programs = "D:\\Menu\\Programs") {
  Log log = {"wait", "show " + Success, "hide 1000", "hide 1", "2 reads Close", "hide 1005", "hide 1006",
             "hide 1001", "hide 1003", "com on"};
  for (const std::string &folder : {desktop, programs})
    if (!folder.empty())
      log.push_back(folder + "\\KWB.lnk -> " + Typed + "\\KWB.exe \"Vistrel\" while E:\\Proposed busy");
  log.insert(log.end(), {"entry KWB.exe while " + Typed + " busy",
                         "entry Vistrel Image Browser while " + Typed + " busy", "com off", "arrow"});
  return log;
}
Log Stopped(const char *message) { return {"wait", std::string("box ") + message, "arrow"}; }

// One press: what changes before it and what it must log.
typedef std::function<void(Bench &)> Change;
typedef std::pair<Change, Log> Press;
Change Failing(const std::string &call, uint32_t error) {
  return [=](Bench &b) { b.Machine.Fail(call, 1, error); };
}
const Press Installs = {[](Bench &) {}, Installed()};

TEST(InstallationRun, ScenariosOfPressesLeaveTheDialogAsItWasUnlessTheyInstall) {
  const std::string temp = Typed + "\\kwb.tmp"; // the archive each record is written to
  const struct { const char *Name; std::vector<Press> Presses; } scenarios[] = {
      {"busy without an edition, busy with one, ready",
       {{[](Bench &b) { b.InstallBusy = 1, b.Checked = -1; },
         {"box Please select the version to install"}},
        {[](Bench &b) { b.Checked = 1; }, {}}, {[](Bench &b) { b.InstallBusy = 0; }, Installed()},
        {Installs.first, {"end as cancel"}}}},
      // A shell folder counts when every level is there and its value fits the 260 bytes
      // read, with a NUL or without; only double-byte characters keep such a link short.
      {"desktop folder filling the buffer", {{[](Bench &b) { b.Keys.Keys[Shell]["Desktop"] = Filling; },
                                              Installed(Filling)}}},
      {"desktop folder a byte too long",
       {{[](Bench &b) { b.Keys.Keys[Shell]["Desktop"] = Filling + "x"; }, Installed("")}}},
      {"no shell folders", {{[](Bench &b) { b.Keys.Keys.erase(Shell); }, Installed("", "")}}},
      {"folder refused",
       {{Failing("create-folder " + Typed, 5), Stopped("Cannot create directory")}, Installs}},
      {"240 bytes",
       {{[](Bench &b) { b.Text = "C:\\" + std::string(237, 'a'); },
         Stopped("Cannot create directory\r\nPath length exceeds 256")},
        {[](Bench &b) { b.Text = Typed; }, Installed()}}},
      // One failure of the extraction stands for all: its messages are its own tests' part.
      {"nothing expanded",
       {{Failing("expand " + temp, 5), Stopped("Error in installation")}, Installs}},
  };
  for (const auto &scenario : scenarios) {
    SCOPED_TRACE(scenario.Name);
    Bench bench;
    for (const Press &press : scenario.Presses) {
      press.first(bench);
      const std::string before = bench.State();
      bench.Calls = bench.Machine.Calls = {};
      RunInstallation(bench, bench.Platform);
      EXPECT_EQ(bench.Calls, press.second);
      EXPECT_TRUE(press.second.size() > 1 || bench.Machine.Calls.empty()) << "no run, no file";
      EXPECT_EQ(bench.State(), press.second.size() > 3 ? Success + "|" + Typed + "|done" : before)
          << "installed and no longer busy, or as the user left it";
      auto main = bench.Machine.Entries.find(Typed + "\\KWB.exe");
      EXPECT_TRUE(press.second.size() <= 3 ||
                  (main != bench.Machine.Entries.end() && main->second.Bytes == Editions[1][0]))
          << "the edition chosen, in the folder typed";
    }
  }
}

TEST(InstallationRun, LinkFilesAndFolderTextsFollowTheCharacterRules) {
  // 259 characters with the link file name, as many as fit; the double-byte text has 137.
  const std::string a251(251, 'a'), dbcs = "D:\\" + std::string(250, '\x83');
  // Cut: the text without a trailing backslash.
  const struct { const CodePage &Page; std::string Text, LinkFile, Cut; } cases[] = {
      {SingleByte, "", "", ""}, {SingleByte, "D:\\", "D:\\\\KWB.lnk", "D:"},
      {SingleByte, "C:\\A\\\\", "C:\\A\\\\\\KWB.lnk", "C:\\A\\"},
      {SingleByte, a251, a251 + "\\KWB.lnk", a251}, {SingleByte, a251 + "a", "", a251 + "a"},
      {DoubleByte, dbcs + "\x83\\", dbcs + "\x83\\\\KWB.lnk", dbcs + "\x83\\"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(std::string(ShortcutFile(c.Text.c_str(), c.Page)), c.LinkFile) << c.Text;
    EXPECT_EQ(std::string(WithoutTrailingBackslash(c.Text.c_str(), c.Page)), c.Cut) << c.Text;
  }
}

// Characters of code page 932 whose trail byte is 0x5C, the backslash.
const std::string Table = "\x95\x5C", Katakana = "\x83\x5C";

TEST(FolderCreation, MakesMissingLevelsTopFirstAndTriesEachLevelAgainOnlyOnce) {
  const std::string trailByte = "C:\\" + Katakana + Table; // a parent ending in 0x5C
  std::string deep = "C:"; // 232 bytes of folders that exist; the last level makes the length
  while (deep.size() < 226)
    deep += "\\" + std::string(9, 'f');
  const std::string long239 = deep + "\\" + std::string(238 - deep.size(), 'x');
  // Tried: each folder creation's path and result, in order.
  const struct { const char *Name; std::function<void(MemoryMachine &)> Setup; std::string Path; uint32_t Result;
                 std::string Tried; } rows[] = {
      {"every level missing", nullptr, "C:\\A\\B\\C", 0, "C:\\A\\B\\C 3, C:\\A\\B 3, C:\\A 0, C:\\A\\B 0, C:\\A\\B\\C 0"},
      {"existing folder", [](MemoryMachine &m) { m.AddFolder("C:\\V\\D"); }, "C:\\V\\D", 0, "C:\\V\\D 183"},
      {"white space around", [](MemoryMachine &m) { m.AddFolder("C:\\P F"); }, " \t C:\\P F\\V \r\n\v\f ", 0, "C:\\P F\\V 0"},
      // No parent can be split off: a missing drive, a trailing or a doubled backslash.
      {"missing drive", nullptr, "Q:\\Setup", 3, "Q:\\Setup 3"},
      {"trailing backslash", nullptr, "C:\\X\\Y\\", 3, "C:\\X\\Y\\ 3"},
      {"doubled backslash", nullptr, "C:\\X\\\\Y", 3, "C:\\X\\\\Y 3"},
      // Only full paths: a drive root, from a drive's root, or a share's.
      {"relative name", nullptr, "Vistrel", 161, ""},
      {"from the current drive's root", nullptr, "\\NoDrive\\X", 161, ""},
      {"relative to a drive's folder", nullptr, "c:X", 161, ""},
      {"drive root", nullptr, "C:", 0, "C: 183"},
      {"server share", [](MemoryMachine &m) { m.AddFolder("\\\\srv\\share"); }, "\\\\srv\\share\\V", 0, "\\\\srv\\share\\V 0"},
      // The deepest error is passed up, and the levels made stay.
      {"access denied part way", [](MemoryMachine &m) { m.Fail("create-folder C:\\P\\Q", 2, 5); }, "C:\\P\\Q\\R", 5,
       "C:\\P\\Q\\R 3, C:\\P\\Q 3, C:\\P 0, C:\\P\\Q 5"},
      // A level still missing its parent after the parent was made ends the attempt: a
      // file in the way, or a parent whose trailing blank only its own creation dropped.
      {"file in the way", [](MemoryMachine &m) { m.Entries["C:\\F"]; }, "C:\\F\\G", 3, "C:\\F\\G 3, C:\\F 183, C:\\F\\G 3"},
      {"parent ending in a blank", nullptr, "C:\\X \\Y", 3, "C:\\X \\Y 3, C:\\X 0, C:\\X \\Y 3"},
      // A backslash is found as a character, never as the trail byte 0x5C of one.
      {"last level ending in a trail byte 0x5C", nullptr, "C:\\N\\X" + Table, 0,
       "C:\\N\\X" + Table + " 3, C:\\N 0, C:\\N\\X" + Table + " 0"},
      {"parent ending in a trail byte 0x5C", nullptr, trailByte + "\\B", 0,
       trailByte + "\\B 3, " + trailByte + " 0, " + trailByte + "\\B 0"},
      // 240 bytes or more after trimming: nothing is tried. A double-byte character counts two.
      {"240 bytes", nullptr, long239 + "y", 24, ""},
      {"239 bytes and blanks", nullptr, "  " + long239 + "  ", 0, long239 + " 0"},
      {"239 bytes, double-byte", nullptr, long239.substr(0, 237) + Table, 0, long239.substr(0, 237) + Table + " 0"},
      {"240 bytes, double-byte", nullptr, long239.substr(0, 238) + Table, 24, ""},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.Name);
    MemoryMachine machine(DoubleByte);
    machine.AddFolder(deep);
    if (row.Setup)
      row.Setup(machine);
    EXPECT_EQ(CreateFolderPath(machine, DoubleByte, CString(row.Path.c_str())), row.Result);
    std::string tried; // "create-folder <path> -> <result>" as "<path> <result>"
    for (const std::string &call : machine.Calls)
      tried += (tried.empty() ? "" : ", ") + call.substr(14).replace(call.rfind(" -> ") - 14, 4, " ");
    EXPECT_EQ(tried, row.Tried);
  }
}

// The registry entries: only the entry's own key is created, below levels that must all be
// there; each value's bytes are counted with their NUL; every key is closed, innermost first.
// The values themselves are read back from the real registry in the Wine tests.
TEST(Registration, WritesBelowEveryLevelOnlyCountsTheNulAndClosesEveryKey) {
  const std::string lists = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\", longest(260, 'p');
  const auto levels = [](const std::string &path, int count) { // its first count levels
    size_t end = 0;
    while (count-- > 0)
      end = path.find('\\', end + 1);
    return path.substr(0, end);
  };
  // The writers below 0 to 5 levels that are there, and with the entry's key refused (6).
  for (int present = 0; present <= 6; ++present) {
    MemoryRegistry registry;
    for (const char *list : {"App Paths", "Uninstall"})
      registry.AddKey(levels(lists + list, std::min(present, 5)));
    registry.FailCreate = present == 6 ? "KWB.exe" : "";
    auto want = registry.Keys;
    if (present == 5)
      want[lists + "App Paths\\KWB.exe"] = {{"", Typed + "\\KWB.exe" + '\0'}, {"Path", Typed + '\0'}};
    // Quoted, so that the blank in "Program Files" cannot start C:\Program.exe.
    if (present >= 5)
      want[lists + "Uninstall\\Vistrel Image Browser"] = {{"DisplayName", std::string("Vistrel Image Browser") + '\0'},
                                                          {"UninstallString", "\"" + Typed + "\\uninstall.exe\"" + '\0'}};
    WriteAppPathEntry(registry, Typed.c_str());
    WriteUninstallEntry(registry, Typed.c_str());
    EXPECT_TRUE(registry.Keys == want && registry.Open.size() == 2) << present << " levels; keys open: " << registry.Open.size();
  }
  // The reader: the path ends at its first NUL, or where it fills the buffer of 261 bytes.
  const std::pair<std::string, std::string> reads[] = {
      {"", ""}, {longest + "q", longest + "q"}, {longest + "q" + '\0', ""}, {std::string("D:\\A\0junk", 9), "D:\\A"}};
  for (int present = 0; present <= 5; ++present)
    for (const auto &[stored, read] : reads) {
      MemoryRegistry registry;
      registry.AddKey(levels(lists + "App Paths", present));
      if (present == 5 && !stored.empty())
        registry.Keys[lists + "App Paths\\KWB.exe"]["Path"] = stored;
      const CString got = ReadPreviousInstallFolder(registry);
      EXPECT_TRUE(std::string(got.GetString(), got.GetLength()) == (present == 5 ? read : "") && registry.Open.size() == 2)
          << present << " levels, " << stored.size() << " bytes stored; keys open: " << registry.Open.size();
    }
}

} // namespace
