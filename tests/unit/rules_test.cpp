// Rules that need no platform: the counted string, the platform classification, the
// default install folder, the yearly daylight-saving rule, the command line, and the
// folder browser's free-space text and path matching. Which entries become the
// browser's items shows in the trees the end-to-end rows read.
#include "app/command_line.h"
#include "app/platform_check.h"
#include "app/silent_setup.h"
#include "base/path_characters.h"
#include "folder_browser/folder_tree_rules.h"
#include "folder_browser/free_space_text.h"
#include "memory_platform.h"
#include "platform/zone_rules.h"
#include "setup_dialog/default_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(Rules, CountedStringAppendsFromItselfStaysInsideItsTextAndEndsAFilledBuffer) {
  CString text("abc");
  text += text;
  text += text.GetString() + 4;
  EXPECT_EQ(text, "abcabcbc");
  EXPECT_EQ(CString("a\0b", 3).GetLength(), 3) << "a byte count, not a search for NUL";
  EXPECT_TRUE(text.Left(-1) == "" && text.Left(99) == text && text.Mid(99) == "" && text.Mid(6) == "bc");
  text.Truncate(0); // a buffer filled without a NUL ends where the filling ends
  std::memset(text.GetBuffer(4), 'x', 4);
  text.ReleaseBuffer();
  EXPECT_EQ(text, "xxxx");
}

TEST(Rules, PlatformAndDefaultFolder) {
  // The NT bit wins; the 3-D look is for versions before 4.
  const std::pair<uint32_t, PlatformFamily> platforms[] = {
      {0, UnsupportedPlatform}, {1, Windows9xFamily},     {2, WindowsNtFamily},
      {3, WindowsNtFamily},     {0x101, Windows9xFamily}, {0xFFFFFF04, UnsupportedPlatform},
      {5, Windows9xFamily},     {0x105, Windows9xFamily}};
  for (const auto &[id, family] : platforms)
    EXPECT_EQ(ClassifyPlatform(id), family) << "platform id " << id;
  EXPECT_TRUE(NeedsThreeDimensionalControls(3) && !NeedsThreeDimensionalControls(4));
  // Below Program Files on the Windows drive, else below the Windows folder.
  const std::pair<const char *, const char *> folders[] = {
      {"d:\\winnt", "D:\\Program Files"}, {"", "C:\\Program Files"}, // the query failed
      {"\\\\server\\windows", "\\\\server\\windows"}, {"1:\\windows", "1:\\windows"},
      {"Z:\\WINDOWS", "Z:\\Program Files"}, {"z:\\WINDOWS", "Z:\\Program Files"}};
  for (const auto &[windows, folder] : folders)
    EXPECT_EQ(std::string(DefaultInstallFolder(windows)), folder + std::string("\\Corvane Software\\Vistrel"));
}

TEST(Rules, ZoneRulesApplyTheRuleOfTheDateAsked) {
  // Central Europe: UTC+1, summer from the last Sunday of March 02:00 to that of October
  // 03:00 (in 2000 the 26th and the 29th; March 2004 had five Sundays); Sydney before 2008
  // across the turn of the year; the eastern US before 2007 from April's first Sunday (in
  // 2000 the 2nd); a rule for 2000 alone; none.
  const ZoneRules europe = {-60, 0, -60, {0, 10, 0, 5, 3, 0, 0, 0}, {0, 3, 0, 5, 2, 0, 0, 0}};
  const ZoneRules sydney = {-600, 0, -60, {0, 3, 0, 5, 3, 0, 0, 0}, {0, 10, 0, 5, 2, 0, 0, 0}};
  const ZoneRules us = {300, 0, -60, {0, 10, 0, 5, 2, 0, 0, 0}, {0, 4, 0, 1, 2, 0, 0, 0}};
  const ZoneRules once = {-60, 0, -60, {2000, 10, 0, 29, 3, 0, 0, 0}, {2000, 3, 0, 26, 2, 0, 0, 0}};
  const ZoneRules none = {-540, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}};
  const struct { const ZoneRules &Rules; LocalTime Time; long Bias; } rows[] = {
      {europe, {2000, 3, 26, 1, 59, 59}, -60},   {europe, {2000, 3, 26, 2, 0, 0}, -120},
      {europe, {2000, 10, 29, 2, 59, 59}, -120}, {europe, {2000, 10, 29, 3, 0, 0}, -60},
      {europe, {2004, 3, 21, 12, 0, 0}, -60},    {europe, {2004, 3, 28, 12, 0, 0}, -120},
      {sydney, {2005, 1, 10, 8, 0, 0}, -660},    {sydney, {2000, 9, 15, 15, 51, 56}, -600},
      {us, {2000, 4, 1, 12, 0, 0}, 300},         {us, {2000, 4, 2, 12, 0, 0}, 240},
      {once, {2000, 9, 15, 15, 51, 56}, -120},   {once, {2001, 9, 15, 15, 51, 56}, -60},
      {none, {2000, 9, 15, 15, 51, 56}, -540}};
  for (const auto &row : rows)
    EXPECT_EQ(UtcBiasMinutes(row.Rules, row.Time), row.Bias)
        << row.Time.Year << "-" << row.Time.Month << "-" << row.Time.Day << " " << row.Time.Hour << "h";
}

