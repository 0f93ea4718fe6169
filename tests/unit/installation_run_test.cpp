// The installation over the stand-ins: the payload's extraction and its checksums, presses
// of OK, and the folder creation and the registry entries the presses rely on. For the
// presses the bench is the dialog, the shell links and the registry at once, so that one
// log shows the order across them; each link and product key notes the folder the dialog
// holds at that moment.
#include "install/installation_run.h"
#include "install/payload_sums.h"
#include "memory_platform.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const std::string Folder = "C:\\Program Files\\Corvane Software\\Vistrel";
const std::string SystemLibrary = "C:\\WINDOWS\\SYSTEM\\ijl15.dll";
const char Damaged[] = "The setup program is damaged\r\nObtain a new copy and try again";
const char DiskFull[] = "Disk full\r\nCorrect and retry", Failed[] = "Error in installation";
const char Creating[] = "Error creating file";
const FileTime ProductTime = UtcFileTime({2005, 1, 10, 8, 0, 0});
const FileTime LibraryTime = UtcFileTime({2000, 9, 15, 15, 51, 56});

// The temporary names in the order the run tries them: "kwb", five hexadecimal digits of
// the seed stepped on, ".tmp".
std::vector<std::string> TemporaryNames(uint32_t seed, int count) {
  std::vector<std::string> names;
  for (char name[16]; count--;)
    seed = seed * 1664525u + 1013904223u, snprintf(name, sizeof name, "kwb%05X.tmp", seed >> 12), names.push_back(name);
  return names;
}

struct Bench : MemoryMachine {
  Bench() : MemoryMachine(DoubleByte) {
    AddFolder(Folder);
    AddFolder("C:\\WINDOWS\\SYSTEM");
    Resources = PackedPayload();
  }
  InstallOutcome Extract(int edition, uint32_t *bytes) {
    return ExtractPayload({*this, *this, *this, *this, *this, *this, DoubleByte, *this, *this, RemovesItself},
                          Folder.c_str(), edition, bytes);
  }
  std::string Path(int file, const std::string &library) const {
    return file == LibraryFileIndex ? library : Folder + "\\" + PayloadFileNames[file];
  }
  // The temporary names the run tries, in the install folder.
  std::string Temporary(int nth) const { return Folder + "\\" + TemporaryNames(Seed, nth + 1)[nth]; }
};

