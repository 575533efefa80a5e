// The removal program's application object. Its argument is the install
// log's path; it runs the progress dialog and then has its own copy, which
// Remove placed in a folder of its own, deleted at the next start.
#pragma once

#include "AppThread.h"
#include "SystemLibrary.h"

class CRemoverApp : public CWinApp {
public:
    CRemoverApp() : CWinApp("SWEEPER") {}

    int Prepare() override;
    int Start() override;
    int Finish() override;
};

// Schedules the program file and then its folder for deletion at the next
// start of Windows; 1 when scheduled.
int ScheduleOwnDeletion(const char* modulePath);
