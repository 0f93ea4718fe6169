// In-memory stand-ins for the platform the installation logic works through. They keep
// what the tests look at, record the calls on paths in the order they came, and can fail
// any one of them, so that every failure path can be reached without a real machine.
#pragma once

#include "install/folder_creation.h"
#include "install/payload_extraction.h"
#include "install/registration.h"
#include "platform/platform_errors.h"
#include "payload_sums.h"
#include "szdd_encoder.h"

#include <mspack.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

// Code page 932's lead bytes. In it 0x95 0x5C (表) and 0x83 0x5C are characters whose trail
// byte is a backslash; plain ASCII paths read as in any single-byte code page.
struct TestCodePage : CodePage {
  bool IsLeadByte(unsigned char b) const override { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
};
inline const TestCodePage DoubleByte;

// The file time of a date and time taken as UTC, the stand-ins' time zone.
inline FileTime UtcFileTime(const LocalTime &t) {
  std::tm utc = {t.Second, t.Minute, t.Hour, t.Day, t.Month - 1, t.Year - 1900, 0, 0, 0, 0, nullptr};
  return FileTime(timegm(&utc) + 11644473600LL) * FileTimeTicksPerSecond;
}

// libmspack's SZDD expansion; the files it reads and writes are anonymous ones in memory.
// Returns libmspack's error.
inline int ExpandInMemory(const std::string &compressed, std::string *expanded) {
  const int in = memfd_create("compressed", 0), out = memfd_create("expanded", 0);
  const auto name = [](int fd) { return "/proc/self/fd/" + std::to_string(fd); };
  msszdd_decompressor *decoder = mspack_create_szdd_decompressor(nullptr);
  int error = write(in, compressed.data(), compressed.size()) == ssize_t(compressed.size())
                  ? decoder->decompress(decoder, name(in).c_str(), name(out).c_str()) : MSPACK_ERR_WRITE;
  mspack_destroy_szdd_decompressor(decoder);
  expanded->resize(size_t(lseek(out, 0, SEEK_END)));
  if (pread(out, &(*expanded)[0], expanded->size(), 0) != ssize_t(expanded->size()))
    error = MSPACK_ERR_READ;
  close(in), close(out);
  return error;
}

// Folders and files by their exact path, the expansion of files there, data resources,
// memory blocks, messages, the log and the clock.
class MemoryMachine : public Files, public Folders, public SystemFolders, public LzExpansion,
                      public PayloadResources, public MemoryBlocks, public MessageDisplay,
                      public TimeZone, public Log {
public:
  struct Entry {
    bool Folder = false; std::string Bytes; FileTimes Times = {0, 0, 0};
    bool operator==(const Entry &o) const {
      return Folder == o.Folder && Bytes == o.Bytes && Times.Creation == o.Times.Creation &&
             Times.LastAccess == o.Times.LastAccess && Times.LastWrite == o.Times.LastWrite;
    }
  };
  std::map<std::string, Entry> Entries;
  // One line a call on a path: "<call> <path> -> <result>", as "create-folder C:\A -> 0".
  std::vector<std::string> Calls;
  std::map<FileHandle, std::string> Open; // the path of each open handle
  std::string System = "C:\\WINDOWS\\SYSTEM", Windows = "C:\\WINDOWS";
  std::map<int, std::string> Resources;
  std::vector<uint32_t> Blocks; // the size of every memory block handed out
  int BlocksHeld = 0;
  bool OutOfMemory = false;
  std::vector<std::string> Messages, Lines; // Lines: the log's
  std::vector<std::string> InUse;           // files another program holds open
  uint32_t Seed = 0x12345000;               // NameSeed's answer
  bool RemovesItself = false;               // archives the system removes (the NT family)
  // Stamps new and written files, and moves on a second at each of them.
  FileTime Now = UtcFileTime({2024, 1, 1, 0, 0, 0});

  explicit MemoryMachine(const CodePage &codePage) : Characters(codePage) { AddFolder("C:"); }
  // Adds the folder and every folder above it.
  void AddFolder(const std::string &path) {
    for (size_t end = 0; end != std::string::npos; end = path.find('\\', end + 1))
      Entries[path.substr(0, end ? end : std::string::npos)].Folder = true;
  }
  // Makes the nth call "<call> <path>" (or the nth "<call>" of any path) from now fail
  // with error. A failing write first writes `written` bytes (with error 0 it is a short
  // write that reports success); a failing expansion returns the error negated.
  void Fail(const std::string &call, int nth, uint32_t error, uint32_t written = 0) {
    Failures[call] = {nth, error, written};
  }

  uint32_t CreateFolder(const char *path) override {
    return Call("create-folder", path, [&] { return Entries.count(path) ? ErrorAlreadyExists : NewEntryError(path); },
                [&] { Entries[path] = Entry{true, "", {Now, Now, Now}}; });
  }
  uint32_t CreateNew(const char *path, FileHandle *file) override {
    Now += FileTimeTicksPerSecond;
    *file = 0;
    return Call("create", path, [&] { return Entries.count(path) ? ErrorFileExists : NewEntryError(path); },
                [&] { Entries[path] = Entry{false, "", {Now, Now, Now}}, Open[*file = NextHandle++] = path; });
  }
  uint32_t CreateSelfRemoving(const char *path, FileHandle *file) override {
    const uint32_t error = CreateNew(path, file);
    if (!error)
      SelfRemoving.insert(*file);
    return error;
  }
  uint32_t OpenForReading(const char *path, FileHandle *file) override {
    *file = 0;
    return Call("open", path, [&] { return Entries.count(path) && !Entries[path].Folder ? 0 : ErrorFileNotFound; },
                [&] { Open[*file = NextHandle++] = path; });
  }
  uint32_t Write(FileHandle file, const void *data, uint32_t size, uint32_t *written) override {
    const std::string path = Open.at(file);
    uint32_t error = 0, count = size;
    if (Injected("write " + path, &error, &count))
      count = std::min(count, size);
    Entries[path].Bytes.append(static_cast<const char *>(data), *written = count);
    Entries[path].Times.LastWrite = Now += FileTimeTicksPerSecond;
    return error;
  }
  bool ReadTimes(FileHandle file, FileTimes *times) override {
    return !Call("read-times", Open.at(file), [] { return 0u; }, [&] { *times = Entries[Open.at(file)].Times; });
  }
  void Close(FileHandle file) override {
    const std::string path = Open.count(file) ? Open[file] : "";
    if (!Open.erase(file))
      throw std::logic_error("a handle closed twice, or never opened");
    if (SelfRemoving.erase(file))
      Entries.erase(path);
  }
  bool SetTimes(FileHandle file, const FileTimes &times) override {
    return !Call("set-times", Open.at(file), [] { return 0u; }, [&] { Entries[Open.at(file)].Times = times; });
  }
  uint32_t ProbeWriting(const char *path) override {
    return Call("probe", path, [&] {
      return std::count(InUse.begin(), InUse.end(), path) ? ErrorSharingViolation
             : !Entries.count(path)                      ? ErrorFileNotFound
             : Entries[path].Folder                      ? ErrorAccessDenied : 0;
    }, [] {});
  }
  // A move with replace onto a folder is refused, as one without onto anything; the 95
  // family's stand-in answers every move with replace as not implemented.
  uint32_t Move(const char *from, const char *to, bool replace) override {
    return Call(replace ? "move-over" : "move", std::string(from) + " " + to, [&] {
      return !Entries.count(from) ? ErrorFileNotFound : replace && NoReplace ? ErrorCallNotImplemented
             : Entries.count(to) && (!replace || Entries[to].Folder) ? ErrorAlreadyExists : NewEntryError(to);
    }, [&] { Entries[to] = Entries[from], Entries.erase(from); });
  }
  uint32_t Delete(const char *path) override {
    return Call("delete", path, [&] { return Entries.count(path) ? 0 : ErrorFileNotFound; },
                [&] { Entries.erase(path); });
  }
  uint32_t NameSeed() override { return Seed; }
  bool NoReplace = false; // the 95 family: no move replaces in one step
  CString SystemFolder() override { return CString(System.c_str()); }
  CString WindowsFolder() override { return CString(Windows.c_str()); }
  // As the platform's library: at most size bytes, or a negative LZ error, -1 for a file
  // that cannot be opened and -3 for data that cannot be read.
  int32_t ExpandFile(const char *path, uint8_t *buffer, int32_t size) override {
    uint32_t error = 0;
    std::string expanded;
    int32_t result = Injected("expand", &error) || Injected("expand " + std::string(path), &error) ? -int32_t(error)
                     : !Entries.count(path)                          ? -1
                     : ExpandInMemory(Entries[path].Bytes, &expanded) ? -3
                     : int32_t(std::min(expanded.size(), size_t(size)));
    memcpy(buffer, expanded.data(), size_t(std::max(result, 0)));
    return result;
  }
  int32_t ExpandOpenFile(FileHandle file, uint8_t *buffer, int32_t size) override {
    const std::string path = Open.at(file);
    Calls.push_back("expand-open " + path);
    const int32_t result = ExpandFile(path.c_str(), buffer, size);
    Close(file);
    return result;
  }
  // Each resource is served from a block of its exact size, so that AddressSanitizer sees
  // a read past its end.
  bool Find(int id, ResourceBytes *bytes) override {
    auto found = Resources.find(id);
    if (found != Resources.end())
      *bytes = {(Served[id] = std::vector<uint8_t>(found->second.begin(), found->second.end())).data(), uint32_t(found->second.size())};
    return found != Resources.end();
  }
  uint8_t *AllocateZeroed(uint32_t size) override {
    Blocks.push_back(size);
    BlocksHeld += OutOfMemory ? 0 : 1;
    return OutOfMemory ? nullptr : static_cast<uint8_t *>(calloc(size, 1));
  }
  void Free(uint8_t *block) override { --BlocksHeld, free(block); }
  void Show(const char *text) override { Messages.push_back(text); }
  bool LocalTimeToFileTime(const LocalTime &time, FileTime *fileTime) override {
    *fileTime = UtcFileTime(time);
    return true;
  }
  bool FileTimeToLocalTime(FileTime fileTime, LocalTime *time) override {
    const std::time_t seconds = std::time_t(fileTime / FileTimeTicksPerSecond - 11644473600LL);
    std::tm utc;
    gmtime_r(&seconds, &utc);
    *time = {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
    return true;
  }
  CString Today() override { return "20260304"; }
  void Write(const char *format, ...) override {
    char line[1100];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    Lines.push_back(line);
  }

private:
  struct Failure { int Nth; uint32_t Error, Written; };
  bool Injected(const std::string &call, uint32_t *error, uint32_t *written = nullptr) {
    auto found = Failures.find(call);
    if (found == Failures.end() || --found->second.Nth > 0)
      return false;
    *error = found->second.Error;
    if (written)
      *written = found->second.Written;
    Failures.erase(found);
    return true;
  }
  // The error for making a new entry at path: its parent must be a folder. A name without
  // a backslash lies in the current folder, which exists.
  uint32_t NewEntryError(const std::string &path) const {
    size_t separator = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i)
      if (Characters.IsLeadByte(static_cast<unsigned char>(path[i])))
        ++i;
      else if (path[i] == '\\')
        separator = i;
    auto parent = separator == std::string::npos ? Entries.end() : Entries.find(path.substr(0, separator));
    return separator == std::string::npos || (parent != Entries.end() && parent->second.Folder) ? 0 : ErrorPathNotFound;
  }
  // The call on path: the failure asked for, or else what the platform would answer, and
  // what it does when it succeeds. Returns the error.
  template <typename Answer, typename Effect>
  uint32_t Call(const std::string &name, const std::string &path, Answer answer, Effect effect) {
    uint32_t error = 0;
    error = Injected(name + " " + path, &error) || Injected(name, &error) ? error : answer();
    if (!error)
      effect();
    Calls.push_back(name + " " + path + " -> " + std::to_string(error));
    return error;
  }

  std::map<std::string, Failure> Failures;
  std::map<int, std::vector<uint8_t>> Served;
  std::set<FileHandle> SelfRemoving;
  const CodePage &Characters;
  FileHandle NextHandle = 100;
};

// The registry: keys by their path below HKEY_LOCAL_MACHINE ("SOFTWARE\\Microsoft") or,
// behind "HKCU\\", below HKEY_CURRENT_USER, with the bytes of their values by name (""
// is the default value).
class MemoryRegistry : public Registry {
public:
  std::map<std::string, std::map<std::string, std::string>> Keys;
  std::string FailCreate; // the name of a key that cannot be created
  static const RegistryKey CurrentUser = 99;
  std::map<RegistryKey, std::string> Open = {{1, ""}, {CurrentUser, "HKCU"}}; // the roots

