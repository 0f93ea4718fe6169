#include "app/silent_setup.h"

#include "install/registration.h"
#include "setup_dialog/default_folder.h"

namespace {

// The Setup dialog's state with nothing to show it on.
class SilentView : public SetupView {
public:
  SilentView(int edition, const CString &folder) : Folder(folder) { Edition = edition; }

  void CloseAsCancel() override {}
  void ReadControls() override {}
  void ShowMembers() override {}
  CString FolderText() override { return Folder; }
  void ShowWaitCursor(bool) override {}
  void HideControl(int) override {}
  void SetControlText(int, const char *) override {}

private:
  CString Folder;
};

} // namespace

CString SilentInstallFolder(const CommandLine &line, Registry &registry,
                            const CString &windowsFolder) {
  if (!line.Folder.IsEmpty())
    return line.Folder;
  CString recorded = ReadPreviousInstallFolder(registry);
  return recorded.IsEmpty() ? DefaultInstallFolder(windowsFolder) : recorded;
}

ExitCode RunSilentInstallation(const CommandLine &line, const InstallPlatform &platform) {
  SilentView view(line.Edition, SilentInstallFolder(line, platform.Keys,
                                                    platform.Payload.Folders.WindowsFolder()));
  return ExitCodeOf(RunInstallation(view, platform));
}
