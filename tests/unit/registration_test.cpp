#include "install/registration.h"
#include "memory_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string Versions = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string AppPaths = Versions + "\\App Paths";
const std::string Uninstall = Versions + "\\Uninstall";
const std::string AppPathKey = AppPaths + "\\KWB.exe";
const std::string UninstallKey = Uninstall + "\\Vistrel Image Browser";
const uint32_t RegSz = 1;

// A registry as a fresh Windows has it: both lists present, no product entries.
void AddLists(MemoryRegistry &registry) {
  registry.AddKey(AppPaths);
  registry.AddKey(Uninstall);
}

std::string Bytes(const std::string &text) { return std::string(text.c_str(), text.size() + 1); }

TEST(RegistrationEntries, AppPathEntryOpensEachLevelCreatesOnlyTheProductKeyAndClosesInReverse) {
  MemoryRegistry registry;
  AddLists(registry);
  const std::string folder = "C:\\Program Files\\Corvane Software\\Vistrel";
  WriteAppPathEntry(registry, folder.c_str());

  // Byte counts include the NUL: the default value is folder + "\\KWB.exe".
  const std::vector<std::string> expected = {
      "open SOFTWARE -> 2", "open Microsoft -> 3", "open Windows -> 4",
      "open CurrentVersion -> 5", "open App Paths -> 6", "create KWB.exe -> 7",
      "set  " + std::to_string(folder.size() + 9), "set Path " + std::to_string(folder.size() + 1),
      "close 7",
      "close 6",            "close 5",             "close 4",
      "close 3",            "close 2"};
  EXPECT_EQ(registry.Calls, expected);
  EXPECT_EQ(registry.OpenHandleCount(), 0u) << "every handle is closed";

  MemoryRegistry::Key *key = registry.FindKey(AppPathKey);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Values[""].Type, RegSz);
  EXPECT_EQ(key->Values[""].Bytes, Bytes("C:\\Program Files\\Corvane Software\\Vistrel\\KWB.exe"));
  EXPECT_EQ(key->Values["Path"].Type, RegSz);
  EXPECT_EQ(key->Values["Path"].Bytes, Bytes("C:\\Program Files\\Corvane Software\\Vistrel"));
}

TEST(RegistrationEntries, UninstallEntryNamesTheProductAndQuotesTheUninstallerPath) {
  MemoryRegistry registry;
  AddLists(registry);
  WriteUninstallEntry(registry, "C:\\Program Files\\Corvane Software\\Vistrel");

  MemoryRegistry::Key *key = registry.FindKey(UninstallKey);
  ASSERT_NE(key, nullptr) << "the key is named as the product";
  EXPECT_EQ(key->Values["DisplayName"].Bytes, Bytes("Vistrel Image Browser"));
  EXPECT_EQ(key->Values["DisplayName"].Type, RegSz);
  // Quoted, so that the blank in "Program Files" cannot make Windows start C:\Program.exe.
  EXPECT_EQ(key->Values["UninstallString"].Bytes,
            Bytes("\"C:\\Program Files\\Corvane Software\\Vistrel\\uninstall.exe\""));
  EXPECT_EQ(key->Values["UninstallString"].Type, RegSz);
  EXPECT_EQ(registry.Calls[4], "open Uninstall -> 6");
  EXPECT_EQ(registry.Calls[5], "create Vistrel Image Browser -> 7");
  EXPECT_EQ(registry.Calls[6], "set DisplayName 22");
  EXPECT_EQ(registry.Calls[7], "set UninstallString 58") << "41-byte folder, quotes, name, NUL";
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegistrationEntries, InstallingAgainOverwritesTheFolderValues) {
  MemoryRegistry registry;
  AddLists(registry);
  WriteAppPathEntry(registry, "C:\\First");
  WriteUninstallEntry(registry, "C:\\First");
  WriteAppPathEntry(registry, "D:\\Second place");
  WriteUninstallEntry(registry, "D:\\Second place");

  EXPECT_EQ(registry.FindKey(AppPathKey)->Values["Path"].Bytes, Bytes("D:\\Second place"));
  EXPECT_EQ(registry.FindKey(AppPathKey)->Values[""].Bytes, Bytes("D:\\Second place\\KWB.exe"));
  EXPECT_EQ(registry.FindKey(UninstallKey)->Values["UninstallString"].Bytes,
            Bytes("\"D:\\Second place\\uninstall.exe\""));
  EXPECT_EQ(ReadPreviousInstallFolder(registry), "D:\\Second place");
}

