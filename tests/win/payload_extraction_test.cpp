// Folder creation and payload extraction on the real Win32 calls under Wine: the LZ
// expansion library, file times, the system folder, long paths, and (run by the scripts
// beside this file) a read-only file as an unprivileged user and a full disk.
//
// The program carries its own RCDATA 129, 130 and 131, packed at build time from the
// generated files that the test run copies into C:\tests beside it. The tests expect
// the time zone rule TZ=CET-1CEST,M3.5.0,M10.5.0/3, which the test registration sets.
#include "install/folder_creation.h"
#include "install/payload_extraction.h"
#include "message_box_hook.h"
#include "platform/platform_errors.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_payload_platform.h"
#include "platform/win32/win32_payload_sources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char DiskFull[] = "Disk full\r\nCorrect and retry";

// The generated product files, as the packer read them, in C:\tests.
const char *const Edition311Inputs[] = {"311-KWB.exe", "311-KWB.hlp", "311-KWB.cnt",
                                        "311-uninstall.exe"};
const char *const Edition42Inputs[] = {"42-KWB.exe", "42-KWB.hlp", "42-KWB.cnt",
                                       "42-uninstall.exe"};
const char LibraryInput[] = "ijl15.dll";

std::string ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return in ? bytes.str() : "<unreadable " + path + ">";
}

std::string Input(const char *name) { return ReadAll(std::string("C:\\tests\\") + name); }

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

FileTime ToFileTime(const FILETIME &time) {
  return static_cast<FileTime>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

FileTime UtcTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME utc = {};
  utc.wYear = year;
  utc.wMonth = month;
  utc.wDay = day;
  utc.wHour = hour;
  utc.wMinute = minute;
  utc.wSecond = second;
  FILETIME result;
  EXPECT_TRUE(SystemTimeToFileTime(&utc, &result));
  return ToFileTime(result);
}

// Under the Central European rule the product's time is winter time (UTC+1) and the
// library's summer time (UTC+2), whatever the season the tests run in.
const FileTime ProductTimeUtc = UtcTime(2005, 1, 10, 7, 0, 0);
const FileTime LibraryTimeUtc = UtcTime(2000, 9, 15, 13, 51, 56);

FileTime LastWriteOf(const std::string &path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    return 0;
  return ToFileTime(data.ftLastWriteTime);
}

void SetLastWrite(const std::string &path, FileTime time) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  FILETIME lastWrite = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &lastWrite));
  CloseHandle(file);
}

