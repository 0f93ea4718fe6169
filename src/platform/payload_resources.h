// The data resources (RT_RCDATA) that the program carries inside its own executable.
#pragma once

#include <stdint.h>

// A read-only view of one resource's bytes. It stays valid for the life of the program:
// resources are mapped with the executable and never released.
struct ResourceBytes {
  const uint8_t *Data;
  uint32_t Size;
};

class PayloadResources {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~PayloadResources() = default;

public:
  // Finds the data resource with the integer identifier id. Returns false when the
  // program carries no such resource.
  virtual bool Find(int id, ResourceBytes *bytes) = 0;
};
