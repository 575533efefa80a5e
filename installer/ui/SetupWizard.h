// The setup wizard: destination, components, program group and options,
// asked modally over the background window before anything is installed.
#pragma once

#include <windows.h>

#include <string>

#include "ComponentsPage.h"
#include "DestinationPage.h"
#include "Dialogs.h"
#include "OptionsPage.h"
#include "ProgramGroupPage.h"

class CSetupScript;

// A wizard of four pages; each reads its values from the script and writes
// the user's choices back. A page with nothing to ask is skipped, and the
// last page with something to ask offers Finish.
class CSetupWizard : public CPropertySheet {
public:
    CSetupWizard(CSetupScript& script, HWND parent);

    CSetupScript& GetScript() { return m_script; }
    // The destination folder was made by the wizard, not found.
    void NoteMadeFolder(const std::string& folder) { m_madeFolder = folder; }
    // The wizard leaves nothing behind in a destination given up, when it is
    // cancelled or another destination is chosen: the log it started goes,
    // and so does the folder it made, if that is empty.
    void GiveUpDestination();
    CDestinationPage& GetDestinationPage() { return m_destinationPage; }
    CComponentsPage& GetComponentsPage() { return m_componentsPage; }

private:
    CSetupScript& m_script;
    CDestinationPage m_destinationPage;
    CComponentsPage m_componentsPage;
    CProgramGroupPage m_programGroupPage;
    COptionsPage m_optionsPage;
    std::string m_madeFolder;
};

// Runs the wizard with `parent` as its owner and writes the user's choices
// back into the script. A cancelled wizard leaves the destination empty, so
// that nothing is installed.
int RunSetupWizard(CSetupScript& script, HWND parent);