void WriteFileBytes(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

std::string SystemFolder() {
  char folder[MAX_PATH] = {0};
  GetSystemDirectoryA(folder, MAX_PATH);
  return folder;
}

std::string SystemLibrary() { return SystemFolder() + "\\ijl15.dll"; }

void RemoveSystemLibrary() {
  SetFileAttributesA(SystemLibrary().c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(SystemLibrary().c_str());
}

uint32_t CreateFolder(const std::string &path) {
  Win32Folders folders;
  Win32CodePage codePage;
  return CreateFolderPath(folders, codePage, CString(path.c_str()));
}

// A folder path of exactly `length` bytes below C:\kwb, in levels of at most 40 bytes.
std::string FolderOfLength(size_t length) {
  std::string path = "C:\\kwb";
  while (path.size() < length) {
    size_t level = std::min<size_t>(40, length - path.size() - 1);
    path += "\\" + std::string(level ? level : 1, 'L');
  }
  return path.substr(0, length);
}

// Checks every installed file of an edition against the generated inputs, and its
// last-write time. (Wine keeps no creation time: it reads back as the last-write time.)
void ExpectEditionInstalled(const std::string &folder, const char *const inputs[4],
                            const std::string &libraryPath) {
  const char *const names[] = {"KWB.exe", "KWB.hlp", "KWB.cnt", "uninstall.exe"};
  for (int i = 0; i < 4; ++i) {
    std::string path = folder + "\\" + names[i];
    EXPECT_TRUE(ReadAll(path) == Input(inputs[i])) << path << " differs from " << inputs[i];
    EXPECT_EQ(LastWriteOf(path), ProductTimeUtc) << path;
  }
  EXPECT_TRUE(ReadAll(libraryPath) == Input(LibraryInput)) << libraryPath;
  EXPECT_EQ(LastWriteOf(libraryPath), LibraryTimeUtc) << libraryPath;
  EXPECT_FALSE(Exists(folder + "\\kwb.tmp")) << "kwb.tmp stayed after a successful extraction";
}

bool Extract(const std::string &folder, int edition) {
  Win32PayloadPlatform platform;
  return ExtractPayload(platform.Get(), CString(folder.c_str()), edition);
}

class RealExtraction : public ::testing::Test {
protected:
  void SetUp() override { RemoveSystemLibrary(); }
  void TearDown() override { RemoveSystemLibrary(); }
};

TEST_F(RealExtraction, InstallsEitherEditionIntoANewNestedFolder) {
  struct Case {
    int Edition;
    const char *Folder;
    const char *const *Inputs;
  } cases[] = {{0, "C:\\kwb\\Program Files\\Corvane Software\\Vistrel", Edition311Inputs},
               {1, "C:\\kwb\\second\\Vistrel 4.2", Edition42Inputs}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Folder);
    RemoveSystemLibrary();
    ASSERT_EQ(CreateFolder(c.Folder), 0u);
    MessageBoxHook noBoxes;
    EXPECT_TRUE(Extract(c.Folder, c.Edition));
    EXPECT_TRUE(noBoxes.Seen.empty());
    ExpectEditionInstalled(c.Folder, c.Inputs, SystemLibrary());
  }
}

TEST_F(RealExtraction, InstallsIntoA200ByteFolder) {
  // kwb.tmp's path is then far beyond the 127 characters that LZOpenFileA can open.
  std::string folder = FolderOfLength(200);
  ASSERT_EQ(folder.size(), 200u);
  ASSERT_EQ(CreateFolder(folder), 0u);
  MessageBoxHook noBoxes;
  EXPECT_TRUE(Extract(folder, 0));
  EXPECT_TRUE(noBoxes.Seen.empty());
  ExpectEditionInstalled(folder, Edition311Inputs, SystemLibrary());
}

TEST_F(RealExtraction, KeepsASystemLibraryAsNewAsItsOwnAndReplacesAnOlderOne) {
  struct Case {
    const char *Name;
    FileTime ExistingTime;
    bool Kept;
  } cases[] = {
      {"exactly as old", LibraryTimeUtc, true},
      {"a day newer", LibraryTimeUtc + 86400ULL * FileTimeTicksPerSecond, true},
      {"one second older", LibraryTimeUtc - FileTimeTicksPerSecond, false},
  };
  int run = 0;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Name);
    RemoveSystemLibrary();
    WriteFileBytes(SystemLibrary(), "the system's own copy");
    SetLastWrite(SystemLibrary(), c.ExistingTime);
    std::string folder = "C:\\kwb\\library" + std::to_string(run++);
    ASSERT_EQ(CreateFolder(folder), 0u);
    MessageBoxHook noBoxes;
    EXPECT_TRUE(Extract(folder, 0));
    if (c.Kept) {
      EXPECT_EQ(ReadAll(SystemLibrary()), "the system's own copy");
      EXPECT_EQ(LastWriteOf(SystemLibrary()), c.ExistingTime);
      ExpectEditionInstalled(folder, Edition311Inputs, folder + "\\ijl15.dll");
    } else {
      ExpectEditionInstalled(folder, Edition311Inputs, SystemLibrary());
      EXPECT_FALSE(Exists(folder + "\\ijl15.dll"));
    }
  }
}

TEST(RealFolderCreation, CreatesMissingLevelsAndReportsWhatThePlatformSays) {
  EXPECT_EQ(CreateFolder("C:\\kwb\\folders\\a\\b\\c"), 0u);
  EXPECT_TRUE(Exists("C:\\kwb\\folders\\a\\b\\c"));
  EXPECT_EQ(CreateFolder("C:\\kwb\\folders\\a\\b\\c"), 0u) << "an existing folder";
  EXPECT_EQ(CreateFolder("  C:\\kwb\\folders\\blanks  "), 0u);
  EXPECT_TRUE(Exists("C:\\kwb\\folders\\blanks"));

  // The prefix has no drive Q:. Windows reports 3 for a folder on a missing drive and
  // Wine 2; whatever it is, it is passed on as it came, and no level above is tried.
  ASSERT_FALSE(CreateDirectoryA("Q:\\Setup", nullptr));
  DWORD missingDrive = GetLastError();
  EXPECT_NE(missingDrive, 0u);
  EXPECT_EQ(CreateFolder("Q:\\Setup"), missingDrive);
  EXPECT_EQ(CreateFolder("Q:\\Setup\\Vistrel"), missingDrive);

  std::string path239 = FolderOfLength(239);
  EXPECT_EQ(CreateFolder(path239 + "x"), ErrorBadLength);
  EXPECT_FALSE(Exists(path239.substr(0, 40))) << "nothing is attempted at 240 bytes";
  EXPECT_EQ(CreateFolder(path239), 0u);
  EXPECT_TRUE(Exists(path239));

  // A file where a folder should be: accepted as existing, and the level below it ends
  // the walk instead of going round for ever.
  WriteFileBytes("C:\\kwb\\folders\\file", "in the way");
  EXPECT_EQ(CreateFolder("C:\\kwb\\folders\\file"), 0u);
  EXPECT_EQ(CreateFolder("C:\\kwb\\folders\\file\\below"), ErrorPathNotFound);
}

