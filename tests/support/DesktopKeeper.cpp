// Keeps the Wine desktop of the test prefix alive between test processes:
// without a long-lived program on it, the desktop process ends after each
// test and the next one pays for starting it again. Ended by wineserver -k.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CreateWindowA("STATIC", "Desktop keeper", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, instance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