  // Adds the key and every key above it.
  void AddKey(const std::string &path) {
    for (size_t end = 0; end != std::string::npos; end = path.find('\\', end + 1))
      Keys[path.substr(0, end ? end : std::string::npos)];
  }
  RegistryKey LocalMachine() override { return 1; }
  RegistryKey OpenKey(RegistryKey parent, const char *name) override { return Key(parent, name, false); }
  RegistryKey CreateKey(RegistryKey parent, const char *name) override { return Key(parent, name, true); }
  // A number's value is kept behind a "#", a text's as it is.
  long SetValue(RegistryKey key, const char *name, uint32_t type, const void *data, uint32_t count) override {
    Keys[Open.at(key)][name ? name : ""] = (type == RegistryNumber ? "#" : "") + std::string(static_cast<const char *>(data), count);
    return 0;
  }
  long QueryValue(RegistryKey key, const char *name, uint32_t *type, uint8_t *buffer,
                  uint32_t *count) override {
    const auto &values = Keys[Open.at(key)];
    auto found = values.find(name);
    const uint32_t size = found == values.end() ? 0 : uint32_t(found->second.size());
    if (found == values.end() || size > *count)
      return found == values.end() ? 2 : 234; // ERROR_FILE_NOT_FOUND, ERROR_MORE_DATA
    memcpy(buffer, found->second.data(), *count = size);
    *type = 1; // REG_SZ
    return 0;
  }
  // Keys close innermost first: one with a key below it still open stays open.
  void CloseKey(RegistryKey key) override {
    const std::string below = Open.at(key) + "\\";
    if (std::none_of(Open.begin(), Open.end(), [&](const auto &open) { return !open.second.rfind(below, 0); }))
      Open.erase(key);
  }

private:
  RegistryKey Key(RegistryKey parent, const char *name, bool create) {
    const std::string path = Open.at(parent).empty() ? name : Open.at(parent) + "\\" + name;
    const RegistryKey key = Keys.count(path) || (create && name != FailCreate) ? Next++ : 0;
    if (key)
      Keys[path], Open[key] = path;
    return key;
  }
  RegistryKey Next = 2;
};

// A fuzz target's invariant: a broken one ends the run with what broke.
inline void Require(bool held, const char *what) {
  if (!held)
    fprintf(stderr, "%s\n", what), abort();
}

// The payload: packed records of generated product files.
// Bytes that differ for each seed and compress as real files do, with matches of every
// length and distance.
inline std::string Generated(uint32_t seed, size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i)
    bytes[i] = char((i * i * seed) >> 10);
  return bytes;
}

