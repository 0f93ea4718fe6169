// The payload walk, its checksums and the extraction over arbitrary bytes as the three
// resources and their sums (true ones where they can be made), for either edition. The invariants: it ends, shows at most one message, reads nothing
// outside a resource (each is served from a block of exactly its size), writes only
// into the install and system folders, and a successful run wrote exactly what the
// records expand to.
#include "install/payload_sums.h"
#include "memory_platform.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

const std::string Folder = "C:\\Program Files\\Corvane Software\\Vistrel";
const std::string SystemFolder = "C:\\WINDOWS\\SYSTEM";

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
  const bool trueSums = input.ConsumeBool();
  std::string sums = input.ConsumeRandomLengthString();
  TestCodePage codePage;
  MemoryMachine machine(codePage);
  machine.AddFolder(Folder);
  machine.AddFolder(SystemFolder);
  machine.Resources[LibraryResourceId] = input.ConsumeRandomLengthString();
  machine.Resources[EditionResourceId(1 - edition)] = input.ConsumeRandomLengthString();
  machine.Resources[EditionResourceId(edition)] = input.ConsumeRemainingBytesAsString();
  std::vector<std::vector<uint8_t>> packed;
  for (int id : {129, 130, 131})
    packed.emplace_back(machine.Resources[id].begin(), machine.Resources[id].end());
  try {
    if (trueSums) {
      const std::vector<uint8_t> made = kwbpack::buildPayloadSums(packed);
      sums.assign(made.begin(), made.end());
    }
  } catch (const std::exception &) {
  }
  machine.Resources[PayloadSumsResourceId] = sums;
  IsPayloadIntact(machine);

  const bool done = ExtractPayload({machine, machine, machine, machine, machine, machine,
                                    codePage, machine},
                                   Folder.c_str(), edition);
  Require(machine.Messages.size() <= (done ? 0u : 1u), "a run showed more than its one message");
  for (const auto &entry : machine.Entries) {
    const std::string parent = entry.first.substr(0, entry.first.rfind('\\'));
    Require(entry.second.Folder || parent == Folder || parent == SystemFolder,
            "a file was written outside the install and system folders");
  }
  for (const std::string &folder : {Folder, SystemFolder})
    for (const char *name : {TemporaryArchiveName, TemporaryFileName})
      Require(!machine.Entries.count(folder + "\\" + name), "a temporary file stayed");
  if (!done)
    return 0;
  const std::string &editionFiles = machine.Resources[EditionResourceId(edition)];
  size_t cursor = 0;
  for (int index = 0; index < PayloadFileCount; ++index) {
    const bool library = index == LibraryFileIndex;
    std::string record, expanded;
    Require(RecordAt(library ? machine.Resources[LibraryResourceId] : editionFiles,
                     library ? 0 : cursor, &record),
            "a run succeeded over a record that does not fit its resource");
    if (record.empty())
      break;
    cursor += library ? 0 : 4 + record.size();
    Require(ExpandInMemory("SZDD" + record, &expanded) == MSPACK_ERR_OK,
            "a run succeeded over a record that does not expand");
    expanded.resize(std::min<size_t>(expanded.size(), ExpansionBufferSize));
    auto file = machine.Entries.find((library ? SystemFolder : Folder) + "\\" + PayloadFileNames[index]);
    Require(file != machine.Entries.end() && file->second.Bytes == expanded,
            "an installed file differs from what its record expands to");
  }
  return 0;
}