// Every file is staged whole under a temporary name beside the one it replaces, stamped,
// and only then are all moved into place; what the run made goes on every way out.
TEST(Extraction, StagesEverythingThenMovesAndLeavesTheOldFilesOnAnyFailure) {
  const std::string first = Packed(Editions[0][0]) + Packed(Editions[0][2]);
  const std::string besideProduct = Folder + "\\ijl15.dll", lib = SystemLibrary;
  // The names the run takes in a run without failures: an archive, then a staged file,
  // for each of the five files (the library's staged file in the system folder).
  const std::string archive1 = Folder + "\\" + TemporaryNames(0x12345000, 1)[0];
  const std::string staged3 = Folder + "\\" + TemporaryNames(0x12345000, 6)[5]; // KWB.hlp's
  const std::string staged5 = Folder + "\\" + TemporaryNames(0x12345000, 10)[9]; // uninstall.exe's
  // Message: "" when the extraction succeeds. Moved: files of the installation order in
  // place, the rest as they were. Library: where the library would go ("" when the copy
  // there is kept and none is written). Unstamped: a file whose times stay the platform's.
  struct Row { const char *Name; std::function<void(Bench &)> Setup; const char *Message; int Moved;
               std::string Library = SystemLibrary; InstallOutcome Outcome = InstallFilesFailed; int Edition = 0,
               Unstamped = -1; } rows[] = {
      {"edition 4.2", nullptr, "", 5, lib, InstallCompleted, 1},
      {"NT family: the archive goes by itself", [](Bench &b) { b.RemovesItself = true; }, "", 5, lib, InstallCompleted},
      {"times cannot be read", [](Bench &b) { b.Fail("read-times", 2, 1); }, "", 5, lib, InstallCompleted, 0, 0},
      {"times cannot be set", [](Bench &b) { b.Fail("set-times", 2, 1); }, "", 5, lib, InstallCompleted, 0, 1},
      // Names that exist are skipped and left as they are, folders and files alike.
      {"first names taken", [](Bench &b) { b.Entries[b.Temporary(0)].Bytes = "x", b.AddFolder(b.Temporary(1)); }, "", 5, lib, InstallCompleted},
      {"every name taken", [](Bench &b) { for (int i = 0; i < 16; ++i) b.Entries[b.Temporary(i)]; }, "File Error", 0},
      // The library goes to the system folder, else the Windows folder, else beside the
      // product. A drive root keeps its backslash in the platform's answer, and a folder
      // may end in a double-byte character whose trail byte is 0x5C.
      {"no system folder", [](Bench &b) { b.System = "X"; }, "", 5, "C:\\WINDOWS\\ijl15.dll", InstallCompleted},
      {"no folder of the system", [](Bench &b) { b.System = "", b.Windows = "D"; }, "", 5, besideProduct, InstallCompleted},
      {"system folder a drive root", [](Bench &b) { b.System = "C:\\"; }, "", 5, "C:\\ijl15.dll", InstallCompleted},
      {"double-byte system folder", [](Bench &b) { b.AddFolder(b.System = "C:\\\x83\x5C"); }, "", 5, "C:\\\x83\x5C\\ijl15.dll", InstallCompleted},
      // A system library as new as ours, to the second, stays the one that is used: no
      // copy goes anywhere. One that cannot be checked counts as older.
      {"library as old", [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime; }, "", 5, "", InstallCompleted},
      {"library newer within the second",
       [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime + FileTimeTicksPerSecond * 3 / 2; }, "", 5, "", InstallCompleted},
      {"library a tick older", [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime - 1; }, "", 5, lib, InstallCompleted},
      {"library unreadable", [](Bench &b) { b.Fail("open " + SystemLibrary, 1, 5); }, "", 5, lib, InstallCompleted},
      {"library times unreadable", [](Bench &b) { b.Fail("read-times " + SystemLibrary, 1, 1); }, "", 5, lib, InstallCompleted},
      // A file another program holds open, or a read-only one, stops the run before
      // anything is written.
      {"KWB.exe in use", [](Bench &b) { b.InUse = {Folder + "\\KWB.exe"}; }, "KWB.exe is in use\r\nClose the program that uses it and try again", 0, lib, InstallFileInUse},
      {"library in use", [](Bench &b) { b.InUse = {SystemLibrary}; }, "ijl15.dll is in use\r\nClose the program that uses it and try again", 0, lib, InstallFileInUse},
      {"uninstall.exe in use", [](Bench &b) { b.InUse = {Folder + "\\uninstall.exe"}; }, "uninstall.exe is in use\r\nClose the program that uses it and try again", 0, lib, InstallFileInUse},
      {"kept library in use", [](Bench &b) { b.InUse = {SystemLibrary}, b.Entries[SystemLibrary].Times.LastWrite = LibraryTime; }, "", 5, "", InstallCompleted},
      {"KWB.cnt read-only", [](Bench &b) { b.Fail("probe " + Folder + "\\KWB.cnt", 1, 5); }, Creating, 0},
      {"KWB.hlp missing", [](Bench &b) { b.Entries.erase(Folder + "\\KWB.hlp"); }, "", 5, lib, InstallCompleted},
      // The list ends at a zero length; a record running past the resource's end is damage.
      {"edition ends after two records", [&](Bench &b) { b.Resources[130] = first + End; }, "", 3, lib, InstallCompleted},
      {"edition ends at once", [](Bench &b) { b.Resources[130] = End; }, "", 0, lib, InstallCompleted},
      {"library resource ends at once", [](Bench &b) { b.Resources[129] = End; }, "", 1, lib, InstallCompleted},
      {"record cut short", [&](Bench &b) { b.Resources[130] = first.substr(0, first.size() - 1); }, Failed, 0},
      {"length cut short", [&](Bench &b) { b.Resources[130] = first + End.substr(1); }, Failed, 0},
      {"no end mark", [&](Bench &b) { b.Resources[130] = first; }, Failed, 0},
      {"empty library resource", [](Bench &b) { b.Resources[129] = ""; }, Failed, 0},
      {"no resource 129", [](Bench &b) { b.Resources.erase(129); }, Failed, 0},
      {"no memory", [](Bench &b) { b.OutOfMemory = true; }, Failed, 0},
      // The archive cannot be created or written: the message names the cause.
      {"archive: disk full", [=](Bench &b) { b.Fail("create " + archive1, 1, 112); }, "No space on disk", 0},
      {"archive: bad path", [=](Bench &b) { b.Fail("create", 3, 161); }, "Invalid Path", 0},
      {"archive signature: disk full", [=](Bench &b) { b.Fail("write " + archive1, 1, 112); }, DiskFull, 0},
      {"archive data: short write", [=](Bench &b) { b.Fail("write " + archive1, 2, 0, 100); }, DiskFull, 0},
      {"archive data: other error", [=](Bench &b) { b.Fail("write " + archive1, 2, 5); }, Failed, 0},
      {"nothing expanded", [](Bench &b) { b.Fail("expand", 3, 0); }, Failed, 0},
      {"record of an empty file", [](Bench &b) { b.Resources[130] = Packed("") + End; }, Failed, 0},
      // Staging fails at the last file: nothing has been replaced.
      {"staged file cannot be made", [](Bench &b) { b.Fail("create", 10, 112); }, Creating, 0},
      {"staged file: disk full", [=](Bench &b) { b.Fail("write " + staged5, 1, 112, 400); }, DiskFull, 0},
      {"staged file: short write", [=](Bench &b) { b.Fail("write " + staged5, 1, 0, 400); }, DiskFull, 0},
      {"staged file: other error", [=](Bench &b) { b.Fail("write " + staged3, 1, 5, 10); }, Failed, 0},
      // A move that fails part way leaves the files moved before it.
      {"third move fails", [](Bench &b) { b.Fail("move-over", 3, 5); }, Creating, 2},
      // The 95 family: the old file aside, the new one in, the old one deleted; when the new
      // one cannot go in, the old one comes back.
      {"95 family", [](Bench &b) { b.NoReplace = true; }, "", 5, lib, InstallCompleted},
      {"95 family: old file cannot go aside", [](Bench &b) { b.NoReplace = true, b.Fail("move", 3, 5); }, Creating, 1},
      {"95 family: new file cannot go in", [](Bench &b) { b.NoReplace = true, b.Fail("move", 4, 5); }, Creating, 1},
      // What the expansion gives must be what was packed, in length and bytes. (132: the
      // library's count and sums at 0, then 130's count at 16, its sums from 20.)
      {"expanded bytes differ", [](Bench &b) { b.Resources[132][36] ^= 1; }, Damaged, 0, lib, InstallDamaged},
      {"expanded length differs", [](Bench &b) { b.Resources[132][12] ^= 1; }, Damaged, 0, lib, InstallDamaged},
      {"no sums for the record", [](Bench &b) { b.Resources[132].resize(32); }, Damaged, 0, lib, InstallDamaged},
      {"no sums", [](Bench &b) { b.Resources.erase(132); }, Failed, 0},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.Name);
    Bench bench;
    for (int i = 0; i < PayloadFileCount; ++i) // an earlier installation
      bench.Entries[bench.Path(i, row.Library.empty() ? lib : row.Library)].Bytes = "old";
    bench.Entries[SystemLibrary].Times.LastWrite = 0; // an old library, replaced unless a row says otherwise
    if (row.Setup)
      row.Setup(bench);
    const std::map<std::string, MemoryMachine::Entry> before = bench.Entries;
    uint32_t bytes = 0;
    EXPECT_EQ(bench.Extract(row.Edition, &bytes), row.Outcome);
    EXPECT_EQ(bench.Messages, *row.Message ? std::vector<std::string>{row.Message} : std::vector<std::string>{});
    std::map<std::string, MemoryMachine::Entry> want = before;
    uint32_t size = 0;
    for (int i = 0; i < row.Moved; ++i) {
      size += uint32_t(Editions[row.Edition][i].size());
      if (row.Library.empty() && i == LibraryFileIndex)
        continue;
      const std::string path = bench.Path(i, row.Library);
      // Creation and last write get the fixed time; the last access stays the platform's.
      const FileTime stamp = i == LibraryFileIndex ? LibraryTime : ProductTime;
      const FileTimes times = bench.Entries[path].Times;
      EXPECT_TRUE(i == row.Unstamped ? times.Creation != stamp
                                     : times.Creation == stamp && times.LastWrite == stamp && times.LastAccess > stamp) << path;
      want[path] = bench.Entries[path];
      EXPECT_EQ(want[path].Bytes, Editions[row.Edition][i]) << path;
    }
    // Nothing else changed, and nothing the run made stays.
    for (const auto &[path, entry] : bench.Entries)
      EXPECT_TRUE(want.count(path) && want[path] == entry) << path << " differs";
    EXPECT_EQ(bench.Entries.size(), want.size());
    EXPECT_TRUE(row.Outcome != InstallCompleted || bytes == size);
    EXPECT_TRUE(bench.Blocks == std::vector<uint32_t>{2000000} && bench.BlocksHeld == 0 && bench.Open.empty())
        << "one expansion buffer, given back, and no file left open";
  }
}

