#include <stdio.h>

#include <string>

#include <gtest/gtest.h>

#include "AppThread.h"
#include "DialogDriver.h"
#include "ProcessRunner.h"
#include "TestApp.h"

TEST(ProgramEntry, WithoutAnApplicationObjectExitsWithOne)
{
    CChildProcess program;
    ASSERT_TRUE(program.Start("NoAppProgram.exe"));
    CDialogAnswer box("Program Error", IDOK, program.GetProcessId());
    ASSERT_TRUE(box.Wait());
    EXPECT_EQ("You have to create CWinApp baced class.", box.Text());
    EXPECT_EQ(1, program.Wait());
}

TEST(ProgramEntry, TwoApplicationObjectsLeaveNoneRegistered)
{
    CChildProcess program;
    ASSERT_TRUE(program.Start("TwoAppsProgram.exe"));
    CDialogAnswer second("Program Error", IDOK, program.GetProcessId());
    ASSERT_TRUE(second.Wait());
    EXPECT_EQ("You can only create one CWinApp paced class.", second.Text());
    CDialogAnswer missing("Program Error", IDOK, program.GetProcessId());
    ASSERT_TRUE(missing.Wait());
    EXPECT_EQ("You have to create CWinApp baced class.", missing.Text());
    EXPECT_EQ(1, program.Wait());
}

TEST(ProgramEntry, ExitCodeIsFinishNotTheQuitCodeAndTheModulePathIsFull)
{
    std::string directory = MakeScratchDirectory("entry");
    std::string report = directory + "\\path.txt";
    CChildProcess program;
    ASSERT_TRUE(program.Start("ExitCodeProgram.exe", report));
    EXPECT_EQ(7, program.Wait());

    char path[MAX_PATH + 1] = "";
    FILE* in = fopen(report.c_str(), "r");
    ASSERT_NE(nullptr, in);
    fgets(path, sizeof path, in);
    fclose(in);
    EXPECT_EQ(TestBinaryDirectory() + "ExitCodeProgram.exe", path);
    RemoveTree(directory);
}

TEST(ProgramEntry, TheTestExecutableRunsThroughTheEntryPath)
{
    ASSERT_NE(nullptr, GetApp());
    EXPECT_EQ(GetModuleHandleA(nullptr), GetAppInstance());
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleInstance());
    EXPECT_STREQ("VellmoraTests", GetApp()->GetApplicationName());
    EXPECT_EQ(TestBinaryDirectory() + "LibraryCoreTests.exe", GetApp()->GetModuleFileName());
    EXPECT_EQ(GetCurrentThreadId(), GetApp()->GetThreadId());
}

namespace {
class CCountingThread : public CThread {
public:
    explicit CCountingThread(HANDLE release) : m_release(release) {}
    int Start() override
    {
        WaitForSingleObject(m_release, 10000);
        m_started = 1;
        return 0;
    }
    int Finish() override
    {
        m_finished = 1;
        return 42;
    }
    HANDLE m_release;
    volatile int m_started = 0;
    volatile int m_finished = 0;
};

class CSelfDeletingThread : public CThread {
public:
    explicit CSelfDeletingThread(int* deaths) : m_deaths(deaths) { SetAutoDelete(1); }
    ~CSelfDeletingThread() override { ++*m_deaths; }
    int* m_deaths;
};
} // namespace

TEST(Threads, BeginRunsStartThenFinishAndFinishGivesTheExitCode)
{
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CCountingThread thread(release);
    EXPECT_EQ(0, thread.IsRunning()) << "never begun";
    ASSERT_EQ(1, thread.Begin());
    EXPECT_NE(0u, thread.GetThreadId());
    EXPECT_EQ(1, thread.IsRunning());
    SetEvent(release);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.GetThreadHandle(), 10000));
    EXPECT_EQ(0, thread.IsRunning());
    EXPECT_EQ(1, thread.m_started);
    EXPECT_EQ(1, thread.m_finished);
    DWORD code = 0;
    GetExitCodeThread(thread.GetThreadHandle(), &code);
    EXPECT_EQ(42u, code);
    CloseHandle(release);
}

TEST(Threads, KillEndsARunningThreadAndAutoDeleteDestroysTheObject)
{
    int deaths = 0;
    CThread defaults;
    EXPECT_EQ(0, defaults.Start());
    EXPECT_EQ(0, defaults.Proceed());
    EXPECT_EQ(nullptr, defaults.GetMainWindow());

    CSelfDeletingThread* finishing = new CSelfDeletingThread(&deaths);
    EXPECT_EQ(1, finishing->Finish());
    EXPECT_EQ(1, deaths) << "Finish destroys an auto-delete object";

    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CCountingThread blocked(never);
    ASSERT_EQ(1, blocked.Begin());
    EXPECT_EQ(1, blocked.Kill(9));
    WaitForSingleObject(blocked.GetThreadHandle(), 5000);
    EXPECT_EQ(0, blocked.IsRunning());
    EXPECT_EQ(0, blocked.m_finished);
    CloseHandle(never);
}

TEST(LibraryErrors, SwitchesAndMessages)
{
    EXPECT_EQ(0, LibraryError(0));
    EXPECT_EQ(7, LibraryError(7)) << "recorded silently while show-message is off";
    EXPECT_EQ(7, LibraryError(-4)) << "a switch answers the last error";

    LibraryError(-3);
    // Only this process's boxes: other tests running beside this one show
    // boxes captioned "Error" too.
    CDialogAnswer memory("Error", IDOK, GetCurrentProcessId());
    EXPECT_EQ(2, LibraryError(2));
    ASSERT_TRUE(memory.Wait());
    EXPECT_EQ("Error to alllocate memory", memory.Text());

    CDialogAnswer unknown("Error", IDOK, GetCurrentProcessId());
    EXPECT_EQ(99, LibraryError(99));
    ASSERT_TRUE(unknown.Wait());
    EXPECT_EQ("Unknown error", unknown.Text());
    EXPECT_EQ(99, LibraryError(-4));
    EXPECT_EQ(99, LibraryError(-2));
}