// Whole command lines as the program reads them, its name (quoted or not) first. The
// parser leaves every byte of the folder alone, 表's trail byte 0x5C included: the
// installation removes one trailing backslash as it does from a typed folder, and decides
// about a folder that is too long.
TEST(CommandLine, EachLineMeansWhatItSays) {
  const std::string longFolder = "C:\\" + std::string(300, 'x');
  const struct { std::string Line; bool Valid, Silent; int Edition; std::string Folder, LogFile = ""; } cases[] = {
      {"kwbsetup", true, false, -1, ""},
      {"\"unterminated /S", true, false, -1, ""}, // all of it the program's name
      {"kwbsetup.exe /S /EDITION=4.2", true, true, 1, ""},
      {"\"C:\\kwbsetup.exe\"/s /edition=3.1.1", true, true, 0, ""},
      {"kwbsetup /EDITION=3.1.1 /S", true, true, 0, ""},
      {"kwbsetup \t/Edition=4.2  ", true, false, 1, ""},
      {"\"C:\\My Downloads\\kwbsetup.exe\"  /EDITION=4.2 /D=C:\\Tools\\KWB", true, false, 1, "C:\\Tools\\KWB"},
      {"kwbsetup /S /EDITION=4.2 /D=C:\\Program Files\\My Tools\\ ", true, true, 1, "C:\\Program Files\\My Tools\\"},
      {"kwbsetup /d=D:\\\\", true, false, -1, "D:\\\\"},
      {"kwbsetup /D=C:\\\x95\x5C", true, false, -1, "C:\\\x95\x5C"},
      {"kwbsetup /S /EDITION=4.2 /D=" + longFolder, true, true, 1, longFolder},
      // Quoted around the folder or the whole option, as scripts pass a folder with blanks.
      {"kwbsetup /D=\"C:\\Program Files\\KWB\"", true, false, -1, "C:\\Program Files\\KWB"},
      {"kwbsetup /S /EDITION=4.2 \"/D=C:\\Program Files\\KWB\\\" ", true, true, 1, "C:\\Program Files\\KWB\\"},
      {"kwbsetup /D=\"C:\\KWB", false, false, -1, ""}, {"kwbsetup \"/D=C:\\KWB", false, false, -1, ""},
      {"kwbsetup /D=\"C:\\A\"B\"", false, false, -1, ""}, {"kwbsetup /D=\"\"", false, false, -1, ""},
      // /D= takes the rest of the line, so an option after it is part of the folder.
      {"kwbsetup /EDITION=4.2 /D=C:\\X /S", true, false, 1, "C:\\X /S"},
      {"kwbsetup /S /S /EDITION=4.2 /EDITION=4.2", true, true, 1, ""},
      {"kwbsetup /?", false, false, -1, ""}, {"kwbsetup.exe /S", false, true, -1, ""},
      {"kwbsetup /S /EDITION=5", false, true, -1, ""}, {"kwbsetup /EDITION=4.2 /EDITION=3.1.1", false, false, 0, ""},
      {"kwbsetup /EDITION=", false, false, -1, ""}, {"kwbsetup /EDITION=4.2x", false, false, -1, ""},
      {"kwbsetup /SILENT", false, false, -1, ""}, {"kwbsetup -S /EDITION=4.2", false, false, 1, ""},
      {"kwbsetup install now", false, false, -1, ""}, {"kwbsetup /D=  ", false, false, -1, ""},
      {"kwbsetup /D=\\", false, false, -1, ""}, {"kwbsetup /D=C:\\a|b", false, false, -1, ""},
      {"kwbsetup /X=C:\\Y", false, false, -1, ""}, {"kwbsetup \"/D=\"C:\\X\"\"", true, false, -1, "C:\\X"},
      // Characters are taken whole in the code page: ポ's trail byte is '|'.
      {"kwbsetup /S /EDITION=4.2 /D=C:\\\x83\x7C", true, true, 1, "C:\\\x83\x7C"},
      {"kwbsetup /D=\"C:\\\x83\x7C \x95\x5C\"", true, false, -1, "C:\\\x83\x7C \x95\x5C"},
      {"kwbsetup /D=C:\\N\x83", true, false, -1, "C:\\N\x83"}, // a lead byte with nothing after it
      // /LOG= takes a word, quoted or not, before /D=.
      {"kwbsetup /S /EDITION=4.2 /LOG=C:\\k.log /D=C:\\X", true, true, 1, "C:\\X", "C:\\k.log"},
      {"kwbsetup \"/log=C:\\a b\\k.log\" /S /EDITION=3.1.1", true, true, 0, "", "C:\\a b\\k.log"},
      {"kwbsetup /LOG=\"C:\\a b\\\x83\x7C.log\" /D=C:\\X", true, false, -1, "C:\\X", "C:\\a b\\\x83\x7C.log"},
      {"kwbsetup /LOG= /S /EDITION=4.2", false, true, 1, ""}, {"kwbsetup /LOG=\"C:\\k.log", false, false, -1, ""},
      {"kwbsetup /LOG=\"C:\\k\".log", false, false, -1, ""}, {"kwbsetup /LOG=C:\\k?.log", false, false, -1, ""},
  };
  for (const auto &c : cases) {
    const CommandLine line = ParseCommandLine(ProgramArguments(c.Line.c_str()), DoubleByte);
    EXPECT_TRUE(line.Valid == c.Valid && line.Silent == c.Silent && line.Edition == c.Edition &&
                line.Folder.GetString() == c.Folder && line.LogFile.GetString() == c.LogFile)
        << c.Line << ": " << line.Valid << line.Silent << " " << line.Edition << " " << line.Folder.GetString();
  }
  EXPECT_EQ(TrimWhiteSpace("C:\\N\x83", DoubleByte).GetLength(), 5) << "a lead byte at the end is one byte";
}