// One bit of any record of any resource, a length, a count or the sums resource itself:
// the start-up check finds every one, reading nothing past a resource's end. (The sums of
// the expanded files are checked after each expansion.) Damage marked "sealed" comes with
// 132's own CRC made again, so that the check behind the CRC meets it alone.
TEST(PayloadSums, TheStartUpCheckFindsEveryDamage) {
  Bench bench;
  EXPECT_TRUE(IsPayloadIntact(bench));
  const std::map<int, std::string> packed = bench.Resources;
  const auto damaged = [&](const std::string &what, std::function<void(std::string &)> damage, int id = 132) {
    damage((bench.Resources = packed)[id]);
    EXPECT_FALSE(IsPayloadIntact(bench)) << what;
  };
  const auto sealed = [](std::function<void(std::string &)> damage) {
    return [=](std::string &sums) {
      damage(sums);
      const uint32_t crc = Crc32(reinterpret_cast<const uint8_t *>(sums.data()), sums.size() - 4);
      sums.replace(sums.size() - 4, 4, {char(crc), char(crc >> 8), char(crc >> 16), char(crc >> 24)});
    };
  };
  bench.Resources.erase(132);
  EXPECT_FALSE(IsPayloadIntact(bench)) << "sums missing";
  damaged("sums a number short", [](auto &r) { r.resize(r.size() - 4); });
  damaged("a byte appended", [](auto &r) { r += '\0'; });
  damaged("a byte before the CRC, sealed", sealed([](auto &r) { r.insert(r.size() - 4, 1, '\0'); }));
  damaged("a record too many", [](auto &r) { r.insert(r.size() - 4, Packed("x")); }, 130);
  damaged("a record too few", [](auto &r) { r = Packed(Editions[1][0]) + End; }, 131);
  for (size_t at : {0, 16, 68}) // the counts of 129, 130 and 131
    damaged("count at " + std::to_string(at) + " one higher, sealed", sealed([=](auto &r) { ++r[at]; }));
  damaged("a stored CRC, sealed", sealed([](auto &r) { r[20] ^= 1; }));
  for (size_t at = 0; at < packed.at(132).size(); ++at)
    damaged("sums byte " + std::to_string(at), [=](auto &r) { r[at] ^= 0x20; });
  // Where the expanded files' sums lie: none past a count, in sums shorter than a count or
  // after the last count raised.
  std::string raised = packed.at(132);
  ++raised[68];
  const struct { int Id, Index; uint32_t Size; int At; const std::string &Sums; } sums[] = {
      {129, 0, 124, 8, packed.at(132)}, {130, 3, 124, 60, raised}, {131, 3, 124, 112, packed.at(132)},
      {129, 1, 124, -1, packed.at(132)}, {131, 4, 124, -1, packed.at(132)}, {131, 4, 124, -1, raised},
      {129, 0, 0, -1, packed.at(132)}, {129, 0, 3, -1, packed.at(132)}};
  for (const auto &row : sums) {
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(row.Sums.data());
    EXPECT_EQ(FindExpandedFileSum({bytes, row.Size}, row.Id, row.Index), row.At < 0 ? nullptr : bytes + row.At)
        << row.Id << " " << row.Index << " in " << row.Size;
  }
  // Each record's length one too long and one too short, and a bit in its data.
  for (int id : {129, 130, 131})
    for (size_t at = 0, offset = 0; offset + 4 < packed.at(id).size(); ++at) {
      const uint32_t length = uint8_t(packed.at(id)[offset]) | uint8_t(packed.at(id)[offset + 1]) << 8;
      for (int change : {1, -1, 0})
        damaged(std::to_string(id) + " record " + std::to_string(at) + " " + std::to_string(change), [=](auto &r) {
          char &byte = r[change ? offset : offset + 4 + length / 2];
          byte = change ? char(byte + change) : char(byte ^ 0x10);
        }, id);
      offset += 4 + length;
    }
}

