// The folder browser's rules that need no window: the free-space text, and how a path is
// cut into item names and matched against item texts. Which entries become items shows in
// the trees the end-to-end rows read.
#include "folder_browser/folder_tree_rules.h"
#include "folder_browser/free_space_text.h"
#include "memory_platform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// 0x95 0x5C is one character of code page 932, whose trail byte is a backslash.
const TestCodePage DoubleByte = [] { TestCodePage page; page.DoubleByte = true; return page; }();

// One volume that answers with the given figures, or cannot be asked; it keeps the root
// it was asked about.
struct OneVolume : Drives {
  OneVolume(VolumeFreeSpace space, bool answers) : Space(space), Answers(answers) {}
  uint32_t TypeOf(const char *) override { return DriveTypeFixed; }
  bool FreeSpace(const char *root, VolumeFreeSpace *space) override {
    Asked = root;
    *space = Space;
    return Answers;
  }
  VolumeFreeSpace Space;
  bool Answers;
  std::string Asked;
};

TEST(FreeSpaceText, KilobytesBelow8MegabytesThenWholeMegabytesAndNothingWhenUnknown) {
  // Space: sectors per cluster, bytes per sector, free clusters.
  struct Case { const char *Path, *Root; VolumeFreeSpace Space; bool Answers; const char *Expected; } cases[] = {
      {"C:\\Program Files\\", "C:\\", {2, 512, 8191}, true, "8191KB free"},
      {"C:\\", "C:\\", {2, 512, 8192}, true, "8MB free"},
      {"D:", "D:", {8, 512, 384000}, true, "1500MB free"},
      {"E:\\Deep\\Down\\", "E:\\", {2, 512, 9215}, true, "8MB free"},
      // A 1.44 MB floppy disk: 512-byte clusters, which must not round down to 0 KB.
      {"A:\\", "A:\\", {1, 512, 2847}, true, "1423KB free"},
      {"A:\\", "A:\\", {1, 512, 1}, true, "0KB free"},
      {"F:\\", "F:\\", {8, 512, 0x3FFFC000}, true, ""}, // 0xFFFF0000 KB
      {"F:\\", "F:\\", {2, 512, 0xFFFEFFFF}, true, "4194239MB free"},
      {"F:\\", "F:\\", {0xFFFFFFFF, 0xFFFFFFFF, 2}, true, ""}, // beyond 64 bits
      // A removable drive without a medium cannot be asked.
      {"A:\\", "A:\\", {1, 512, 2847}, false, ""},
  };
  for (const Case &c : cases) {
    OneVolume volume(c.Space, c.Answers);
    EXPECT_EQ(std::string(FreeSpaceText(c.Path, volume)), c.Expected) << c.Path << " " << c.Space.FreeClusters;
    EXPECT_EQ(volume.Asked, c.Root);
  }
}

TEST(PathComponents, SplitAtBackslashCharactersOnlyAndIgnoreOneTrailingBackslash) {
  struct Case { const char *Path, *Expected; } cases[] = { // the components, each followed by "|"
      {"C:\\A\\B\\", "C:|A|B|"},
      {"C:\\A\\B", "C:|A|B|"},
      {"C:\\", "C:|"}, {"", ""},
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
