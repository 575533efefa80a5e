// The small dialog (template 120) in the bottom right corner of the screen
// behind which the setup script is read at start-up.
#pragma once

#include "FixedDialog.h"
#include "ScriptText.h"

class CSetupScript;

class CPrepareDialog : public CFixedDialog, public CLoadProgress {
public:
    CPrepareDialog(CSetupScript& script, const char* scriptName);

    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnDestroy() override;

    // The reader's progress: range 1 to high, and one step.
    void SetRange(int high) override;
    void Step() override;

private:
    void ReadScript();

    HWND m_progressBar;
    CSetupScript& m_script;
    const char* m_scriptName;
};
