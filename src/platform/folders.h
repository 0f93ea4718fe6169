// Folder creation, one level at a time, as CreateDirectoryA does it: the parent must
// exist. The path is an ANSI string in the platform's code page.
#pragma once

#include <stdint.h>

class Folders {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~Folders() = default;

public:
  // Creates the folder with default security. Returns 0, or the platform error
  // (ErrorAlreadyExists when the name exists, ErrorPathNotFound when a folder above it
  // is missing, ...).
  virtual uint32_t CreateFolder(const char *path) = 0;
};
