// The last page of the setup wizard: one check box per option of the
// script.
#pragma once

#include "WizardPage.h"

class COptionsPage : public CWizardPage {
public:
    explicit COptionsPage(CSetupWizard& sheet);

    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    int OnSetActive() override;

private:
    UINT m_nextId;
};
