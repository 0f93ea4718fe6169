// Creating the install folder and the folders above it, over the in-memory file system.
#include "install/folder_creation.h"
#include "memory_file_system.h"
#include "platform/platform_errors.h"
#include "test_code_pages.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The double-byte characters used below; each has 0x5C as its trail byte.
const std::string Table = "\x95\x5C";  // U+8868 in code page 932
const std::string Katakana = "\x83\x5C"; // U+30BD in code page 932

struct SplitCase {
  std::string Path;
  std::string ExpectedParent;
  std::string ExpectedLast;
};

void CheckSplits(const CodePage &codePage, const std::vector<SplitCase> &cases) {
  for (const SplitCase &c : cases) {
    CString path(c.Path.c_str());
    CString last = SplitLastComponent(path, codePage);
    EXPECT_EQ(std::string(path), c.ExpectedParent) << "path \"" << c.Path << "\"";
    EXPECT_EQ(std::string(last), c.ExpectedLast) << "path \"" << c.Path << "\"";
  }
}

TEST(SplitLastComponent, CutsAtTheLastBackslashUnlessTheParentIsADriveOrEmpty) {
  CheckSplits(SingleByteCodePage(),
              {
                  {"C:\\A\\B", "C:\\A", "B"},
                  {"C:\\Program Files\\Corvane Software", "C:\\Program Files",
                   "Corvane Software"},
                  {"\\\\server\\share\\dir", "\\\\server\\share", "dir"},
                  {"ABC\\D", "ABC", "D"},
                  // Below a drive root the parent would be "C:": nothing usable, though
                  // the path has been shortened.
                  {"C:\\Setup", "C:", ""},
                  {"AB\\C", "AB", ""},
                  // No backslash, or only one at the very start: the path stays as it is.
                  {"Setup", "Setup", ""},
                  {"\\Setup", "\\Setup", ""},
                  {"", "", ""},
                  // A trailing backslash leaves an empty last component.
                  {"C:\\A\\", "C:\\A", ""},
                  // A doubled backslash leaves a parent that ends in one.
                  {"C:\\A\\\\B", "C:\\A\\", ""},
              });
}

TEST(SplitLastComponent, NeverTakesTheTrailByteOfADoubleByteCharacterForABackslash) {
  CheckSplits(DoubleByteCodePage(),
              {
                  {"C:\\A\\" + Table, "C:\\A", Table},
                  // The parent ends in a character whose trail byte is 0x5C: still a
                  // usable parent.
                  {"C:\\" + Table + "\\B", "C:\\" + Table, "B"},
                  {"C:\\" + Katakana + Table + "\\" + Katakana, "C:\\" + Katakana + Table,
                   Katakana},
                  // The only real backslash is the one after the drive.
                  {"C:\\A" + Table, "C:", ""},
                  {Table + "B", Table + "B", ""},
              });
  // The same bytes read in a single-byte code page split at the trail byte.
  CheckSplits(SingleByteCodePage(), {{"C:\\A\\" + Table, "C:\\A\\\x95", ""}});
}

class FolderCreation : public ::testing::Test {
protected:
  uint32_t Create(const std::string &path) {
    return CreateFolderPath(Files, Characters, CString(path.c_str()));
  }
  bool IsFolder(const std::string &path) {
    MemoryFileSystem::Entry *entry = Files.Find(path);
    return entry && entry->IsFolder;
  }

  DoubleByteCodePage Characters;
  MemoryFileSystem Files{Characters};
};

std::string Tried(const std::string &path, uint32_t result) {
  return "create-folder " + path + " -> " + std::to_string(result);
}

