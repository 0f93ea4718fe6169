// Drive questions and folder searches over the Win32 file functions.
#pragma once

#include "platform/drives.h"
#include "platform/file_search.h"

class Win32Drives : public Drives {
public:
  uint32_t TypeOf(const char *root) override;
  bool FreeSpace(const char *root, VolumeFreeSpace *space) override;
};

class Win32FileSearch : public FileSearch {
public:
  bool Start(const char *pattern, SearchHandle *search, FoundEntry *entry) override;
  bool Next(SearchHandle search, FoundEntry *entry) override;
  void Close(SearchHandle search) override;
};
