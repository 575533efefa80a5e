// The removal program's application object. Its argument is the install
// log's path; it runs the progress dialog and then has its own copy, which
// Remove placed in a folder of its own, deleted at the next start.
#pragma once

#include "AppThread.h"

class CRemoverApp : public CWinApp {
public:
    CRemoverApp() : CWinApp("SWEEPER") {}

    int Prepare() override;
    int Start() override;
    int Finish() override;
};

// From now on libraries load from the system directory only, never from
// beside the program (a temporary folder); 0 when the system offers no way.
int LimitLibrarySearch();
// Schedules the program file and then its folder for deletion at the next
// start of Windows; 1 when scheduled.
int ScheduleOwnDeletion(const char* modulePath);
