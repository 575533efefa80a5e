// What the pages of the setup wizard share: their sheet and script, the
// wizard buttons and caption, the Cancel question, and the size and
// free-space texts that the components dialog shows too.
#pragma once

#include <stdint.h>

#include <string>

#include "Dialogs.h"

class CSetupScript;
class CSetupWizard;

class CWizardPage : public CPropertyPage {
public:
    CWizardPage(UINT templateId, UINT titleId, CSetupWizard& sheet);

    // "Quit the Setup program?" Yes empties the destination, which tells the
    // run sequence to install nothing, and lets the wizard close.
    int OnQueryCancel() override;

protected:
    HWND GetSheetWindow() const { return GetParent(m_hWnd); }
    // Sets the wizard buttons and puts the page's title into the caption.
    void Present(DWORD buttons);
    // A message box with the caption "Setup"; the text is a string
    // resource with the argument put in.
    int SetupMessage(UINT textId, const char* argument, UINT type);
    void FocusItem(int controlId);

    CSetupWizard& m_sheet;
    CSetupScript& m_script;
};

// "%s KB" with the kilobytes in the script's number format.
std::string SizeText(CSetupScript& script, uint64_t bytes);
void ShowSize(HWND dialog, int controlId, CSetupScript& script, uint64_t bytes);
// The free space of the path's drive, or the text left as it was when the
// drive cannot be read.
void ShowFreeSpace(HWND dialog, CSetupScript& script, const std::string& path);
// A folder that exists, found by a search that takes no wildcards; a
// backslash at the end does not count.
int FolderExists(const std::string& path);
