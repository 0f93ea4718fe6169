// The Setup application: checks the platform, then runs the Setup dialog as its main
// window and ends the program when the dialog closes.
#pragma once

#include "app/platform_check.h"
#include "app/command_line.h"
#include "framework/win_app.h"
#include "install/installation_run.h"
#include "platform/message_display.h"
#include "platform/win32/win32_log.h"

class CSetupApp : public CWinApp {
public:
  CSetupApp() : PlatformCode(0), ExitCodeValue(ExitInstalled), Installed(false) {}

  BOOL InitInstance() override;
  int ExitInstance() override;

  // 1 for the Windows 95/98 family, 2 for the NT family; set by CheckPlatform.
  int32_t PlatformCode;
  // What the process returns: 0 for an interactive run however it ended, or the outcome
  // of an unattended one (app/exit_code.h).
  ExitCode ExitCodeValue;
  // Whether the run installed the product, for the log's last line.
  bool Installed;

protected:
  const CommandMapEntry *GetCommandMap() const override;

private:
  // Sets PlatformCode, or reports the refusal and returns false on Win32s.
  bool CheckPlatform(MessageDisplay &messages);

  // The log /LOG= asks for; without it, lines go nowhere.
  Win32FileLog FileLog;
};
