// Large fixed blocks of memory from the platform, zero-filled when they are handed out.
#pragma once

#include <stdint.h>

class MemoryBlocks {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~MemoryBlocks() = default;

public:
  // A writable block of size bytes, all zero, or null when there is not enough memory.
  virtual uint8_t *AllocateZeroed(uint32_t size) = 0;
  virtual void Free(uint8_t *block) = 0;
};

// Owns one block and gives it back when it goes out of scope.
class AllocatedBlock {
public:
  AllocatedBlock(MemoryBlocks &blocks, uint32_t size)
      : Owner(blocks), Block(blocks.AllocateZeroed(size)) {}
  AllocatedBlock(const AllocatedBlock &) = delete;
  AllocatedBlock &operator=(const AllocatedBlock &) = delete;
  ~AllocatedBlock() {
    if (Block)
      Owner.Free(Block);
  }

  uint8_t *Get() const { return Block; }
  explicit operator bool() const { return Block != nullptr; }

private:
  MemoryBlocks &Owner;
  uint8_t *Block;
};
