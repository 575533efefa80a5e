#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AppThread.h"
#include "DialogDriver.h"
#include "TestApp.h"
#include "TestResources.h"
#include "Text.h"
#include "Window.h"

namespace {

struct CCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

const LRESULT kDefaultAnswer = 0x1234;

// Records what reaches DefaultProc. While capturing it answers with a
// marker instead of running the system's default processing.
class CRecordingWindow : public CWindow {
public:
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (!m_capturing)
            return CWindow::DefaultProc(message, wParam, lParam);
        m_calls.push_back({message, wParam, lParam});
        return kDefaultAnswer;
    }

    LRESULT OnCreate(CREATESTRUCTA* create) override
    {
        m_created = 1;
        return m_abortCreation ? -1 : CWindow::OnCreate(create);
    }

    LRESULT OnMenuSelect(UINT item, UINT flags, HMENU menu) override
    {
        CWindow::OnMenuSelect(item, flags, menu);
        return 0;
    }

    LRESULT OnContextMenu(HWND window, UINT x, UINT y) override
    {
        m_contextPoint = {(LONG)x, (LONG)y};
        return CWindow::OnContextMenu(window, x, y);
    }

    HWND CreateTopLevel(DWORD style = WS_OVERLAPPEDWINDOW)
    {
        return CreateWindowExA(0, kClassName, "Recorder", style, 10, 10, 300, 200, nullptr, nullptr,
                               GetAppInstance(), this);
    }

    static void RegisterOnce()
    {
        static int registered = RegisterWindowClass(kClassName, 0, LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                                    (HBRUSH)(COLOR_WINDOW + 1), nullptr);
        ASSERT_EQ(1, registered);
    }

    static constexpr const char* kClassName = "VLMTESTRECORDER";
    std::vector<CCall> m_calls;
    int m_capturing = 0;
    int m_created = 0;
    int m_abortCreation = 0;
    POINT m_contextPoint = {};
};

class WindowDispatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        CRecordingWindow::RegisterOnce();
        m_window = m_recorder.CreateTopLevel();
        ASSERT_NE(nullptr, m_window);
        m_recorder.m_capturing = 1;
    }
    void TearDown() override { DestroyWindow(m_window); }

    // Sends the message through the real window procedure and checks that
    // DefaultProc saw exactly it (cracked, then packed back by the handler)
    // and what the dispatcher answered.
    void ExpectPassedOn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT expectedResult)
    {
        m_recorder.m_calls.clear();
        LRESULT result = SendMessageA(m_window, message, wParam, lParam);
        ASSERT_EQ(1u, m_recorder.m_calls.size()) << "message " << message;
        EXPECT_EQ(message, m_recorder.m_calls[0].message);
        EXPECT_EQ(wParam, m_recorder.m_calls[0].wParam) << "message " << message;
        EXPECT_EQ(lParam, m_recorder.m_calls[0].lParam) << "message " << message;
        EXPECT_EQ(expectedResult, result) << "message " << message;
    }

    CRecordingWindow m_recorder;
    HWND m_window = nullptr;
};

} // namespace

