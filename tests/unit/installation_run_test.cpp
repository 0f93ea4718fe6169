// Presses of OK over the stand-ins. The bench is the dialog, the shell links and the
// registry at once, so that one log shows the order across them; each link and product
// key notes the folder the dialog holds at that moment.
#include "install/installation_run.h"
#include "memory_platform.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

typedef std::vector<std::string> Log;
const std::string Typed = "C:\\Program Files\\Corvane Software\\Vistrel";
const std::string Shell = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell folders";
TestCodePage SingleByte, DoubleByte = [] { TestCodePage page; page.DoubleByte = true; return page; }();

void SetShellFolder(MemoryRegistry &keys, const std::string &path, const char *name,
                    const std::string &value) {
  keys.AddKey(path);
  keys.Keys[path][name] = value;
}

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
    SetShellFolder(Keys, Shell, "Desktop", std::string("D:\\Desk\0", 8));
    SetShellFolder(Keys, Shell, "Programs", std::string("D:\\Menu\\Programs\0", 17));
    Keys.AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths");
    Keys.AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    InstallFolder = "E:\\Proposed";
  }
  Log Calls;
  int Checked = 1; std::string Text = Typed + "\\"; // the radio checked, the folder typed
  MemoryMachine Machine{SingleByte};
  NotedKeys Keys;
  PayloadPlatform Payload{Machine, Machine, Machine, Machine, Machine, Machine, SingleByte, *this};
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
const Log Installed = {
    "wait", "show " + Success, "hide 1000", "hide 1", "2 reads Close", "hide 1005", "hide 1006",
    "hide 1001", "hide 1003", "com on",
    "D:\\Desk\\KWB.lnk -> " + Typed + "\\KWB.exe \"Vistrel\" while E:\\Proposed busy",
    "D:\\Menu\\Programs\\KWB.lnk -> " + Typed + "\\KWB.exe \"Vistrel\" while E:\\Proposed busy",
    "entry KWB.exe while " + Typed + " busy", "entry Vistrel Image Browser while " + Typed + " busy",
    "com off",
    "arrow"};
Log Stopped(const char *message) { return {"wait", std::string("box ") + message, "arrow"}; }

// One press: what changes before it and what it must log.
typedef std::function<void(Bench &)> Change;
typedef std::pair<Change, Log> Press;
Change Failing(const std::string &call, uint32_t error) {
  return [=](Bench &b) { b.Machine.Fail(call, 1, error); };
}
const Press Installs = {[](Bench &) {}, Installed};

TEST(InstallationRun, ScenariosOfPressesLeaveTheDialogAsItWasUnlessTheyInstall) {
  const std::string temp = Typed + "\\kwb.tmp"; // the archive each record is written to
  const struct {
    const char *Name;
    std::vector<Press> Presses;
  } scenarios[] = {
      {"busy without an edition, busy with one, ready",
       {{[](Bench &b) { b.InstallBusy = 1, b.Checked = -1; },
         {"box Please select the version to install"}},
        {[](Bench &b) { b.Checked = 1; }, {}}, {[](Bench &b) { b.InstallBusy = 0; }, Installed},
        {Installs.first, {"end as cancel"}}}},
      {"no desktop folder",
       {{[](Bench &b) { b.Keys.Keys[Shell]["Desktop"] = std::string(261, 'D'); },
         [] { Log l = Installed; l.erase(l.begin() + 10); return l; }()}}},
      {"folder refused",
       {{Failing("create-folder " + Typed, 5), Stopped("Cannot create directory")}, Installs}},
      {"240 bytes",
       {{[](Bench &b) { b.Text = "C:\\" + std::string(237, 'a'); },
         Stopped("Cannot create directory\r\nPath length exceeds 256")},
        {[](Bench &b) { b.Text = Typed; }, Installed}}},
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

// Both values hold the same bytes in each case, so each must come out as Want.
TEST(InstallationRun, ShellFoldersCountOnlyWhenEveryLevelIsThereAndTheValueFits) {
  const std::string full(260, 'f');
  const struct {
    int Levels;
    std::string Value, Want;
  } cases[] = {{6, std::string("D:\\Desk\0x", 9), "D:\\Desk"}, {6, full, full}, {6, full + "f", ""},
               {5, "D:\\Desk", ""}, {4, "D:\\Desk", ""}, {3, "D:\\Desk", ""},
               {2, "D:\\Desk", ""}, {1, "D:\\Desk", ""}, {0, "D:\\Desk", ""}};
  for (const auto &c : cases) {
    MemoryRegistry keys;
    size_t end = 0;
    for (int i = 0; i <= c.Levels; ++i) // one more for the root's name
      end = Shell.find('\\', end + 1);
    // The values go into the last level present, where they must not be found.
    for (const char *name : {"Desktop", "Programs"})
      SetShellFolder(keys, Shell.substr(0, end), name, c.Value);
    ShellFolders folders = LookUpShellFolders(keys, MemoryRegistry::CurrentUser);
    EXPECT_EQ(std::string(folders.Desktop) + "|" + folders.Programs.GetString(),
              c.Want + "|" + c.Want)
        << c.Levels << " levels, values of " << c.Value.size() << " bytes";
    EXPECT_EQ(keys.Open.size(), 2u) << c.Levels << ": only the roots stay open";
  }
}

TEST(InstallationRun, LinkFilesAndFolderTextsFollowTheCharacterRules) {
  // 259 characters with the link file name, as many as fit; the double-byte text has 137.
  const std::string a251(251, 'a'), dbcs = "D:\\" + std::string(250, '\x83');
  const struct {
    const CodePage &Page;
    std::string Text, LinkFile, Cut; // Cut: without a trailing backslash
  } cases[] = {
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

} // namespace
