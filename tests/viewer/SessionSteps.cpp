// The steps of session_end_to_end.sh, each run on its own: a page pasted
// into the running program, then, after Wine ended the session, the book and
// the settings that program wrote.
#include <gtest/gtest.h>

#include "ClipFiles.h"
#include "ClipboardHelper.h"
#include "DialogDriver.h"
#include "TestApp.h"

namespace {
const char kDataFile[] = "C:\\vellmora\\Vellmora.cbd";

void TypePageName(HWND dialog, void*) { SetDlgItemTextA(dialog, 1002, "Kept at the end"); }
} // namespace

TEST(Session, PasteAPageIntoTheRunningProgram)
{
    HWND frame = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (frame = FindWindowA("VIEWERFRAME", nullptr)) != nullptr; }, 10000));
    ASSERT_TRUE(PutTextOnClipboard("session"));
    CDialogAnswer name("New Clipbook Page", 1000, 0, 10000, TypePageName);
    PostMessageA(frame, WM_COMMAND, 40015, 0);
    ASSERT_TRUE(name.Wait());
}

TEST(Session, TheBookAndTheSettingsWereWritten)
{
    CClipBook book;
    ASSERT_TRUE(LoadBookFile(kDataFile, 1, book));
    ASSERT_EQ(1, book.GetCount());
    EXPECT_STREQ("Kept at the end", book.GetPage(0)->GetName());
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brennwick\\Vellmora\\Toolbars", 0,
                                           KEY_QUERY_VALUE, &key));
    DWORD style = 0, size = sizeof style;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Style", nullptr, nullptr, (BYTE*)&style, &size));
    RegCloseKey(key);
}
