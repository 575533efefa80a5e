// Vellmora.exe run as a user runs it: a second start, keys, an exit with
// views open, a data file that cannot be written, and where it lives.
#include <gtest/gtest.h>

#include "ClipDataSamples.h"
#include "ClipboardHelper.h"
#include "DataFileLocation.h"
#include "DialogDriver.h"
#include "FrameFixture.h"
#include "ProcessRunner.h"
#include "TestApp.h"
#include "resource.h"

using namespace std::string_literals;

namespace {
HWND FindMdiChild(HWND frame, const char* className)
{
    return FindWindowExA(FindWindowExA(frame, nullptr, "MDICLIENT", nullptr), nullptr, className, nullptr);
}

void PressKeys(std::initializer_list<BYTE> keys)
{
    for (DWORD flags : {0, KEYEVENTF_KEYUP})
        for (BYTE key : keys)
            keybd_event(key, 0, flags, 0);
    Sleep(300);
}

// A copy of the program in a folder of its own, with a data file of its own.
class RunTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteViewerSettings();
        m_folder = MakeScratchDirectory("run");
        m_program = m_folder + "\\Vellmora.exe";
        m_dataFile = m_folder + "\\Vellmora.cbd";
        ASSERT_TRUE(CopyFileA((TestBinaryDirectory() + "Vellmora.exe").c_str(), m_program.c_str(), FALSE));
    }
    void TearDown() override { RemoveTree(m_folder); }
    HWND Start(CChildProcess& process) { return process.Start(m_program) ? process.WaitForWindow("VIEWERFRAME") : nullptr; }
    std::string m_folder, m_program, m_dataFile;
};
} // namespace

TEST_F(RunTest, ASecondStartHandsItsFileToTheFirstAndEnds)
{
    std::string page = m_folder + "\\Handed.cpf";
    CClipPage handed("");
    handed.Append(Block("Text", CF_TEXT, "handed"));
    ASSERT_TRUE(SavePageFile(handed, page.c_str()));
    CChildProcess first, second;
    HWND frame = Start(first);
    ASSERT_NE(nullptr, frame);
    CDialogAnswer options("Open Clippage File:", IDC_OPTION_OPEN, first.GetProcessId());
    ASSERT_TRUE(second.Start(m_program, "\"" + page + "\""));
    ASSERT_TRUE(options.Wait()) << "the first one asks";
    EXPECT_EQ(0, second.Wait());
    int frames = 0;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "VIEWERFRAME", nullptr)) != nullptr;)
        frames++;
    EXPECT_EQ(1, frames);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, first.Wait());
    CClipBook book;
    ASSERT_TRUE(LoadBookFile(m_dataFile.c_str(), 1, book));
    ASSERT_EQ(1, book.GetCount());
    EXPECT_STREQ("Handed", book.GetPage(0)->GetName());
}

TEST_F(RunTest, KeysActWhereTheUserLooksAndAnExitWithViewsOpenAfterADamagedBookReportsWhatFails)
{
    WriteFileBytes(m_dataFile, "VLMD1Kept\0"s + "\1\0\0\0Text\0\x40\0\0\0short");
    ASSERT_TRUE(PutTextOnClipboard("hello world"));
    CChildProcess running;
    HWND frame = Start(running);
    ASSERT_NE(nullptr, frame);
    CDialogAnswer told("Error", IDOK, running.GetProcessId());
    ASSERT_TRUE(told.Wait());
    HWND clipbook = FindMdiChild(frame, "VIEWERCLIPBOOK"), tree = GetDlgItem(clipbook, IDC_CLIPBOOK_TREE);
    HTREEITEM root = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)root));
    LRESULT count = SendMessageA(tree, TVM_GETCOUNT, 0, 0);
    SetForegroundWindow(frame);
    SendMessageA(clipbook, WM_CLOSE, 0, 0);
    PressKeys({VK_DELETE});
    EXPECT_EQ(count, SendMessageA(tree, TVM_GETCOUNT, 0, 0)) << "a minimised clipbook keeps its page";

    for (UINT kind : {ID_VIEW_BINARY, ID_VIEW_INFO, ID_VIEW_TEXT}) {
        SendMessageA(frame, WM_COMMAND, kind, 0);
        SendMessageA(frame, WM_COMMAND, ID_DISPLAY_AUTO_FORMAT, 0);
    }
    HWND edit = GetDlgItem(FindMdiChild(frame, "VIEWERTEXT"), IDC_TEXT_EDIT);
    ASSERT_NE(nullptr, edit);
    AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(edit, nullptr), TRUE);
    SetFocus(edit);
    AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(edit, nullptr), FALSE);
    SendMessageA(edit, EM_SETSEL, 0, 5);
    PressKeys({VK_CONTROL, 'C'});
    std::string copied;
    EXPECT_TRUE(PumpUntil([&] { return ReadClipboardBlock(CF_TEXT, &copied) && std::string(copied.c_str()) == "hello"; }))
        << copied.c_str();

    // A folder in the data file's place cannot be replaced by a file.
    ASSERT_TRUE(DeleteFileA(m_dataFile.c_str()) && CreateDirectoryA(m_dataFile.c_str(), nullptr));
    CDialogAnswer failed("Error", IDOK, running.GetProcessId());
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, running.Wait());
    ASSERT_TRUE(failed.Wait());
    std::string start = "The clipbook data file '" + m_dataFile + "' could not be written: ";
    EXPECT_EQ(start, failed.Text().substr(0, start.size()));
    EXPECT_GT(failed.Text().size(), start.size() + 3) << "with the system's reason";
}

// Wine lets root write every folder (and keeps no access lists), so a folder
// that does not exist stands for one the user cannot write.
TEST(DataFileLocation, BesideTheProgramWhileItsFolderCanBeWrittenElseInTheUsersAppData)
{
    const std::string base = MakeScratchDirectory("place") + "\\", data = "data\\Brennwick\\Vellmora\\";
    const std::string cases[][3] = {{"", "", ""}, {"gone\\", data, "gone\\"}, {"", data, data}};
    for (const auto& c : cases) {
        if (c[2] == data) // a data file already there wins
            WriteFileBytes(base + data + "Vellmora.cbd", "VLMD1\1");
        CDataFileLocation location;
        EXPECT_TRUE(location.Decide((base + c[0]).c_str(), (base + data).c_str()));
        EXPECT_EQ(base + c[1] + "Vellmora.cbd", location.GetPath()) << c[0];
        EXPECT_EQ(base + c[2] + "Vellmora.cbd", location.GetStartPath()) << c[0];
    }
    RemoveTree(base);
}