typedef std::vector<std::string> Steps;
// 260 bytes in 132 characters of code page 932.
const std::string Filling = "D:\\x" + std::string(256, '\x83');
const std::string Shell = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell folders";

struct Dialog : SetupView, ShellLinks, MessageDisplay {
  // The product keys note the folder the dialog holds when they are written.
  struct NotedKeys : MemoryRegistry {
    Dialog *Owner;
    RegistryKey CreateKey(RegistryKey parent, const char *name) override {
      Owner->Note(std::string("entry ") + name);
      return MemoryRegistry::CreateKey(parent, name);
    }
  };
  Dialog() {
    Keys.Owner = this;
    Keys.AddKey(Shell);
    Keys.Keys[Shell] = {{"Desktop", std::string("D:\\Desk\0", 8)}, {"Programs", std::string("D:\\Menu\\Programs\0", 17)}};
    Keys.AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths");
    Keys.AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    InstallFolder = "E:\\Proposed";
  }
  Steps Calls;
  int Checked = 1; std::string Text = Folder + "\\"; // the radio checked, the folder typed
  Bench Machine; // the install folder there already
  NotedKeys Keys;
  PayloadPlatform Payload{Machine, Machine, Machine, Machine, Machine, Machine, DoubleByte, *this, Machine, false};
  InstallPlatform Platform{Payload, Machine, Keys, MemoryRegistry::CurrentUser, *this};

