// The third page of the setup wizard: the program group that gets the
// shortcuts, and whether it is the user's own or everyone's.
#pragma once

#include <string>

#include "Controls.h"
#include "WizardPage.h"

class CProgramGroupPage : public CWizardPage {
public:
    explicit CProgramGroupPage(CSetupWizard& sheet);

    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    int OnSetActive() override;
    int OnWizardNext() override { return ConfirmGroup(); }
    int OnWizardFinish() override { return ConfirmGroup(); }

private:
    // Adds the subfolders of the Programs folder; answers how many.
    int ListGroups(const std::string& programsFolder);
    void OnGroupChosen();
    int ConfirmGroup();

    CListBox m_list;
    std::string m_userPrograms;
    std::string m_commonPrograms;
    int m_userGroupCount;
};
