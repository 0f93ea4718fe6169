// CFileFind: one search of a folder at a time through the platform's file search, with
// the questions the folder tree asks about the current entry. The search is closed when
// a new one starts and when the finder goes out of scope.
#pragma once

#include "platform/file_search.h"

class CFileFind {
public:
  explicit CFileFind(FileSearch &searches) : Searches(searches) {}
  CFileFind(const CFileFind &) = delete;
  CFileFind &operator=(const CFileFind &) = delete;
  ~CFileFind() { Close(); }

  // Starts a search on a pattern and makes its first entry current. False when the
  // search cannot start.
  bool FindFile(const char *pattern) {
    Close();
    Started = Searches.Start(pattern, &Search, &Entry);
    Current = Started;
    return Started;
  }
  // True while an entry is current; FindNextFile moves on to the next one.
  bool HasEntry() const { return Current; }
  void FindNextFile() { Current = Current && Searches.Next(Search, &Entry); }
  void Close() {
    if (Started)
      Searches.Close(Search);
    Started = Current = false;
  }

  const CString &GetFileName() const { return Entry.Name; }
  uint32_t GetAttributes() const { return Entry.Attributes; }

private:
  FileSearch &Searches;
  SearchHandle Search = 0;
  FoundEntry Entry;
  bool Started = false;
  bool Current = false;
};