// One record: the compressed file without its signature, behind its length.
inline std::string Packed(const std::string &file) {
  const auto szdd = kwbpack::compressToSzdd(reinterpret_cast<const uint8_t *>(file.data()), file.size());
  const uint32_t n = uint32_t(szdd.size() - 4);
  return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + std::string(szdd.begin() + 4, szdd.end());
}
inline const std::string End(4, '\0');

// The product's files in the order they are installed, for each edition: KWB.exe, the
// library, KWB.hlp, KWB.cnt, uninstall.exe.
inline const std::vector<std::string> Editions[2] = {
    {Generated(1, 6100), Generated(20, 3100), Generated(2, 2300), Generated(3, 700), Generated(4, 910)},
    {Generated(11, 6400), Generated(20, 3100), Generated(12, 2100), Generated(13, 820), Generated(14, 930)}};

// The checksum resource, 132, of payload resources 129 to 131 as the packer makes it.
inline std::string SumsOf(std::map<int, std::string> &resources) {
  std::vector<std::vector<uint8_t>> packed;
  for (int id : {129, 130, 131})
    packed.emplace_back(resources[id].begin(), resources[id].end());
  const std::vector<uint8_t> sums = kwbpack::buildPayloadSums(packed);
  return std::string(sums.begin(), sums.end());
}

// The payload resources of both editions with their checksum resource.
inline std::map<int, std::string> PackedPayload() {
  std::map<int, std::string> resources = {{129, Packed(Editions[0][1]) + End}};
  for (int edition : {0, 1})
    for (int file : {0, 2, 3, 4})
      resources[130 + edition] += Packed(Editions[edition][file]) + (file == 4 ? End : "");
  resources[132] = SumsOf(resources);
  return resources;
}
