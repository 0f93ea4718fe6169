// Searches of a folder by a wildcard pattern, as FindFirstFileA and FindNextFileA make
// them: the entries come one at a time, in the order in which the file system keeps
// them, each with its name and its attribute bits. Handles are opaque numbers.
#pragma once

#include "base/cstring.h"

#include <stdint.h>

typedef uintptr_t SearchHandle;

// The attribute bits that decide what the folder tree lists.
const uint32_t FileAttributeHidden = 0x02;
const uint32_t FileAttributeSystem = 0x04;
const uint32_t FileAttributeDirectory = 0x10;

struct FoundEntry {
  CString Name;
  uint32_t Attributes = 0;
};

class FileSearch {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~FileSearch() = default;

public:
  // Starts a search and reads its first entry into *entry. Returns false when the
  // search cannot start: the folder is missing or unreadable, or the drive holds no
  // medium.
  virtual bool Start(const char *pattern, SearchHandle *search, FoundEntry *entry) = 0;
  // Reads the next entry; false when there is none left.
  virtual bool Next(SearchHandle search, FoundEntry *entry) = 0;
  virtual void Close(SearchHandle search) = 0;
};
