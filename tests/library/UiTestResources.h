// Resource ids of the dialog, control and drawing tests.
#pragma once

#define IDD_UI_INPUT 200
#define IDD_UI_FILE_CHILD 201
#define IDD_UI_PAGE_ONE 202
#define IDD_UI_PAGE_TWO 203
#define IDD_UI_PAGE_THREE 204
#define IDB_UI_STRIP 210

#define IDS_UI_TITLE 220
#define IDS_UI_PROMPT 221
#define IDS_UI_OK 222
#define IDS_UI_CANCEL 223
#define IDS_UI_PAGE_TITLE 224

// The input dialog's controls are the library's fixed ids 1000 to 1003.
#define IDC_UI_CHILD_CHECK 1007
#define IDC_UI_CHILD_LABEL 1008
// Each wizard page has one static whose id tells the pages apart.
#define IDC_UI_PAGE_ONE 2001
#define IDC_UI_PAGE_TWO 2002
#define IDC_UI_PAGE_THREE 2003
