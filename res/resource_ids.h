// Identifiers of the program's resources and of its dialogs' controls. Shared by the
// resource script and the code.
#pragma once

#define IDD_SETUP 102
#define IDI_APPLICATION_ICON 128
#define IDD_FOLDER_BROWSER 149
#define IDR_LIBRARY_PAYLOAD 129
#define IDR_EDITION_311_PAYLOAD 130
#define IDR_EDITION_42_PAYLOAD 131
#define IDR_PAYLOAD_SUMS 132
#define IDI_FOLDER_CLOSED 178
#define IDI_FOLDER_OPEN 179

#define IDC_BROWSE 1000
#define IDC_PATH_EDIT 1001
#define IDC_STATUS_TEXT 1002
#define IDC_PATH_LABEL 1003
#define IDC_VERSION_311 1005
#define IDC_VERSION_42 1006

// The folder browser's controls.
#define IDC_FREE_SPACE 1001
#define IDC_FOLDER_TREE 1013
#define IDC_FOLDER_LABEL 1028
#define IDC_FOLDER_CAPTION 1061

// The program's version as its version record gives it, for the log.
#define KWB_VERSION_TEXT "4.0.0.0"
