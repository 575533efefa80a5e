// Vellmora.exe run as a user runs it: a second start, keys, an exit with
// views open, a data file that cannot be read or written, and where the data
// file lives. CTest fails these on any access violation Wine traces.
#include <memory>

#include <gtest/gtest.h>

#include "ClipDataSamples.h"
#include "ClipFiles.h"
#include "ClipboardHelper.h"
#include "DataFileLocation.h"
#include "DialogDriver.h"
#include "FrameFixture.h"
#include "ProcessRunner.h"
#include "SingleInstance.h"
#include "TestApp.h"
#include "resource.h"

namespace {
HWND FindMdiChild(HWND frame, const char* className)
{
    HWND client = FindWindowExA(frame, nullptr, "MDICLIENT", nullptr);
    return client ? FindWindowExA(client, nullptr, className, nullptr) : nullptr;
}

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD key, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD key : keys)
        add(key, 0);
    for (auto key = keys.end(); key != keys.begin();)
        add(*--key, KEYEVENTF_KEYUP);
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
    Sleep(300);
}

void FocusInto(HWND control)
{
    DWORD thread = GetWindowThreadProcessId(control, nullptr);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    SetFocus(control);
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
}

std::string ClipboardText()
{
    std::string bytes;
    return ReadClipboardBlock(CF_TEXT, &bytes) ? std::string(bytes.c_str()) : std::string();
}

// A copy of the program in a folder of its own, so that its data file is
// the test's.
class RunTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteViewerSettings();
        // A data file in the user's application data folder would win.
        CText appData;
        ASSERT_TRUE(CDataFileLocation::GetAppDataFolder(appData));
        DeleteFileA((std::string(appData.GetString()) + "Vellmora.cbd").c_str());
        m_folder = MakeScratchDirectory("run");
        m_program = m_folder + "\\Vellmora.exe";
        m_dataFile = m_folder + "\\Vellmora.cbd";
        ASSERT_TRUE(CopyFileA((TestBinaryDirectory() + "Vellmora.exe").c_str(), m_program.c_str(), FALSE));
    }
    void TearDown() override
    {
        RemoveTree(m_folder);
        DeleteViewerSettings();
    }
    std::string m_folder, m_program, m_dataFile;
};
} // namespace

TEST_F(RunTest, ASecondStartHandsItsFileToTheFirstAndEnds)
{
    std::string page = m_folder + "\\Handed.cpf";
    std::unique_ptr<CClipPage> handed(Page("", {Block("Text", CF_TEXT, "handed")}));
    ASSERT_TRUE(SavePageFile(*handed, page.c_str()));
    CChildProcess first, second;
    ASSERT_TRUE(first.Start(m_program));
    HWND frame = first.WaitForWindow("VIEWERFRAME");
    ASSERT_NE(nullptr, frame);
    CDialogAnswer options("Open Clippage File:", IDC_OPTION_OPEN, first.GetProcessId());
    ASSERT_TRUE(second.Start(m_program, "\"" + page + "\""));
    ASSERT_TRUE(options.Wait()) << "the first one asks";
    EXPECT_EQ(0, second.Wait());
    EXPECT_EQ(1u, first.FindWindows("VIEWERFRAME").size());
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, first.Wait());
    CClipBook book;
    ASSERT_TRUE(LoadBookFile(m_dataFile.c_str(), 1, book));
    ASSERT_EQ(1, book.GetCount());
    EXPECT_STREQ("Handed", book.GetPage(0)->GetName());

    // A running one that does not answer is reported; the data file stays.
    CText name;
    CSingleInstance::MakeInstanceName(m_dataFile.c_str(), name);
    HANDLE held = CreateMutexA(nullptr, TRUE, ("Local\\" + std::string(name.GetString())).c_str());
    DeleteFileA(m_dataFile.c_str());
    CChildProcess late;
    ASSERT_TRUE(late.Start(m_program));
    CDialogAnswer silent("Error", IDOK, late.GetProcessId(), 15000);
    ASSERT_TRUE(silent.Wait());
    EXPECT_NE(std::string::npos, silent.Text().find("does not answer")) << silent.Text();
    EXPECT_EQ(0, late.Wait());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_dataFile.c_str()));
    CloseHandle(held);
}

