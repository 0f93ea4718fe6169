// The payload extraction over the in-memory file system, libmspack's expansion and the
// C library's time zone set to Central European rules.
#include "host_time_zone.h"
#include "install/payload_extraction.h"
#include "memory_file_system.h"
#include "memory_payload_sources.h"
#include "mspack_expansion.h"
#include "payload_test_data.h"
#include "platform/platform_errors.h"
#include "test_code_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string InstallFolder = "C:\\Program Files\\Corvane Software\\Vistrel";
const std::string Archive = InstallFolder + "\\kwb.tmp";
const std::string SystemFolder = "C:\\WINDOWS\\SYSTEM";
const std::string SystemLibrary = SystemFolder + "\\ijl15.dll";
const std::string LocalLibrary = InstallFolder + "\\ijl15.dll";

const char DiskFull[] = "Disk full\r\nCorrect and retry";
const char ErrorInInstallation[] = "Error in installation";

// Under Central European rules: 2005-01-10 08:00 is winter time, one hour ahead of UTC;
// 2000-09-15 15:51:56 is summer time, two hours ahead.
const FileTime ProductTimeUtc = UtcFileTime(2005, 1, 10, 7, 0, 0);
const FileTime LibraryTimeUtc = UtcFileTime(2000, 9, 15, 13, 51, 56);

std::string InInstallFolder(const std::string &name) { return InstallFolder + "\\" + name; }

// One installer and one machine: the payload resources, the file system with the
// install folder made, and everything the extraction reports to.
SingleByteCodePage SingleByte;

class Bench {
public:
  explicit Bench(const CodePage &codePage = SingleByte) : Files(codePage), Characters(codePage) {
    Files.AddFolder(InstallFolder);
    Files.AddFolder(SystemFolder);
    const ProductFiles &product = TestProduct();
    Resources.Resources[129] = PackedResource({product.Library});
    Resources.Resources[130] = PackedResource(product.Edition311);
    Resources.Resources[131] = PackedResource(product.Edition42);
  }

  // Every ending gives the buffer back and closes every file.
  ~Bench() {
    EXPECT_EQ(Memory.Outstanding, 0) << "the expansion buffer was not released";
    EXPECT_EQ(Files.OpenHandleCount(), 0u) << "a file was left open";
  }

  bool Extract(int edition = 0, const std::string &folder = InstallFolder) {
    return ExtractPayload(Platform, CString(folder.c_str()), edition);
  }

  std::string BytesOf(const std::string &path) {
    MemoryFileSystem::Entry *entry = Files.Find(path);
    return entry ? entry->Bytes : "<missing>";
  }
  FileTime LastWriteOf(const std::string &path) {
    MemoryFileSystem::Entry *entry = Files.Find(path);
    return entry ? entry->Times.LastWrite : 0;
  }
  // The calls of one kind, in order ("create", "delete", ...), without the result.
  std::vector<std::string> CallsOf(const std::string &kind) {
    std::vector<std::string> calls;
    for (const std::string &call : Files.Calls)
      if (call.compare(0, kind.size() + 1, kind + " ") == 0)
        calls.push_back(call.substr(kind.size() + 1, call.find(" -> ") - kind.size() - 1));
    return calls;
  }

  MemoryFileSystem Files;
  MspackExpansion Expansion{Files};
  MemoryResources Resources;
  CountedMemoryBlocks Memory;
  HostTimeZone Clock;
  RecordedMessages Messages;
  const CodePage &Characters;
  PayloadPlatform Platform{Resources, Memory, Files, Expansion, Files, Clock, Characters, Messages};
};

class Extraction : public ::testing::Test {
protected:
  ScopedTimeZone Zone{CentralEuropeanRule};
};

