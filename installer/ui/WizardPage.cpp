#include "WizardPage.h"

#include <stdio.h>

#include "Files.h"
#include "SetupScript.h"
#include "SetupWizard.h"
#include "SpaceText.h"
#include "resource.h"

CWizardPage::CWizardPage(UINT templateId, UINT titleId, CSetupWizard& sheet)
    : CPropertyPage(templateId, titleId), m_sheet(sheet), m_script(sheet.GetScript())
{
}

int CWizardPage::OnQueryCancel()
{
    if (ResourceMessageBox(IDS_QUIT_SETUP, IDS_EXIT_SETUP, MB_YESNO | MB_DEFBUTTON2) != IDYES)
        return 0;
    m_sheet.GiveUpDestination();
    m_script.m_destination.clear();
    return 1;
}

void CWizardPage::Present(DWORD buttons)
{
    HWND sheet = GetSheetWindow();
    PropSheet_SetWizButtons(sheet, buttons);
    SetWindowTextA(sheet, m_title.GetString());
}

int CWizardPage::SetupMessage(UINT textId, const char* argument, UINT type)
{
    CText text;
    CText caption;
    text.FormatResource(textId, argument);
    caption.LoadString(IDS_SETUP);
    return MessageBoxA(m_hWnd, text.GetString(), caption.GetString(), type);
}

void CWizardPage::FocusItem(int controlId)
{
    SetFocus(GetDlgItem(m_hWnd, controlId));
}

std::string SizeText(CSetupScript& script, uint64_t bytes)
{
    char digits[24];
    snprintf(digits, sizeof digits, "%llu", (unsigned long long)KilobytesShown(bytes));
    // Room for the grouping of the largest number; without a usable number
    // format the digits stay plain.
    char grouped[40];
    if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits, &script.m_numberFormat, grouped, sizeof grouped) == 0)
        lstrcpynA(grouped, digits, sizeof grouped);
    CText text;
    text.FormatResource(IDS_SIZE_KB, grouped);
    return text.GetString();
}

void ShowSize(HWND dialog, int controlId, CSetupScript& script, uint64_t bytes)
{
    SetDlgItemTextA(dialog, controlId, SizeText(script, bytes).c_str());
}

void ShowFreeSpace(HWND dialog, CSetupScript& script, const std::string& path)
{
    uint64_t bytes = 0;
    if (QueryFreeSpace(path, bytes))
        ShowSize(dialog, IDC_SPACE_AVAILABLE, script, bytes);
}

int FolderExists(const std::string& path)
{
    // "C:\Folder\" names the folder "C:\Folder", which a search for the text
    // with its backslash never finds; a drive's root keeps its backslash.
    std::string folder = path;
    while (folder.size() > 3 && folder.back() == '\\')
        folder.pop_back();
    return !HasWildcards(folder) && DirectoryExists(folder.c_str());
}
