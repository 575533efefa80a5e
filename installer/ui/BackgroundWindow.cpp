#include "BackgroundWindow.h"

#include "AppThread.h"
#include "SetupScript.h"
#include "SetupWizard.h"
#include "resource.h"

namespace {

const char kClassName[] = "INSTALLWND";
// WS_POPUP, WS_VISIBLE, WS_CLIPCHILDREN, WS_CAPTION, WS_SYSMENU,
// WS_MINIMIZEBOX and WS_MAXIMIZEBOX.
const DWORD kWindowStyle = 0x92CB0000;
enum { kBands = 128 };

BYTE Channel(uint32_t colour, int shift)
{
    return (BYTE)(colour >> shift);
}

// The band's channel: the back channel moved by the signed step per band,
// wrapping like the byte it is.
BYTE BandChannel(uint32_t back, uint32_t fade, int shift, int band)
{
    int step = ((int)Channel(fade, shift) - (int)Channel(back, shift)) / kBands;
    return (BYTE)(Channel(back, shift) + step * band);
}

} // namespace

CBackgroundWindow::CBackgroundWindow(CSetupScript& script, CInstallationRunner* runner)
    : m_script(script), m_runner(runner)
{
}

int CBackgroundWindow::Register()
{
    return RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                               LoadIconResource(IDI_INSTALL));
}

int CBackgroundWindow::Create(const char* title)
{
    HWND window = CreateWindowExA(WS_EX_WINDOWEDGE, kClassName, title, kWindowStyle, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  GetAppInstance(), this);
    return window != nullptr;
}

int CBackgroundWindow::Show(int showCommand)
{
    return ShowWindow(m_hWnd, showCommand);
}

LRESULT CBackgroundWindow::OnCreate(CREATESTRUCTA* create)
{
    LRESULT result = CWindow::OnCreate(create);
    SetTimer(m_hWnd, kWizardTimer, 10, nullptr);
    return result;
}

LRESULT CBackgroundWindow::OnPaint()
{
    CPaintDC dc(this);
    RECT client;
    GetClientRect(m_hWnd, &client);
    CBrush brush(m_script.m_backColor);
    CPen pen(PS_NULL, 0, 0);
    HGDIOBJ previousBrush = dc.SelectObject(brush.GetHandle());
    HGDIOBJ previousPen = dc.SelectObject(pen.GetHandle());
    if (m_script.m_fadeColor == kNoColor)
        Rectangle(dc.GetHandle(), client.left, client.top, client.right, client.bottom);
    else
        PaintFade(dc, client, previousBrush);
    PaintTitle(dc);
    dc.SelectObject(previousBrush);
    dc.SelectObject(previousPen);
    return 0;
}

// 128 bands of equal height that overlap by 2 pixels; every channel moves
// by -1, 0 or +1 per band, so a fade covers at most half the channel's range.
void CBackgroundWindow::PaintFade(CDrawContext& dc, const RECT& client, HGDIOBJ previousBrush)
{
    uint32_t back = m_script.m_backColor, fade = m_script.m_fadeColor;
    int height = (client.bottom - client.top) / kBands + 1;
    RECT band = {client.left, client.top, client.right + 2, client.top + height + 2};
    CBrush brush;
    for (int i = 0; i < kBands; i++) {
        dc.SelectObject(previousBrush);
        COLORREF colour = RGB(BandChannel(back, fade, 0, i), BandChannel(back, fade, 8, i),
                              BandChannel(back, fade, 16, i));
        brush.CreateSolid(GetNearestColor(dc.GetHandle(), colour));
        dc.SelectObject(brush.GetHandle());
        Rectangle(dc.GetHandle(), band.left, band.top, band.right, band.bottom);
        band.top += height;
        band.bottom += height;
    }
    dc.SelectObject(previousBrush);
}

// 28-point bold italic Arial at (20, 20), over its shadow at (25, 25).
void CBackgroundWindow::PaintTitle(CDrawContext& dc)
{
    CFont font;
    font.CreateFont(-MulDiv(28, GetDeviceCaps(dc.GetHandle(), LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                    "Arial");
    HGDIOBJ previousFont = dc.SelectObject(font.GetHandle());
    SetBkMode(dc.GetHandle(), TRANSPARENT);
    const std::string& title = m_script.m_title;
    if (m_script.m_shadeColor != kNoColor) {
        dc.SetTextColor(m_script.m_shadeColor);
        dc.TextOut(25, 25, title.c_str(), (int)title.size());
    }
    dc.SetTextColor(m_script.m_textColor);
    dc.TextOut(20, 20, title.c_str(), (int)title.size());
    dc.SelectObject(previousFont);
}

LRESULT CBackgroundWindow::OnTimer(UINT_PTR id)
{
    LRESULT result = CWindow::OnTimer(id);
    if (id == kWizardTimer) {
        KillTimer(m_hWnd, kWizardTimer);
        RunSetupWizard(m_script, m_hWnd);
        FinishRun();
    }
    return result;
}

void CBackgroundWindow::FinishRun()
{
    if (!m_script.m_destination.empty() && m_runner != nullptr)
        m_runner->RunInstallation(m_hWnd);
    ShowClosingMessage();
    DestroyWindow(m_hWnd);
}

void CBackgroundWindow::ShowClosingMessage()
{
    switch (m_script.m_installStatus) {
    case 10:
        ResourceMessageBox(IDS_INSTALL_COMPLETE, IDS_INSTALL, MB_OK | MB_ICONINFORMATION);
        break;
    case 11:
        if (ResourceMessageBox(IDS_RESTART_QUESTION, IDS_INSTALL, MB_YESNO | MB_ICONQUESTION) == IDNO)
            m_script.m_installStatus = 10;
        break;
    default:
        ResourceMessageBox(IDS_INSTALL_ABORTED, IDS_INSTALL, MB_OK | MB_ICONERROR);
        break;
    }
}

LRESULT CBackgroundWindow::OnDestroy()
{
    LRESULT result = CWindow::OnDestroy();
    PostQuitMessage(0);
    return result;
}