// Checks that the files before `count` of the installation order are installed with the
// given edition's bytes, and that the rest are not there (except the one at `partial`,
// which the caller checks).
void ExpectInstalledUpTo(Bench &bench, int count, int edition = 0,
                         const std::string &libraryPath = SystemLibrary, int partial = -1) {
  const ProductFiles &product = TestProduct();
  const std::vector<std::string> &files = edition == 1 ? product.Edition42 : product.Edition311;
  const std::string expected[PayloadFileCount] = {files[0], product.Library, files[1], files[2],
                                                  files[3]};
  for (int i = 0; i < PayloadFileCount; ++i) {
    std::string path = i == LibraryFileIndex ? libraryPath : InInstallFolder(PayloadFileNames[i]);
    if (i == partial)
      continue;
    if (i < count)
      EXPECT_TRUE(bench.BytesOf(path) == expected[i]) << path << " holds other bytes";
    else
      EXPECT_FALSE(bench.Files.Exists(path)) << path << " should not be written";
  }
}

TEST_F(Extraction, TakesTheEditionFilesFromTheEditionResourceAndTheLibraryAlwaysFrom129) {
  struct Case {
    int Edition;
    int InstalledEdition;
  } cases[] = {{0, 0}, {1, 1}, {-1, 0}, {2, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE("edition " + std::to_string(c.Edition));
    Bench bench;
    EXPECT_TRUE(bench.Extract(c.Edition));
    EXPECT_TRUE(bench.Messages.Shown.empty());
    ExpectInstalledUpTo(bench, PayloadFileCount, c.InstalledEdition);
  }
  EXPECT_EQ(EditionResourceId(0), 130);
  EXPECT_EQ(EditionResourceId(1), 131);
}

TEST_F(Extraction, WritesExpandsInstallsAndStampsEachFileBeforeTheNextAndRemovesTheArchive) {
  Bench bench;
  ASSERT_TRUE(bench.Extract());
  std::vector<std::string> expected = {"system-folder -> \"" + SystemFolder + "\"",
                                       "open " + SystemLibrary + " -> 2"};
  for (int i = 0; i < PayloadFileCount; ++i) {
    std::string path = i == LibraryFileIndex ? SystemLibrary : InInstallFolder(PayloadFileNames[i]);
    MemoryFileSystem::Entry *file = bench.Files.Find(path);
    ASSERT_TRUE(file);
    uint32_t compressedSize = static_cast<uint32_t>(
        Compressed(file->Bytes).size() - 4);
    expected.insert(expected.end(),
                    {"create " + Archive + " -> 0", "write " + Archive + " 4 -> 0",
                     "write " + Archive + " " + std::to_string(compressedSize) + " -> 0",
                     "close " + Archive,
                     "expand " + Archive + " -> " + std::to_string(file->Bytes.size()),
                     "create " + path + " -> 0",
                     "write " + path + " " + std::to_string(file->Bytes.size()) + " -> 0",
                     "read-times " + path + " -> ok", "close " + path,
                     "set-times " + path + " -> ok"});
  }
  expected.push_back("delete " + Archive + " -> 0");
  EXPECT_EQ(bench.Files.Calls, expected);
  EXPECT_EQ(bench.Memory.Sizes, std::vector<uint32_t>{2000000});
  // Every file gets its fixed creation and last-write time.
  for (int i = 0; i < PayloadFileCount; ++i) {
    std::string path = i == LibraryFileIndex ? SystemLibrary : InInstallFolder(PayloadFileNames[i]);
    SCOPED_TRACE(path);
    FileTimes times = bench.Files.Find(path)->Times;
    FileTime expected = i == LibraryFileIndex ? LibraryTimeUtc : ProductTimeUtc;
    EXPECT_EQ(times.Creation, expected);
    EXPECT_EQ(times.LastWrite, expected);
    // The last-access time is the one the platform gave the file while it was written.
    EXPECT_NE(times.LastAccess, expected);
    EXPECT_GT(times.LastAccess, UtcFileTime(2020, 1, 1, 0, 0, 0));
  }
  EXPECT_FALSE(bench.Files.Exists(Archive)) << "kwb.tmp stayed after a successful extraction";
}

TEST_F(Extraction, ReplacesEveryFileOnASecondRun) {
  Bench bench;
  ASSERT_TRUE(bench.Extract(1));
  bench.Files.Find(InInstallFolder("KWB.hlp"))->Bytes = "changed";
  ASSERT_TRUE(bench.Extract(0));
  ExpectInstalledUpTo(bench, PayloadFileCount, 0);
  EXPECT_FALSE(bench.Files.Exists(Archive));
}

TEST_F(Extraction, GoesOnWhenTimesCannotBeReadOrApplied) {
  Bench bench;
  bench.Files.Fail(MemoryFileSystem::ReadTimesCall, InInstallFolder("KWB.exe"), 1);
  bench.Files.Fail(MemoryFileSystem::SetTimesCall, InInstallFolder("KWB.hlp"), 1);
  EXPECT_TRUE(bench.Extract());
  EXPECT_TRUE(bench.Messages.Shown.empty());
  ExpectInstalledUpTo(bench, PayloadFileCount);
  EXPECT_EQ(bench.CallsOf("set-times"),
            (std::vector<std::string>{SystemLibrary, InInstallFolder("KWB.hlp"),
                                      InInstallFolder("KWB.cnt"),
                                      InInstallFolder("uninstall.exe")}));
  EXPECT_NE(bench.LastWriteOf(InInstallFolder("KWB.exe")), ProductTimeUtc);
}

// F1: the temporary archive cannot be created.
TEST_F(Extraction, ReportsAnArchiveThatCannotBeCreatedByItsCause) {
  struct Case {
    uint32_t Error;
    const char *Message;
  } cases[] = {
      {ErrorDiskFull, "No space on disk"},
      {ErrorBadPathname, "Invalid Path"},
      {ErrorAccessDenied, "File Error"},
      {ErrorHandleDiskFull, "File Error"},
      {ErrorPathNotFound, "File Error"},
  };
  for (const Case &c : cases) {
    for (int failingFile : {0, 2}) {
      SCOPED_TRACE("error " + std::to_string(c.Error) + " at file " +
                   std::to_string(failingFile));
      Bench bench;
      bench.Files.Fail(MemoryFileSystem::CreateForWritingCall, Archive, c.Error, 0,
                       failingFile + 1);
      EXPECT_FALSE(bench.Extract());
      EXPECT_EQ(bench.Messages.Shown, std::vector<std::string>{c.Message});
      ExpectInstalledUpTo(bench, failingFile);
      EXPECT_EQ(bench.CallsOf("delete"), std::vector<std::string>{});
    }
  }
}

// F2: a write to the temporary archive fails.
TEST_F(Extraction, RemovesAnArchiveThatCouldNotBeWrittenWhole) {
  struct Case {
    const char *Name;
    int FailingWrite; // 1: the magic, 2: the record's bytes
    uint32_t Error;
    uint32_t Written;
    const char *Message;
  } cases[] = {
      {"full disk on the magic", 1, ErrorDiskFull, 0, DiskFull},
      {"full disk on the data", 2, ErrorDiskFull, 100, DiskFull},
      {"handle disk full", 2, ErrorHandleDiskFull, 0, DiskFull},
      {"short write without an error", 2, 0, 100, DiskFull},
      {"short magic without an error", 1, 0, 3, DiskFull},
      {"other error", 2, ErrorAccessDenied, 0, ErrorInInstallation},
      {"network gone", 1, 64, 0, ErrorInInstallation},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Name);
    Bench bench;
    // The third file's archive: the writes of the first two come before.
    bench.Files.Fail(MemoryFileSystem::WriteCall, Archive, c.Error, c.Written,
                     2 * 2 + c.FailingWrite);
    EXPECT_FALSE(bench.Extract());
    EXPECT_EQ(bench.Messages.Shown, std::vector<std::string>{c.Message});
    EXPECT_FALSE(bench.Files.Exists(Archive));
    ExpectInstalledUpTo(bench, 2);
  }
}

