/* Stand-in for KWB.exe, the image browser itself. The real program is not part of this
 * source tree; this one opens a window that names the product and the edition it stands
 * in for, so that an installation made from a fresh clone has something to start.
 * KWB_EDITION ("3.1.1" or "4.2") comes from the build. */
#include <windows.h>

#ifndef KWB_EDITION
#error "KWB_EDITION must name the edition, for example \"4.2\""
#endif

#define PRODUCT_TITLE "Vistrel Image Browser " KWB_EDITION

static const char WindowClass[] = "VistrelStandInBrowser";
static const char Notice[] =
    PRODUCT_TITLE "\r\n\r\n"
    "This is a stand-in for KWB.exe, built from the installer's own sources.\r\n"
    "The real program is packed only when the build is given the product's files.";

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT: {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    InflateRect(&area, -16, -16);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(dc, Notice, -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK);
    EndPaint(window, &paint);
    return 0;
  }
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  default:
    return DefWindowProcA(window, message, wParam, lParam);
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)previous;
  (void)commandLine;
  WNDCLASSA windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
  windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  windowClass.lpszClassName = WindowClass;
  if (!RegisterClassA(&windowClass))
    return 1;

  HWND window = CreateWindowA(WindowClass, PRODUCT_TITLE, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 480, 240, NULL, NULL, instance, NULL);
  if (!window)
    return 1;
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  BOOL got;
  while ((got = GetMessageA(&message, NULL, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return got < 0 ? 1 : (int)message.wParam;
}
