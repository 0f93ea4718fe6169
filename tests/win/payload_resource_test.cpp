// Reads the packed payload resources back out of the built kwbsetup.exe: each equals the
// file the build packed, walks as records to its end mark, and every record, with its
// "SZDD" put back in front, expands through the platform's LZ library to the very file
// it was made from. The build copies beside this program the packed resources
// (payload_129.bin, ...) and those files, as <resource>-<position>-<name>.
//
// When the build packed its own stand-ins rather than the product's files
// (KWB_PAYLOAD_STANDINS), the stand-in browser is checked too: it names its edition.
#include "message_box_hook.h"
#include "platform/win32/windows_api.h"
#include "resource_ids.h"

#include <lzexpand.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef KWB_PAYLOAD_STANDINS
#error "the build says whether the payload holds the stand-ins"
#endif

namespace {

using Bytes = std::vector<unsigned char>;

// The installer expands each file into a buffer of this size; no packed file is larger.
constexpr int ExpansionBufferSize = 2000000;
// What a record holds before its compressed data: the rest of the magic, the mode, the
// last character of the name and the expanded length.
constexpr size_t RecordHeaderSize = 10;

struct PackedResource {
  int Id;
  const char *Edition; // nullptr for the library resource
  std::vector<std::string> Files;
};

const PackedResource Resources[] = {
    {IDR_LIBRARY_PAYLOAD, nullptr, {"ijl15.dll"}},
    {IDR_EDITION_311_PAYLOAD, "3.1.1", {"KWB.exe", "KWB.hlp", "KWB.cnt", "uninstall.exe"}},
    {IDR_EDITION_42_PAYLOAD, "4.2", {"KWB.exe", "KWB.hlp", "KWB.cnt", "uninstall.exe"}},
};

std::string Folder() {
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1);
}

// The file the build packed as record `position` (from 1) of resource `id`.
std::string RecordFile(int id, size_t position, const std::string &name) {
  return Folder() + std::to_string(id) + "-" + std::to_string(position) + "-" + name;
}