  void Note(const std::string &w) { Calls.push_back(w + " while " + InstallFolder.GetString() + (InstallBusy ? " busy" : "")); }
  std::string State() {
    return std::string(StatusText + "|" + InstallFolder) + (InstallDone ? "|done" : "|") + (InstallBusy ? " busy" : "");
  }
  void Show(const char *text) override { Calls.push_back(std::string("box ") + text); }
  void CloseAsCancel() override { Calls.push_back("end as cancel"); }
  void ReadControls() override { Edition = Checked; }
  void ShowMembers() override { Calls.push_back("show " + std::string(StatusText)); }
  CString FolderText() override { return Text.c_str(); }
  void ShowWaitCursor(bool shown) override { Calls.push_back(shown ? "wait" : "arrow"); }
  void HideControl(int id) override { Calls.push_back("hide " + std::to_string(id)); }
  void SetControlText(int id, const char *text) override { Calls.push_back(std::to_string(id) + " reads " + text); }
  void InitialiseCom() override { Calls.push_back("com on"); }
  void UninitialiseCom() override { Calls.push_back("com off"); }
  int32_t CreateShortcut(const char *target, const char *link, const char *description) override {
    Note(std::string(link) + " -> " + target + " \"" + description + "\"");
    return 0;
  }
};

const std::string Success = "The program has been successfully installed\r\n\r\nA shortcut (named KWB) can be "
                            "found on Windows Desktop and in \"Programs\" of Windows \"Start\".";