TEST(RealTimeZone, ConvertsWithTheDaylightSavingOfTheDateNotOfToday) {
  Win32TimeZone zone;
  FileTime product = 0;
  FileTime library = 0;
  ASSERT_TRUE(zone.LocalTimeToFileTime(ProductFileTime, &product));
  ASSERT_TRUE(zone.LocalTimeToFileTime(LibraryFileTime, &library));
  EXPECT_EQ(product, ProductTimeUtc);
  EXPECT_EQ(library, LibraryTimeUtc);

  // The rule that older systems fall back on gives the same answers as the platform's
  // own conversion, on both sides of each change of the year.
  const LocalTime times[] = {
      ProductFileTime,          LibraryFileTime,          {2000, 3, 26, 1, 59, 59},
      {2000, 3, 26, 3, 0, 0},   {2000, 10, 29, 1, 0, 0},  {2000, 10, 29, 4, 0, 0},
      {1999, 12, 31, 23, 59, 59}, {2004, 3, 28, 12, 0, 0}, {2004, 3, 21, 12, 0, 0},
  };
  for (const LocalTime &time : times) {
    FileTime platform = 0;
    FileTime byRule = 0;
    ASSERT_TRUE(zone.LocalTimeToFileTime(time, &platform));
    ASSERT_TRUE(ConvertByZoneRule(time, &byRule));
    EXPECT_EQ(byRule, platform) << time.Year << "-" << time.Month << "-" << time.Day << " "
                                << time.Hour << ":" << time.Minute << ":" << time.Second;
  }
}

TEST(RealLzExpansion, ExpandsShortAndLongPathsAlikeAndReportsAMissingFile) {
  // The library record with its magic restored is a complete compressed file.
  Win32PayloadResources resources;
  ResourceBytes library = {nullptr, 0};
  ASSERT_TRUE(resources.Find(LibraryResourceId, &library));
  uint32_t length = library.Data[0] | library.Data[1] << 8 | library.Data[2] << 16 |
                    static_cast<uint32_t>(library.Data[3]) << 24;
  ASSERT_LE(length + 8, library.Size);
  std::string compressed =
      "SZDD" + std::string(reinterpret_cast<const char *>(library.Data) + 4, length);

  std::string longFolder = FolderOfLength(200);
  ASSERT_EQ(CreateFolder(longFolder), 0u);
  std::vector<uint8_t> buffer(ExpansionBufferSize);
  Win32LzExpansion expansion;
  for (const std::string &path : {std::string("C:\\kwb\\short.tmp"), longFolder + "\\long.tmp"}) {
    SCOPED_TRACE(path);
    WriteFileBytes(path, compressed);
    int32_t expanded = expansion.ExpandFile(path.c_str(), buffer.data(),
                                            static_cast<int32_t>(buffer.size()));
    std::string expected = Input(LibraryInput);
    ASSERT_EQ(expanded, static_cast<int32_t>(expected.size()));
    EXPECT_TRUE(std::string(buffer.begin(), buffer.begin() + expanded) == expected);
    // The file is closed again: it can be deleted at once.
    EXPECT_TRUE(DeleteFileA(path.c_str()));
  }
  EXPECT_LT(expansion.ExpandFile("C:\\kwb\\missing.tmp", buffer.data(), 100), 0);
  EXPECT_LT(expansion.ExpandFile((longFolder + "\\missing.tmp").c_str(), buffer.data(), 100), 0);
}

