// Pastes a page into the Vellmora that session_end_to_end.sh started.
#include <gtest/gtest.h>

#include "ClipboardHelper.h"
#include "DialogDriver.h"
#include "TestApp.h"

TEST(Session, PasteAPageIntoTheRunningProgram)
{
    HWND frame = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (frame = FindWindowA("VIEWERFRAME", nullptr)) != nullptr; }, 10000));
    ASSERT_TRUE(PutTextOnClipboard("session"));
    CDialogAnswer name("New Clipbook Page", 1000, 0, 10000,
                       [](HWND dialog, void*) { SetDlgItemTextA(dialog, 1002, "Kept at the end"); });
    PostMessageA(frame, WM_COMMAND, 40015, 0);
    ASSERT_TRUE(name.Wait());
}