bool ReadWholeFile(const std::string &path, Bytes &bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteWholeFile(const std::string &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

uint32_t LittleEndian32(const unsigned char *bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
         uint32_t(bytes[3]) << 24;
}

// One record of a resource: the bytes after its length field.
struct Record {
  size_t Offset; // of the length field, in the resource
  Bytes Data;
};

// Walks a resource as records up to the end mark. Fails the test, and returns what it
// read so far, when a length runs past the end or the end mark is not the last 4 bytes.
std::vector<Record> WalkRecords(const Bytes &resource) {
  std::vector<Record> records;
  size_t offset = 0;
  for (;;) {
    if (resource.size() - offset < 4) {
      ADD_FAILURE() << "no room for a length at offset " << offset << " of " << resource.size();
      return records;
    }
    const uint32_t length = LittleEndian32(resource.data() + offset);
    if (length == 0)
      break;
    if (length > resource.size() - offset - 4) {
      ADD_FAILURE() << "the record at offset " << offset << " claims " << length
                    << " bytes, past the end of the " << resource.size() << "-byte resource";
      return records;
    }
    const auto begin = resource.begin() + static_cast<std::ptrdiff_t>(offset + 4);
    records.push_back({offset, Bytes(begin, begin + length)});
    offset += 4 + length;
  }
  EXPECT_EQ(offset + 4, resource.size()) << "bytes after the end mark";
  return records;
}

// Expands one record through the LZ library, the way the installer does: "SZDD" and the
// record's data written to a file, opened with LZOpenFileA, read with one LZRead.
bool ExpandRecord(const Record &record, Bytes &expanded) {
  Bytes archive = {'S', 'Z', 'D', 'D'};
  archive.insert(archive.end(), record.Data.begin(), record.Data.end());
  std::string path = Folder() + "record.tmp";
  if (!WriteWholeFile(path, archive)) {
    ADD_FAILURE() << "cannot write " << path;
    return false;
  }
  OFSTRUCT open = {};
  open.cBytes = sizeof open;
  const INT file = LZOpenFileA(&path[0], &open, OF_READ | OF_SHARE_DENY_WRITE);
  if (file < 0) {
    ADD_FAILURE() << "LZOpenFileA failed with " << file;
    return false;
  }
  expanded.assign(ExpansionBufferSize, 0);
  const INT got = LZRead(file, reinterpret_cast<char *>(expanded.data()), ExpansionBufferSize);
  char more = 0;
  const INT after = got > 0 ? LZRead(file, &more, 1) : 0;
  LZClose(file);
  DeleteFileA(path.c_str());
  if (got <= 0) {
    ADD_FAILURE() << "LZRead gave " << got;
    return false;
  }
  EXPECT_LE(after, 0) << "more than " << ExpansionBufferSize << " bytes expanded";
  expanded.resize(static_cast<size_t>(got));
  return true;
}

class PayloadResources : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string installer = Folder() + "kwbsetup.exe";
    Module = LoadLibraryExA(installer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(Module, nullptr) << "cannot load " << installer;
  }
  void TearDown() override {
    if (Module)
      FreeLibrary(Module);
  }
  // The resource's bytes; fails the test when it is missing.
  Bytes Resource(int id) {
    HRSRC found = FindResourceA(Module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
    if (!found) {
      ADD_FAILURE() << "RCDATA " << id << " is missing";
      return {};
    }
    const auto *bytes = static_cast<const unsigned char *>(LockResource(LoadResource(Module, found)));
    return Bytes(bytes, bytes + SizeofResource(Module, found));
  }
  HMODULE Module = nullptr;
};

TEST_F(PayloadResources, EachResourceIsThePackedFileByteForByte) {
  for (const PackedResource &packed : Resources) {
    SCOPED_TRACE("RCDATA " + std::to_string(packed.Id));
    Bytes built;
    ASSERT_TRUE(ReadWholeFile(Folder() + "payload_" + std::to_string(packed.Id) + ".bin", built));
    const Bytes carried = Resource(packed.Id);
    EXPECT_EQ(carried.size(), built.size());
    EXPECT_TRUE(carried == built) << "the resource differs from the packed file";
  }
}

TEST_F(PayloadResources, ResourcesWalkAsRecordsToTheEndMark) {
  for (const PackedResource &packed : Resources) {
    SCOPED_TRACE("RCDATA " + std::to_string(packed.Id));
    const std::vector<Record> records = WalkRecords(Resource(packed.Id));
    EXPECT_EQ(records.size(), packed.Files.size());
    for (const Record &record : records)
      EXPECT_GE(record.Data.size(), RecordHeaderSize) << "record at " << record.Offset;
  }
}

TEST_F(PayloadResources, EveryRecordExpandsToTheFileItWasPackedFrom) {
  for (const PackedResource &packed : Resources) {
    const std::vector<Record> records = WalkRecords(Resource(packed.Id));
    for (size_t i = 0; i < records.size() && i < packed.Files.size(); ++i) {
      const std::string source = RecordFile(packed.Id, i + 1, packed.Files[i]);
      SCOPED_TRACE("RCDATA " + std::to_string(packed.Id) + ", record " + std::to_string(i + 1) +
                   ": " + source);
      Bytes original;
      ASSERT_TRUE(ReadWholeFile(source, original)) << "cannot read " << source;

      const Bytes &data = records[i].Data;
      ASSERT_GE(data.size(), RecordHeaderSize);
      const unsigned char magicRest[] = {0x88, 0xF0, 0x27, 0x33};
      EXPECT_EQ(std::memcmp(data.data(), magicRest, 4), 0) << "the rest of the SZDD magic";
      EXPECT_EQ(data[4], 'A') << "compression mode";
      EXPECT_EQ(data[5], 0) << "last character of the name";
      EXPECT_EQ(LittleEndian32(data.data() + 6), original.size()) << "expanded length";

      Bytes expanded;
      if (!ExpandRecord(records[i], expanded))
        continue;
      EXPECT_EQ(expanded.size(), original.size());
      EXPECT_TRUE(expanded == original) << "the expanded bytes differ from the file";
    }
  }
}

// --- The stand-ins ---------------------------------------------------------------------

// A program started from the test folder, ended when the test is done with it.
class Program {
public:
  explicit Program(const std::string &path) {
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    Started = CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                             Folder().c_str(), &startup, &Info) != FALSE;
  }
  ~Program() {
    if (!Started)
      return;
    if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(Info.hProcess, 99);
    CloseHandle(Info.hThread);
    CloseHandle(Info.hProcess);
  }
  Program(const Program &) = delete;
  Program &operator=(const Program &) = delete;

  // The first visible top-level window of this process whose class is `className`
  // (any class when empty), waiting up to 30 s for it.
  HWND WaitForWindow(const std::string &className) const {
    Search search = {Info.dwProcessId, &className, nullptr};
    for (int tries = 0; tries < 600 && !search.Found; ++tries) {
      EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
      if (!search.Found)
        Sleep(50);
    }
    return search.Found;
  }

  // For a failure message: whether the program still runs, or how it ended.
  std::string State() const {
    DWORD code = 0;
    if (!GetExitCodeProcess(Info.hProcess, &code))
      return "state unknown";
    return code == STILL_ACTIVE ? "still running" : "ended with code " + std::to_string(code);
  }

  // The exit code, or -1 when the program has not ended within 30 s.
  long WaitForExit() const {
    if (WaitForSingleObject(Info.hProcess, 30000) != WAIT_OBJECT_0)
      return -1;
    DWORD code = 0;
    GetExitCodeProcess(Info.hProcess, &code);
    return static_cast<long>(code);
  }

  bool Started = false;
  PROCESS_INFORMATION Info = {};

private:
  struct Search {
    DWORD ProcessId;
    const std::string *ClassName;
    HWND Found;
  };
  static BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
    auto *search = reinterpret_cast<Search *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->ProcessId || !IsWindowVisible(window) ||
        (!search->ClassName->empty() && ClassOf(window) != *search->ClassName))
      return TRUE;
    search->Found = window;
    return FALSE;
  }
};

class StandIns : public ::testing::Test {
protected:
  void SetUp() override {
    if (!KWB_PAYLOAD_STANDINS)
      GTEST_SKIP() << "the build packed the product's own files";
  }
};

TEST_F(StandIns, BrowserOpensAWindowNamingItsEdition) {
  for (const PackedResource &packed : Resources) {
    if (!packed.Edition)
      continue;
    SCOPED_TRACE(packed.Edition);
    Program browser(RecordFile(packed.Id, 1, "KWB.exe"));
    ASSERT_TRUE(browser.Started) << "error " << GetLastError();
    HWND window = browser.WaitForWindow("");
    ASSERT_NE(window, nullptr) << "no window within 30 s; the program is " << browser.State();
    EXPECT_EQ(TextOf(window), std::string("Vistrel Image Browser ") + packed.Edition);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(browser.WaitForExit(), 0);
  }
}

} // namespace
