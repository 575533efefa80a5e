// A small MDI program on the library: a frame with a window menu and a few
// children. It stands in for the viewer until the viewer is built.
#include "AppThread.h"
#include "Frame.h"
#include "../TestResources.h"

class CDemoChild : public CMdiChild {
public:
    LRESULT OnPaint() override
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        RECT rect;
        GetClientRect(m_hWnd, &rect);
        DrawTextA(dc, "An MDI child of the window class library.", -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(m_hWnd, &paint);
        return 0;
    }
};

class CDemoFrame : public CMdiFrame {
public:
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override
    {
        switch (LOWORD(wParam)) {
        case ID_TEST_COMMAND: OpenChild(); return 1;
        case 57665: PostMessageA(m_hWnd, WM_CLOSE, 0, 0); return 1;
        case 57650: SendMessageA(m_client, WM_MDICASCADE, 0, 0); return 1;
        case 57651: SendMessageA(m_client, WM_MDITILE, 0, 0); return 1;
        default: return CMdiFrame::OnCommand(wParam, code, control);
        }
    }
    LRESULT OnDestroy() override
    {
        PostQuitMessage(0);
        return 0;
    }
    void OpenChild()
    {
        CDemoChild* child = new CDemoChild;
        m_children[m_count < 8 ? m_count++ : 7] = child;
        child->Create("DEMOCHILD", "Demo child", WS_VISIBLE | WS_OVERLAPPEDWINDOW, nullptr, this);
    }
    ~CDemoFrame() override
    {
        for (int i = 0; i < m_count; i++)
            delete m_children[i];
    }

private:
    CDemoChild* m_children[8] = {};
    int m_count = 0;
};

class CDemoApp : public CWinApp {
public:
    CDemoApp() : CWinApp("MdiDemo") {}
    int Start() override
    {
        SetMainWindow(&m_frame);
        HCURSOR arrow = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        if (!RegisterWindowClass("DEMOFRAME", 0, arrow, (HBRUSH)(COLOR_APPWORKSPACE + 1), nullptr) ||
            !RegisterMdiChildClass("DEMOCHILD", CS_HREDRAW | CS_VREDRAW, arrow, (HBRUSH)(COLOR_WINDOW + 1), nullptr))
            return 0;
        m_frame.LoadAccelerators(MAKEINTRESOURCEA(IDA_TEST_FRAME));
        PostMessageA(nullptr, WM_NULL, 0, 0);
        return m_frame.CreateAndRun("DEMOFRAME", "MDI demo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr, nullptr,
                                    MAKEINTRESOURCEA(IDM_TEST_FRAME), 0);
    }
    int Finish() override { return 0; }

private:
    CDemoFrame m_frame;
};

static CDemoApp g_application;
