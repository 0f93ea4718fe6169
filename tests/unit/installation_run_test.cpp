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
const std::string Archive = Folder + "\\kwb.tmp", SystemLibrary = "C:\\WINDOWS\\SYSTEM\\ijl15.dll";
const std::string Temporary = Folder + "\\kwb.new", SystemTemporary = "C:\\WINDOWS\\SYSTEM\\kwb.new";
const char Damaged[] = "The setup program is damaged\r\nObtain a new copy and try again";
const char DiskFull[] = "Disk full\r\nCorrect and retry", Failed[] = "Error in installation";
const char Creating[] = "Error creating file";
const FileTime ProductTime = UtcFileTime({2005, 1, 10, 8, 0, 0});
const FileTime LibraryTime = UtcFileTime({2000, 9, 15, 15, 51, 56});

struct Bench : MemoryMachine {
  Bench() : MemoryMachine(DoubleByte) {
    AddFolder(Folder);
    AddFolder("C:\\WINDOWS\\SYSTEM");
    Resources = PackedPayload();
  }
  bool Extract(int edition) {
    return ExtractPayload({*this, *this, *this, *this, *this, *this, DoubleByte, *this}, Folder.c_str(), edition);
  }
  std::string Path(int file, const std::string &library) const {
    return file == LibraryFileIndex ? library : Folder + "\\" + PayloadFileNames[file];
  }
};