TEST_F(Extraction, IgnoresAFailingDeleteOfTheUnwrittenArchive) {
  Bench bench;
  bench.Files.Fail(MemoryFileSystem::WriteCall, Archive, ErrorDiskFull, 0, 2);
  bench.Files.Fail(MemoryFileSystem::DeleteCall, Archive, ErrorAccessDenied);
  EXPECT_FALSE(bench.Extract());
  EXPECT_EQ(bench.Messages.Shown, std::vector<std::string>{DiskFull});
  EXPECT_EQ(bench.CallsOf("delete"), std::vector<std::string>{Archive});
}

// F3: the expansion yields nothing.
TEST_F(Extraction, StopsWhenTheExpansionYieldsNoBytes) {
  struct Case {
    const char *Name;
    bool EmptyRecord;  // a real record of an empty file
    uint32_t Injected; // otherwise: the expansion's result, negated
  } cases[] = {
      {"nothing expanded", false, 0},
      {"read error", false, 3},
      {"bad handle", false, 1},
      {"record of an empty file", true, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Name);
    Bench bench;
    const ProductFiles &product = TestProduct();
    if (c.EmptyRecord)
      bench.Resources.Resources[130] =
          PackedResource({product.Edition311[0], "", product.Edition311[2]});
    else
      bench.Files.Fail(MemoryFileSystem::ExpandCall, Archive, c.Injected, 0, 3);
    EXPECT_FALSE(bench.Extract());
    EXPECT_EQ(bench.Messages.Shown, std::vector<std::string>{ErrorInInstallation});
    EXPECT_TRUE(bench.Files.Exists(Archive)) << "kwb.tmp stays after a failed expansion";
    ExpectInstalledUpTo(bench, 2);
  }
}

