// The payload walk and extraction over arbitrary bytes as the three resources, for
// either edition. The invariants: it ends, shows at most one message, reads nothing
// outside a resource (each is served from a buffer of exactly its size), writes only
// into the install and system folders, and a successful run wrote exactly what the
// records expand to.
#include "memory_platform.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const std::string Folder = "C:\\Program Files\\Corvane Software\\Vistrel";
const std::string SystemFolder = "C:\\WINDOWS\\SYSTEM";

// Serves each resource from a heap block of its exact size, so that AddressSanitizer
// sees any read past its end.
struct ExactResources : MemoryMachine {
  using MemoryMachine::MemoryMachine;
  std::map<int, std::unique_ptr<uint8_t[]>> Blocks;
  bool Find(int id, ResourceBytes *bytes) override {
    auto found = Resources.find(id);
    if (found == Resources.end())
      return false;
    Blocks[id].reset(new uint8_t[found->second.size()]);
    memcpy(Blocks[id].get(), found->second.data(), found->second.size());
    *bytes = {Blocks[id].get(), uint32_t(found->second.size())};
    return true;
  }
};

void Fail(const char *what) {
  fprintf(stderr, "%s\n", what);
  abort();
}

// The record at offset of a resource, or false when it does not fit.
bool RecordAt(const std::string &resource, size_t offset, std::string *record) {
  if (offset + 4 > resource.size())
    return false;
  const uint8_t *p = reinterpret_cast<const uint8_t *>(resource.data()) + offset;
  const size_t length = p[0] | p[1] << 8 | p[2] << 16 | size_t(p[3]) << 24;
  if (length > resource.size() - offset - 4)
    return false;
  *record = resource.substr(offset + 4, length);
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int edition = input.ConsumeBool() ? 1 : 0;
  TestCodePage codePage;
  ExactResources machine(codePage);
  machine.AddFolder(Folder);
  machine.AddFolder(SystemFolder);
  machine.Resources[LibraryResourceId] = input.ConsumeRandomLengthString();
  machine.Resources[EditionResourceId(1 - edition)] = input.ConsumeRandomLengthString();
  machine.Resources[EditionResourceId(edition)] = input.ConsumeRemainingBytesAsString();

  const bool done = ExtractPayload({machine, machine, machine, machine, machine, machine,
                                    codePage, machine},
                                   Folder.c_str(), edition);
  if (machine.Messages.size() > (done ? 0u : 1u))
    Fail("a run showed more than its one message");
  for (const auto &entry : machine.Entries) {
    const std::string &path = entry.first;
    const size_t slash = path.rfind('\\');
    const std::string parent = slash == std::string::npos ? "" : path.substr(0, slash);
    if (!entry.second.Folder && parent != Folder && parent != SystemFolder)
      Fail("a file was written outside the install and system folders");
  }
  if (!done)
    return 0;
  if (machine.Entries.count(Folder + "\\" + TemporaryArchiveName))
    Fail("the archive stayed after a successful run");
  const std::string &editionFiles = machine.Resources[EditionResourceId(edition)];
  size_t cursor = 0;
  for (int index = 0; index < PayloadFileCount; ++index) {
    const bool library = index == LibraryFileIndex;
    std::string record, expanded;
    if (!RecordAt(library ? machine.Resources[LibraryResourceId] : editionFiles,
                  library ? 0 : cursor, &record))
      Fail("a run succeeded over a record that does not fit its resource");
    if (record.empty())
      break;
    cursor += library ? 0 : 4 + record.size();
    if (ExpandInMemory("SZDD" + record, &expanded) != MSPACK_ERR_OK)
      Fail("a run succeeded over a record that does not expand");
    expanded.resize(std::min<size_t>(expanded.size(), ExpansionBufferSize));
    const std::string path = (library ? SystemFolder : Folder) + "\\" + PayloadFileNames[index];
    auto file = machine.Entries.find(path);
    if (file == machine.Entries.end() || file->second.Bytes != expanded)
      Fail("an installed file differs from what its record expands to");
  }
  return 0;
}
