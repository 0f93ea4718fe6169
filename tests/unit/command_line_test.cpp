// The command line of unattended installations: what each line of a script means.
#include "app/command_line.h"
#include "memory_platform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char *Arguments;
  bool Valid;
  bool Silent;
  int Edition;
  const char *Folder;
};

// 表 is 0x95 0x5C in code page 932: the parser leaves every byte of the folder alone,
// and the installation removes one trailing backslash as it does from a typed folder.
const Case Cases[] = {
    {"", true, false, -1, ""},
    {"/S /EDITION=4.2", true, true, 1, ""},
    {"/s /edition=3.1.1", true, true, 0, ""},
    {"/EDITION=3.1.1 /S", true, true, 0, ""},
    {"\t/Edition=4.2  ", true, false, 1, ""},
    {"/EDITION=4.2 /D=C:\\Tools\\KWB", true, false, 1, "C:\\Tools\\KWB"},
    {"/S /EDITION=4.2 /D=C:\\Program Files\\My Tools\\ ", true, true, 1,
     "C:\\Program Files\\My Tools\\"},
    {"/d=D:\\\\", true, false, -1, "D:\\\\"},
    {"/D=C:\\\x95\x5C", true, false, -1, "C:\\\x95\x5C"},
    // Quoted around the folder or the whole option, as scripts pass a folder with blanks.
    {"/D=\"C:\\Program Files\\KWB\"", true, false, -1, "C:\\Program Files\\KWB"},
    {"/S /EDITION=4.2 \"/D=C:\\Program Files\\KWB\\\" ", true, true, 1, "C:\\Program Files\\KWB\\"},
    {"/D=\"C:\\KWB", false, false, -1, ""},
    {"\"/D=C:\\KWB", false, false, -1, ""},
    {"/D=\"C:\\A\"B\"", false, false, -1, ""},
    {"/D=\"\"", false, false, -1, ""},
    // /D= takes the rest of the line, so an option after it is part of the folder.
    {"/EDITION=4.2 /D=C:\\X /S", true, false, 1, "C:\\X /S"},
    {"/S /S /EDITION=4.2 /EDITION=4.2", true, true, 1, ""},
    {"/?", false, false, -1, ""},
    {"/S", false, true, -1, ""},
    {"/S /EDITION=5", false, true, -1, ""},
    {"/EDITION=4.2 /EDITION=3.1.1", false, false, 0, ""},
    {"/EDITION=", false, false, -1, ""},
    {"/EDITION=4.2x", false, false, -1, ""},
    {"/SILENT", false, false, -1, ""},
    {"-S /EDITION=4.2", false, false, 1, ""},
    {"install now", false, false, -1, ""},
    {"/D=", false, false, -1, ""},
    {"/D=  ", false, false, -1, ""},
    {"/D=\\", false, false, -1, ""},
    {"/D=C:\\a|b", false, false, -1, ""},
};

TEST(CommandLine, EachLineMeansWhatItSays) {
  for (const Case &c : Cases) {
    SCOPED_TRACE(c.Arguments);
    CommandLine line = ParseCommandLine(c.Arguments);
    EXPECT_EQ(line.Valid, c.Valid);
    EXPECT_EQ(line.Silent, c.Silent);
    EXPECT_EQ(line.Edition, c.Edition);
    EXPECT_STREQ(line.Folder.GetString(), c.Folder);
  }
  // The installation decides about a folder that is too long, not the parser.
  const std::string longFolder = "C:\\" + std::string(300, 'x');
  CommandLine line = ParseCommandLine(("/S /EDITION=4.2 /D=" + longFolder).c_str());
  EXPECT_TRUE(line.Valid);
  EXPECT_EQ(line.Folder.GetString(), longFolder);
}

TEST(CommandLine, ArgumentsFollowTheProgramName) {
  const char *const lines[][2] = {
      {"kwbsetup.exe /S", "/S"},
      {"\"C:\\My Downloads\\kwbsetup.exe\"  /D=C:\\A B", "/D=C:\\A B"},
      {"\"C:\\kwbsetup.exe\"/S", "/S"},
      {"kwbsetup", ""},
      {"\"unterminated", ""},
  };
  for (const auto &line : lines)
    EXPECT_STREQ(ProgramArguments(line[0]), line[1]) << line[0];
}

} // namespace
