// The second page of the setup wizard: which components to install.
#pragma once

#include "ComponentList.h"
#include "WizardPage.h"

class CComponentsPage : public CWizardPage {
public:
    explicit CComponentsPage(CSetupWizard& sheet);

    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    LRESULT OnMeasureItem(WPARAM id, MEASUREITEMSTRUCT* item) override
    {
        m_list.OnMeasureItem(id, item);
        return 1;
    }
    LRESULT OnDrawItem(WPARAM id, DRAWITEMSTRUCT* item) override
    {
        m_list.OnDrawItem(id, item);
        return 1;
    }
    int OnSetActive() override;
    int OnWizardNext() override { return CheckFreeSpace(); }
    int OnWizardFinish() override { return CheckFreeSpace(); }
    int OnQueryCancel() override;

    CComponentList& GetList() { return m_list; }

private:
    // Next while a later page has something to ask, else Finish.
    void SetButtons();
    void ShowTexts();
    int CheckFreeSpace();

    CComponentList m_list;
};
