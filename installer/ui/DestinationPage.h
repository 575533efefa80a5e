// The first page of the setup wizard: the destination directory, with its
// free space and the space the chosen components need.
#pragma once

#include <string>

#include "WizardPage.h"

class CDestinationPage : public CWizardPage {
public:
    explicit CDestinationPage(CSetupWizard& sheet);

    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    int OnSetActive() override;
    int OnWizardNext() override { return ConfirmDestination(); }
    int OnWizardFinish() override { return ConfirmDestination(); }

    // Set while the typed destination has not been confirmed yet.
    int IsCheckPending() const { return m_checkPending; }

private:
    int ConfirmDestination();
    // Asks the user about the path, creating it when it does not exist.
    int AcceptPath(const std::string& path);
    void Browse();
    void ShowTypedFreeSpace();

    int m_checkPending;
};
