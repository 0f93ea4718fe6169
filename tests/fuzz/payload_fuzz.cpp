// The payload walk, its checksums and the extraction over arbitrary bytes as the three
// resources and their sums (true ones where they can be made), for either edition. The
// invariants: it ends, shows at most one message, reads nothing outside a resource (each
// is served from a block of exactly its size), writes only into the install and system
// folders, leaves no temporary file, and a successful run wrote exactly what the records
// expand to.
#include "install/payload_sums.h"
#include "memory_platform.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

const std::string Folder = "C:\\Program Files\\Corvane Software\\Vistrel";
const std::string SystemFolder = "C:\\WINDOWS\\SYSTEM";

// Takes the record at the front of a resource off it; false when it does not fit.
bool TakeRecord(std::string &resource, std::string *record) {
  uint32_t length = 0; // little-endian, as the host
  if (resource.size() < 4 || (memcpy(&length, resource.data(), 4), length > resource.size() - 4))
    return false;
  *record = resource.substr(4, length);
  resource.erase(0, 4 + length);
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int edition = input.ConsumeBool() ? 1 : 0;
  const bool trueSums = input.ConsumeBool();
  std::string sums = input.ConsumeRandomLengthString();
  MemoryMachine machine(DoubleByte);
  machine.AddFolder(Folder);
  machine.AddFolder(SystemFolder);
  machine.Resources[LibraryResourceId] = input.ConsumeRandomLengthString();
  machine.Resources[EditionResourceId(1 - edition)] = input.ConsumeRandomLengthString();
  std::string files = machine.Resources[EditionResourceId(edition)] = input.ConsumeRemainingBytesAsString();
  try {
    sums = trueSums ? SumsOf(machine.Resources) : sums;
  } catch (const std::exception &) {
  }
  machine.Resources[PayloadSumsResourceId] = sums;
  IsPayloadIntact(machine);

  uint32_t bytes = 0;
  const bool done = ExtractPayload({machine, machine, machine, machine, machine, machine, DoubleByte, machine, machine,
                                    edition == 1}, Folder.c_str(), edition, &bytes) == InstallCompleted;
  Require(machine.Messages.size() <= (done ? 0u : 1u), "a run showed more than its one message");
  for (const auto &[path, entry] : machine.Entries) {
    const std::string parent = path.substr(0, path.rfind('\\')), name = path.substr(parent.size());
    Require(entry.Folder || parent == Folder || parent == SystemFolder, "a file was written outside the two folders");
    Require(name.size() != 13 || name.rfind("\\kwb", 0) || name.find(".tmp") != 9, "a temporary file stayed");
  }
  for (int index = 0; done && index < PayloadFileCount; ++index) {
    const bool library = index == LibraryFileIndex;
    std::string libraryRecords = machine.Resources[LibraryResourceId], record, expanded;
    Require(TakeRecord(library ? libraryRecords : files, &record), "a run succeeded over a record that does not fit");
    if (record.empty())
      break;
    Require(ExpandInMemory("SZDD" + record, &expanded) == MSPACK_ERR_OK, "a run succeeded over a record that does not expand");
    expanded.resize(std::min<size_t>(expanded.size(), ExpansionBufferSize));
    auto file = machine.Entries.find((library ? SystemFolder : Folder) + "\\" + PayloadFileNames[index]);
    Require(file != machine.Entries.end() && file->second.Bytes == expanded,
            "an installed file differs from what its record expands to");
  }
  return 0;
}
