// A file in use replaced at the next start; restart_end_to_end.sh runs these
// one at a time in a Wine prefix of their own, since a restart ends every
// program there.
#include <windows.h>

#include <gtest/gtest.h>

#include "InstallerRun.h"
#include "TestApp.h"

namespace {

const std::string kDirectory = "C:\\restart";

// Replaces <name>.dll, a copy of the test library (version 4.72), by "new
// library" of version 4.73 while the old file is held open as a running
// program holds its own: it can be read but not deleted. The restart
// question gets the answer once the file is released.
void InstallOverAFileInUse(const std::string& name, int answer)
{
    CreateDirectoryA(kDirectory.c_str(), nullptr);
    std::string old = kDirectory + "\\" + name + ".dll";
    CopyFileA((TestBinaryDirectory() + "VersionedLibrary.dll").c_str(), old.c_str(), FALSE);
    std::string script = "[MAIN]\nDEFDIRECTORY=" + kDirectory + "\nFILE=NEWLIB," + old + ",4.73\n";
    std::string installer = BuildInstaller(kDirectory, script.c_str(), {{"NEWLIB", "new library"}});
    HANDLE held = CreateFileA(old.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    CInstallerRun run;
    run.Answer("Install", answer, [&held](HWND) { CloseHandle(held); });
    EXPECT_EQ(0, run.Run(installer));
    EXPECT_EQ("You should restart your computer before you can use installed program. Restart computer?",
              run.ClosingText());
}

} // namespace

// Answered No: the replacement and a backup wait beside the file, and the
// delayed move is recorded (Wine keeps it in PendingFileRenameOperations).
TEST(Restart, AFileInUseWaitsForTheNextStartWithABackup)
{
    InstallOverAFileInUse("first", IDNO);
    std::string library = ReadWholeFile(TestBinaryDirectory() + "VersionedLibrary.dll");
    EXPECT_EQ(library, ReadWholeFile(kDirectory + "\\first.dll"));
    EXPECT_EQ("new library", ReadWholeFile(kDirectory + "\\first.new"));
    EXPECT_EQ(library, ReadWholeFile(kDirectory + "\\first.bak"));
    EXPECT_EQ("FILE=" + kDirectory + "\\first.dll", ReadLines(kDirectory + "\\Install.log").back())
        << "logged under the name it will have";
    WCHAR names[8192] = L"";
    DWORD size = sizeof names - sizeof(WCHAR);
    RegGetValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                 L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, names, &size);
    CharLowerBuffW(names, size / sizeof(WCHAR));
    EXPECT_NE(std::wstring::npos, std::wstring(names, size / sizeof(WCHAR)).find(L"first.new"));
}

// Answered Yes, the session ends.
TEST(Restart, InstallWithAFileInUseAndAnswerYes)
{
    InstallOverAFileInUse("second", IDYES);
}

TEST(Restart, TheNewFilesAreInPlaceAfterTheRestart)
{
    std::string library = ReadWholeFile(TestBinaryDirectory() + "VersionedLibrary.dll");
    for (const char* name : {"\\first", "\\second"}) {
        ASSERT_TRUE(PumpUntil([&] { return ReadWholeFile(kDirectory + name + ".dll") == "new library"; }, 90000))
            << name << " not replaced";
        EXPECT_EQ(library, ReadWholeFile(kDirectory + name + ".bak"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((kDirectory + name + ".new").c_str()));
    }
    EXPECT_EQ("FILE=" + kDirectory + "\\second.dll", ReadLines(kDirectory + "\\Install.log").back());
}