// Run by run_unprivileged.sh as an unprivileged user: root may overwrite read-only files
// under Wine, other users may not, as on Windows.
TEST_F(RealExtraction, UnprivilegedReadOnlyDestinationCannotBeCreated) {
  std::string folder = "C:\\kwb\\read-only";
  ASSERT_EQ(CreateFolder(folder), 0u);
  std::string help = folder + "\\KWB.hlp";
  WriteFileBytes(help, "the user's help file");
  ASSERT_TRUE(SetFileAttributesA(help.c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE probe = CreateFileA(help.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE)
    CloseHandle(probe);
  ASSERT_EQ(probe, INVALID_HANDLE_VALUE)
      << "a read-only file could be overwritten: this test must run as an unprivileged user";

  MessageBoxHook boxes({IDOK});
  EXPECT_FALSE(Extract(folder, 0));
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, "Error creating file");
  EXPECT_EQ(boxes.Seen[0].Buttons, std::vector<int>{IDOK});
  EXPECT_TRUE(Exists(folder + "\\kwb.tmp")) << "kwb.tmp stays when a file cannot be created";
  EXPECT_EQ(ReadAll(help), "the user's help file");
  EXPECT_TRUE(ReadAll(folder + "\\KWB.exe") == Input(Edition311Inputs[0]));
  EXPECT_TRUE(ReadAll(SystemLibrary()) == Input(LibraryInput));
}

// Run by run_with_full_disk.sh, which links drive T: to a 1 MB file system.
class FullDisk : public ::testing::Test {
protected:
  void SetUp() override {
    RemoveSystemLibrary();
    ULARGE_INTEGER total = {};
    ASSERT_TRUE(GetDiskFreeSpaceExA("T:\\", nullptr, &total, nullptr))
        << "drive T: is missing: this test must run under run_with_full_disk.sh";
    ASSERT_LE(total.QuadPart, 2u * 1024 * 1024) << "drive T: is not the small test drive";
    Clean(Folder);
    DeleteFileA("T:\\filler");
    ASSERT_EQ(CreateFolder(Folder), 0u);
  }
  void TearDown() override { RemoveSystemLibrary(); }
  static void Clean(const std::string &folder) {
    for (const char *name : {"KWB.exe", "KWB.hlp", "KWB.cnt", "uninstall.exe", "ijl15.dll",
                             "kwb.tmp"})
      DeleteFileA((folder + "\\" + name).c_str());
  }
  // Fills the drive up to `spare` bytes with one file.
  static void Fill(DWORD spare) {
    HANDLE filler = CreateFileA("T:\\filler", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(filler, INVALID_HANDLE_VALUE);
    std::vector<char> block(4096, 'f');
    DWORD written = 0;
    LONGLONG size = 0;
    while (WriteFile(filler, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
           written == block.size())
      size += written;
    size += written;
    LARGE_INTEGER end;
    end.QuadPart = size > spare ? size - spare : 0;
    EXPECT_TRUE(SetFilePointerEx(filler, end, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(filler));
    CloseHandle(filler);
  }

  const std::string Folder = "T:\\kwb";
};

TEST_F(FullDisk, FailsWritingTheInstalledFileAndKeepsWhatWasWritten) {
  // The 1.2 MB KWB.exe cannot fit, while its compressed record can.
  MessageBoxHook boxes({IDOK});
  EXPECT_FALSE(Extract(Folder, 0));
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, DiskFull);
  EXPECT_FALSE(Exists(Folder + "\\kwb.tmp")) << "kwb.tmp is deleted after a failed write";
  std::string partial = ReadAll(Folder + "\\KWB.exe");
  std::string whole = Input(Edition311Inputs[0]);
  EXPECT_LT(partial.size(), whole.size());
  EXPECT_TRUE(whole.compare(0, partial.size(), partial) == 0)
      << "the partly written KWB.exe holds the start of the file";
}

TEST_F(FullDisk, FailsWritingTheArchiveAndRemovesIt) {
  Fill(64 * 1024);
  MessageBoxHook boxes({IDOK});
  EXPECT_FALSE(Extract(Folder, 0));
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, DiskFull);
  EXPECT_FALSE(Exists(Folder + "\\kwb.tmp")) << "kwb.tmp is deleted after a failed write";
  EXPECT_FALSE(Exists(Folder + "\\KWB.exe"));
}

} // namespace
