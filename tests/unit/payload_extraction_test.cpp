// The payload extraction over the in-memory machine.
#include "memory_platform.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const std::string Folder = "C:\\Program Files\\Corvane Software\\Vistrel";
const std::string Archive = Folder + "\\kwb.tmp", SystemLibrary = "C:\\WINDOWS\\SYSTEM\\ijl15.dll";
const char DiskFull[] = "Disk full\r\nCorrect and retry", Failed[] = "Error in installation";
const FileTime ProductTime = UtcFileTime({2005, 1, 10, 8, 0, 0});
const FileTime LibraryTime = UtcFileTime({2000, 9, 15, 15, 51, 56});

struct Bench : MemoryMachine {
  TestCodePage Code;
  std::string Into = Folder;
  Bench() : MemoryMachine(Code) {
    AddFolder(Folder);
    AddFolder("C:\\WINDOWS\\SYSTEM");
    Resources = {{129, Packed(Editions[0][1]) + End}, {130, Resource(0)}, {131, Resource(1)}};
  }
  bool Extract(int edition) {
    return ExtractPayload({*this, *this, *this, *this, *this, *this, Code, *this}, Into.c_str(), edition);
  }
  std::string Path(int file, const std::string &library) const {
    return file == LibraryFileIndex ? library : Into + "\\" + PayloadFileNames[file];
  }
};

TEST(Extraction, WritesExpandsInstallsAndStampsEachFileBeforeTheNextAndRemovesTheArchive) {
  Bench bench;
  ASSERT_TRUE(bench.Extract(0));
  std::vector<std::string> expected = {"open " + SystemLibrary + " -> 2"};
  for (int i = 0; i < PayloadFileCount; ++i) {
    const std::string path = bench.Path(i, SystemLibrary), &bytes = Editions[0][i];
    const std::string size = std::to_string(bytes.size());
    expected.insert(expected.end(),
                    {"create " + Archive + " -> 0", "write " + Archive + " 4 -> 0",
                     "write " + Archive + " " + std::to_string(Packed(bytes).size() - 4) + " -> 0",
                     "close " + Archive, "expand " + Archive + " -> " + size, "create " + path + " -> 0",
                     "write " + path + " " + size + " -> 0", "read-times " + path + " -> 0",
                     "close " + path, "set-times " + path + " -> 0"});
    // Creation and last write get the fixed time; the last access stays the platform's.
    const FileTimes times = bench.Entries[path].Times;
    const FileTime stamp = i == LibraryFileIndex ? LibraryTime : ProductTime;
    EXPECT_TRUE(times.Creation == stamp && times.LastWrite == stamp && times.LastAccess > stamp) << path;
  }
  expected.push_back("delete " + Archive + " -> 0");
  EXPECT_EQ(bench.Calls, expected);
  EXPECT_EQ(bench.Blocks, std::vector<uint32_t>{2000000});
}