// F4: the destination cannot be created.
TEST_F(Extraction, StopsAtADestinationThatCannotBeCreated) {
  Bench bench;
  MemoryFileSystem::Entry &help =
      bench.Files.AddFile(InInstallFolder("KWB.hlp"), "read-only help", 5);
  help.ReadOnly = true;
  EXPECT_FALSE(bench.Extract());
  EXPECT_EQ(bench.Messages.Shown, std::vector<std::string>{"Error creating file"});
  EXPECT_TRUE(bench.Files.Exists(Archive)) << "kwb.tmp stays when a file cannot be created";
  EXPECT_EQ(bench.BytesOf(InInstallFolder("KWB.hlp")), "read-only help");
  EXPECT_EQ(bench.LastWriteOf(InInstallFolder("KWB.hlp")), 5u);
  ExpectInstalledUpTo(bench, 2, 0, SystemLibrary, 2);
}

// F5: the write to the destination fails.
TEST_F(Extraction, KeepsAPartlyWrittenDestinationAndRemovesTheArchive) {
  struct Case {
    const char *Name;
    uint32_t Error;
    uint32_t Written;
    const char *Message;
  } cases[] = {
      {"full disk", ErrorDiskFull, 400, DiskFull},
      {"handle disk full", ErrorHandleDiskFull, 0, DiskFull},
      {"short write without an error", 0, 400, DiskFull},
      {"other error", ErrorAccessDenied, 10, ErrorInInstallation},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Name);
    Bench bench;
    bench.Files.Fail(MemoryFileSystem::WriteCall, InInstallFolder("KWB.cnt"), c.Error,
                     c.Written);
    EXPECT_FALSE(bench.Extract());
    EXPECT_EQ(bench.Messages.Shown, std::vector<std::string>{c.Message});
    EXPECT_FALSE(bench.Files.Exists(Archive));
    EXPECT_EQ(bench.BytesOf(InInstallFolder("KWB.cnt")),
              TestProduct().Edition311[2].substr(0, c.Written));
    ExpectInstalledUpTo(bench, 3, 0, SystemLibrary, 3);
  }
}

TEST_F(Extraction, ReportsAFullDiskWhereverItFillsUp) {
  // The free space runs out part way through the files: whichever write meets the end
  // of it reports a full disk and nothing goes on after it.
  // The installed files alone take 124,800 bytes.
  for (uint64_t freeBytes : {uint64_t(0), uint64_t(2), uint64_t(30000), uint64_t(61000),
                             uint64_t(100000), uint64_t(124000)}) {
    SCOPED_TRACE("free bytes " + std::to_string(freeBytes));
    Bench bench;
    bench.Files.FreeBytes = freeBytes;
    EXPECT_FALSE(bench.Extract());
    EXPECT_EQ(bench.Messages.Shown, std::vector<std::string>{DiskFull});
    EXPECT_FALSE(bench.Files.Exists(Archive));
  }
}