// Each writer and the reader, with the key path cut short at every depth in turn.
TEST(RegistrationEntries, MissingLevelAtAnyDepthClosesWhatWasOpenedInnermostFirstAndWritesNothing) {
  const std::vector<std::string> levels = {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion"};
  for (int routine = 0; routine < 3; ++routine) {
    for (size_t present = 0; present <= levels.size(); ++present) {
      SCOPED_TRACE("routine " + std::to_string(routine) + ", levels present " +
                   std::to_string(present));
      MemoryRegistry registry;
      std::string path;
      for (size_t i = 0; i < present; ++i)
        path += (i ? "\\" : "") + levels[i];
      if (present)
        registry.AddKey(path);

      CString read;
      if (routine == 0)
        WriteAppPathEntry(registry, "C:\\X");
      else if (routine == 1)
        WriteUninstallEntry(registry, "C:\\X");
      else
        read = ReadPreviousInstallFolder(registry);

      // present levels opened, one failed open, then the closes from the innermost out.
      ASSERT_EQ(registry.Calls.size(), 2 * present + 1);
      for (size_t i = 0; i < present; ++i)
        EXPECT_EQ(registry.Calls[i], "open " + levels[i] + " -> " + std::to_string(i + 2));
      EXPECT_EQ(registry.Calls[present].substr(registry.Calls[present].size() - 5), " -> 0");
      for (size_t i = 0; i < present; ++i)
        EXPECT_EQ(registry.Calls[present + 1 + i], "close " + std::to_string(present + 1 - i));
      EXPECT_TRUE(read.IsEmpty());
      EXPECT_EQ(registry.OpenHandleCount(), 0u);
    }
  }
}

TEST(RegistrationEntries, ProductKeyThatCannotBeCreatedGetsNoValuesAndTheOtherEntryIsStillWritten) {
  MemoryRegistry registry;
  AddLists(registry);
  registry.FailCreate.insert("KWB.exe");
  WriteAppPathEntry(registry, "C:\\X");
  WriteUninstallEntry(registry, "C:\\X");

  for (const std::string &call : registry.Calls)
    EXPECT_NE(call.rfind("set Path", 0), 0u) << "no value may be written without the key";
  EXPECT_EQ(registry.FindKey(AppPathKey), nullptr);
  ASSERT_NE(registry.FindKey(UninstallKey), nullptr);
  EXPECT_EQ(registry.FindKey(UninstallKey)->Values.size(), 2u);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(PreviousInstallFolder, ReadsBackWhatTheWriterStored) {
  MemoryRegistry registry;
  AddLists(registry);
  WriteAppPathEntry(registry, "E:\\Apps\\Viewer");
  registry.Calls.clear();

  EXPECT_EQ(ReadPreviousInstallFolder(registry), "E:\\Apps\\Viewer");
  const std::vector<std::string> expected = {
      "open SOFTWARE -> 8",  "open Microsoft -> 9", "open Windows -> 10",
      "open CurrentVersion -> 11", "open App Paths -> 12", "open KWB.exe -> 13",
      "query Path 261",      "close 13",            "close 12",
      "close 11",            "close 10",            "close 9",
      "close 8"};
  EXPECT_EQ(registry.Calls, expected);
}

TEST(PreviousInstallFolder, IsEmptyAndCreatesNothingWhenTheEntryOrItsPathIsMissing) {
  MemoryRegistry registry;
  AddLists(registry);
  EXPECT_TRUE(ReadPreviousInstallFolder(registry).IsEmpty());
  EXPECT_EQ(registry.FindKey(AppPathKey), nullptr) << "the lookup must not create the key";

  registry.AddKey(AppPathKey);
  registry.SetRawValue(AppPathKey, "", RegSz, Bytes("C:\\X\\KWB.exe"));
  EXPECT_TRUE(ReadPreviousInstallFolder(registry).IsEmpty());

  for (const std::string &call : registry.Calls)
    EXPECT_NE(call.rfind("create", 0), 0u) << call;
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(PreviousInstallFolder, PathFitsUpTo261BytesWithItsNulAndEndsAtAFullBuffer) {
  MemoryRegistry registry;
  const std::string longest(260, 'p');

  registry.SetRawValue(AppPathKey, "Path", RegSz, Bytes(longest));
  EXPECT_EQ(std::string(ReadPreviousInstallFolder(registry)), longest) << "261 bytes fit";

  registry.SetRawValue(AppPathKey, "Path", RegSz, Bytes(longest + "q"));
  EXPECT_TRUE(ReadPreviousInstallFolder(registry).IsEmpty()) << "262 bytes do not";

  registry.SetRawValue(AppPathKey, "Path", RegSz, longest + "q");
  EXPECT_EQ(std::string(ReadPreviousInstallFolder(registry)), longest + "q")
      << "a value filling the buffer without a NUL ends at the buffer's end";

  registry.SetRawValue(AppPathKey, "Path", RegSz, std::string("D:\\A\0junk", 10));
  EXPECT_EQ(ReadPreviousInstallFolder(registry), "D:\\A") << "the text ends at its first NUL";
}

} // namespace
