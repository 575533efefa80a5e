// Resource ids of the library tests and their small programs.
#pragma once

#define IDM_TEST_FRAME 1
#define IDM_TEST_NO_WINDOW_ITEMS 2
#define IDA_TEST_FRAME 3
#define IDS_TEST_MESSAGE 100
#define IDS_TEST_CAPTION 101
#define IDS_TEST_FORMAT 102

#define ID_TEST_COMMAND 40001
#define ID_TEST_CHILD_ONLY 40002
#define ID_TEST_FRAME_ONLY 40003