TEST_F(Extraction, EndsTheListAtAZeroLengthAndRefusesARecordRunningPastTheResourceEnd) {
  const ProductFiles &product = TestProduct();
  const std::string library = PackedResource({product.Library});
  const std::string first = Record(product.Edition311[0]);
  const std::string second = Record(product.Edition311[1]);
  struct Case {
    const char *Name;
    std::string Edition;
    std::string Library;
    int Installed;
    bool Succeeds;
  } cases[] = {
      {"edition resource ends after two records", first + second + LittleEndian32(0), library,
       3, true},
      {"edition resource ends at once", LittleEndian32(0), library, 0, true},
      {"library resource ends at once", PackedResource(product.Edition311), LittleEndian32(0),
       1, true},
      {"second record cut short", first + second.substr(0, second.size() - 1), library, 2,
       false},
      {"second length field cut short", first + second.substr(0, 3), library, 2, false},
      {"no end mark after the second record", first + second, library, 3, false},
      {"length far beyond the end", first + LittleEndian32(0xFFFFFFF0u) + second.substr(4),
       library, 2, false},
      {"empty library resource", PackedResource(product.Edition311), "", 1, false},
      {"empty edition resource", "", library, 0, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Name);
    Bench bench;
    bench.Resources.Resources[130] = c.Edition;
    bench.Resources.Resources[129] = c.Library;
    EXPECT_EQ(bench.Extract(), c.Succeeds);
    EXPECT_EQ(bench.Messages.Shown, c.Succeeds ? std::vector<std::string>{}
                                               : std::vector<std::string>{ErrorInInstallation});
    ExpectInstalledUpTo(bench, c.Installed);
    if (c.Succeeds) {
      // The archive is deleted once, at the end, whether or not it was ever made.
      EXPECT_EQ(bench.CallsOf("delete"), std::vector<std::string>{Archive});
      EXPECT_FALSE(bench.Files.Exists(Archive));
    }
  }
}

TEST_F(Extraction, ReportsAMissingResourceOrBufferBeforeTouchingAnything) {
  for (int missing : {129, 130, 131, 0}) {
    SCOPED_TRACE(missing ? "missing resource " + std::to_string(missing) : "no memory");
    Bench bench;
    if (missing)
      bench.Resources.Resources.erase(missing);
    else
      bench.Memory.OutOfMemory = true;
    EXPECT_FALSE(bench.Extract(missing == 131 ? 1 : 0));
    EXPECT_EQ(bench.Messages.Shown, std::vector<std::string>{ErrorInInstallation});
    EXPECT_TRUE(bench.Files.Calls.empty());
  }
}

TEST_F(Extraction, KeepsASystemLibraryAtLeastAsNewAsItsOwnToTheSecond) {
  struct Case {
    const char *Name;
    long long OffsetTicks; // from the library's own time
    bool Kept;
  } cases[] = {
      {"exactly as old", 0, true},
      {"half a second newer", static_cast<long long>(FileTimeTicksPerSecond) / 2, true},
      {"one second newer", static_cast<long long>(FileTimeTicksPerSecond), true},
      {"years newer", 200000000LL * static_cast<long long>(FileTimeTicksPerSecond), true},
      {"a tick older", -1, false},
      {"one second older", -static_cast<long long>(FileTimeTicksPerSecond), false},
      // Read at the wrong daylight saving, the library's own time would be an hour off.
      {"one hour older", -3600LL * static_cast<long long>(FileTimeTicksPerSecond), false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Name);
    Bench bench;
    FileTime existingTime = LibraryTimeUtc + c.OffsetTicks;
    bench.Files.AddFile(SystemLibrary, "the system's copy", existingTime);
    EXPECT_TRUE(bench.Extract());
    EXPECT_TRUE(bench.Messages.Shown.empty());
    if (c.Kept) {
      EXPECT_EQ(bench.BytesOf(SystemLibrary), "the system's copy");
      EXPECT_EQ(bench.LastWriteOf(SystemLibrary), existingTime);
      // Our copy is still expanded, written and stamped, beside the product.
      ExpectInstalledUpTo(bench, PayloadFileCount, 0, LocalLibrary);
      EXPECT_EQ(bench.LastWriteOf(LocalLibrary), LibraryTimeUtc);
    } else {
      ExpectInstalledUpTo(bench, PayloadFileCount, 0, SystemLibrary);
      EXPECT_EQ(bench.LastWriteOf(SystemLibrary), LibraryTimeUtc);
      EXPECT_FALSE(bench.Files.Exists(LocalLibrary));
    }
  }
}