// A silent run's folder: /D=, else the recorded one, else the default; and its exit code
// for each way a run ends.
TEST(SilentRun, FolderInOrderAndExitCodeForEachOutcome) {
  const struct { const char *Line, *Recorded, *Folder; } rows[] = {
      {"k /S /EDITION=4.2 /D=E:\\Given", "D:\\Recorded", "E:\\Given"},
      {"k /S /EDITION=4.2", "D:\\Recorded", "D:\\Recorded"},
      {"k /S /EDITION=4.2", "", "Z:\\Program Files\\Corvane Software\\Vistrel"}};
  for (const auto &row : rows) {
    MemoryRegistry registry;
    registry.AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KWB.exe");
    if (*row.Recorded)
      registry.Keys["SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KWB.exe"]["Path"] = row.Recorded;
    const CommandLine line = ParseCommandLine(ProgramArguments(row.Line), DoubleByte);
    EXPECT_EQ(std::string(SilentInstallFolder(line, registry, "Z:\\WINDOWS")), row.Folder) << row.Line;
  }
  const std::pair<InstallOutcome, ExitCode> codes[] = {
      {InstallCompleted, ExitInstalled}, {InstallFolderRefused, ExitFolderNotCreated}, {InstallFilesFailed, ExitFileNotWritten},
      {InstallFileInUse, ExitFileInUse}, {InstallDamaged, ExitDamagedInstaller}, {InstallNotRun, ExitBadCommandLine}};
  for (const auto &[outcome, code] : codes)
    EXPECT_EQ(ExitCodeOf(outcome), code) << outcome;
}

