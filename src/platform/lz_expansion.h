// The platform's LZ expansion of a file in the SZDD compressed-file format.
#pragma once

#include "platform/files.h"

#include <stdint.h>

class LzExpansion {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~LzExpansion() = default;

public:
  // Opens the compressed file at path (an absolute path; it must not be open for
  // writing), expands at most size bytes of it into buffer with one read, and closes it
  // again. Returns the number of bytes placed in the buffer, or 0 or a negative LZ error
  // code when nothing could be expanded, a failed open included. A file that is not in
  // the compressed format is read as it is, as the platform's library does.
  virtual int32_t ExpandFile(const char *path, uint8_t *buffer, int32_t size) = 0;
  // The same for a file open for reading and writing (Files::CreateSelfRemoving), read
  // from its start. The handle is closed in every case.
  virtual int32_t ExpandOpenFile(FileHandle file, uint8_t *buffer, int32_t size) = 0;
};
