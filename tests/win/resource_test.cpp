// Reads the resources of the built kwbsetup.exe back and compares them with what the
// Setup dialog, its icons and the version record must be.
#include "message_box_hook.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string InstallerPath() {
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1) + "kwbsetup.exe";
}

class InstallerResources : public ::testing::Test {
protected:
  void SetUp() override {
    Module = LoadLibraryExA(InstallerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(Module, nullptr) << "cannot load " << InstallerPath();
  }
  void TearDown() override {
    if (Module)
      FreeLibrary(Module);
  }
  std::vector<unsigned char> Resource(int id, LPCSTR type) {
    HRSRC found = FindResourceA(Module, MAKEINTRESOURCEA(id), type);
    if (!found)
      return {};
    const auto *bytes = static_cast<const unsigned char *>(LockResource(LoadResource(Module, found)));
    return std::vector<unsigned char>(bytes, bytes + SizeofResource(Module, found));
  }
  HMODULE Module = nullptr;
};

// Walks an extended dialog template.
class TemplateReader {
public:
  explicit TemplateReader(const std::vector<unsigned char> &bytes) : Bytes(bytes) {}
  uint16_t Word() { return Take<uint16_t>(); }
  uint32_t Dword() { return Take<uint32_t>(); }
  int16_t Short() { return Take<int16_t>(); }
  uint8_t Byte() { return Take<uint8_t>(); }
  std::string Text() {
    std::string text;
    for (uint16_t ch = Word(); ch; ch = Word())
      text += static_cast<char>(ch);
    return text;
  }
  // A name or ordinal field: "" when absent, "#n" for an ordinal, else the text.
  std::string NameOrOrdinal() {
    uint16_t first = Word();
    if (first == 0)
      return "";
    if (first == 0xFFFF)
      return "#" + std::to_string(Word());
    Offset -= 2;
    return Text();
  }
  void AlignToDword() { Offset = (Offset + 3) & ~size_t(3); }
  bool Overrun() const { return Offset > Bytes.size(); }

private:
  template <typename T> T Take() {
    T value{};
    if (Offset + sizeof(T) <= Bytes.size())
      std::memcpy(&value, Bytes.data() + Offset, sizeof(T));
    Offset += sizeof(T);
    return value;
  }
  const std::vector<unsigned char> &Bytes;
  size_t Offset = 0;
};

std::string ClassName(const std::string &nameOrOrdinal) {
  if (nameOrOrdinal == "#128")
    return "BUTTON";
  if (nameOrOrdinal == "#129")
    return "EDIT";
  if (nameOrOrdinal == "#130")
    return "STATIC";
  std::string upper;
  for (char ch : nameOrOrdinal)
    upper += static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  return upper;
}

TEST_F(InstallerResources, SetupDialogTemplateIsExactlyAsDrawn) {
  std::vector<unsigned char> bytes = Resource(IDD_SETUP, MAKEINTRESOURCEA(5));
  ASSERT_FALSE(bytes.empty()) << "dialog template 102 is missing";
  TemplateReader reader(bytes);
  EXPECT_EQ(reader.Word(), 1) << "an extended template";
  EXPECT_EQ(reader.Word(), 0xFFFF);
  EXPECT_EQ(reader.Dword(), 0u) << "help id";
  EXPECT_EQ(reader.Dword(), 0x00040000u) << "extended style WS_EX_APPWINDOW";
  EXPECT_EQ(reader.Dword(), 0x90C800C0u) << "dialog style";
  const uint16_t count = reader.Word();
  EXPECT_EQ(count, 8);
  EXPECT_EQ(reader.Short(), 0);
  EXPECT_EQ(reader.Short(), 0);
  EXPECT_EQ(reader.Short(), 259);
  EXPECT_EQ(reader.Short(), 105);
  EXPECT_EQ(reader.NameOrOrdinal(), "") << "no menu";
  EXPECT_EQ(reader.NameOrOrdinal(), "") << "the default dialog class";
  EXPECT_EQ(reader.Text(), "Setup Vistrel");
  EXPECT_EQ(reader.Word(), 8) << "point size";
  EXPECT_EQ(reader.Word(), 0) << "weight";
  EXPECT_EQ(reader.Byte(), 0) << "not italic";
  EXPECT_EQ(reader.Byte(), 1) << "character set";
  EXPECT_EQ(reader.Text(), "MS Sans Serif");

  struct Control {
    uint32_t Id;
    const char *Class;
    const char *Caption;
    uint32_t Style;
    int16_t X, Y, Width, Height;
  } expected[] = {
      {1, "BUTTON", "OK", 0x50010001, 217, 91, 42, 14},
      {2, "BUTTON", "Cancel", 0x50010000, 171, 91, 42, 14},
      {1001, "EDIT", "", 0x50810080, 7, 12, 224, 14},
      {1002, "STATIC", "", 0x50020000, 7, 29, 252, 57},
      {1003, "STATIC", "Setup path:", 0x50020000, 6, 1, 51, 8},
      {1000, "BUTTON", "", 0x48018000, 235, 13, 22, 16},
      {1005, "BUTTON", "Install version 3.1.1", 0x50020009, 7, 85, 114, 10},
      {1006, "BUTTON", "Install version 4.2", 0x50000009, 7, 94, 150, 10},
  };
  for (int i = 0; i < count && i < 8; ++i) {
    const Control &want = expected[i];
    SCOPED_TRACE("control " + std::to_string(i + 1) + " (id " + std::to_string(want.Id) + ")");
    reader.AlignToDword();
    EXPECT_EQ(reader.Dword(), 0u) << "help id";
    EXPECT_EQ(reader.Dword(), 0u) << "extended style";
    EXPECT_EQ(reader.Dword(), want.Style) << std::hex << "style";
    EXPECT_EQ(reader.Short(), want.X);
    EXPECT_EQ(reader.Short(), want.Y);
    EXPECT_EQ(reader.Short(), want.Width);
    EXPECT_EQ(reader.Short(), want.Height);
    EXPECT_EQ(reader.Dword(), want.Id);
    EXPECT_EQ(ClassName(reader.NameOrOrdinal()), want.Class);
    EXPECT_EQ(reader.NameOrOrdinal(), want.Caption);
    EXPECT_EQ(reader.Word(), 0) << "no creation data";
  }
  EXPECT_FALSE(reader.Overrun());
}

// The sizes and colour counts of an icon group, as "32x32x16".
std::vector<std::string> IconImages(const std::vector<unsigned char> &group) {
  std::vector<std::string> images;
  if (group.size() < 6)
    return images;
  const uint16_t count = static_cast<uint16_t>(group[4] | group[5] << 8);
  for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= group.size(); ++i) {
    const unsigned char *entry = group.data() + 6 + 14 * i;
    images.push_back(std::to_string(entry[0]) + "x" + std::to_string(entry[1]) + "x" +
                     std::to_string(entry[2]) + " " + std::to_string(entry[6]) + "bpp");
  }
  return images;
}

