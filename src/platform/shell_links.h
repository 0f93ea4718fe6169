// The shell's link object, through which shortcut files are written, and the COM
// initialisation of the calling thread that it needs.
#pragma once

#include <stdint.h>

class ShellLinks {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~ShellLinks() = default;

public:
  // Initialises COM on the calling thread for the shortcuts that follow, and gives it
  // up again afterwards. The two calls come in pairs.
  virtual void InitialiseCom() = 0;
  virtual void UninitialiseCom() = 0;
  // Saves linkFile as a shell link to target with the description, replacing a link
  // file of that name; nothing else of the link is set. Returns the COM status of the
  // save, or of the first step that failed before it.
  virtual int32_t CreateShortcut(const char *target, const char *linkFile, const char *description) = 0;
};
