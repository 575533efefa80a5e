// The worker thread of the progress dialog: the five installation steps.
#pragma once

#include "AppThread.h"

class CProgressDialog;
class CSetupScript;

class CInstallThread : public CThread {
public:
    CInstallThread(CProgressDialog* dialog, CSetupScript& script);

    // Initialise, copy files, update the registry, create icons, seal the
    // log, and then Proceed; 1 when every step completed.
    int Start() override;
    // The Execute step: the programs to run.
    int Proceed() override;
    // Tells the dialog to close itself; the thread's exit code, 0.
    int Finish() override;

private:
    // The steps up to the icons; 1 when all of them completed.
    int InstallItems();

    CProgressDialog* m_dialog;
    CSetupScript& m_script;
};