// Each file is written whole under a temporary name, stamped and then put in its place,
// before the next; the archive and the temporary files go on every way out.
TEST(Extraction, InstallsWhatItCanAndShowsOneMessageForWhatStopsIt) {
  const std::string first = Packed(Editions[0][0]) + Packed(Editions[0][2]);
  const std::string besideProduct = Folder + "\\ijl15.dll", archive = "create " + Archive;
  const std::string temp = "write " + Temporary, lib = SystemLibrary;
  // Message: "" when the extraction succeeds. Installed: files of the installation order in
  // place, the rest as they were. Library: where the library is installed. Unused: a file
  // the run made stays, as its removal failed. Unstamped: a file whose times stay the platform's.
  struct Row { const char *Name; std::function<void(Bench &)> Setup; const char *Message; int Installed;
               std::string Library = SystemLibrary; bool Unused = false; int Edition = 0, Unstamped = -1; } rows[] = {
      {"edition 4.2", nullptr, "", 5, lib, false, 1},
      {"times cannot be read", [](Bench &b) { b.Fail("read-times " + Temporary, 1, 1); }, "", 5, lib, false, 0, 0},
      {"times cannot be set", [](Bench &b) { b.Fail("set-times " + Temporary, 2, 1); }, "", 5, lib, false, 0, 2},
      {"left by an earlier run", [](Bench &b) { b.Entries[Temporary], b.Entries[SystemTemporary], b.Entries[Archive]; }, "", 5},
      // The library goes to the system folder, else the Windows folder, else beside the
      // product. A drive root keeps its backslash in the platform's answer, and a folder
      // may end in a double-byte character whose trail byte is 0x5C.
      {"no system folder", [](Bench &b) { b.System = "X"; }, "", 5, "C:\\WINDOWS\\ijl15.dll"},
      {"no folder of the system", [](Bench &b) { b.System = "", b.Windows = "D"; }, "", 5, besideProduct},
      {"system folder a drive root", [](Bench &b) { b.System = "C:\\"; }, "", 5, "C:\\ijl15.dll"},
      {"double-byte system folder", [](Bench &b) { b.AddFolder(b.System = "C:\\\x83\x5C"); }, "", 5, "C:\\\x83\x5C\\ijl15.dll"},
      // A system library as new as ours, to the second, stays, and ours goes beside the
      // product; one that cannot be checked counts as older.
      {"library as old", [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime; }, "", 5, besideProduct},
      {"library newer within the second",
       [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime + FileTimeTicksPerSecond * 3 / 2; },
       "", 5, besideProduct},
      {"library a tick older", [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime - 1; }, "", 5},
      {"library unreadable", [](Bench &b) { b.Fail("open " + SystemLibrary, 1, 5); }, "", 5},
      {"library times unreadable", [](Bench &b) { b.Fail("read-times " + SystemLibrary, 1, 1); }, "", 5},
      {"library unreadable and locked",
       [](Bench &b) { b.Fail("open " + SystemLibrary, 1, 5), b.Fail("replace " + SystemLibrary, 1, 5); }, Creating, 1},
      // The list ends at a zero length; a record running past the resource's end is damage.
      {"edition ends after two records", [&](Bench &b) { b.Resources[130] = first + End; }, "", 3},
      {"edition ends at once", [](Bench &b) { b.Resources[130] = End; }, "", 0},
      {"library resource ends at once", [](Bench &b) { b.Resources[129] = End; }, "", 1},
      {"record cut short", [&](Bench &b) { b.Resources[130] = first.substr(0, first.size() - 1); }, Failed, 2},
      {"length cut short", [&](Bench &b) { b.Resources[130] = first + End.substr(1); }, Failed, 3},
      {"no end mark", [&](Bench &b) { b.Resources[130] = first; }, Failed, 3},
      {"length past the end", [&](Bench &b) { b.Resources[130] = "\xF0\xFF\xFF\xFF" + first; }, Failed, 0},
      {"empty library resource", [](Bench &b) { b.Resources[129] = ""; }, Failed, 1},
      {"no resource 129", [](Bench &b) { b.Resources.erase(129); }, Failed, 0},
      {"no memory", [](Bench &b) { b.OutOfMemory = true; }, Failed, 0},
      // The archive cannot be created: the message names the cause.
      {"archive: disk full", [=](Bench &b) { b.Fail(archive, 1, 112); }, "No space on disk", 0},
      {"archive: bad path", [=](Bench &b) { b.Fail(archive, 3, 161); }, "Invalid Path", 2},
      {"archive: handle disk full", [=](Bench &b) { b.Fail(archive, 1, 39); }, "File Error", 0},
      // A write of the archive fails: it is removed, even if that fails too.
      {"archive signature: disk full", [](Bench &b) { b.Fail("write " + Archive, 5, 112); }, DiskFull, 2},
      {"archive data: handle disk full", [](Bench &b) { b.Fail("write " + Archive, 6, 39, 9); }, DiskFull, 2},
      {"archive data: short write", [](Bench &b) { b.Fail("write " + Archive, 6, 0, 100); }, DiskFull, 2},
      {"archive data: other error", [](Bench &b) { b.Fail("write " + Archive, 2, 5); }, Failed, 0},
      {"archive: delete fails",
       [](Bench &b) { b.Fail("write " + Archive, 2, 112), b.Fail("delete " + Archive, 2, 5); }, DiskFull, 0, lib, true},
      {"nothing expanded", [](Bench &b) { b.Fail("expand " + Archive, 3, 0); }, Failed, 2},
      {"record of an empty file", [](Bench &b) { b.Resources[130] = Packed("") + End; }, Failed, 0},
      // Each step of a replacement fails in turn: the old file stays as it was.
      {"old file in use",
       [](Bench &b) { b.Entries[Folder + "\\KWB.hlp"].Bytes = "old", b.Fail("replace " + Folder + "\\KWB.hlp", 1, 32); },
       Creating, 2},
      {"temporary file cannot be made",
       [](Bench &b) { b.Entries[Folder + "\\KWB.cnt"].Bytes = "old", b.Fail("create " + Temporary, 3, 5); }, Creating, 3},
      {"temporary file: disk full", [=](Bench &b) { b.Entries[Folder + "\\KWB.cnt"].Bytes = "old", b.Fail(temp, 3, 112, 400); }, DiskFull, 3},
      {"temporary file: short write", [=](Bench &b) { b.Fail(temp, 3, 0, 400); }, DiskFull, 3},
      {"temporary file: other error", [=](Bench &b) { b.Fail(temp, 3, 5, 10); }, Failed, 3},
      {"temporary file: delete fails", [=](Bench &b) { b.Fail(temp, 3, 5), b.Fail("delete " + Temporary, 4, 5); },
       Failed, 3, lib, true},
      // What the expansion gives must be what was packed, in length and bytes. (132: the
      // library's count and sums at 0, then 130's count at 16, its sums from 20.)
      {"expanded bytes differ", [](Bench &b) { b.Resources[132][36] ^= 1; }, Damaged, 2},
      {"expanded length differs", [](Bench &b) { b.Resources[132][12] ^= 1; }, Damaged, 1},
      {"no sums for the record", [](Bench &b) { b.Resources[132].resize(32); }, Damaged, 0},
      {"no sums", [](Bench &b) { b.Resources.erase(132); }, Failed, 0},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.Name);
    Bench bench;
    bench.Entries[SystemLibrary].Times.LastWrite = 0; // an old library, replaced unless a row says otherwise
    if (row.Setup)
      row.Setup(bench);
    const std::map<std::string, MemoryMachine::Entry> before = bench.Entries;
    EXPECT_EQ(bench.Extract(row.Edition), !*row.Message);
    EXPECT_EQ(bench.Messages, *row.Message ? std::vector<std::string>{row.Message} : std::vector<std::string>{});
    for (int i = 0; i < PayloadFileCount; ++i) {
      const std::string path = bench.Path(i, row.Library);
      // Creation and last write get the fixed time; the last access stays the platform's.
      const FileTime stamp = i == LibraryFileIndex ? LibraryTime : ProductTime;
      if (i < row.Installed) {
        const FileTimes times = bench.Entries[path].Times;
        EXPECT_TRUE(bench.Entries[path].Bytes == Editions[row.Edition][i] &&
                    (i == row.Unstamped ? times.Creation != stamp
                                        : times.Creation == stamp && times.LastWrite == stamp && times.LastAccess > stamp))
            << path;
      } else
        EXPECT_TRUE(before.count(path) ? bench.Entries[path].Bytes == before.at(path).Bytes : !bench.Entries.count(path))
            << path << " was written";
    }
    EXPECT_EQ(bench.Entries[SystemLibrary].Times.LastWrite == before.at(SystemLibrary).Times.LastWrite,
              row.Library != SystemLibrary || row.Installed < 2);
    // Nothing the run made stays, unless its removal failed.
    EXPECT_EQ(bench.Entries.count(Archive) + bench.Entries.count(Temporary) + bench.Entries.count(SystemTemporary),
              size_t(row.Unused));
    EXPECT_TRUE(bench.Blocks == std::vector<uint32_t>{2000000} && bench.BlocksHeld == 0 && bench.Open.empty())
        << "one expansion buffer, given back, and no file left open";
  }
}

