#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "DialogWatchdog.h"
#include "Dialogs.h"
#include "TestApp.h"
#include "UiTestResources.h"

// The input dialog of the clipbook's page commands, run modally on the test
// thread while a driver thread finds it by its caption and works it.

namespace {

const char kTitle[] = "New Clipbook Page";
// A button id that no template has: the driver's final press then changes
// nothing, for tests that end the dialog themselves.
const int kNoButton = 4242;

struct InputSeen {
    std::string prompt, value, ok, cancel;
    bool cancelVisible = true;
    bool openAfterEmptyOk = false;
};

void PrepareCaptions(CInputDialog& dialog)
{
    dialog.SetTitle(IDS_UI_TITLE);
    dialog.SetPromptId(IDS_UI_PROMPT);
    dialog.SetOkCaption(IDS_UI_OK);
    dialog.SetCancelCaption(IDS_UI_CANCEL);
}

void ReadInputDialog(HWND dialog, InputSeen* seen)
{
    seen->prompt = ControlText(dialog, 1003);
    seen->value = ControlText(dialog, 1002);
    seen->ok = ControlText(dialog, 1000);
    seen->cancel = ControlText(dialog, 1001);
    seen->cancelVisible = IsWindowVisible(GetDlgItem(dialog, 1001)) != FALSE;
}

} // namespace

TEST(InputDialog, ShowsItsTextsAndRefusesAnEmptyAnswerWhenOneIsRequired)
{
    CInputDialog dialog(IDD_UI_INPUT, CInputDialog::kValueRequired);
    PrepareCaptions(dialog);
    InputSeen seen;
    CDialogAnswer answer(kTitle, 1000, 0, 10000, [](HWND window, void* context) {
        InputSeen* seen = (InputSeen*)context;
        ReadInputDialog(window, seen);
        // The empty answer is refused: the dialog must still be there.
        PressButton(window, 1000);
        Sleep(400);
        seen->openAfterEmptyOk = IsWindow(window) && IsWindowVisible(window);
        SetDlgItemTextA(window, 1002, "Page 1");
    }, &seen);

    CDialogWatchdog watchdog;
    EXPECT_EQ(1, dialog.DoModal(nullptr));
    ASSERT_TRUE(answer.Wait());
    EXPECT_EQ("Enter clippage's name:", seen.prompt);
    EXPECT_EQ("", seen.value);
    EXPECT_EQ("&OK", seen.ok);
    EXPECT_EQ("&Cancel", seen.cancel);
    EXPECT_TRUE(seen.cancelVisible);
    EXPECT_TRUE(seen.openAfterEmptyOk);
    EXPECT_EQ(1000, dialog.GetEndCode());
    CText value;
    EXPECT_EQ(6, dialog.GetValue(value));
    EXPECT_STREQ("Page 1", value.GetString());
    EXPECT_EQ(nullptr, dialog.GetHandle());
}

TEST(InputDialog, WithoutTheRequiredFlagAnEmptyAnswerEndsTheDialog)
{
    CInputDialog dialog(IDD_UI_INPUT, 0);
    PrepareCaptions(dialog);
    dialog.SetValue("old name");
    InputSeen seen;
    CDialogAnswer answer(kTitle, 1000, 0, 10000, [](HWND window, void* context) {
        ReadInputDialog(window, (InputSeen*)context);
        SetDlgItemTextA(window, 1002, "");
    }, &seen);

    CDialogWatchdog watchdog;
    EXPECT_EQ(1, dialog.DoModal(nullptr));
    ASSERT_TRUE(answer.Wait());
    EXPECT_EQ("old name", seen.value);
    CText value("something");
    EXPECT_EQ(0, dialog.GetValue(value));
    EXPECT_STREQ("", value.GetString());
}

TEST(InputDialog, NoCancelFlagHidesCancelAndIgnoresItsCaption)
{
    CInputDialog dialog(IDD_UI_INPUT, CInputDialog::kNoCancel);
    dialog.SetTitle(IDS_UI_TITLE);
    EXPECT_EQ(0, dialog.SetCancelCaption(IDS_UI_CANCEL));
    InputSeen seen;
    CDialogAnswer answer(kTitle, 1000, 0, 10000, [](HWND window, void* context) {
        ReadInputDialog(window, (InputSeen*)context);
    }, &seen);

    CDialogWatchdog watchdog;
    EXPECT_EQ(1, dialog.DoModal(nullptr));
    ASSERT_TRUE(answer.Wait());
    EXPECT_FALSE(seen.cancelVisible);
    // The hidden button keeps the template's caption; the OK button gets
    // the built-in one.
    EXPECT_EQ("Template Cancel", seen.cancel);
    EXPECT_EQ("OK", seen.ok);
}