// A press that installs, with links in these shell folders ("" for none).
Steps Installed(const std::string &desktop = "D:\\Desk", const std::string &programs = "D:\\Menu\\Programs") {
  Steps log = {"wait", "show " + Success, "2 reads Close", "hide 1000", "hide 1", "hide 1005", "hide 1006",
             "hide 1001", "hide 1003", "com on"};
  for (const std::string &folder : {desktop, programs})
    if (!folder.empty())
      log.push_back(folder + "\\KWB.lnk -> " + Folder + "\\KWB.exe \"Vistrel\" while E:\\Proposed busy");
  log.insert(log.end(), {"entry KWB.exe while " + Folder + " busy",
                         "entry Vistrel Image Browser while " + Folder + " busy", "com off", "arrow"});
  return log;
}
Steps Stopped(const char *message) { return {"wait", std::string("box ") + message, "arrow"}; }
const char FolderTooLong[] = "Cannot create directory\r\nPath length exceeds 256";

// One press: what changes before it and what it must log.
typedef std::pair<std::function<void(Dialog &)>, Steps> Press;
const Press Installs = {[](Dialog &) {}, Installed()};

TEST(InstallationRun, ScenariosOfPressesLeaveTheDialogAsItWasUnlessTheyInstall) {
  const struct { const char *Name; std::vector<Press> Presses; } scenarios[] = {
      {"busy without an edition, busy with one, ready",
       {{[](Dialog &b) { b.InstallBusy = 1, b.Checked = -1; }, {"box Please select the version to install"}},
        {[](Dialog &b) { b.Checked = 1; }, {}}, {[](Dialog &b) { b.InstallBusy = 0; }, Installed()},
        {Installs.first, {"end as cancel"}}}},
      // A shell folder counts when every level is there and its value fits the 260 bytes
      // read, with a NUL or without; only double-byte characters keep such a link short.
      {"desktop folder filling the buffer", {{[](Dialog &b) { b.Keys.Keys[Shell]["Desktop"] = Filling; }, Installed(Filling)}}},
      {"desktop folder a byte too long", {{[](Dialog &b) { b.Keys.Keys[Shell]["Desktop"] = Filling + "x"; }, Installed("")}}},
      {"no shell folders", {{[](Dialog &b) { b.Keys.Keys.erase(Shell); }, Installed("", "")}}},
      {"folder refused",
       {{[](Dialog &b) { b.Machine.Fail("create-folder " + Folder, 1, 5); }, Stopped("Cannot create directory")}, Installs}},
      {"240 bytes", {{[](Dialog &b) { b.Text = "C:\\" + std::string(237, 'a'); }, Stopped(FolderTooLong)},
                     {[](Dialog &b) { b.Text = Folder; }, Installed()}}},
      // One failure of the extraction stands for all: its messages are its own tests' part.
      {"nothing expanded", {{[](Dialog &b) { b.Machine.Fail("expand", 1, 5); }, Stopped(Failed)}, Installs}},
      {"a file in use", {{[](Dialog &b) { b.Machine.InUse = {Folder + "\\KWB.hlp"}; },
                          Stopped("KWB.hlp is in use\r\nClose the program that uses it and try again")},
                         {[](Dialog &b) { b.Machine.InUse = {}; }, Installed()}}},
  };
  for (const auto &scenario : scenarios) {
    SCOPED_TRACE(scenario.Name);
    Dialog bench;
    for (const Press &press : scenario.Presses) {
      press.first(bench);
      const std::string before = bench.State();
      bench.Calls = bench.Machine.Calls = {};
      RunInstallation(bench, bench.Platform);
      EXPECT_EQ(bench.Calls, press.second);
      EXPECT_TRUE(press.second.size() > 1 || bench.Machine.Calls.empty()) << "no run, no file";
      EXPECT_EQ(bench.State(), press.second.size() > 3 ? Success + "|" + Folder + "|done" : before)
          << "installed and no longer busy, or as the user left it";
      EXPECT_TRUE(press.second.size() <= 3 || bench.Machine.Entries[Folder + "\\KWB.exe"].Bytes == Editions[1][0])
          << "the edition chosen, in the folder typed";
    }
  }
}

