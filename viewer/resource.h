// Resource ids of Vellmora: menus, accelerators, dialogs, strings, icons and
// bitmaps. Command ids double as the ids of their menu help strings.
#pragma once

// Menus, accelerators and dialogs.
#define IDM_FRAME 103
#define IDA_FRAME 104
#define IDD_ABOUT 105
#define IDM_POPUPS 119

// Positions of the popups in IDM_POPUPS.
#define POPUP_CLIPBOOK 0
#define POPUP_PAGE 1
#define POPUP_FORMAT 2
#define POPUP_TOOLBAR 3

// Icons.
#define IDI_FRAME 101
#define IDI_BINARY_VIEW 107
#define IDI_TEXT_VIEW 108
#define IDI_PICTURE_VIEW 110
#define IDI_INFO_VIEW 117
#define IDI_CLIPBOOK 123

// Bitmaps: toolbar images in two sizes, and the format images.
#define IDB_TOOLBAR_SMALL_DISABLED 111
#define IDB_TOOLBAR_SMALL 112
#define IDB_TOOLBAR_SMALL_HOT 113
#define IDB_FORMATS 126
#define IDB_TOOLBAR_LARGE_HOT 127
#define IDB_TOOLBAR_LARGE 128
#define IDB_TOOLBAR_LARGE_DISABLED 129

// Controls of the frame and of the About box.
#define IDC_STATUSBAR 102
#define IDC_TOOLBAR 104
#define IDC_FORMAT_COMBO 105
#define IDC_CLIPBOOK_TREE 106
#define IDC_REBAR 107
#define IDC_ABOUT_OK 1000
#define IDC_TEXT_EDIT 1002

// Strings. 1 to 16 are the names of the standard clipboard formats.
#define IDS_TITLE 100
#define IDS_FORMAT_BAND 103
#define IDS_TOOLBAR_LABELS 104
#define IDS_AUTO 1000
#define IDS_CLIPBOOK 1020
#define IDS_ERROR 1100
#define IDS_NOT_SUPPORTED 1101
#define IDS_SAVE_CLIPBOOK_FAILED 1102
#define IDS_LOAD_CLIPBOOK_FAILED 1103
#define IDS_UNKNOWN_ERROR 1104
#define IDS_SAVE_CLIPPAGE_FAILED 1105
#define IDS_LOAD_CLIPPAGE_FAILED 1106
#define IDS_INVALID_PAGE_NAME 1107
#define IDS_OPEN_CLIPBOOK_QUESTION 1207
#define IDS_OPEN_CLIPBOOK_CAPTION 1208
#define IDS_FILTER_OPEN_CLIPPAGE 3000
#define IDS_FILTER_SAVE_CLIPPAGE 3001
#define IDS_FILTER_OPEN_CLIPBOOK 3002
#define IDS_FILTER_SAVE_CLIPBOOK 3003
#define IDS_SAVE_CLIPBOARD_ENTRY 3010

// Commands.
#define ID_FILE_EXIT 40001
#define ID_FILE_OPEN 40002
#define ID_FILE_SAVE_AS 40003
#define ID_EDIT_DELETE 40004
#define ID_DISPLAY_AUTO_FORMAT 40006
#define ID_HELP_ABOUT 40007
#define ID_WINDOW_CASCADE 40008
#define ID_WINDOW_TILE_HORZ 40009
#define ID_WINDOW_TILE_VERT 40011
#define ID_EDIT_COPY 40014
#define ID_EDIT_PASTE 40015
#define ID_EDIT_CUT 40016
#define ID_VIEW_AUTO 40019
#define ID_VIEW_TEXT 40020
#define ID_VIEW_BINARY 40021
#define ID_VIEW_PICTURE 40022
#define ID_VIEW_INFO 40023
#define ID_PAGE_DELETE 40024
#define ID_PAGE_RENAME 40025
#define ID_PAGE_CUT 40026
#define ID_PAGE_COPY 40027
#define ID_TOOLBAR_FLAT 40030
#define ID_TOOLBAR_LABELS 40031
#define ID_TOOLBAR_TIPS 40032
#define ID_FORMAT_DELETE 40033
#define ID_TOOLBAR_LARGE 40034
#define ID_CLIPBOOK_PASTE 40039
#define ID_FILE_SAVE_CLIPBOOK 40042
#define ID_FILE_OPEN_CLIPBOOK 40043
#define ID_DELETE_KEY 40044

// The format entries of the Display menu: 50000 + position in the list.
#define ID_FORMAT_FIRST 50000
#define ID_FORMAT_LAST 57647
#define IDS_FORMAT_ENTRY_HELP 50000