TEST_F(WindowDispatchTest, HandlersPackTheirArgumentsBackUnchanged)
{
    struct Row {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT answer;
    };
    HWND other = GetDesktopWindow();
    const Row rows[] = {
        {WM_MOVE, 0, MAKELPARAM(12, 34), 0},
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480), 0},
        {WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), (LPARAM)other, 0},
        {WM_ACTIVATEAPP, 1, 77, 0},
        {WM_CANCELMODE, 0, 0, 0},
        {WM_CAPTURECHANGED, 0, (LPARAM)other, 0},
        {WM_CHANGECBCHAIN, (WPARAM)other, (LPARAM)other, 0},
        {WM_CHAR, 'a', 0x001E0001, 0},
        {WM_COMMAND, MAKEWPARAM(40001, 0), 0, kDefaultAnswer},
        {WM_CONTEXTMENU, (WPARAM)other, MAKELPARAM(100, 200), 0},
        {WM_DESTROYCLIPBOARD, 0, 0, 0},
        {WM_DRAWCLIPBOARD, 0, 0, 0},
        {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0, 0},
        {WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 65535), 0, 0},
        {WM_INITMENUPOPUP, (WPARAM)other, MAKELPARAM(3, 1), 0},
        {WM_KEYDOWN, VK_F5, 0x003F0001, 0},
        {WM_KEYUP, VK_F5, 0xC03F0001, 0},
        {WM_KILLFOCUS, (WPARAM)other, 0, 0},
        {WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), (LPARAM)other, kDefaultAnswer},
        {WM_MENUSELECT, MAKEWPARAM(40001, MF_HILITE), (LPARAM)other, 1},
        {WM_MOUSEACTIVATE, (WPARAM)other, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN), kDefaultAnswer},
        {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 6), 0},
        {WM_NCACTIVATE, 1, 0, kDefaultAnswer},
        {WM_PAINTCLIPBOARD, (WPARAM)other, 0x55, 0},
        {WM_SYSCOMMAND, 0xF0F0, 0x11, 0},
        {WM_TIMER, 9, 0, 0},
        {WM_SETICON, ICON_SMALL, 0, kDefaultAnswer},
        {WM_ERASEBKGND, 0x77, 0x88, kDefaultAnswer},
        {WM_USER + 5, 1, 2, kDefaultAnswer},
    };
    for (const Row& row : rows)
        ExpectPassedOn(row.message, row.wParam, row.lParam, row.answer);
}

TEST_F(WindowDispatchTest, CommandsOneAndTwoEndTheDialogAndNeverReachOnCommand)
{
    m_recorder.m_calls.clear();
    EXPECT_EQ(0, SendMessageA(m_window, WM_COMMAND, IDOK, 0));
    EXPECT_EQ(0, SendMessageA(m_window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0));
    EXPECT_TRUE(m_recorder.m_calls.empty());
    EXPECT_TRUE(IsWindow(m_window)) << "EndDialog leaves an ordinary window alone";
}

TEST_F(WindowDispatchTest, MenuSelectAlwaysAnswersOne)
{
    EXPECT_EQ(1, SendMessageA(m_window, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0));
}

TEST_F(WindowDispatchTest, KeyboardContextMenuPointArrivesAsUnsignedHalves)
{
    SendMessageA(m_window, WM_CONTEXTMENU, (WPARAM)m_window, -1);
    EXPECT_EQ(65535, m_recorder.m_contextPoint.x);
    EXPECT_EQ(65535, m_recorder.m_contextPoint.y);
}

TEST_F(WindowDispatchTest, GetIconIsAnsweredByTheSystemEvenWhenDefaultProcDeclines)
{
    HICON icon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    m_recorder.m_capturing = 0;
    SendMessageA(m_window, WM_SETICON, ICON_BIG, (LPARAM)icon);
    m_recorder.m_capturing = 1;
    m_recorder.m_calls.clear();
    EXPECT_EQ((LRESULT)icon, WindowDispatch(m_window, WM_GETICON, ICON_BIG, 0));
    EXPECT_TRUE(m_recorder.m_calls.empty());
}

TEST(WindowBinding, MessagesBeforeBindingAnswerZeroAndCreationCanBeAborted)
{
    CRecordingWindow::RegisterOnce();
    HWND plain = CreateWindowExA(0, "STATIC", "plain", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(nullptr, WindowFromHandle(plain));
    EXPECT_EQ(0, WindowDispatch(plain, WM_GETTEXTLENGTH, 0, 0)) << "nothing bound: no default processing";
    DestroyWindow(plain);

    CRecordingWindow refusing;
    refusing.m_abortCreation = 1;
    EXPECT_EQ(nullptr, refusing.CreateTopLevel());
    EXPECT_EQ(1, refusing.m_created);

    CRecordingWindow bound;
    HWND window = bound.CreateTopLevel();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, bound.GetHandle());
    EXPECT_EQ(&bound, WindowFromHandle(window));
    DestroyWindow(window);
    EXPECT_EQ(window, bound.GetHandle()) << "the handle outlives the window";
}

