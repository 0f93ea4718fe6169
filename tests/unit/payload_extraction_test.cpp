// The payload extraction over the in-memory machine.
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
  TestCodePage Code;
  Bench() : MemoryMachine(Code) {
    AddFolder(Folder);
    AddFolder("C:\\WINDOWS\\SYSTEM");
    Resources = PackedPayload();
  }
  bool Extract(int edition) {
    return ExtractPayload({*this, *this, *this, *this, *this, *this, Code, *this}, Folder.c_str(), edition);
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
      {"files left by an earlier run", [](Bench &b) { b.Entries[Temporary], b.Entries[SystemTemporary], b.Entries[Archive]; }, "", 5},
      // The library goes to the system folder, else the Windows folder, else beside the
      // product. A drive root keeps its backslash in the platform's answer, and a folder
      // may end in a double-byte character whose trail byte is 0x5C.
      {"no system folder", [](Bench &b) { b.System = "X"; }, "", 5, "C:\\WINDOWS\\ijl15.dll"},
      {"no folder of the system", [](Bench &b) { b.System = "", b.Windows = "D"; }, "", 5, besideProduct},
      {"system folder a drive root", [](Bench &b) { b.System = "C:\\"; }, "", 5, "C:\\ijl15.dll"},
      {"double-byte system folder", [](Bench &b) { b.Code.DoubleByte = true, b.AddFolder(b.System = "C:\\\x83\x5C"); },
       "", 5, "C:\\\x83\x5C\\ijl15.dll"},
      // A system library as new as ours, to the second, stays, and ours goes beside the
      // product; one that cannot be checked counts as older.
      {"library as old", [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime; }, "", 5, besideProduct},
      {"library newer within the second",
       [](Bench &b) { b.Entries[SystemLibrary].Times.LastWrite = LibraryTime + FileTimeTicksPerSecond * 3 / 2; }, "", 5, besideProduct},
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
       [](Bench &b) { b.Entries[Folder + "\\KWB.hlp"].Bytes = "old", b.Fail("replace " + Folder + "\\KWB.hlp", 1, 32); }, Creating, 2},
      {"temporary file cannot be made",
       [](Bench &b) { b.Entries[Folder + "\\KWB.cnt"].Bytes = "old", b.Fail("create " + Temporary, 3, 5); }, Creating, 3},
      {"temporary file: disk full", [=](Bench &b) { b.Entries[Folder + "\\KWB.cnt"].Bytes = "old", b.Fail(temp, 3, 112, 400); }, DiskFull, 3},
      {"temporary file: short write", [=](Bench &b) { b.Fail(temp, 3, 0, 400); }, DiskFull, 3},
      {"temporary file: other error", [=](Bench &b) { b.Fail(temp, 3, 5, 10); }, Failed, 3},
      {"temporary file: delete fails", [=](Bench &b) { b.Fail(temp, 3, 5), b.Fail("delete " + Temporary, 4, 5); }, Failed, 3, lib, true},
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
    EXPECT_EQ(bench.Blocks, std::vector<uint32_t>{2000000});
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
    EXPECT_EQ(bench.BlocksHeld, 0) << "the expansion buffer was not given back";
    EXPECT_TRUE(bench.Open.empty()) << "a file was left open";
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

} // namespace