// One bit of any record of any resource, a length, a count or the sums resource itself:
// the start-up check finds every one, reading nothing past a resource's end. (The sums of
// the expanded files are checked after each expansion.)
TEST(PayloadSums, TheStartUpCheckFindsEveryDamage) {
  Bench bench;
  EXPECT_TRUE(IsPayloadIntact(bench));
  const std::map<int, std::string> packed = bench.Resources;
  const auto damaged = [&](const std::string &what, std::function<void(std::map<int, std::string> &)> damage) {
    damage(bench.Resources = packed);
    EXPECT_FALSE(IsPayloadIntact(bench)) << what;
  };
  damaged("sums missing", [](auto &r) { r.erase(132); });
  damaged("sums a number short", [](auto &r) { r[132].resize(r[132].size() - 4); });
  damaged("a record too many", [](auto &r) { r[130].insert(r[130].size() - 4, Packed("x")); });
  damaged("a record too few", [](auto &r) { r[131] = Packed(Editions[1][0]) + End; });
  damaged("count one higher", [](auto &r) { ++r[132][16]; });
  damaged("a stored CRC", [](auto &r) { r[132][20] ^= 1; });
  // Each record's length one too long and one too short, and a bit in its data.
  for (int id : {129, 130, 131})
    for (size_t at = 0, offset = 0; offset + 4 < packed.at(id).size(); ++at) {
      const uint32_t length = uint8_t(packed.at(id)[offset]) | uint8_t(packed.at(id)[offset + 1]) << 8;
      for (int change : {1, -1, 0})
        damaged(std::to_string(id) + " record " + std::to_string(at) + " " + std::to_string(change), [=](auto &r) {
          char &byte = r[id][change ? offset : offset + 4 + length / 2];
          byte = change ? char(byte + change) : char(byte ^ 0x10);
        });
      offset += 4 + length;
    }
}

typedef std::vector<std::string> Log;
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
  Log Calls;
  int Checked = 1; std::string Text = Folder + "\\"; // the radio checked, the folder typed
  Bench Machine; // the install folder there already
  NotedKeys Keys;
  PayloadPlatform Payload{Machine, Machine, Machine, Machine, Machine, Machine, DoubleByte, *this};
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
  int32_t CreateShortcut(CString target, CString link, CString description) override {
    Note(std::string(link) + " -> " + target.GetString() + " \"" + description.GetString() + "\"");
    return 0;
  }
};

const std::string Success = "The program has been successfully installed\r\n\r\nA shortcut (named KWB) can be "
                            "found on Windows Desktop and in \"Programs\" of Windows \"Start\".";
// A press that installs, with links in these shell folders ("" for none).
Log Installed(const std::string &desktop = "D:\\Desk", const std::string &programs = "D:\\Menu\\Programs") {
  Log log = {"wait", "show " + Success, "hide 1000", "hide 1", "2 reads Close", "hide 1005", "hide 1006",
             "hide 1001", "hide 1003", "com on"};
  for (const std::string &folder : {desktop, programs})
    if (!folder.empty())
      log.push_back(folder + "\\KWB.lnk -> " + Folder + "\\KWB.exe \"Vistrel\" while E:\\Proposed busy");
  log.insert(log.end(), {"entry KWB.exe while " + Folder + " busy",
                         "entry Vistrel Image Browser while " + Folder + " busy", "com off", "arrow"});
  return log;
}
Log Stopped(const char *message) { return {"wait", std::string("box ") + message, "arrow"}; }
const char FolderTooLong[] = "Cannot create directory\r\nPath length exceeds 256";

// One press: what changes before it and what it must log.
typedef std::pair<std::function<void(Dialog &)>, Log> Press;
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
      {"nothing expanded", {{[](Dialog &b) { b.Machine.Fail("expand " + Archive, 1, 5); }, Stopped(Failed)}, Installs}},
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
      want[lists + "App Paths\\KWB.exe"] = {{"", Folder + "\\KWB.exe" + '\0'}, {"Path", Folder + '\0'}};
    // Quoted, so that the blank in "Program Files" cannot start C:\Program.exe.
    if (present >= 5)
      want[lists + "Uninstall\\Vistrel Image Browser"] = {{"DisplayName", std::string("Vistrel Image Browser") + '\0'},
                                                          {"UninstallString", "\"" + Folder + "\\uninstall.exe\"" + '\0'}};
    WriteAppPathEntry(registry, Folder.c_str());
    WriteUninstallEntry(registry, Folder.c_str());
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