// A whole run's log, line by line: the folders made, the library's times, each file with
// its size and sum, the links and every registry value, the size in whole kilobytes.
TEST(InstallationRun, LogsEachStepOfAWholeRun) {
  Dialog bench;
  bench.Machine.Entries.erase(Folder);
  bench.Machine.Entries.erase("C:\\Program Files\\Corvane Software");
  bench.Machine.Entries[SystemLibrary].Times.LastWrite = UtcFileTime({1999, 1, 2, 3, 4, 5});
  RunInstallation(bench, bench.Platform);
  const std::string key = "Registry: HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\", exe = Folder + "\\KWB.exe";
  const std::string uninstall = key + "Uninstall\\Vistrel Image Browser, ";
  Steps want = {"Installing edition 4.2 into " + Folder + "; earlier installation: none",
                "Folder created: C:\\Program Files\\Corvane Software", "Folder created: " + Folder,
                "Library " + SystemLibrary + ": last written 1999-01-02 03:04:05, ours 2000-09-15 15:51:56, replaced"};
  for (int i = 0; i < PayloadFileCount; ++i) {
    char line[300];
    snprintf(line, sizeof line, "File %s: %zu bytes, CRC-32 %08X checked", bench.Machine.Path(i, SystemLibrary).c_str(),
             Editions[1][i].size(), Crc32(reinterpret_cast<const uint8_t *>(Editions[1][i].data()), uint32_t(Editions[1][i].size())));
    want.push_back(line);
  }
  want.insert(want.end(), {"Shortcut D:\\Desk\\KWB.lnk", "Shortcut D:\\Menu\\Programs\\KWB.lnk",
                           key + "App Paths\\KWB.exe, (default) = " + exe, key + "App Paths\\KWB.exe, Path = " + Folder,
                           uninstall + "DisplayName = Vistrel Image Browser",
                           uninstall + "UninstallString = \"" + Folder + "\\uninstall.exe\"", uninstall + "DisplayVersion = 4.2",
                           uninstall + "Publisher = Corvane Software", uninstall + "DisplayIcon = " + exe,
                           uninstall + "InstallLocation = " + Folder, uninstall + "InstallDate = 20260304",
                           uninstall + "VersionMajor = 4", uninstall + "VersionMinor = 2",
                           uninstall + "EstimatedSize = 14", // 13,350 bytes
                           uninstall + "NoModify = 1", uninstall + "NoRepair = 1"});
  EXPECT_EQ(bench.Machine.Lines, want);
}