TEST_F(FolderCreation, MakesMissingLevelsTopFirstAndTriesEachLevelAgainOnlyOnce) {
  const std::string trailByteParent = "C:\\" + Katakana + Table;
  struct Case {
    const char *Name;
    std::function<void(MemoryFileSystem &)> Setup;
    std::string Path;
    uint32_t Result;
    std::vector<std::string> Calls;
    std::vector<std::string> Folders = {}; // that must be there afterwards
    std::vector<std::string> Absent = {};  // that must not
  } cases[] = {
      {"every level missing", nullptr, "C:\\A\\B\\C", 0,
       {Tried("C:\\A\\B\\C", 3), Tried("C:\\A\\B", 3), Tried("C:\\A", 0),
        Tried("C:\\A\\B", 0), Tried("C:\\A\\B\\C", 0)},
       {"C:\\A\\B\\C"}},
      {"existing folder", [](MemoryFileSystem &f) { f.AddFolder("C:\\Vistrel\\Data"); },
       "C:\\Vistrel\\Data", 0, {Tried("C:\\Vistrel\\Data", 183)}},
      {"existing file counts as the folder",
       [](MemoryFileSystem &f) { f.AddFile("C:\\Vistrel", "not a folder", f.Now); },
       "C:\\Vistrel", 0, {Tried("C:\\Vistrel", 183)}},
      {"leading and trailing white space",
       [](MemoryFileSystem &f) { f.AddFolder("C:\\Program Files"); },
       " \t C:\\Program Files\\Vistrel \r\n\v\f ", 0,
       {Tried("C:\\Program Files\\Vistrel", 0)}, {"C:\\Program Files\\Vistrel"}},
      // No parent can be split off: below the root of a missing drive, a trailing
      // backslash or a doubled one in front of the last component.
      {"missing drive", nullptr, "Q:\\Setup", 3, {Tried("Q:\\Setup", 3)}},
      {"trailing backslash, parent missing", nullptr, "C:\\X\\Y\\", 3,
       {Tried("C:\\X\\Y\\", 3)}, {}, {"C:\\X"}},
      {"doubled backslash", nullptr, "C:\\X\\\\Y", 3, {Tried("C:\\X\\\\Y", 3)}, {}, {"C:\\X"}},
      // A single relative name is passed on unchanged.
      {"relative name", [](MemoryFileSystem &f) { f.AddFolder(f.CurrentFolder); }, "Vistrel", 0,
       {Tried("Vistrel", 0)}, {"C:\\WORK\\Vistrel"}},
      {"relative name refused",
       [](MemoryFileSystem &f) { f.Fail(MemoryFileSystem::CreateFolderCall, "Setup", 3); },
       "Setup", 3, {Tried("Setup", 3)}},
      // The deepest error is passed up and the levels already made stay: the first
      // attempt at C:\P\Q finds its parent missing, the second is refused.
      {"access denied part way",
       [](MemoryFileSystem &f) { f.Fail(MemoryFileSystem::CreateFolderCall, "C:\\P\\Q", 5, 0, 2); },
       "C:\\P\\Q\\R\\S", 5,
       {Tried("C:\\P\\Q\\R\\S", 3), Tried("C:\\P\\Q\\R", 3), Tried("C:\\P\\Q", 3),
        Tried("C:\\P", 0), Tried("C:\\P\\Q", 5)},
       {"C:\\P"}, {"C:\\P\\Q"}},
      {"read-only folder",
       [](MemoryFileSystem &f) {
         f.AddFolder("C:\\Locked");
         f.Find("C:\\Locked")->ReadOnly = true;
       },
       "C:\\Locked\\A\\B", 5,
       {Tried("C:\\Locked\\A\\B", 3), Tried("C:\\Locked\\A", 5)}, {}, {"C:\\Locked\\A"}},
      // A level that still cannot be made after its parent was ends the attempt. A file
      // in the way counts as existing, yet nothing can be made below it.
      {"file in the way", [](MemoryFileSystem &f) { f.AddFile("C:\\F", "", f.Now); },
       "C:\\F\\G", 3, {Tried("C:\\F\\G", 3), Tried("C:\\F", 183), Tried("C:\\F\\G", 3)}},
      // The parent's trailing blank is dropped when it is made, but not in the retry.
      {"parent ending in a blank", nullptr, "C:\\X \\Y", 3,
       {Tried("C:\\X \\Y", 3), Tried("C:\\X", 0), Tried("C:\\X \\Y", 3)}},
      {"parent ending in a trail byte 0x5C", nullptr, trailByteParent + "\\B", 0,
       {Tried(trailByteParent + "\\B", 3), Tried(trailByteParent, 0),
        Tried(trailByteParent + "\\B", 0)},
       {trailByteParent + "\\B"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Name);
    MemoryFileSystem files{Characters};
    if (c.Setup)
      c.Setup(files);
    EXPECT_EQ(CreateFolderPath(files, Characters, CString(c.Path.c_str())), c.Result);
    EXPECT_EQ(files.Calls, c.Calls);
    for (const std::string &folder : c.Folders)
      EXPECT_TRUE(files.Find(folder) && files.Find(folder)->IsFolder) << folder;
    for (const std::string &absent : c.Absent)
      EXPECT_FALSE(files.Exists(absent)) << absent;
  }
}

TEST_F(FolderCreation, AttemptsNothingFor240BytesOrMoreAfterTrimming) {
  // 232 bytes of folders that exist already; the last level makes the length.
  std::string existing = "C:";
  while (existing.size() < 226)
    existing += "\\" + std::string(9, 'f');
  Files.AddFolder(existing);
  Files.Calls.clear();
  std::string path239 = existing + "\\" + std::string(238 - existing.size(), 'x');
  ASSERT_EQ(path239.size(), 239u);

  EXPECT_EQ(Create(path239 + "y"), ErrorBadLength);
  EXPECT_TRUE(Files.Calls.empty()) << "240 bytes: nothing may be attempted";

  // White space around the path does not count, while a double-byte character counts
  // two bytes.
  EXPECT_EQ(Create("  " + path239 + "  "), 0u);
  EXPECT_TRUE(IsFolder(path239));
  std::string doubleByte239 = path239.substr(0, 237) + Table;
  EXPECT_EQ(Create(doubleByte239), 0u);
  EXPECT_TRUE(IsFolder(doubleByte239));
  EXPECT_EQ(Create(path239.substr(0, 238) + Table), ErrorBadLength);
}

} // namespace
