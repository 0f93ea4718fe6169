// The Setup application: checks the platform, then runs the Setup dialog as its main
// window and ends the program when the dialog closes.
#pragma once

#include "app/platform_check.h"
#include "framework/win_app.h"

class CSetupApp : public CWinApp {
public:
  CSetupApp() : PlatformCode(0) {}

  BOOL InitInstance() override;
  int ExitInstance() override;

  // 1 for the Windows 95/98 family, 2 for the NT family; set by CheckPlatform.
  int32_t PlatformCode;

protected:
  const CommandMapEntry *GetCommandMap() const override;

private:
  // Sets PlatformCode, or shows the refusal message and returns false on Win32s.
  bool CheckPlatform();
};

// The Setup application, for the dialogs that read PlatformCode.
CSetupApp &SetupApp();