TEST_F(Extraction, TreatsASystemLibraryThatCannotBeCheckedAsAbsent) {
  struct Case {
    const char *Name;
    bool Unreadable, TimesFail, ReadOnly;
  } cases[] = {{"cannot be opened", true, false, false},
               {"times cannot be read", false, true, false},
               {"cannot be opened and cannot be replaced", true, false, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Name);
    Bench bench;
    MemoryFileSystem::Entry &newer = bench.Files.AddFile(
        SystemLibrary, "newer", LibraryTimeUtc + 1000 * FileTimeTicksPerSecond);
    newer.Unreadable = c.Unreadable;
    newer.ReadOnly = c.ReadOnly;
    if (c.TimesFail)
      bench.Files.Fail(MemoryFileSystem::ReadTimesCall, SystemLibrary, 1);
    EXPECT_EQ(bench.Extract(), !c.ReadOnly);
    if (c.ReadOnly) {
      EXPECT_EQ(bench.Messages.Shown, std::vector<std::string>{"Error creating file"});
      EXPECT_EQ(bench.BytesOf(SystemLibrary), "newer");
      EXPECT_TRUE(bench.Files.Exists(Archive));
    } else {
      ExpectInstalledUpTo(bench, PayloadFileCount, 0, SystemLibrary);
    }
  }
}

TEST_F(Extraction, PlacesTheLibraryInTheSystemFolderElseTheWindowsFolderElseBesideTheProduct) {
  struct Case {
    const char *SystemFolderText;
    const char *WindowsFolderText;
    std::string LibraryPath;
    bool AgeChecked;
  } cases[] = {
      {"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS", SystemLibrary, true},
      {"", "C:\\WINDOWS", "C:\\WINDOWS\\ijl15.dll", true},
      {"X", "C:\\WINDOWS", "C:\\WINDOWS\\ijl15.dll", true},
      {"", "", LocalLibrary, false},
      {"", "D", LocalLibrary, false},
      // A drive root keeps its backslash in the platform's answer; the path gets one.
      {"C:\\", "C:\\WINDOWS", "C:\\ijl15.dll", true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string("system folder \"") + c.SystemFolderText + "\", Windows folder \"" +
                 c.WindowsFolderText + "\"");
    Bench bench;
    bench.Files.AddFolder("C:\\WINDOWS");
    bench.Files.SystemFolderText = c.SystemFolderText;
    bench.Files.WindowsFolderText = c.WindowsFolderText;
    EXPECT_TRUE(bench.Extract());
    ExpectInstalledUpTo(bench, PayloadFileCount, 0, c.LibraryPath);
    EXPECT_EQ(bench.CallsOf("open"), c.AgeChecked ? std::vector<std::string>{c.LibraryPath}
                                                   : std::vector<std::string>{});
  }
}

TEST_F(Extraction, ReadsTheSystemFolderByCharactersOfTheCodePage) {
  // The system folder's last character has 0x5C as its trail byte: it is not a
  // trailing backslash to remove.
  DoubleByteCodePage doubleByte;
  std::string folder = "C:\\\x83\x5C";
  Bench bench(doubleByte);
  bench.Files.AddFolder(folder);
  bench.Files.SystemFolderText = folder;
  EXPECT_TRUE(bench.Extract());
  ExpectInstalledUpTo(bench, PayloadFileCount, 0, folder + "\\ijl15.dll");
}

TEST_F(Extraction, InstallsIntoAnyFolderItIsGiven) {
  // The longest install folder: paths far beyond what some platform calls accept.
  std::string folder = "C:\\" + std::string(236, 'v');
  Bench bench;
  bench.Files.AddFolder(folder);
  EXPECT_TRUE(bench.Extract(1, folder));
  EXPECT_TRUE(bench.BytesOf(folder + "\\uninstall.exe") == TestProduct().Edition42[3]);
  EXPECT_FALSE(bench.Files.Exists(folder + "\\kwb.tmp"));
}

} // namespace
