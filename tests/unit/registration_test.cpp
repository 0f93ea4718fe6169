// The registry entries over the in-memory registry: which keys are opened and created in
// what order, the bytes counted for each value, and every key closed, innermost first.
// The values themselves are read back from the real registry in the Wine tests.
#include "install/registration.h"
#include "memory_platform.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const std::string Levels[] = {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion"};
const std::string Lists = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string Folder = "C:\\Program Files\\Corvane Software\\Vistrel"; // 41 bytes

// The calls of a walk down to the list, the calls inside it, then the closes from handle
// `innermost` down to the first level's 2.
std::vector<std::string> Walk(const std::string &list, std::vector<std::string> inside, int innermost) {
  std::vector<std::string> calls;
  for (int i = 0; i < 5; ++i)
    calls.push_back("open " + (i < 4 ? Levels[i] : list) + " -> " + std::to_string(i + 2));
  calls.insert(calls.end(), inside.begin(), inside.end());
  for (int handle = innermost; handle >= 2; --handle)
    calls.push_back("close " + std::to_string(handle));
  return calls;
}

TEST(Registration, OpensEachLevelCreatesOnlyTheEntryCountsTheNulAndClosesInnermostFirst) {
  enum { AppPath, Uninstall, Reader };
  struct Row {
    std::string Name;
    int Routine;
    std::function<void(MemoryRegistry &)> Setup;
    std::vector<std::string> Calls;
    std::string Read = "";
  };
  std::vector<Row> rows = {
      {"app path", AppPath, nullptr,
       Walk("App Paths", {"create KWB.exe -> 7", "set  50", "set Path 42"}, 7)},
      // Quoted, so that the blank in "Program Files" cannot start C:\Program.exe.
      {"uninstall", Uninstall, nullptr,
       Walk("Uninstall", {"create Vistrel Image Browser -> 7", "set DisplayName 22", "set UninstallString 58"}, 7)},
      {"entry cannot be created", AppPath, [](MemoryRegistry &r) { r.FailCreate = "KWB.exe"; },
       Walk("App Paths", {"create KWB.exe -> 0"}, 6)},
      {"reader", Reader, [](MemoryRegistry &r) { r.Keys[Lists + "\\App Paths\\KWB.exe"]["Path"] = "E:\\A"; },
       Walk("App Paths", {"open KWB.exe -> 7", "query Path 261"}, 7), "E:\\A"},
      {"reader without an entry", Reader, nullptr, Walk("App Paths", {"open KWB.exe -> 0"}, 6)},
  };
  // A level missing at each depth: the levels above it are closed and nothing is written.
  for (int routine : {AppPath, Uninstall, Reader})
    for (int present = 0; present < 5; ++present) {
      std::vector<std::string> calls = Walk(routine == Uninstall ? "Uninstall" : "App Paths", {}, present + 1);
      calls.erase(calls.begin() + present + 1, calls.begin() + 5);
      calls[present].replace(calls[present].size() - 1, 1, "0");
      rows.push_back({"missing level " + std::to_string(present), routine,
                      [present](MemoryRegistry &r) {
                        r.Keys.clear();
                        r.AddKey(present ? Lists.substr(0, Lists.find(Levels[present]) - 1) : "");
                      },
                      calls});
    }
  for (const Row &row : rows) {
    SCOPED_TRACE(row.Name + ", routine " + std::to_string(row.Routine));
    MemoryRegistry registry;
    registry.AddKey(Lists + "\\App Paths");
    registry.AddKey(Lists + "\\Uninstall");
    if (row.Setup)
      row.Setup(registry);
    CString read;
    if (row.Routine == AppPath)
      WriteAppPathEntry(registry, Folder.c_str());
    else if (row.Routine == Uninstall)
      WriteUninstallEntry(registry, Folder.c_str());
    else
      read = ReadPreviousInstallFolder(registry);
    EXPECT_EQ(registry.Calls, row.Calls);
    EXPECT_EQ(std::string(read), row.Read);
    EXPECT_EQ(registry.Open.size(), 1u) << "a key was left open";
  }
}

TEST(Registration, ReaderTakesThePathUpToItsFirstNulOrTheEndOfItsBuffer) {
  const std::string longest(260, 'p');
  const std::pair<std::string, std::string> rows[] = {
      {longest + '\0', longest},
      {longest + "q", longest + "q"}, // 261 bytes without a NUL fill the buffer
      {longest + "q" + '\0', ""},     // 262 bytes do not fit
      {std::string("D:\\A\0junk", 9), "D:\\A"},
  };
  for (const auto &[stored, read] : rows) {
    MemoryRegistry registry;
    registry.Keys[Lists + "\\App Paths\\KWB.exe"]["Path"] = stored;
    registry.AddKey(Lists + "\\App Paths\\KWB.exe");
    EXPECT_EQ(std::string(ReadPreviousInstallFolder(registry)), read) << stored.size() << " bytes";
  }
}

} // namespace
