#include "WizardDriver.h"

#include <commctrl.h>

#include "DialogDriver.h"
#include "resource.h"

HWND WaitForWizard(DWORD processId)
{
    return WaitForDialog("Enter destination path", processId, 20000);
}

HWND CurrentPage(HWND sheet)
{
    return (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
}

std::string WizardState(HWND sheet)
{
    HWND page = CurrentPage(sheet);
    if (page == nullptr)
        return "none";
    int pages[][2] = {{IDC_BROWSE, IDD_DESTINATION}, {IDC_COMPONENT_LIST, IDD_COMPONENTS},
                      {IDC_GROUP_NAME, IDD_PROGRAM_GROUP}};
    std::string state = std::to_string(IDD_OPTIONS);
    for (const auto& known : pages)
        if (GetDlgItem(page, known[0]) != nullptr) {
            state = std::to_string(known[1]);
            break;
        }
    // The wizard's Back, Next and Finish buttons.
    const struct {
        int id;
        const char* name;
    } buttons[] = {{0x3023, "Back"}, {0x3024, "Next"}, {0x3025, "Finish"}};
    for (const auto& button : buttons) {
        HWND window = GetDlgItem(sheet, button.id);
        if (window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window))
            state += std::string(" ") + button.name;
    }
    return state;
}

std::string WaitForState(HWND sheet, const std::string& expected)
{
    // The buttons are set by a posted message after the page changed.
    DWORD start = GetTickCount();
    std::string state = WizardState(sheet);
    while (state != expected && GetTickCount() - start < 10000) {
        Sleep(20);
        state = WizardState(sheet);
    }
    return state;
}

void PressWizard(HWND sheet, int button)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
}
