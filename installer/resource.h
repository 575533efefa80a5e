// Resource ids of Install.exe.
#pragma once

// ---- Run sequence, background window and progress ------------------------
// Icon 1 is the program's (window class, wizard); 118 is the preparing
// dialog's.
#define IDI_INSTALL 1
#define IDI_PREPARE 118

#define IDD_PREPARE 120
#define IDD_PROGRESS 134

#define IDC_PROGRESS_CANCEL 1001
#define IDC_PROGRESS_BAR 1006
#define IDC_PROGRESS_ITEM 1018
#define IDC_PROGRESS_STEP 1019

#define IDS_INSTALL 1
#define IDS_SETUP 2
#define IDS_EXIT_SETUP 10
#define IDS_INSTALL_COMPLETE 200
#define IDS_RESTART_QUESTION 201
#define IDS_INSTALL_ABORTED 202
#define IDS_MISSING_FILE 203
#define IDS_CANCEL_QUESTION 204
#define IDS_CANNOT_COPY 205
#define IDS_ACCESS_DENIED 206
#define IDS_NEWER_FILE 207
#define IDS_CREATING_DIRECTORY 208
#define IDS_REGISTRY_FAILED 215
#define IDS_DIRECTORY_FAILED 216
#define IDS_STEP_INITIALISE 210
#define IDS_STEP_COPY 211
#define IDS_STEP_REGISTRY 212
#define IDS_STEP_ICONS 213
#define IDS_STEP_EXECUTE 214

// ---- Setup wizard ---------------------------------------------------------
#define IDS_TITLE_DESTINATION 11
#define IDS_TITLE_COMPONENTS 12
#define IDS_TITLE_PROGRAM_GROUP 13
#define IDS_TITLE_OPTIONS 14
#define IDS_SELECT_FOLDER 20
#define IDS_SIZE_KB 100
#define IDS_DIRECTORY_EXISTS 101
#define IDS_PATH_NOT_VALID 102
#define IDS_CREATE_DIRECTORY 103
#define IDS_QUIT_SETUP 104
#define IDS_GROUP_NOT_VALID 105
#define IDS_NO_FREE_SPACE 106

#define IDD_DESTINATION 101
#define IDD_COMPONENTS 109
#define IDD_COMPONENTS_DIALOG 131
#define IDD_PROGRAM_GROUP 133
#define IDD_OPTIONS 197

#define IDB_WIZARD 123
#define IDB_MARK_CHOSEN 128
#define IDB_MARK_REQUIRED 130
#define IDB_MARK_PARTLY 132

// Controls of the pages and of the components dialog; option check boxes
// are numbered from IDC_FIRST_OPTION as the options page creates them.
#define IDC_FIRST_OPTION 1000
#define IDC_COMPONENTS_OK 1000
#define IDC_DESTINATION 1004
#define IDC_BROWSE 1005
#define IDC_SPACE_REQUIRED 1007
#define IDC_SPACE_AVAILABLE 1008
#define IDC_DETAILS 1009
#define IDC_COMPONENT_LIST 1010
#define IDC_GROUP_NAME 1011
#define IDC_GROUP_LIST 1012
#define IDC_USER_GROUP 1013
#define IDC_COMMON_GROUP 1014
#define IDC_GROUP_OWNER 1015
