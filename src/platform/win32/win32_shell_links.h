// Shortcut files through the shell's link object (COM, IShellLinkA and IPersistFile).
#pragma once

#include "platform/shell_links.h"

class Win32ShellLinks : public ShellLinks {
public:
  Win32ShellLinks() : ComInitialised(false) {}

  void InitialiseCom() override;
  void UninitialiseCom() override;
  int32_t CreateShortcut(const char *target, const char *linkFile, const char *description) override;

private:
  bool ComInitialised;
};
