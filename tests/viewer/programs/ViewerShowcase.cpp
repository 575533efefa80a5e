// Stages a running Vellmora for a picture: puts a text, a drawn bitmap, a
// PNG and an HTML block on the clipboard as another program, then opens
// some of their formats in the viewer through its menu commands and
// arranges the windows.
#include <windows.h>

#include <string.h>

#include <vector>

#include "PngMaker.h"

namespace {
const char kText[] =
    "Vellmora shows every format on the clipboard.\r\n"
    "Open one as text, as a hex dump, as a picture or as a page of facts.\r\n";

HBITMAP DrawBitmap()
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 240, 160);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (int y = 0; y < 160; y++) {
        HBRUSH band = CreateSolidBrush(RGB(40 + y / 2, 90 + y / 3, 200 - y / 2));
        RECT line = {0, y, 240, y + 1};
        FillRect(memory, &line, band);
        DeleteObject(band);
    }
    HBRUSH sun = CreateSolidBrush(RGB(250, 210, 60));
    SelectObject(memory, sun);
    Ellipse(memory, 150, 20, 210, 80);
    HBRUSH hill = CreateSolidBrush(RGB(60, 140, 70));
    SelectObject(memory, hill);
    Ellipse(memory, -60, 110, 180, 260);
    SelectObject(memory, old);
    DeleteObject(sun);
    DeleteObject(hill);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

const char kHtml[] =
    "Version:0.9\r\nStartHTML:-1\r\nEndHTML:-1\r\nStartFragment:-1\r\nEndFragment:-1\r\n"
    "<h1>Gr\xC3\xBC\xC3\x9F" "e, \xCE\xBA\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1</h1>\r\n"
    "<p>Copied from a browser.</p>\r\n";

// A sunset disc fading out at its edge, over nothing.
std::vector<BYTE> DrawPng()
{
    const int size = 160;
    std::vector<DWORD> pixels(size * size);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            int dx = x - size / 2, dy = y - size / 2, distance = dx * dx + dy * dy;
            DWORD alpha = distance < 50 * 50 ? 255 : distance < 78 * 78 ? 255 - (distance - 2500) * 255 / 3584 : 0;
            pixels[y * size + x] = alpha << 24 | (DWORD)(240 - y / 4) << 16 | (DWORD)(80 + y / 2) << 8 | 60;
        }
    return MakePng(size, size, pixels);
}

HGLOBAL Block(const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    return block;
}

// The owner window lives until the views are open, so that the status bar
// names this program as the clipboard's owner.
bool PutData(HWND owner)
{
    std::vector<BYTE> png = DrawPng();
    for (int attempt = 0; !OpenClipboard(owner); attempt++) {
        if (attempt > 100)
            return false;
        Sleep(10);
    }
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, sizeof kText);
    memcpy(GlobalLock(text), kText, sizeof kText);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    SetClipboardData(CF_BITMAP, DrawBitmap());
    SetClipboardData(RegisterClipboardFormatA("PNG"), Block(png.data(), png.size()));
    SetClipboardData(RegisterClipboardFormatA("HTML Format"), Block(kHtml, sizeof kHtml));
    CloseClipboard();
    return true;
}

// The Display menu entry of a format: 50000 plus its place in the list.
int FormatCommand(UINT wanted)
{
    int command = -1;
    if (!OpenClipboard(nullptr))
        return -1;
    int k = 0;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format), k++)
        if (format == wanted)
            command = 50000 + k;
    CloseClipboard();
    return command;
}

void Send(HWND frame, int command)
{
    if (command > 0)
        SendMessageA(frame, WM_COMMAND, (WPARAM)command, 0);
}

// Pastes the clipboard into the clipbook as a page of that name, answering
// the viewer's name question as a user would.
void PastePage(HWND frame, const char* name)
{
    PostMessageA(frame, WM_COMMAND, 40015, 0);
    HWND question = nullptr;
    for (int attempt = 0; question == nullptr && attempt < 100; attempt++) {
        Sleep(50);
        question = FindWindowA("#32770", "New Clipbook Page");
    }
    if (question == nullptr)
        return;
    SetDlgItemTextA(question, 1002, name);
    PostMessageA(question, WM_COMMAND, 1000, 0);
    while (IsWindow(question))
        Sleep(50);
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HWND frame = nullptr;
    for (int attempt = 0; frame == nullptr && attempt < 200; attempt++) {
        frame = FindWindowA("VIEWERFRAME", nullptr);
        Sleep(50);
    }
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (frame == nullptr || !PutData(owner))
        return 1;
    Sleep(500);
    SetWindowPos(frame, nullptr, 0, 0, 1024, 768, SWP_NOZORDER);
    PastePage(frame, "Sunrise and a note");
    // One view of each kind: the text as facts and as hex rows first.
    Send(frame, 40023);
    Send(frame, FormatCommand(CF_TEXT));
    Send(frame, 40021);
    Send(frame, FormatCommand(CF_TEXT));
    Send(frame, 40019);
    Send(frame, FormatCommand(CF_TEXT));
    Send(frame, FormatCommand(CF_BITMAP));
    Send(frame, FormatCommand(RegisterClipboardFormatA("PNG")));
    Send(frame, FormatCommand(RegisterClipboardFormatA("HTML Format")));
    Send(frame, 40009);
    Sleep(1000);
    DestroyWindow(owner);
    return 0;
}