TEST(InstallationRun, LinkFilesAndFolderTextsFollowTheCharacterRules) {
  // 259 characters with the link file name, as many as fit; the double-byte text has 137.
  const std::string a251(251, 'a'), dbcs = "D:\\" + std::string(250, '\x83');
  // Cut: the text without a trailing backslash.
  const struct { std::string Text, LinkFile, Cut; } cases[] = {
      {"", "", ""}, {"D:\\", "D:\\\\KWB.lnk", "D:"}, {"C:\\A\\\\", "C:\\A\\\\\\KWB.lnk", "C:\\A\\"},
      {a251, a251 + "\\KWB.lnk", a251}, {a251 + "a", "", a251 + "a"},
      {dbcs + "\x83\\", dbcs + "\x83\\\\KWB.lnk", dbcs + "\x83\\"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(std::string(ShortcutFile(c.Text.c_str(), DoubleByte)), c.LinkFile) << c.Text;
    EXPECT_EQ(std::string(WithoutTrailingBackslash(c.Text.c_str(), DoubleByte)), c.Cut) << c.Text;
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
      {"missing drive", nullptr, "Q:\\Setup", 3, "Q:\\Setup 3"}, {"trailing backslash", nullptr, "C:\\X\\Y\\", 3, "C:\\X\\Y\\ 3"},
      {"doubled backslash", nullptr, "C:\\X\\\\Y", 3, "C:\\X\\\\Y 3"},
      // Only full paths: a drive root, from a drive's root, or a share's.
      {"relative name", nullptr, "Vistrel", 161, ""}, {"from the current drive's root", nullptr, "\\NoDrive\\X", 161, ""},
      {"relative to a drive's folder", nullptr, "c:X", 161, ""}, {"drive root", nullptr, "C:", 0, "C: 183"},
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
      {"240 bytes", nullptr, long239 + "y", 24, ""}, {"239 bytes and blanks", nullptr, "  " + long239 + "  ", 0, long239 + " 0"},
      {"239 bytes, double-byte", nullptr, long239.substr(0, 237) + Table, 0, long239.substr(0, 237) + Table + " 0"},
      {"240 bytes, double-byte", nullptr, long239.substr(0, 238) + Table, 24, ""},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.Name);
    MemoryMachine machine(DoubleByte);
    machine.AddFolder(deep);
    if (row.Setup)
      row.Setup(machine);
    EXPECT_EQ(CreateFolderPath(machine, machine, DoubleByte, CString(row.Path.c_str())), row.Result);
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
      want[lists + "App Paths\\KWB.exe"] = {{"", Folder + "\\KWB.exe" + '\0'}, {"Path", Folder + '\0'}};
    // Each edition's version, then the other's over it. A number is kept behind "#".
    const auto number = [](uint32_t n) { return "#" + std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)}; };
    for (int edition : {1, 0}) {
      MemoryMachine log(DoubleByte);
      // Quoted, so that the blank in "Program Files" cannot start C:\Program.exe.
      if (present >= 5)
        want[lists + "Uninstall\\Vistrel Image Browser"] = {
            {"DisplayName", std::string("Vistrel Image Browser") + '\0'},
            {"UninstallString", "\"" + Folder + "\\uninstall.exe\"" + '\0'},
            {"DisplayVersion", std::string(edition ? "4.2" : "3.1.1") + '\0'}, {"VersionMajor", number(edition ? 4 : 3)},
            {"VersionMinor", number(edition ? 2 : 1)}, {"Publisher", std::string("Corvane Software") + '\0'},
            {"DisplayIcon", Folder + "\\KWB.exe" + '\0'}, {"InstallLocation", Folder + '\0'},
            {"InstallDate", std::string("2026030") + char('4' + edition) + '\0'}, {"EstimatedSize", number(70000 + edition)},
            {"NoModify", number(1)}, {"NoRepair", number(1)}};
      WriteAppPathEntry(registry, log, Folder.c_str());
      WriteUninstallEntry(registry, log, Folder.c_str(), {edition, 70000u + edition, edition ? "20260305" : "20260304"});
      EXPECT_TRUE(registry.Keys == want && registry.Open.size() == 2) << present << " levels; keys open: " << registry.Open.size();
      EXPECT_EQ(log.Lines.size(), present < 5 ? 2u : present == 5 ? 14u : 13u) << "a line for each value or entry not written";
    }
  }
  // The reader: the path ends at its first NUL, or where it fills the buffer of 261 bytes.
  const std::pair<std::string, std::string> reads[] = {
      {"", ""}, {longest + "q", longest + "q"}, {longest + "q" + '\0', ""}, {longest + '\0', longest},
      {std::string("D:\\A\0junk", 9), "D:\\A"}};
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
