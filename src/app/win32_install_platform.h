// Everything an installation run needs, over Win32, in one object that the application
// makes once and hands to the Setup dialog or the unattended run.
#pragma once

#include "app/win32_payload_platform.h"
#include "folder_browser/folder_dialog.h"
#include "install/installation_run.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_drives.h"
#include "platform/win32/win32_shell_links.h"

class Win32InstallPlatform {
public:
  Win32InstallPlatform(MessageDisplay &messages, Log &log, PlatformFamily family)
      : Payload(messages, log, family),
        Platform{Payload.Get(), FolderMaker, Keys, Win32Registry::CurrentUser(), Links} {}
  Win32InstallPlatform(const Win32InstallPlatform &) = delete;
  Win32InstallPlatform &operator=(const Win32InstallPlatform &) = delete;

  const InstallPlatform &Get() const { return Platform; }

private:
  Win32PayloadPlatform Payload;
  Win32Folders FolderMaker;
  Win32Registry Keys;
  Win32ShellLinks Links;
  InstallPlatform Platform;
};

// The folder browser's services over Win32.
class Win32BrowserPlatform {
public:
  explicit Win32BrowserPlatform(PlatformFamily family)
      : Platform{Searches, DriveQuestions, Characters, family} {}
  Win32BrowserPlatform(const Win32BrowserPlatform &) = delete;
  Win32BrowserPlatform &operator=(const Win32BrowserPlatform &) = delete;

  const FolderBrowserPlatform &Get() const { return Platform; }

private:
  Win32FileSearch Searches;
  Win32Drives DriveQuestions;
  Win32CodePage Characters;
  FolderBrowserPlatform Platform;
};