TEST(WindowOperations, TextStyleAndCentering)
{
    CRecordingWindow::RegisterOnce();
    CRecordingWindow recorder;
    HWND window = recorder.CreateTopLevel();
    ASSERT_NE(nullptr, window);

    EXPECT_TRUE(recorder.SetText("Caption text"));
    CText text;
    EXPECT_EQ(12, recorder.GetText(text));
    EXPECT_STREQ("Caption text", text.GetString());
    char buffer[8];
    EXPECT_EQ(7, recorder.GetTextInto(buffer, sizeof buffer));
    EXPECT_STREQ("Caption", buffer);
    CWideText wide;
    EXPECT_EQ(12, recorder.GetTextWide(wide));
    EXPECT_STREQ(L"Caption text", wide.GetString());
    recorder.SetTextAlt("Other");
    recorder.GetText(text);
    EXPECT_STREQ("Other", text.GetString());

    HWND edit = CreateWindowExA(0, "EDIT", "field value", WS_CHILD, 0, 0, 50, 20, window, (HMENU)1002, nullptr,
                                nullptr);
    EXPECT_EQ(11, recorder.GetItemText(1002, text));
    EXPECT_STREQ("field value", text.GetString());
    DestroyWindow(edit);

    EXPECT_EQ(1, recorder.ModifyStyle(WS_MAXIMIZEBOX, WS_VSCROLL, SWP_FRAMECHANGED));
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_EQ(1, recorder.ModifyExStyle(0, WS_EX_TOOLWINDOW, 0));
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    recorder.CenterOnScreen();
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2, rect.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2, rect.top);
    DestroyWindow(window);

    EXPECT_EQ(0, RegisterWindowClass(CRecordingWindow::kClassName, 0, nullptr, nullptr, nullptr))
        << "a class registers once";
}

TEST(WindowOperations, ResourceMessageBoxLoadsTextAndCaption)
{
    CRecordingWindow::RegisterOnce();
    CRecordingWindow recorder;
    HWND window = recorder.CreateTopLevel();

    CDialogAnswer titled("Test Caption", IDOK);
    EXPECT_EQ(IDOK, recorder.ResourceMessageBox(IDS_TEST_MESSAGE, IDS_TEST_CAPTION, MB_OK));
    ASSERT_TRUE(titled.Wait());
    EXPECT_EQ("A message from the string table.", titled.Text());

    CDialogAnswer untitled("Error", IDCANCEL);
    EXPECT_EQ(IDCANCEL, recorder.ResourceMessageBox(IDS_TEST_MESSAGE, 0, MB_OKCANCEL | MB_ICONERROR));
    ASSERT_TRUE(untitled.Wait());
    DestroyWindow(window);
}

TEST(WindowOperations, CreateMakesControlsWithoutBinding)
{
    CWindow control;
    RECT rect = {1, 2, 101, 22};
    ASSERT_EQ(1, control.Create("BUTTON", "Press", WS_POPUP, rect, nullptr, nullptr));
    RECT placed;
    GetWindowRect(control.GetHandle(), &placed);
    EXPECT_EQ(100, placed.right - placed.left);
    EXPECT_EQ(20, placed.bottom - placed.top);
    EXPECT_EQ(nullptr, WindowFromHandle(control.GetHandle()));
    EXPECT_EQ(1, control.Destroy());

    CWindow nothing;
    EXPECT_EQ(0, nothing.Create("NO SUCH CLASS", "", WS_POPUP, rect, nullptr, nullptr));
    EXPECT_EQ(nullptr, nothing.GetHandle());
}
