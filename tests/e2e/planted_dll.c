/* A DLL planted next to the installer under the name of a library it loads at run time.
   When any process loads it, it appends its own path and its program's to C:\planted.txt: the mark that
   the planted code ran. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  /* The driver runs from the installer's folder too, and Wine's own libraries load some
     of these names for it: only the programs under test are marked. */
  if (reason == DLL_PROCESS_ATTACH && !GetModuleHandleA("kwbdrive.exe")) {
    char path[2 * MAX_PATH + 8];
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    path[length++] = ' ';
    length += GetModuleFileNameA(NULL, path + length, MAX_PATH);
    path[length] = '\r';
    path[length + 1] = '\n';
    HANDLE mark = CreateFileA("C:\\planted.txt", FILE_APPEND_DATA, FILE_SHARE_READ, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written;
    WriteFile(mark, path, length + 2, &written, NULL);
    CloseHandle(mark);
    /* Put in the place of a library the installer loads, it can hold the installer there
       until the driver ends it. */
    if (GetEnvironmentVariableA("KWB_PLANTED_STALLS", NULL, 0))
      Sleep(600000);
  }
  return TRUE;
}
