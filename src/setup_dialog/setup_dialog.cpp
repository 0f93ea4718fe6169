#include "setup_dialog/setup_dialog.h"

#include "framework/message_box.h"
#include "framework/small_icon.h"
#include "install/registration.h"
#include "setup_dialog/default_folder.h"

namespace {

const char ReinstallQuestion[] = "A previous installation found\r\nReinstall?";
const char InstallQuestion[] = "Install Vistrel Image Browser?";

} // namespace

BEGIN_MESSAGE_MAP(CSetupDialog, CDialog)
ON_MESSAGE_VOID(WM_PAINT, &CSetupDialog::PaintMinimised)
ON_MESSAGE_RESULT(WM_QUERYDRAGICON, &CSetupDialog::QueryDragIcon)
ON_BN_CLICKED(IDOK, &CSetupDialog::OnInstall)
ON_BN_CLICKED(IDC_BROWSE, &CSetupDialog::BrowseForFolder)
END_MESSAGE_MAP()

CSetupDialog::CSetupDialog(const InstallPlatform &install, const FolderBrowserPlatform &browser,
                           CWnd *parent)
    : CDialog(IDD, parent), CursorBeforeWait(nullptr), Install(install), Browser(browser) {
  AppIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
}

void CSetupDialog::ExchangeControlData(CDataExchange *exchange) {
  DDX_Control(exchange, IDC_VERSION_42, Version42Radio);
  DDX_Control(exchange, IDC_VERSION_311, Version311Radio);
  DDX_Control(exchange, IDC_BROWSE, BrowsePlaceholder);
  DDX_Control(exchange, IDC_PATH_LABEL, PathLabel);
  DDX_Control(exchange, IDC_PATH_EDIT, PathEdit);
  DDX_Text(exchange, IDC_STATUS_TEXT, StatusText);
  DDX_Radio(exchange, IDC_VERSION_311, Edition);
}

BOOL CSetupDialog::InitialiseSetupDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppIcon));
  // The caption and the task bar show the small picture itself rather than the large one
  // shrunk.
  SendMessage(WM_SETICON, ICON_SMALL,
              reinterpret_cast<LPARAM>(LoadSmallIcon(IDI_APPLICATION_ICON)));
  CreateBrowseButton();

  InstallFolder = ReadPreviousInstallFolder(Install.Keys);
  if (!InstallFolder.IsEmpty()) {
    // Asked before the dialog is shown; any answer but Yes ends the program at once.
    if (AfxMessageBox(ReinstallQuestion, MB_YESNO) != IDYES)
      EndDialog(IDCANCEL);
  } else {
    InstallFolder = DefaultInstallFolder(Install.Payload.Folders.WindowsFolder());
  }
  // A folder given on the command line replaces the proposal, once the reinstall
  // question has had its say.
  if (!CommandLineFolder.IsEmpty())
    InstallFolder = CommandLineFolder;
  PathEdit.SetWindowText(InstallFolder);
  StatusText = InstallQuestion;
  UpdateData(FALSE);
  return TRUE;
}

void CSetupDialog::CreateBrowseButton() {
  // The hidden placeholder in the template marks where the button goes; the button is a
  // little larger than it so that the icon has room around it: an eighth of the icon's
  // size to the left and right, a quarter above and below (2 and 4 pixels at 100% display
  // scale), growing with the icon.
  RECT rect;
  ::GetWindowRect(BrowsePlaceholder.GetSafeHwnd(), &rect);
  const int iconSize = SmallIconSize();
  ::InflateRect(&rect, iconSize / 8, iconSize / 4);
  ::MapWindowPoints(nullptr, Hwnd, reinterpret_cast<POINT *>(&rect), 2);
  // The window text is the name screen readers announce; with BS_ICON the button shows
  // the icon alone.
  BrowseButton.Create("Browse", WS_CHILD | WS_VISIBLE | BS_ICON, rect, this, IDC_BROWSE);
  BrowseButton.SetIcon(LoadSmallIcon(IDI_FOLDER_CLOSED));
}

void CSetupDialog::PaintMinimised() {
  if (!IsIconic()) {
    Default();
    return;
  }
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(Hwnd, &paint);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  // The client rectangle starts at 0, 0.
  RECT client;
  ::GetClientRect(Hwnd, &client);
  const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc, x, y, AppIcon);
  ::EndPaint(Hwnd, &paint);
}

LRESULT CSetupDialog::QueryDragIcon() { return reinterpret_cast<LRESULT>(AppIcon); }

void CSetupDialog::OnInstall() {
  RunInstallation(*this, Install);
}

void CSetupDialog::ShowWaitCursor(bool shown) {
  if (shown)
    CursorBeforeWait = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  else
    ::SetCursor(CursorBeforeWait);
}

void CSetupDialog::HideControl(int id) {
  // The placeholder carries the browse button's id too; the button is the one meant.
  HWND control = id == IDC_BROWSE ? BrowseButton.GetSafeHwnd() : GetDlgItem(id);
  if (control)
    ::ShowWindow(control, SW_HIDE);
}

void CSetupDialog::SetControlText(int id, const char *text) {
  ::SetDlgItemTextA(Hwnd, id, text);
}

void CSetupDialog::BrowseForFolder() {
  // The browser starts from the proposed folder, not from what may have been typed; a
  // folder chosen there replaces the typed text.
  // A folder from /D= may still carry the trailing backslash a run removes.
  CFolderDialog browser(this, Browser);
  browser.FolderPath = WithoutTrailingBackslash(InstallFolder, Browser.Characters);
  browser.FolderPath += "\\";
  if (browser.DoModal() != IDOK)
    return;
  // The browser hands back an item path, or the text given to it, and both end with the
  // backslash added to a folder; a drive root "D:\" comes back as "D:".
  InstallFolder = browser.FolderPath;
  const int length = InstallFolder.GetLength();
  if (length >= 2 && InstallFolder.GetAt(length - 1) == '\\')
    InstallFolder.Truncate(length - 1);
  PathEdit.SetWindowText(InstallFolder);
}