TEST_F(InstallerResources, IconsHaveTheirSizesInSixteenColours) {
  EXPECT_EQ(IconImages(Resource(IDI_APPLICATION_ICON, MAKEINTRESOURCEA(14))),
            (std::vector<std::string>{"32x32x16 4bpp", "16x16x16 4bpp"}));
  EXPECT_EQ(IconImages(Resource(IDI_FOLDER_CLOSED, MAKEINTRESOURCEA(14))),
            (std::vector<std::string>{"16x16x16 4bpp"}));
}

TEST_F(InstallerResources, VersionRecordNamesTheSetupProgram) {
  const std::string path = InstallerPath();
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00040000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00040000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileOS, 4u);
  EXPECT_EQ(fixed->dwFileType, 1u);
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);

  DWORD *translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void **>(&translation), &length));
  EXPECT_EQ(*translation, 0x04B00409u) << "language 0x0409, code page 1200";

  const std::pair<const char *, const char *> strings[] = {
      {"CompanyName", "Corvane Software"},
      {"FileDescription", "Self extracting compressed file of Vistrel"},
      {"FileVersion", "4, 0, 0, 0"},
      {"InternalName", "Setup"},
      {"OriginalFilename", "kwbsetup.exe"},
      {"ProductName", "Setup of Vistrel Image Browser"},
      {"ProductVersion", "4, 0, 0, 0"},
      {"Comments", ""},
      {"LegalTrademarks", ""},
      {"PrivateBuild", ""},
      {"SpecialBuild", ""},
  };
  for (const auto &entry : strings) {
    char *value = nullptr;
    const std::string key = std::string("\\StringFileInfo\\040904b0\\") + entry.first;
    ASSERT_TRUE(VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void **>(&value),
                               &length))
        << entry.first << " is missing";
    EXPECT_EQ(std::string(value), entry.second) << entry.first;
  }
}

} // namespace
