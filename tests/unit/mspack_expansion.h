// The LZ expansion for the native tests: libmspack's SZDD decompressor reading the
// file's bytes from the in-memory file system. Like the platform's library, it reads a
// file that is not in the compressed format as it is, expands at most the size asked
// for, and fails for a file that is missing or open elsewhere without sharing.
#pragma once

#include "memory_file_system.h"
#include "platform/lz_expansion.h"

#include <cstdint>
#include <string>

class MspackExpansion : public LzExpansion {
public:
  explicit MspackExpansion(MemoryFileSystem &files) : FileSystem(files) {}

  int32_t ExpandFile(const char *path, uint8_t *buffer, int32_t size) override;

private:
  MemoryFileSystem &FileSystem;
};
