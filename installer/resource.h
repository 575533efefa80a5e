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
#define IDS_STEP_INITIALISE 210
#define IDS_STEP_COPY 211
#define IDS_STEP_REGISTRY 212
#define IDS_STEP_ICONS 213
#define IDS_STEP_EXECUTE 214

// ---- Setup wizard ---------------------------------------------------------