TEST_F(RunTest, PageKeysActOnlyOnTheSeenTreeAndCopyKeysCopyTheTextViewsSelection)
{
    CClipBook pages;
    pages.Append(Page("Kept", {Block("Text", CF_TEXT, "page")}));
    ASSERT_TRUE(SaveBookFile(pages, m_dataFile.c_str(), 1));
    ASSERT_TRUE(PutTextOnClipboard("hello world"));
    CChildProcess running;
    ASSERT_TRUE(running.Start(m_program));
    HWND frame = running.WaitForWindow("VIEWERFRAME");
    ASSERT_NE(nullptr, frame);
    HWND clipbook = FindMdiChild(frame, "VIEWERCLIPBOOK"), tree = GetDlgItem(clipbook, IDC_CLIPBOOK_TREE);
    HTREEITEM root = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)root));
    LRESULT count = SendMessageA(tree, TVM_GETCOUNT, 0, 0);
    SetForegroundWindow(frame);

    SendMessageA(clipbook, WM_CLOSE, 0, 0);
    PressKeys({VK_DELETE});
    EXPECT_EQ(count, SendMessageA(tree, TVM_GETCOUNT, 0, 0)) << "a minimised clipbook keeps its page";

    SendMessageA(frame, WM_COMMAND, ID_VIEW_TEXT, 0);
    SendMessageA(frame, WM_COMMAND, ID_DISPLAY_AUTO_FORMAT, 0);
    HWND edit = GetDlgItem(FindMdiChild(frame, "VIEWERTEXT"), IDC_TEXT_EDIT);
    ASSERT_NE(nullptr, edit);
    FocusInto(edit);
    SendMessageA(edit, EM_SETSEL, 0, 5);
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(PumpUntil([] { return ClipboardText() == "hello"; })) << ClipboardText();
    // The live view now shows "hello".
    SendMessageA(edit, EM_SETSEL, 1, 4);
    PressKeys({VK_CONTROL, VK_INSERT});
    EXPECT_TRUE(PumpUntil([] { return ClipboardText() == "ell"; })) << ClipboardText();
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, running.Wait());
}

TEST_F(RunTest, AnExitWithViewsOpenAfterAnUnreadableDataFileClosesCleanly)
{
    WriteFileBytes(m_dataFile, "VLMD1broken");
    ASSERT_TRUE(PutTextOnClipboard("views"));
    CChildProcess running;
    ASSERT_TRUE(running.Start(m_program));
    CDialogAnswer told("Error", IDOK, running.GetProcessId());
    ASSERT_TRUE(told.Wait());
    EXPECT_NE(std::string::npos, told.Text().find(m_dataFile + ".bad")) << told.Text();
    HWND frame = running.WaitForWindow("VIEWERFRAME");
    ASSERT_NE(nullptr, frame);
    for (UINT kind : {ID_VIEW_TEXT, ID_VIEW_BINARY, ID_VIEW_INFO}) {
        SendMessageA(frame, WM_COMMAND, kind, 0);
        SendMessageA(frame, WM_COMMAND, ID_DISPLAY_AUTO_FORMAT, 0);
    }
    EXPECT_NE(nullptr, FindMdiChild(frame, "VIEWERSPECIAL"));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, running.Wait());
    EXPECT_EQ("VLMD1broken", ReadFileBytes(m_dataFile + ".bad"));
}

TEST_F(RunTest, ADataFileThatCannotBeWrittenIsReportedWithTheReason)
{
    CChildProcess running;
    ASSERT_TRUE(running.Start(m_program));
    HWND frame = running.WaitForWindow("VIEWERFRAME");
    ASSERT_NE(nullptr, frame);
    // A folder in the data file's place cannot be replaced by a file.
    ASSERT_TRUE(CreateDirectoryA(m_dataFile.c_str(), nullptr));
    CDialogAnswer failed("Error", IDOK, running.GetProcessId());
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(failed.Wait());
    std::string start = "The clipbook data file '" + m_dataFile + "' could not be written: ";
    EXPECT_EQ(start, failed.Text().substr(0, start.size()));
    EXPECT_GT(failed.Text().size(), start.size() + 3) << "with the system's reason";
    EXPECT_EQ(0, running.Wait());
}

// Wine lets root write every folder (and keeps no access lists), so a folder
// that does not exist stands for one the user cannot write.
TEST(DataFileLocation, BesideTheProgramWhileItsFolderCanBeWrittenElseInTheUsersAppData)
{
    std::string base = MakeScratchDirectory("place");
    std::string program = base + "\\program\\", appData = base + "\\data\\Brennwick\\Vellmora\\";
    ASSERT_TRUE(CreateDirectoryA(program.c_str(), nullptr));
    const struct {
        const char* programFolder;
        bool appDataFile;
        std::string path, start;
    } cases[] = {
        {"program\\", false, program, program},
        {"read-only\\", false, appData, base + "\\read-only\\"},
        {"program\\", true, appData, appData},
    };
    for (const auto& c : cases) {
        if (c.appDataFile)
            WriteFileBytes(appData + "Vellmora.cbd", "VLMD1\1");
        CDataFileLocation location;
        EXPECT_TRUE(location.Decide((base + "\\" + c.programFolder).c_str(), appData.c_str()));
        EXPECT_EQ(c.path + "Vellmora.cbd", location.GetPath()) << c.programFolder;
        EXPECT_EQ(c.start + "Vellmora.cbd", location.GetStartPath()) << c.programFolder;
    }
    RemoveTree(base);
}
