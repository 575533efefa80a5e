// Vellmora.exe itself, started as a process: its frame, its clipbook window,
// its arguments and the settings it writes when closed.
#include <gtest/gtest.h>

#include "ClipDataSamples.h"
#include "DialogDriver.h"
#include "FrameFixture.h"
#include "ProcessRunner.h"
#include "Settings.h"
#include "TestApp.h"

namespace {
HWND FindMdiChild(HWND frame, const char* className)
{
    HWND client = FindWindowExA(frame, nullptr, "MDICLIENT", nullptr);
    return client ? FindWindowExA(client, nullptr, className, nullptr) : nullptr;
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override { DeleteViewerSettings(); }
    void TearDown() override { DeleteViewerSettings(); }
};
} // namespace

TEST_F(ProgramTest, StartsTheFrameAndWritesTheSettingsWhenClosed)
{
    CChildProcess program;
    ASSERT_TRUE(program.Start("Vellmora.exe", "\"C:\\no such dir\\book.CBF\" page.cpf notes.txt ab"));
    HWND frame = program.WaitForWindow("VIEWERFRAME");
    ASSERT_NE(nullptr, frame);
    // The two clip files are offered in command-line order; the others are
    // ignored.
    CDialogAnswer book("Open ClipbookFile:", 1001, program.GetProcessId());
    ASSERT_TRUE(book.Wait());
    CDialogAnswer page("Open Clippage File:", 1001, program.GetProcessId());
    ASSERT_TRUE(page.Wait());
    EXPECT_EQ("Vellmora", WindowText(frame));
    HWND clipbook = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (clipbook = FindMdiChild(frame, "VIEWERCLIPBOOK")) != nullptr; }));
    EXPECT_EQ("Clipbook", WindowText(clipbook));
    EXPECT_NE(nullptr, GetDlgItem(frame, 102)) << "status bar";
    EXPECT_NE(nullptr, GetDlgItem(frame, 107)) << "rebar";

    // The clipbook's close box only minimises it.
    SendMessageA(clipbook, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(clipbook));
    EXPECT_TRUE(IsIconic(clipbook));

    SetWindowPos(frame, nullptr, 50, 40, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT window;
    GetWindowRect(frame, &window);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, program.Wait());

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key));
    RECT stored = {};
    DWORD size = sizeof stored, type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Position", nullptr, &type, (BYTE*)&stored, &size));
    RegCloseKey(key);
    EXPECT_EQ(16u, size);
    EXPECT_EQ(0, memcmp(&window, &stored, sizeof stored));
}

TEST_F(ProgramTest, ImportsABookNamedOnTheCommandLineAndKeepsItInTheDataFile)
{
    // A copy of the program of its own, so that its data file is the test's.
    std::string folder = MakeScratchDirectory("program");
    std::string program = folder + "\\Vellmora.exe", book = folder + "\\My Book.cbf";
    ASSERT_TRUE(CopyFileA((TestBinaryDirectory() + "Vellmora.exe").c_str(), program.c_str(), FALSE));
    CClipBook pages;
    pages.Append(Page("From file", {Block("Text", CF_TEXT, std::string("imported", 9))}));
    ASSERT_TRUE(SaveBookFile(pages, book.c_str(), 0));

    CChildProcess running;
    ASSERT_TRUE(running.Start(program, "\"" + book + "\""));
    CDialogAnswer import("Open ClipbookFile:", 1014, running.GetProcessId());
    ASSERT_TRUE(import.Wait());
    HWND frame = running.WaitForWindow("VIEWERFRAME");
    ASSERT_NE(nullptr, frame);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, running.Wait());

    EXPECT_EQ("VLMD1" + ReadFileBytes(book).substr(5), ReadFileBytes(folder + "\\Vellmora.cbd"));
    RemoveTree(folder);
}
