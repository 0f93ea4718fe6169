// Presses of OK over the stand-ins. The bench is the dialog, the shell links and the
// registry at once, so that one log shows the order across them; each link and product
// key notes the folder the dialog holds at that moment.
#include "host_time_zone.h"
#include "install/installation_run.h"
#include "memory_file_system.h"
#include "memory_payload_sources.h"
#include "memory_registry.h"
#include "mspack_expansion.h"
#include "payload_test_data.h"
#include "test_code_pages.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

typedef std::vector<std::string> Log;
typedef MemoryFileSystem F;
const std::string Typed = "C:\\Program Files\\Corvane Software\\Vistrel";
const std::string Shell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell folders";
SingleByteCodePage SingleByte;
DoubleByteCodePage DoubleByte;

struct Bench : SetupView, ShellLinks, MemoryRegistry, MessageDisplay {
  Bench() {
    Resources.Resources = {{129, PackedResource({TestProduct().Library})},
                           {130, PackedResource(TestProduct().Edition311)},
                           {131, PackedResource(TestProduct().Edition42)}};
    Files.AddFolder("C:\\WINDOWS\\SYSTEM");
    SetRawValue(Shell, "Desktop", 1, std::string("D:\\Desk\0", 8));
    // The type is not looked at: an expandable string is read as text all the same.
    SetRawValue(Shell, "Programs", 2, std::string("D:\\Menu\\Programs\0", 17));
    AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths");
    AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    InstallFolder = "E:\\Proposed";
  }
  Log Calls;
  int Checked = 1; std::string Text = Typed + "\\"; // the radio checked, the folder typed
  MemoryFileSystem Files{SingleByte};
  MspackExpansion Expansion{Files};
  MemoryResources Resources;
  CountedMemoryBlocks Memory; HostTimeZone Clock;
  PayloadPlatform Payload{Resources, Memory, Files, Expansion, Files, Clock, SingleByte, *this};
  InstallPlatform Platform{Payload, Files, *this, LocalMachine(), *this};

  void Note(const std::string &w) { Calls.push_back(w + " while " + InstallFolder.GetString()); }
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
  RegistryKey CreateKey(RegistryKey parent, const char *name) override {
    Note(std::string("entry ") + name);
    return MemoryRegistry::CreateKey(parent, name);
  }
};

const std::string Success = "The program has been successfully installed\r\n\r\nA shortcut "
                            "(named KWB) can be found on Windows Desktop and in \"Programs\" "
                            "of Windows \"Start\".";
const Log Installed = {
    "wait", "show " + Success, "hide 1000", "hide 1", "2 reads Close", "hide 1005", "hide 1006",
    "hide 1001", "hide 1003", "com on",
    "D:\\Desk\\KWB.lnk -> " + Typed + "\\KWB.exe \"Vistrel\" while E:\\Proposed",
    "D:\\Menu\\Programs\\KWB.lnk -> " + Typed + "\\KWB.exe \"Vistrel\" while E:\\Proposed",
    "entry KWB.exe while " + Typed, "entry Vistrel Image Browser while " + Typed, "com off",
    "arrow"};
Log Stopped(const char *message) { return {"wait", std::string("box ") + message, "arrow"}; }

// One press: what changes before it and what it must log.
typedef std::function<void(Bench &)> Change;
typedef std::pair<Change, Log> Press;
Change Failing(F::Operation call, std::string path, uint32_t error) {
  return [=](Bench &b) { b.Files.Fail(call, path, error); };
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
       {{[](Bench &b) { b.SetRawValue(Shell, "Desktop", 1, std::string(261, 'D')); },
         [] { Log l = Installed; l.erase(l.begin() + 10); return l; }()}}},
      {"folder refused",
       {{Failing(F::CreateFolderCall, Typed, 5), Stopped("Cannot create directory")}, Installs}},
      {"240 bytes",
       {{[](Bench &b) { b.Text = "C:\\" + std::string(237, 'a'); },
         Stopped("Cannot create directory\r\nPath length exceeds 256")},
        {[](Bench &b) { b.Text = Typed; }, Installed}}},
      {"no archive",
       {{Failing(F::CreateForWritingCall, temp, 112), Stopped("No space on disk")}, Installs}},
      {"disk full",
       {{Failing(F::WriteCall, temp, 112), Stopped("Disk full\r\nCorrect and retry")}, Installs}},
      {"nothing expanded",
       {{Failing(F::ExpandCall, temp, 5), Stopped("Error in installation")}, Installs}},
      {"read-only file",
       {{Failing(F::CreateForWritingCall, Typed + "\\KWB.hlp", 5), Stopped("Error creating file")},
        Installs}},
  };
  for (const auto &scenario : scenarios) {
    SCOPED_TRACE(scenario.Name);
    Bench bench;
    for (const Press &press : scenario.Presses) {
      press.first(bench);
      const std::string before = bench.State();
      bench.Calls = bench.Files.Calls = {};
      RunInstallation(bench, bench.Platform);
      EXPECT_EQ(bench.Calls, press.second);
      EXPECT_TRUE(press.second.size() > 1 || bench.Files.Calls.empty()) << "no run, no file";
      EXPECT_EQ(bench.State(), press.second.size() > 3 ? Success + "|" + Typed + "|done" : before)
          << "installed and no longer busy, or as the user left it";
      MemoryFileSystem::Entry *main = bench.Files.Find(Typed + "\\KWB.exe");
      EXPECT_TRUE(press.second.size() <= 3 || (main && main->Bytes == TestProduct().Edition42[0]))
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
    for (int i = 0; i < c.Levels; ++i)
      end = Shell.find('\\', end + 1);
    // The values go into the last level present, where they must not be found.
    for (const char *name : {"Desktop", "Programs"})
      keys.SetRawValue(Shell.substr(0, end), name, 1, c.Value);
    ShellFolders folders = LookUpShellFolders(keys, keys.LocalMachine());
    EXPECT_EQ(std::string(folders.Desktop) + "|" + folders.Programs.GetString(),
              c.Want + "|" + c.Want)
        << c.Levels << " levels, values of " << c.Value.size() << " bytes";
    EXPECT_EQ(keys.OpenHandleCount(), 0u) << c.Levels;
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
