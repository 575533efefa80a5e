#include "SetupWizard.h"

#include "SetupScript.h"
#include "resource.h"

CSetupWizard::CSetupWizard(CSetupScript& script, HWND parent)
    : CPropertySheet("", parent, 0), m_script(script), m_destinationPage(*this), m_componentsPage(*this),
      m_programGroupPage(*this), m_optionsPage(*this)
{
    m_header.dwFlags |= PSH_WIZARD | PSH_USEICONID;
    m_header.pszIcon = MAKEINTRESOURCEA(IDI_INSTALL);
    AddPage(&m_destinationPage);
    AddPage(&m_componentsPage);
    AddPage(&m_programGroupPage);
    AddPage(&m_optionsPage);
}

void CSetupWizard::GiveUpDestination()
{
    m_script.DiscardLog();
    if (!m_madeFolder.empty())
        RemoveDirectoryA(m_madeFolder.c_str());
    m_madeFolder.clear();
}

int RunSetupWizard(CSetupScript& script, HWND parent)
{
    CSetupWizard wizard(script, parent);
    int result = wizard.DoModal();
    // A wizard that could not be shown asked nothing: nothing is installed.
    if (result < 0)
        script.m_destination.clear();
    return result;
}
