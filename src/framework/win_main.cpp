// The program's entry point, in place of the C runtime's start-up code: it runs the
// static constructors (the application object is one of them), hands control to the
// application object, runs the functions registered to run at exit (the static
// destructors among them) and ends the process with the application's exit code.
#include "framework/win_app.h"
#include "base/system_library.h"

namespace {

typedef void (*StartFunction)();

// Room for every static object with a destructor in the program; one more than fits is
// simply not destroyed, which at process exit loses nothing.
const int MostExitFunctions = 32;
StartFunction ExitFunctions[MostExitFunctions];
int ExitFunctionCount = 0;

} // namespace

// The linker gathers the static constructors between these two markers: the list starts
// with -1 and ends with a null entry.
extern "C" StartFunction __CTOR_LIST__[];

extern "C" int atexit(StartFunction function) {
  if (ExitFunctionCount == MostExitFunctions)
    return -1;
  ExitFunctions[ExitFunctionCount++] = function;
  return 0;
}

namespace {

void RunStaticConstructors() {
  // The list is run from its end, as the toolchain's own start-up code runs it.
  int count = 0;
  while (__CTOR_LIST__[count + 1])
    ++count;
  for (int i = count; i >= 1; --i)
    __CTOR_LIST__[i]();
}

void RunExitFunctions() {
  while (ExitFunctionCount > 0)
    ExitFunctions[--ExitFunctionCount]();
}

int RunApplication() {
  CWinApp *app = AfxGetApp();
  if (!app)
    return 1;
  // The application runs its one modal dialog inside InitInstance and then returns
  // false; there is no message loop to enter afterwards.
  app->InitInstance();
  return app->ExitInstance();
}

} // namespace

// The stack may arrive aligned to 4 bytes only, on the 32-bit systems.
extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
  RemoveCurrentFolderFromLibrarySearch();
  RunStaticConstructors();
  int code = RunApplication();
  RunExitFunctions();
  ::ExitProcess(static_cast<UINT>(code));
}
