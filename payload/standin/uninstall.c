/* Stand-in for uninstall.exe. It only says what it is: it removes nothing, touches no
 * file and no registry entry. KWB_EDITION ("3.1.1" or "4.2") comes from the build. */
#include <windows.h>

#ifndef KWB_EDITION
#error "KWB_EDITION must name the edition, for example \"4.2\""
#endif

#define PRODUCT_TITLE "Vistrel Image Browser " KWB_EDITION

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  MessageBoxA(NULL,
              "This is the stand-in uninstaller of " PRODUCT_TITLE ".\r\n\r\n"
              "It removes nothing: the real uninstaller is packed only when the build is "
              "given the product's files.",
              "Uninstall " PRODUCT_TITLE, MB_OK | MB_ICONINFORMATION);
  return 0;
}
