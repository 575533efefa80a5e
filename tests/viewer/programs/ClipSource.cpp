// Another program on the clipboard for the viewer's tests: puts the formats
// of a clippage file on the clipboard as the owner, optionally keeps the
// clipboard open afterwards ("hold"), and stays until it is ended.
//   ClipSource.exe <page.cpf> [hold]
#include <windows.h>

#include <string.h>

#include "ClipFiles.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    char path[MAX_PATH] = "";
    lstrcpynA(path, commandLine, sizeof path);
    char* hold = strstr(path, " hold");
    if (hold != nullptr)
        *hold = 0;
    CClipPage page("");
    if (!LoadPageFile(path, page))
        return 2;
    HWND window = CreateWindowA("STATIC", "ClipSource", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    if (window == nullptr || !page.PutOnClipboard(window))
        return 3;
    if (hold != nullptr && !OpenClipboardPatiently(window))
        return 4;
    // The owner answers what the clipboard sends it until it is ended.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
