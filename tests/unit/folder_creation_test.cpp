// Creating the install folder and the folders above it, over the in-memory machine.
#include "memory_platform.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Characters of code page 932 whose trail byte is 0x5C, the backslash.
const std::string Table = "\x95\x5C", Katakana = "\x83\x5C";

std::string Tried(const std::string &path, uint32_t result) {
  return "create-folder " + path + " -> " + std::to_string(result);
}

TEST(FolderCreation, MakesMissingLevelsTopFirstAndTriesEachLevelAgainOnlyOnce) {
  const std::string trailByte = "C:\\" + Katakana + Table; // a parent ending in 0x5C
  std::string deep = "C:"; // 232 bytes of folders that exist; the last level makes the length
  while (deep.size() < 226)
    deep += "\\" + std::string(9, 'f');
  const std::string long239 = deep + "\\" + std::string(238 - deep.size(), 'x');
  const struct {
    const char *Name;
    std::function<void(MemoryMachine &)> Setup;
    std::string Path;
    uint32_t Result;
    std::vector<std::string> Calls;
  } rows[] = {
      {"every level missing", nullptr, "C:\\A\\B\\C", 0,
       {Tried("C:\\A\\B\\C", 3), Tried("C:\\A\\B", 3), Tried("C:\\A", 0), Tried("C:\\A\\B", 0),
        Tried("C:\\A\\B\\C", 0)}},
      {"existing folder", [](MemoryMachine &m) { m.AddFolder("C:\\V\\D"); }, "C:\\V\\D", 0,
       {Tried("C:\\V\\D", 183)}},
      {"white space around", [](MemoryMachine &m) { m.AddFolder("C:\\P F"); }, " \t C:\\P F\\V \r\n\v\f ",
       0, {Tried("C:\\P F\\V", 0)}},
      // No parent can be split off: a missing drive, a trailing or a doubled backslash.
      {"missing drive", nullptr, "Q:\\Setup", 3, {Tried("Q:\\Setup", 3)}},
      {"trailing backslash", nullptr, "C:\\X\\Y\\", 3, {Tried("C:\\X\\Y\\", 3)}},
      {"doubled backslash", nullptr, "C:\\X\\\\Y", 3, {Tried("C:\\X\\\\Y", 3)}},
      // Only full paths: a drive root, from a drive's root, or a share's.
      {"relative name", nullptr, "Vistrel", 161, {}},
      {"from the current drive's root", nullptr, "\\NoDrive\\X", 161, {}},
      {"relative to a drive's folder", nullptr, "c:X", 161, {}},
      {"drive root", nullptr, "C:", 0, {Tried("C:", 183)}},
      {"server share", [](MemoryMachine &m) { m.AddFolder("\\\\srv\\share"); }, "\\\\srv\\share\\V",
       0, {Tried("\\\\srv\\share\\V", 0)}},
      // The deepest error is passed up, and the levels made stay.
      {"access denied part way", [](MemoryMachine &m) { m.Fail("create-folder C:\\P\\Q", 2, 5); },
       "C:\\P\\Q\\R", 5, {Tried("C:\\P\\Q\\R", 3), Tried("C:\\P\\Q", 3), Tried("C:\\P", 0), Tried("C:\\P\\Q", 5)}},
      // A level still missing its parent after the parent was made ends the attempt: a
      // file in the way, or a parent whose trailing blank only its own creation dropped.
      {"file in the way", [](MemoryMachine &m) { m.Entries["C:\\F"]; }, "C:\\F\\G", 3,
       {Tried("C:\\F\\G", 3), Tried("C:\\F", 183), Tried("C:\\F\\G", 3)}},
      {"parent ending in a blank", nullptr, "C:\\X \\Y", 3,
       {Tried("C:\\X \\Y", 3), Tried("C:\\X", 0), Tried("C:\\X \\Y", 3)}},
      // A backslash is found as a character, never as the trail byte 0x5C of one.
      {"last level ending in a trail byte 0x5C", nullptr, "C:\\N\\X" + Table, 0,
       {Tried("C:\\N\\X" + Table, 3), Tried("C:\\N", 0), Tried("C:\\N\\X" + Table, 0)}},
      {"parent ending in a trail byte 0x5C", nullptr, trailByte + "\\B", 0,
       {Tried(trailByte + "\\B", 3), Tried(trailByte, 0), Tried(trailByte + "\\B", 0)}},
      // 240 bytes or more after trimming: nothing is tried. A double-byte character counts two.
      {"240 bytes", nullptr, long239 + "y", 24, {}},
      {"239 bytes and blanks", nullptr, "  " + long239 + "  ", 0, {Tried(long239, 0)}},
      {"239 bytes, double-byte", nullptr, long239.substr(0, 237) + Table, 0,
       {Tried(long239.substr(0, 237) + Table, 0)}},
      {"240 bytes, double-byte", nullptr, long239.substr(0, 238) + Table, 24, {}},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.Name);
    TestCodePage codePage;
    codePage.DoubleByte = true;
    MemoryMachine machine(codePage);
    machine.AddFolder(deep);
    if (row.Setup)
      row.Setup(machine);
    EXPECT_EQ(CreateFolderPath(machine, codePage, CString(row.Path.c_str())), row.Result);
    EXPECT_EQ(machine.Calls, row.Calls);
  }
}

} // namespace
