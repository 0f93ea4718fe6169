#include "setup_dialog/default_folder.h"

namespace {

const char ProgramFolder[] = "\\Program Files\\Corvane Software\\Vistrel";
// The same folder below the Windows folder: the text after "\Program Files".
const char *const ProductFolder = ProgramFolder + 14;

} // namespace

CString DefaultInstallFolder(const CString &windowsFolder) {
  // Clearing bit 5 makes a letter upper case, and makes no other byte a letter.
  const char drive[] = {
      static_cast<char>(windowsFolder.IsEmpty() ? 'C' : windowsFolder.GetAt(0) & ~0x20), ':',
      '\0'};
  const bool onDrive =
      windowsFolder.IsEmpty() || (windowsFolder.GetLength() >= 2 && drive[0] >= 'A' &&
                                  drive[0] <= 'Z' && windowsFolder.GetAt(1) == ':');
  CString folder = onDrive ? CString(drive) : windowsFolder;
  folder += onDrive ? ProgramFolder : ProductFolder;
  return folder;
}
