#include "ClipboardWatch.h"

#include "AppThread.h"
#include "SystemLibrary.h"
#include "Window.h"
#include "resource.h"

int GetProcessFileName(DWORD processId, CText& name)
{
    name.Empty();
    char path[MAX_PATH] = "";
    if (!ProcessImagePath(processId, path, sizeof path))
        return 0;
    name.Assign(path + ReverseFindChar(path, '\\') + 1);
    return 1;
}

DWORD DescribeWindowProcess(HWND window, CText& name)
{
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0)
        return 0;
    if (!GetProcessFileName(processId, name))
        name.LoadString(IDS_UNKNOWN_PROGRAM);
    return processId;
}

void ComposeOwnerLine(CText& line)
{
    CText name;
    DWORD change = GetClipboardSequenceNumber();
    DWORD processId = DescribeWindowProcess(GetClipboardOwner(), name);
    if (processId != 0)
        line.FormatResource(IDS_OWNER_LINE, name.GetString(), (unsigned long)processId, (unsigned long)change);
    else
        line.FormatResource(IDS_OWNER_NONE, (unsigned long)change);
}

void ComposeHolderLine(CText& line)
{
    CText name;
    DWORD processId = DescribeWindowProcess(GetOpenClipboardWindow(), name);
    if (processId != 0)
        line.FormatResource(IDS_HELD_OPEN_BY, name.GetString(), (unsigned long)processId);
    else
        line.LoadString(IDS_HELD_OPEN_UNKNOWN);
}

void ShowPrivateContentRefusal(HWND owner)
{
    CWindow(owner).ResourceMessageBox(IDS_PRIVATE_REFUSED, IDS_TITLE, MB_ICONINFORMATION);
}
