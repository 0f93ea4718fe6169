// The registry entries over the in-memory registry: which keys are opened and created in
// what order, the bytes counted for each value, and every key closed, innermost first.
// The values themselves are read back from the real registry in the Wine tests.
#include "memory_platform.h"

#include <gtest/gtest.h>

namespace {

const std::string Folder = "C:\\Program Files\\Corvane Software\\Vistrel"; // 41 bytes
const std::string Lists = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
enum Routine { AppPath, Uninstall, Reader };

// The calls of a walk down the levels to the list, of which `present` exist (handles 2 to
// 6), the calls inside the list, and the closes from handle `innermost` down to 2.
std::vector<std::string> Walk(Routine routine, std::vector<std::string> inside, int innermost, int present = 5) {
  const std::string levels[] = {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion",
                                routine == Uninstall ? "Uninstall" : "App Paths"};
  std::vector<std::string> calls;
  for (int i = 0; i < std::min(present + 1, 5); ++i)
    calls.push_back("open " + levels[i] + " -> " + std::to_string(i < present ? i + 2 : 0));
  calls.insert(calls.end(), inside.begin(), inside.end());
  for (int handle = innermost; handle >= 2; --handle)
    calls.push_back("close " + std::to_string(handle));
  return calls;
}

TEST(Registration, OpensEachLevelCreatesOnlyTheEntryCountsTheNulAndClosesInnermostFirst) {
  struct Row {
    Routine Run;
    std::string Setup; // a key that cannot be created, or the Path value stored
    std::vector<std::string> Calls;
    std::string Read = "";
    int Present = 5;
  };
  std::vector<Row> rows = {
      {AppPath, "", Walk(AppPath, {"create KWB.exe -> 7", "set  50", "set Path 42"}, 7)},
      // Quoted, so that the blank in "Program Files" cannot start C:\Program.exe.
      {Uninstall, "",
       Walk(Uninstall, {"create Vistrel Image Browser -> 7", "set DisplayName 22", "set UninstallString 58"}, 7)},
      {AppPath, "KWB.exe", Walk(AppPath, {"create KWB.exe -> 0"}, 6)},
      {Reader, "E:\\A", Walk(Reader, {"open KWB.exe -> 7", "query Path 261"}, 7), "E:\\A"},
      {Reader, "", Walk(Reader, {"open KWB.exe -> 0"}, 6)},
  };
  // The path ends at its first NUL, or where it fills the buffer of 261 bytes.
  const std::string longest(260, 'p'), reading = "open KWB.exe -> 7";
  for (const auto &[stored, read] : {std::pair<std::string, std::string>{longest + "q", longest + "q"},
                                     {longest + "q" + '\0', ""}, {std::string("D:\\A\0junk", 9), "D:\\A"}})
    rows.push_back({Reader, stored, Walk(Reader, {reading, "query Path 261"}, 7), read});
  // A level missing at each depth: the levels above it are closed and nothing is written.
  for (Routine routine : {AppPath, Uninstall, Reader})
    for (int present = 0; present < 5; ++present)
      rows.push_back({routine, "", Walk(routine, {}, present + 1, present), "", present});
  for (const Row &row : rows) {
    SCOPED_TRACE("routine " + std::to_string(row.Run) + ", " + row.Setup + ", levels " + std::to_string(row.Present));
    MemoryRegistry registry;
    const std::string list = Lists + (row.Run == Uninstall ? "\\Uninstall" : "\\App Paths");
    size_t end = 0;
    for (int level = 0; level < row.Present; ++level)
      end = list.find('\\', end + 1);
    registry.AddKey(list.substr(0, end));
    registry.FailCreate = row.Setup;
    if (row.Run == Reader && !row.Setup.empty())
      registry.Keys[list + "\\KWB.exe"]["Path"] = row.Setup;
    const CString read = row.Run == Reader ? ReadPreviousInstallFolder(registry) : CString();
    if (row.Run != Reader)
      (row.Run == AppPath ? WriteAppPathEntry : WriteUninstallEntry)(registry, Folder.c_str());
    EXPECT_EQ(registry.Calls, row.Calls);
    EXPECT_EQ(std::string(read), row.Read);
    EXPECT_EQ(registry.Open.size(), 2u) << "a key was left open";
  }
}

} // namespace