TEST(Extraction, InstallsWhatItCanAndShowsOneMessageForWhatStopsIt) {
  const std::string first = Packed(Editions[0][0]) + Packed(Editions[0][2]);
  const std::string besideProduct = Folder + "\\ijl15.dll", archive = "create " + Archive;
  const std::string cnt = "write " + Folder + "\\KWB.cnt", lib = SystemLibrary;
  struct Row {
    const char *Name;
    std::function<void(Bench &)> Setup;
    const char *Message; // "" when the extraction succeeds
    int Installed;       // files of the installation order in place, the rest as they were
    bool ArchiveStays = false;
    int Partial = -1; // the bytes of the next file that were written, when it was
    std::string Library = SystemLibrary;
    int Edition = 0;
  } rows[] = {
      {"edition 4.2", nullptr, "", 5, false, -1, lib, 1},
      {"edition 2 is 3.1.1", nullptr, "", 5, false, -1, lib, 2},
      {"times cannot be read", [](Bench &b) { b.Fail("read-times " + Folder + "\\KWB.exe", 1, 1); }, "", 5},
      {"times cannot be set", [](Bench &b) { b.Fail("set-times " + Folder + "\\KWB.hlp", 1, 1); }, "", 5},
      {"long install folder", [](Bench &b) { b.AddFolder(b.Into = "C:\\" + std::string(236, 'v')); }, "", 5},
      // The library goes to the system folder, else the Windows folder, else beside the
      // product. A drive root keeps its backslash in the platform's answer, and a folder
      // may end in a double-byte character whose trail byte is 0x5C.
      {"no system folder", [](Bench &b) { b.System = "X"; }, "", 5, false, -1, "C:\\WINDOWS\\ijl15.dll"},
      {"no folder of the system", [](Bench &b) { b.System = "", b.Windows = "D"; }, "", 5, false, -1,
       besideProduct},
      {"system folder a drive root", [](Bench &b) { b.System = "C:\\"; }, "", 5, false, -1, "C:\\ijl15.dll"},
      {"double-byte system folder", [](Bench &b) { b.Code.DoubleByte = true, b.AddFolder(b.System = "C:\\\x83\x5C"); },
       "", 5, false, -1, "C:\\\x83\x5C\\ijl15.dll"},
      // A system library as new as ours, to the second, stays, and ours goes beside the
      // product; one that cannot be checked counts as older.
      {"library as old", [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime; }, "", 5, false,
       -1, besideProduct},
      {"library newer within the second",
       [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime + FileTimeTicksPerSecond * 3 / 2; },
       "", 5, false, -1, besideProduct},
      {"library a tick older", [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime - 1; }, "", 5},
      {"library unreadable", [](Bench &b) { b.Fail("open " + SystemLibrary, 1, 5); }, "", 5},
      {"library times unreadable", [](Bench &b) { b.Fail("read-times " + SystemLibrary, 1, 1); }, "", 5},
      {"library unreadable and locked",
       [](Bench &b) { b.Fail("open " + SystemLibrary, 1, 5), b.Fail("create " + SystemLibrary, 1, 5); },
       "Error creating file", 1, true},
      // The list ends at a zero length; a record running past the resource's end is damage.
      {"edition ends after two records", [&](Bench &b) { b.Resources[130] = first + End; }, "", 3},
      {"edition ends at once", [](Bench &b) { b.Resources[130] = End; }, "", 0},
      {"library resource ends at once", [](Bench &b) { b.Resources[129] = End; }, "", 1},
      {"record cut short", [&](Bench &b) { b.Resources[130] = first.substr(0, first.size() - 1); }, Failed, 2, true},
      {"length cut short", [&](Bench &b) { b.Resources[130] = first + End.substr(1); }, Failed, 3, true},
      {"no end mark", [&](Bench &b) { b.Resources[130] = first; }, Failed, 3, true},
      {"length past the end", [&](Bench &b) { b.Resources[130] = "\xF0\xFF\xFF\xFF" + first; }, Failed, 0},
      {"empty library resource", [](Bench &b) { b.Resources[129] = ""; }, Failed, 1, true},
      {"no resource 129", [](Bench &b) { b.Resources.erase(129); }, Failed, 0},
      {"no memory", [](Bench &b) { b.OutOfMemory = true; }, Failed, 0},
      // The archive cannot be created: the message names the cause.
      {"archive: disk full", [=](Bench &b) { b.Fail(archive, 1, 112); }, "No space on disk", 0},
      {"archive: bad path", [=](Bench &b) { b.Fail(archive, 3, 161); }, "Invalid Path", 2, true},
      {"archive: handle disk full", [=](Bench &b) { b.Fail(archive, 1, 39); }, "File Error", 0},
      // A write of the archive fails: it is removed, even if that fails too.
      {"archive signature: disk full", [](Bench &b) { b.Fail("write " + Archive, 5, 112); }, DiskFull, 2},
      {"archive data: handle disk full", [](Bench &b) { b.Fail("write " + Archive, 6, 39, 9); }, DiskFull, 2},
      {"archive data: short write", [](Bench &b) { b.Fail("write " + Archive, 6, 0, 100); }, DiskFull, 2},
      {"archive data: other error", [](Bench &b) { b.Fail("write " + Archive, 2, 5); }, Failed, 0},
      {"archive: delete fails",
       [](Bench &b) { b.Fail("write " + Archive, 2, 112), b.Fail("delete " + Archive, 1, 5); }, DiskFull, 0, true},
      // Nothing is expanded: the archive stays.
      {"nothing expanded", [](Bench &b) { b.Fail("expand " + Archive, 3, 0); }, Failed, 2, true},
      {"record of an empty file", [](Bench &b) { b.Resources[130] = Packed("") + End; }, Failed, 0, true},
      // The installed file cannot be created (the archive stays) or written (it goes).
      {"destination locked",
       [](Bench &b) { b.Entries[Folder + "\\KWB.hlp"].Bytes = "old", b.Fail("create " + Folder + "\\KWB.hlp", 1, 5); },
       "Error creating file", 2, true},
      {"destination: disk full", [=](Bench &b) { b.Fail(cnt, 1, 112, 400); }, DiskFull, 3, false, 400},
      {"destination: short write", [=](Bench &b) { b.Fail(cnt, 1, 0, 400); }, DiskFull, 3, false, 400},
      {"destination: other error", [=](Bench &b) { b.Fail(cnt, 1, 5, 10); }, Failed, 3, false, 10},
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
      const std::string &bytes = Editions[row.Edition == 1][i];
      if (i < row.Installed || (i == row.Installed && row.Partial >= 0))
        EXPECT_TRUE(bench.Entries[path].Bytes == bytes.substr(0, i < row.Installed ? bytes.size() : row.Partial))
            << path;
      else
        EXPECT_TRUE(before.count(path) ? bench.Entries[path].Bytes == before.at(path).Bytes : !bench.Entries.count(path))
            << path << " was written";
    }
    EXPECT_EQ(bench.Entries[SystemLibrary].Times.LastWrite == before.at(SystemLibrary).Times.LastWrite,
              row.Library != SystemLibrary || row.Installed < 2);
    EXPECT_EQ(bench.Entries.count(Archive), size_t(row.ArchiveStays));
    EXPECT_EQ(bench.BlocksHeld, 0) << "the expansion buffer was not given back";
    EXPECT_TRUE(bench.Open.empty()) << "a file was left open";
  }
}

} // namespace
