// Stand-ins for the rest of the payload extraction's platform: data resources held in
// memory, memory blocks that are counted and can run out, and messages that are
// recorded instead of shown.
#pragma once

#include "platform/memory_blocks.h"
#include "platform/message_display.h"
#include "platform/payload_resources.h"

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

class MemoryResources : public PayloadResources {
public:
  std::map<int, std::string> Resources;

  bool Find(int id, ResourceBytes *bytes) override {
    auto found = Resources.find(id);
    if (found == Resources.end())
      return false;
    bytes->Data = reinterpret_cast<const uint8_t *>(found->second.data());
    bytes->Size = static_cast<uint32_t>(found->second.size());
    return true;
  }
};

class CountedMemoryBlocks : public MemoryBlocks {
public:
  bool OutOfMemory = false;
  int Outstanding = 0;
  std::vector<uint32_t> Sizes; // of every block handed out

  uint8_t *AllocateZeroed(uint32_t size) override {
    if (OutOfMemory)
      return nullptr;
    uint8_t *block = static_cast<uint8_t *>(calloc(size, 1));
    ++Outstanding;
    Sizes.push_back(size);
    return block;
  }
  void Free(uint8_t *block) override {
    --Outstanding;
    free(block);
  }
};

class RecordedMessages : public MessageDisplay {
public:
  std::vector<std::string> Shown;

  void Show(const char *text) override { Shown.push_back(text); }
};
