// Everything the payload extraction needs, over Win32, in one object.
#pragma once

#include "install/payload_extraction.h"
#include "platform/platform_family.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_payload_sources.h"

class Win32PayloadPlatform {
public:
  Win32PayloadPlatform(MessageDisplay &messages, Log &log, PlatformFamily family)
      : Platform{Resources, Memory, FileSystem, Expansion, Folders, Clock, Characters,
                 messages,  log,    family == WindowsNtFamily} {}
  Win32PayloadPlatform(const Win32PayloadPlatform &) = delete;
  Win32PayloadPlatform &operator=(const Win32PayloadPlatform &) = delete;

  const PayloadPlatform &Get() const { return Platform; }

private:
  Win32PayloadResources Resources;
  Win32MemoryBlocks Memory;
  Win32Files FileSystem;
  Win32LzExpansion Expansion;
  Win32SystemFolders Folders;
  Win32TimeZone Clock;
  Win32CodePage Characters;
  PayloadPlatform Platform;
};
