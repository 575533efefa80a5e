// Resource ids of SWEEPER.EXE: the progress dialog and the string table.
#pragma once

#define IDD_REMOVING 101

// Controls of the progress dialog: a label and a bar for each step.
#define IDC_STEP1_BAR 1005
#define IDC_STEP2_BAR 1006
#define IDC_STEP1_LABEL 1007
#define IDC_STEP3_BAR 1008
#define IDC_STEP4_BAR 1009
#define IDC_STEP2_LABEL 1010
#define IDC_STEP3_LABEL 1011
#define IDC_STEP4_LABEL 1012
#define IDC_CANCEL_REMOVING 1001

// Strings.
#define IDS_CANCEL_QUESTION 1
#define IDS_CANCELING 2
#define IDS_ERROR 3
#define IDS_CANNOT_OPEN_LOG 4
#define IDS_NO_MEMORY 5
#define IDS_CANNOT_READ_LOG 6
#define IDS_REMOVING 7
#define IDS_PROGRAM_REMOVED 8
#define IDS_REMOVE_QUESTION 9
#define IDS_LOG_NOT_FOUND 10
#define IDS_LOG_CHANGED 11
#define IDS_CLOSE_VIEWER 12
#define IDS_REMOVED_AT_RESTART 13
#define IDS_NOT_REMOVED 14
#define IDS_SKIPPED 15