TEST(InputDialog, CancelAndClosingEndWith1001AndKeepTheEditedValue)
{
    // By the Cancel button, the system menu's Close and a plain WM_CLOSE.
    const struct {
        UINT message;
        WPARAM wParam;
    } closers[] = {{WM_COMMAND, 1001}, {WM_SYSCOMMAND, SC_CLOSE}, {WM_CLOSE, 0}};
    for (const auto& closer : closers) {
        SCOPED_TRACE(closer.message);
        CInputDialog dialog(IDD_UI_INPUT, CInputDialog::kValueRequired | CInputDialog::kNoCancel);
        dialog.SetTitle(IDS_UI_TITLE);
        dialog.SetValue("before");
        struct Context {
            UINT message;
            WPARAM wParam;
        } context = {closer.message, closer.wParam};
        CDialogAnswer answer(kTitle, kNoButton, 0, 10000, [](HWND window, void* context) {
            Context* closer = (Context*)context;
            SetDlgItemTextA(window, 1002, "Edited name");
            SendMessageA(window, closer->message, closer->wParam, 0);
        }, &context);

        CDialogWatchdog watchdog;
        EXPECT_EQ(0, dialog.DoModal(nullptr));
        ASSERT_TRUE(answer.Wait());
        EXPECT_EQ(1001, dialog.GetEndCode());
        CText value;
        dialog.GetValue(value);
        EXPECT_STREQ("Edited name", value.GetString());
    }
}

namespace {

// Moves the focus away from the edit field and back once the dialog is on
// screen, and records the edit's selection afterwards.
class CSelectionProbe : public CInputDialog {
public:
    CSelectionProbe() : CInputDialog(IDD_UI_INPUT, 0), start(-1), end(-1) {}

    LRESULT OnInitDialog(HWND focus) override
    {
        CInputDialog::OnInitDialog(focus);
        SetTimer(m_hWnd, 1, 100, nullptr);
        return 0;
    }

    LRESULT OnTimer(UINT_PTR id) override
    {
        KillTimer(m_hWnd, id);
        HWND edit = GetDlgItem(m_hWnd, kEditId);
        SetFocus(GetDlgItem(m_hWnd, kOkId));
        SendMessageA(edit, EM_SETSEL, 2, 4);
        SetFocus(edit);
        SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EndDialog(m_hWnd, kCancelId);
        return 0;
    }

    DWORD start, end;
};

} // namespace

TEST(InputDialog, FocusOnTheEditFieldSelectsAllOfIt)
{
    CSelectionProbe dialog;
    dialog.SetValue("hello world");
    EXPECT_EQ(0, dialog.DoModal(nullptr));
    EXPECT_EQ(0u, dialog.start);
    EXPECT_EQ(11u, dialog.end);
}

TEST(InputDialog, SettersShowTheirTextsWhileTheDialogIsOnScreen)
{
    class CLiveSetter : public CInputDialog {
    public:
        CLiveSetter() : CInputDialog(IDD_UI_INPUT, 0) {}
        LRESULT OnInitDialog(HWND focus) override
        {
            CInputDialog::OnInitDialog(focus);
            SetTextAlt("A prompt from text");
            SetValue("shown value");
            SetTitle(IDS_UI_TITLE);
            prompt = ControlTextOf(kPromptId);
            value = ControlTextOf(kEditId);
            title = ControlTextOf(0);
            EndDialog(m_hWnd, kOkId);
            return 0;
        }
        std::string ControlTextOf(int id)
        {
            return WindowText(id ? GetDlgItem(m_hWnd, id) : m_hWnd);
        }
        std::string prompt, value, title;
    } dialog;

    EXPECT_EQ(1, dialog.DoModal(nullptr));
    EXPECT_EQ("A prompt from text", dialog.prompt);
    EXPECT_EQ("shown value", dialog.value);
    EXPECT_EQ(kTitle, dialog.title);
}

TEST(ModalDialog, DoModalOfAMissingTemplateFailsCleanly)
{
    CDialogBox dialog(999);
    EXPECT_EQ(0, dialog.DoModal(nullptr));
    EXPECT_EQ(-1, dialog.GetEndCode());
    EXPECT_EQ(nullptr, dialog.GetHandle());
}

TEST(ModalDialog, IdsOneAndTwoEndTheDialogWithoutReachingOnCommand)
{
    class CEndsWithTwo : public CDialogBox {
    public:
        CEndsWithTwo() : CDialogBox(IDD_UI_INPUT), commands(0) {}
        LRESULT OnInitDialog(HWND focus) override
        {
            PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
            return 1;
        }
        LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override
        {
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                commands++;
            return 0;
        }
        int commands;
    } dialog;

    EXPECT_EQ(0, dialog.DoModal(nullptr));
    EXPECT_EQ(IDCANCEL, dialog.GetEndCode());
    EXPECT_EQ(0, dialog.commands);
}
