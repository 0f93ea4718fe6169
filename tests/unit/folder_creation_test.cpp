// Creating the install folder and the folders above it, over the in-memory file system.
#include "install/folder_creation.h"
#include "memory_file_system.h"
#include "platform/platform_errors.h"
#include "test_code_pages.h"

#include <gtest/gtest.h>

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

TEST_F(FolderCreation, MakesEveryMissingLevelTopFirst) {
  EXPECT_EQ(Create("C:\\A\\B\\C"), 0u);
  EXPECT_EQ(Files.Calls, (std::vector<std::string>{
                             "create-folder C:\\A\\B\\C -> 3",
                             "create-folder C:\\A\\B -> 3",
                             "create-folder C:\\A -> 0",
                             "create-folder C:\\A\\B -> 0",
                             "create-folder C:\\A\\B\\C -> 0",
                         }));
  EXPECT_TRUE(IsFolder("C:\\A\\B\\C"));
}

TEST_F(FolderCreation, AcceptsAFolderThatExistsAndChangesNothing) {
  Files.AddFolder("C:\\Program Files\\Corvane Software\\Vistrel");
  EXPECT_EQ(Create("C:\\Program Files\\Corvane Software\\Vistrel"), 0u);
  EXPECT_EQ(Files.Calls, (std::vector<std::string>{
                             "create-folder C:\\Program Files\\Corvane Software\\Vistrel -> 183",
                         }));
}

TEST_F(FolderCreation, CountsAnExistingFileAsTheFolder) {
  Files.AddFile("C:\\Vistrel", "not a folder", Files.Now);
  EXPECT_EQ(Create("C:\\Vistrel"), 0u);
}

TEST_F(FolderCreation, IgnoresLeadingAndTrailingWhiteSpace) {
  Files.AddFolder("C:\\Program Files");
  EXPECT_EQ(Create(" \t C:\\Program Files\\Vistrel \r\n\v\f "), 0u);
  EXPECT_EQ(Files.Calls,
            (std::vector<std::string>{"create-folder C:\\Program Files\\Vistrel -> 0"}));
  EXPECT_TRUE(IsFolder("C:\\Program Files\\Vistrel"));
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

TEST_F(FolderCreation, EndsWithPathNotFoundWhenNoParentCanBeSplitOff) {
  struct Case {
    const char *Path;
    std::vector<std::string> Calls;
  } cases[] = {
      // Directly below the root of a drive that does not exist.
      {"Q:\\Setup", {"create-folder Q:\\Setup -> 3"}},
      // A trailing backslash whose parent is missing: the last component is empty.
      {"C:\\X\\Y\\", {"create-folder C:\\X\\Y\\ -> 3"}},
      // A doubled backslash in front of the last component.
      {"C:\\X\\\\Y", {"create-folder C:\\X\\\\Y -> 3"}},
  };
  for (const Case &c : cases) {
    Files.Calls.clear();
    EXPECT_EQ(Create(c.Path), ErrorPathNotFound) << c.Path;
    EXPECT_EQ(Files.Calls, c.Calls) << c.Path;
    EXPECT_FALSE(Files.Exists("C:\\X")) << c.Path;
  }
}

TEST_F(FolderCreation, PassesASingleRelativeNameOnUnchanged) {
  Files.AddFolder(Files.CurrentFolder);
  EXPECT_EQ(Create("Vistrel"), 0u);
  EXPECT_TRUE(IsFolder(Files.CurrentFolder + "\\Vistrel"));

  Files.Calls.clear();
  Files.Fail(MemoryFileSystem::CreateFolderCall, "Setup", ErrorPathNotFound);
  EXPECT_EQ(Create("Setup"), ErrorPathNotFound);
  EXPECT_EQ(Files.Calls, (std::vector<std::string>{"create-folder Setup -> 3"}));
}

TEST_F(FolderCreation, PassesTheDeepestErrorUpAndKeepsTheLevelsAlreadyMade) {
  // The first attempt at C:\P\Q finds its parent missing; the second, after C:\P was
  // made, is refused.
  Files.Fail(MemoryFileSystem::CreateFolderCall, "C:\\P\\Q", ErrorAccessDenied, 0, 2);
  EXPECT_EQ(Create("C:\\P\\Q\\R\\S"), ErrorAccessDenied);
  EXPECT_EQ(Files.Calls, (std::vector<std::string>{
                             "create-folder C:\\P\\Q\\R\\S -> 3",
                             "create-folder C:\\P\\Q\\R -> 3",
                             "create-folder C:\\P\\Q -> 3",
                             "create-folder C:\\P -> 0",
                             "create-folder C:\\P\\Q -> 5",
                         }));
  EXPECT_TRUE(IsFolder("C:\\P"));
  EXPECT_FALSE(Files.Exists("C:\\P\\Q"));
}

TEST_F(FolderCreation, RefusalByAReadOnlyFolderIsReportedAsItCame) {
  Files.AddFolder("C:\\Locked");
  Files.Find("C:\\Locked")->ReadOnly = true;
  EXPECT_EQ(Create("C:\\Locked\\A\\B"), ErrorAccessDenied);
  EXPECT_FALSE(Files.Exists("C:\\Locked\\A"));
}

TEST_F(FolderCreation, StopsWhenALevelStillCannotBeMadeAfterItsParentWas) {
  struct Case {
    const char *Name;
    std::string Path;
    std::vector<std::string> Calls;
  } cases[] = {
      // A file stands where a folder should be: it counts as existing, yet nothing
      // can be made below it.
      {"file in the way",
       "C:\\F\\G",
       {"create-folder C:\\F\\G -> 3", "create-folder C:\\F -> 183",
        "create-folder C:\\F\\G -> 3"}},
      // The parent's trailing blank is dropped when it is made, but not in the retry.
      {"parent ending in a blank",
       "C:\\X \\Y",
       {"create-folder C:\\X \\Y -> 3", "create-folder C:\\X -> 0",
        "create-folder C:\\X \\Y -> 3"}},
  };
  Files.AddFile("C:\\F", "", Files.Now);
  for (const Case &c : cases) {
    Files.Calls.clear();
    EXPECT_EQ(Create(c.Path), ErrorPathNotFound) << c.Name;
    EXPECT_EQ(Files.Calls, c.Calls) << c.Name;
  }
}

TEST_F(FolderCreation, MakesAParentWhoseNameEndsInATrailByte0x5C) {
  std::string parent = "C:\\" + Katakana + Table;
  EXPECT_EQ(Create(parent + "\\B"), 0u);
  EXPECT_EQ(Files.Calls, (std::vector<std::string>{
                             "create-folder " + parent + "\\B -> 3",
                             "create-folder " + parent + " -> 0",
                             "create-folder " + parent + "\\B -> 0",
                         }));
  EXPECT_TRUE(IsFolder(parent + "\\B"));
}

} // namespace
