// Reads the resources of the built kwbsetup.exe back, each as lines of text, and compares
// them with what the Setup dialog's template, the icons and the version record must be.
#include "platform/win32/windows_api.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string InstallerPath() {
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1) + "kwbsetup.exe";
}

// Takes little-endian fields of a resource in turn, as text.
class Reader {
public:
  Reader(int id, LPCSTR type) {
    HMODULE module = LoadLibraryExA(InstallerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(id), type) : nullptr;
    if (found) {
      Begin = At = static_cast<const unsigned char *>(LockResource(LoadResource(module, found)));
      End = Begin + SizeofResource(module, found);
    }
  }
  unsigned Number(size_t bytes) {
    unsigned value = 0;
    for (size_t i = 0; i < bytes; ++i, ++At)
      value |= At < End ? unsigned(*At) << 8 * i : 0;
    return value;
  }
  // The next fields, one letter each: x and X a 16- and 32-bit number in hex, b, d and D
  // an 8-, 16- and 32-bit number in decimal, n a name or ordinal ("#n"), t a text.
  std::string Fields(const char *format) {
    std::string line;
    for (const char *letter = format; *letter; ++letter) {
      std::string field;
      if (*letter == 'x' || *letter == 'X') {
        char hex[16];
        snprintf(hex, sizeof hex, "%x", Number(*letter == 'x' ? 2 : 4));
        field = hex;
      } else if (*letter == 'n' && At + 1 < End && At[0] == 0xFF && At[1] == 0xFF) {
        Number(2);
        field = "#" + std::to_string(Number(2));
      } else if (*letter == 'n' || *letter == 't') {
        field = "\"";
        for (unsigned ch = Number(2); ch; ch = Number(2))
          field += static_cast<char>(ch);
        field += "\"";
      } else {
        field = std::to_string(Number(*letter == 'b' ? 1 : *letter == 'd' ? 2 : 4));
      }
      line += (line.empty() ? "" : " ") + field;
    }
    return line;
  }
  void AlignToDword() { At += (4 - (At - Begin) % 4) % 4; }
  bool Whole() const { return Begin && At == End; }

private:
  const unsigned char *Begin = nullptr, *At = nullptr, *End = nullptr;
};

Lines DialogTemplate() {
  Reader in(IDD_SETUP, RT_DIALOG);
  // The dialog: version, signature, help id, extended style, style, control count, x, y,
  // cx, cy, menu, class, title; its font: point size, weight, italic, character set, name.
  Lines lines = {in.Fields("xxXXXdddddnnt"), in.Fields("ddbbt")};
  // Each control: help id, extended style, style, x, y, cx, cy, id, class, caption and
  // the size of its creation data.
  for (int control = 0; control < 8; ++control) {
    in.AlignToDword();
    lines.push_back(in.Fields("XXXddddDnnd"));
  }
  lines.push_back(in.Whole() ? "end" : "not at the end");
  return lines;
}

// The folder browser's template, a classic one: style, extended style, control count, x,
// y, cx, cy, menu, class, title, font size and name; each control: style, extended style,
// x, y, cx, cy, id, class, caption and the size of its creation data.
Lines FolderBrowserTemplate() {
  Reader in(IDD_FOLDER_BROWSER, RT_DIALOG);
  Lines lines = {in.Fields("XXdddddnntdt")};
  for (int control = 0; control < 6; ++control) {
    in.AlignToDword();
    lines.push_back(in.Fields("XXdddddnnd"));
  }
  lines.push_back(in.Whole() ? "end" : "not at the end");
  return lines;
}

// Each image of an icon group: width, height, colours and bits per pixel.
Lines IconGroup(int id) {
  Reader in(id, RT_GROUP_ICON);
  in.Number(4);
  Lines images;
  for (unsigned count = in.Number(2), i = 0; i < count; ++i) {
    images.push_back(in.Fields("bbbbdd"));
    in.Number(6);
  }
  return images;
}

Lines VersionRecord() {
  const std::string path = InstallerPath();
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored) + 1);
  GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data());
  Lines lines;
  UINT length = 0;
  VS_FIXEDFILEINFO *fixed = nullptr;
  if (VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length)) {
    char text[128];
    snprintf(text, sizeof text, "%lx %lx %lx %lx os %lx type %lx flags %lx", fixed->dwFileVersionMS,
             fixed->dwFileVersionLS, fixed->dwProductVersionMS, fixed->dwProductVersionLS,
             fixed->dwFileOS, fixed->dwFileType, fixed->dwFileFlags & fixed->dwFileFlagsMask);
    lines.push_back(text);
  }
  DWORD *translation = nullptr;
  if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                     reinterpret_cast<void **>(&translation), &length))
    lines.push_back("translation " + std::to_string(translation[0] & 0xFFFF) + " " +
                    std::to_string(translation[0] >> 16));
  for (const char *name : {"CompanyName", "FileDescription", "FileVersion", "InternalName",
                           "OriginalFilename", "ProductName", "ProductVersion", "Comments",
                           "LegalTrademarks", "PrivateBuild", "SpecialBuild"}) {
    char *value = nullptr;
    const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
    lines.push_back(name + std::string(VerQueryValueA(block.data(), key.c_str(),
                                                      reinterpret_cast<void **>(&value), &length)
                                           ? "=" + std::string(value)
                                           : " missing"));
  }
  return lines;
}

// Each resource read back against its lines in resources.txt, which lies beside the test.
TEST(InstallerResources, AreExactlyAsDrawn) {
  const std::pair<const char *, Lines (*)()> readers[] = {
      {"[the Setup dialog's", [] { return DialogTemplate(); }},
      {"[the folder browser's", [] { return FolderBrowserTemplate(); }},
      {"[the application icon", [] { return IconGroup(IDI_APPLICATION_ICON); }},
      {"[the closed folder icon", [] { return IconGroup(IDI_FOLDER_CLOSED); }},
      {"[the version record", [] { return VersionRecord(); }}};
  std::ifstream file(InstallerPath().substr(0, InstallerPath().rfind('\\') + 1) + "resources.txt");
  std::map<std::string, Lines> expected;
  std::string line, what;
  while (std::getline(file, line))
    if (line[0] == '[')
      what = line;
    else if (line[0] != '#')
      expected[what].push_back(line);
  for (const auto &[title, read] : readers) {
    auto found = expected.lower_bound(title);
    ASSERT_TRUE(found != expected.end() && found->first.rfind(title, 0) == 0) << title << " is in resources.txt";
    EXPECT_EQ(read(), found->second) << found->first;
  }
}

} // namespace