// One volume that answers with the given figures, or cannot be asked when they are all 0;
// it keeps the root it was asked about.
struct OneVolume : Drives {
  VolumeFreeSpace Space;
  std::string Asked;
  uint32_t TypeOf(const char *) override { return DriveTypeFixed; }
  bool FreeSpace(const char *root, VolumeFreeSpace *space) override {
    Asked = root, *space = Space;
    return Space.SectorsPerCluster || Space.BytesPerSector || Space.FreeClusters;
  }
};

TEST(FreeSpaceText, KilobytesBelow8MegabytesThenWholeMegabytesAndNothingWhenUnknown) {
  // Space: sectors per cluster, bytes per sector, free clusters.
  struct Case { const char *Path, *Root; VolumeFreeSpace Space; const char *Expected; } cases[] = {
      {"C:\\Program Files\\", "C:\\", {2, 512, 8191}, "8191KB free"}, {"C:\\", "C:\\", {2, 512, 8192}, "8MB free"},
      {"D:", "D:", {8, 512, 384000}, "1500MB free"}, {"E:\\Deep\\Down\\", "E:\\", {2, 512, 9215}, "8MB free"},
      // A 1.44 MB floppy disk: 512-byte clusters, which must not round down to 0 KB.
      {"A:\\", "A:\\", {1, 512, 2847}, "1423KB free"}, {"A:\\", "A:\\", {1, 512, 1}, "0KB free"},
      {"F:\\", "F:\\", {8, 512, 0x3FFFC000}, ""}, // 0xFFFF0000 KB
      {"F:\\", "F:\\", {2, 512, 0xFFFEFFFF}, "4194239MB free"},
      {"F:\\", "F:\\", {0xFFFFFFFF, 0xFFFFFFFF, 2}, ""}, // beyond 64 bits
      {"A:\\", "A:\\", {0, 0, 0}, ""}, // a removable drive without a medium cannot be asked
  };
  for (const Case &c : cases) {
    OneVolume volume;
    volume.Space = c.Space;
    EXPECT_EQ(std::string(FreeSpaceText(c.Path, volume)) + "|" + volume.Asked, c.Expected + std::string("|") + c.Root)
        << c.Path << " " << c.Space.FreeClusters;
  }
}

TEST(PathComponents, SplitAtBackslashCharactersOnlyAndIgnoreOneTrailingBackslash) {
  struct Case { const char *Path, *Expected; } cases[] = { // the components, each followed by "|"
      {"C:\\A\\B\\", "C:|A|B|"}, {"C:\\A\\B", "C:|A|B|"}, {"C:\\", "C:|"}, {"", ""},
      {"\\\\server\\share", "||server|share|"}, {"D:\\\x95\x5C\\x", "D:|\x95\x5C|x|"},
      {"D:\\\x95\x5C\x95\x5C", "D:|\x95\x5C\x95\x5C|"},
      {"D:\\a\x95", "D:|a\x95|"}, // a lead byte with nothing after it is a character
  };
  for (const Case &c : cases) {
    CString path = c.Path;
    std::string components;
    for (int guard = 0; !path.IsEmpty() && guard < 10; ++guard)
      components += std::string(TakeFirstComponent(path, DoubleByte)) + "|";
    EXPECT_EQ(components, c.Expected) << c.Path;
  }
}

TEST(ItemNames, MatchIgnoringTheCaseOfAToZOnly) {
  struct Case { const char *Text, *Component; bool Same; } cases[] = {
      {"Program Files", "pROGRAM fILES", true}, {"C:", "c:", true},
      {"Tools", "Tool", false},                 {"[x]", "{X}", false},
      {"\xC4pfel", "\xE4PFEL", false},         // letters beyond Z keep their case
      {"\x95\x41", "\x95\x61", false},         // trail bytes are not letters
      {"\x95\x5C" "a", "\x95\x5C" "A", true},
  };
  for (const Case &c : cases)
    EXPECT_EQ(IsSameItemName(c.Text, c.Component, DoubleByte), c.Same) << c.Text << " " << c.Component;
}

} // namespace
