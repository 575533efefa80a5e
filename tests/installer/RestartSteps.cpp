// The two halves of the restart test; restart_end_to_end.sh runs them in a
// Wine prefix of their own, because a restart ends every program there.
#include <windows.h>

#include <gtest/gtest.h>

#include "InstallerRun.h"
#include "TestApp.h"

namespace {
const std::string kDirectory = "C:\\restart";
const std::string kOld = kDirectory + "\\inuse.dll";
} // namespace

// A file in use gives status 11; Yes to the restart question, with the file
// released, ends the session.
TEST(Restart, InstallWithAFileInUseAndAnswerYes)
{
    CreateDirectoryA(kDirectory.c_str(), nullptr);
    HANDLE held = nullptr;
    std::string installer = BuildReplacingInstaller(kDirectory, kOld, &held);
    CInstallerRun run;
    run.Answer("Install", IDYES, [&held](HWND) { CloseHandle(held); });
    EXPECT_EQ(0, run.Run(installer));
    EXPECT_EQ("You should restart your computer before you can use installed program. Restart computer?",
              run.ClosingText());
}

TEST(Restart, TheNewFileIsInPlaceAfterTheRestart)
{
    ASSERT_TRUE(PumpUntil([] { return ReadWholeFile(kOld) == "new library"; }, 90000)) << "not replaced";
    EXPECT_EQ(ReadWholeFile(TestBinaryDirectory() + "VersionedLibrary.dll"), ReadWholeFile(kDirectory + "\\inuse.bak"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((kDirectory + "\\inuse.new").c_str()));
    EXPECT_EQ("FILE=" + kDirectory + "\\inuse.new", ReadLines(kDirectory + "\\Install.log").back());
}
