#include "setup_dialog/default_folder.h"

CString DefaultInstallFolder(const CString &windowsFolder) {
  CString drive = windowsFolder.IsEmpty() ? CString("C:") : windowsFolder.Left(2);
  drive.MakeUpperAscii();
  CString base = windowsFolder;
  if (drive.GetLength() == 2 && drive.GetAt(0) >= 'A' && drive.GetAt(0) <= 'Z' &&
      drive.GetAt(1) == ':')
    base = drive + "\\Program Files";
  return base + "\\Corvane Software\\Vistrel";
}
