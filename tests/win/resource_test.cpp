// Reads the resources of the built kwbsetup.exe back, each as lines of text, and compares
// them with what the Setup dialog's template, the icons and the version record must be.
#include "platform/win32/windows_api.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

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

TEST(InstallerResources, AreExactlyAsDrawn) {
  const struct {
    const char *What;
    Lines Read, Expected;
  } rows[] = {
      {"the Setup dialog's template (an extended one, at 0, 0)",
       DialogTemplate(),
       {"1 ffff 0 40000 90c800c0 8 0 0 259 105 \"\" \"\" \"Setup Vistrel\"",
        "8 0 0 1 \"MS Sans Serif\"", "0 0 50010001 217 91 42 14 1 \"BUTTON\" \"OK\" 0",
        "0 0 50010000 171 91 42 14 2 \"BUTTON\" \"Cancel\" 0",
        "0 0 50810080 7 12 224 14 1001 \"EDIT\" \"\" 0",
        "0 0 50020000 7 29 252 57 1002 \"STATIC\" \"\" 0",
        "0 0 50020000 6 1 51 8 1003 \"STATIC\" \"Setup path:\" 0",
        "0 0 48018000 235 13 22 16 1000 \"BUTTON\" \"\" 0",
        "0 0 50020009 7 85 114 10 1005 \"BUTTON\" \"Install version 3.1.1\" 0",
        "0 0 50000009 7 94 150 10 1006 \"BUTTON\" \"Install version 4.2\" 0", "end"}},
      {"the folder browser's template (its caption and tree lines are set when it opens)",
       FolderBrowserTemplate(),
       {"80c800c0 0 6 0 0 233 183 \"\" \"\" \"\" 8 \"MS Sans Serif\"",
        "50010001 0 177 167 50 14 1 \"BUTTON\" \"OK\" 0",
        "50010000 0 118 167 50 14 2 \"BUTTON\" \"Cancel\" 0",
        "50810030 0 4 17 223 146 1013 \"SYSTREEVIEW32\" \"\" 0",
        "50020000 0 3 3 26 8 1061 \"STATIC\" \"Folder:\" 0",
        "50020200 0 30 1 197 14 1028 \"STATIC\" \"\" 0",
        "50810800 0 5 166 108 14 1001 \"EDIT\" \"\" 0", "end"}},
      {"the application icon",
       IconGroup(IDI_APPLICATION_ICON),
       {"32 32 16 0 1 4", "16 16 16 0 1 4"}},
      {"the closed folder icon", IconGroup(IDI_FOLDER_CLOSED), {"16 16 16 0 1 4"}},
      {"the version record",
       VersionRecord(),
       {"40000 0 40000 0 os 4 type 1 flags 0", "translation 1033 1200",
        "CompanyName=Corvane Software",
        "FileDescription=Self extracting compressed file of Vistrel", "FileVersion=4, 0, 0, 0",
        "InternalName=Setup", "OriginalFilename=kwbsetup.exe",
        "ProductName=Setup of Vistrel Image Browser", "ProductVersion=4, 0, 0, 0",
        "Comments=", "LegalTrademarks=", "PrivateBuild=", "SpecialBuild="}},
  };
  for (const auto &row : rows)
    EXPECT_EQ(row.Read, row.Expected) << row.What;
}

} // namespace
