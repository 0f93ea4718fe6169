// The payload's sources over Win32: the program's own data resources, fixed global
// memory blocks, and the LZ expansion library.
#pragma once

#include "platform/lz_expansion.h"
#include "platform/memory_blocks.h"
#include "platform/payload_resources.h"

class Win32PayloadResources : public PayloadResources {
public:
  bool Find(int id, ResourceBytes *bytes) override;
};

class Win32MemoryBlocks : public MemoryBlocks {
public:
  uint8_t *AllocateZeroed(uint32_t size) override;
  void Free(uint8_t *block) override;
};

class Win32LzExpansion : public LzExpansion {
public:
  int32_t ExpandFile(const char *path, uint8_t *buffer, int32_t size) override;
  int32_t ExpandOpenFile(FileHandle file, uint8_t *buffer, int32_t size) override;
};
