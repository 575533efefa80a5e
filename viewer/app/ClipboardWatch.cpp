#include "ClipboardWatch.h"

#include "AppThread.h"
#include "resource.h"

namespace {
// QueryFullProcessImageNameA and the limited query right came with Windows
// Vista; older systems have neither, and the name stays unknown there.
typedef BOOL(WINAPI* QueryImageName)(HANDLE process, DWORD flags, LPSTR name, PDWORD size);
const DWORD kQueryLimitedInformation = 0x1000;

QueryImageName GetQueryImageName()
{
    static QueryImageName query =
        (QueryImageName)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
    return query;
}
} // namespace

int GetProcessFileName(DWORD processId, CText& name)
{
    name.Empty();
    QueryImageName query = GetQueryImageName();
    HANDLE process = query ? OpenProcess(kQueryLimitedInformation, FALSE, processId) : nullptr;
    if (process == nullptr)
        return 0;
    char path[MAX_PATH] = "";
    DWORD length = sizeof path;
    int found = query(process, 0, path, &length);
    CloseHandle(process);
    if (!found)
        return 0;
    int slash = ReverseFindChar(path, '\\');
    name.Assign(path + slash + 1);
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
    CText text, caption;
    text.LoadString(IDS_PRIVATE_REFUSED);
    caption.LoadString(IDS_TITLE);
    MessageBoxA(owner, text.GetString(), caption.GetString(), MB_ICONINFORMATION);
}
