// The command line over arbitrary bytes: the parse ends, the folder is a piece of the
// line, and a silent run is only ever accepted with an edition.
#include "app/command_line.h"
#include "memory_platform.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string line(reinterpret_cast<const char *>(data), size);
  CommandLine parsed = ParseCommandLine(ProgramArguments(line.c_str()), DoubleByte);
  Require(!parsed.Valid || !parsed.Silent || parsed.Edition >= 0, "a silent run without an edition was accepted");
  Require(!parsed.Folder.GetLength() || strstr(line.c_str(), parsed.Folder.GetString()),
          "the folder is not a piece of the command line");
  Require(!parsed.Valid || !strchr(parsed.Folder.GetString(), '"'), "a quotation mark was taken into the folder");
  return 0;
}
