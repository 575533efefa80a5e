// Install.exe run as a process with scripts and carried files of the tests'
// own, its dialogs answered by the driver; files, logs and messages checked.
#include <windows.h>

#include <algorithm>
#include <fstream>

#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "InstallerRun.h"
#include "TestApp.h"

namespace {

const char kComplete[] = "Installation complete.";
const char kAborted[] = "Installation aborted.";
const std::string kNewLibrary = "new library";

class InstallRun : public testing::Test {
protected:
    void SetUp() override
    {
        m_scratch = MakeScratchDirectory("install");
        m_destination = m_scratch + "\\app";
        CreateDirectoryA(m_destination.c_str(), nullptr);
    }
    void TearDown() override { RemoveTree(m_scratch); }

    // [MAIN] installing into the destination, "$D" in the body standing for it.
    std::string Script(const std::string& body) const
    {
        std::string text = "[MAIN]\nDEFDIRECTORY=" + m_destination + "\n" + body;
        for (size_t at = text.find("$D"); at != std::string::npos; at = text.find("$D", at))
            text.replace(at, 2, m_destination);
        return text;
    }
    std::string Build(const std::string& body, const std::vector<CCarriedFile>& files = Carried())
    {
        std::string script = Script(body);
        return BuildInstaller(m_scratch, script.c_str(), files);
    }
    static std::vector<CCarriedFile> Carried() { return {{"NEWLIB", kNewLibrary}, {"TEXT", "carried text"}}; }
    std::string Path(const std::string& name) const { return m_destination + "\\" + name; }
    std::vector<std::string> FileLines() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : ReadLines(Path("Install.log")))
            if (line.compare(0, 5, "FILE=") == 0)
                lines.push_back(line.substr(5));
        return lines;
    }

    std::string m_scratch;
    std::string m_destination;
};

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST_F(InstallRun, VersionAndFunctionChecksDecideWhatIsReplacedAndWhatIsAsked)
{
    enum Existing { kNothing, kText, kLibrary };
    struct Case {
        const char* file;
        const char* fields;
        Existing existing;
        int answer;  // 0: no question
        bool replaced;
    } cases[] = {
        {"fresh.dll", ",4.71.0.0", kNothing, 0, true},
        {"text.dll", ",1.0", kText, 0, true},
        {"newer.dll", ",4.71.0.0", kLibrary, IDYES, true},
        {"equal.dll", ",4.72", kLibrary, IDNO, false},
        {"older.dll", ",4.73", kLibrary, 0, true},
        {"lacking.dll", ",,VlmFirst VlmThird", kLibrary, 0, true},
        {"complete.dll", ",,VlmFirst  VlmSecond", kLibrary, IDNO, false},
    };
    // The test library is version 4.72.0.0 and exports VlmFirst and VlmSecond.
    const std::string library = ReadWholeFile(TestBinaryDirectory() + "VersionedLibrary.dll");
    std::string body;
    CInstallerRun run;
    std::vector<std::string> questions;
    for (const Case& c : cases) {
        body += "FILE=NEWLIB,$D\\" + std::string(c.file) + c.fields + "\n";
        if (c.existing != kNothing) {
            std::ofstream(Path(c.file), std::ios::binary) << (c.existing == kText ? "plain text" : library);
        }
        if (c.answer != 0) {
            run.Answer("Copying files...", c.answer);
            questions.push_back("File '" + Path(c.file) + "' exist in system and it is newer than file that will be "
                                "installed. It is recommed to keep file. If you copy file, setup will create backup "
                                "from old file. Copy file?");
        }
    }
    ASSERT_EQ(0, run.Run(Build(body)));

    std::vector<std::string> logged;
    EXPECT_EQ(questions, run.Texts("Copying files..."));
    for (const Case& c : cases) {
        EXPECT_EQ(c.replaced, ReadWholeFile(Path(c.file)) == kNewLibrary) << c.file;
        if (c.replaced)
            logged.push_back(Path(c.file));
    }
    EXPECT_EQ(logged, FileLines()) << "a kept file is not logged";
    EXPECT_EQ(kComplete, run.ClosingText());

    // The carried stamp is local time; the file keeps it in UTC.
    FILETIME local = {(DWORD)kTestStamp, (DWORD)(kTestStamp >> 32)}, expected, written, created;
    LocalFileTimeToFileTime(&local, &expected);
    HANDLE file = CreateFileA(Path("fresh.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, &created, nullptr, &written);
    CloseHandle(file);
    EXPECT_EQ(0, CompareFileTime(&expected, &written));
    EXPECT_EQ(0, CompareFileTime(&expected, &created));
}

TEST_F(InstallRun, AbortRetryAndIgnoreOnADestinationThatCannotBeCreated)
{
    struct Case {
        int answer;
        bool firstInstalled, secondInstalled;
        const char* closing;
    } cases[] = {
        {IDIGNORE, false, true, kComplete},
        {IDRETRY, true, true, kComplete},
        {IDABORT, false, false, kAborted},
    };
    for (const Case& c : cases) {
        RemoveTree(m_destination);
        CreateDirectoryA(m_destination.c_str(), nullptr);
        std::string nested = Path("sub\\deeper\\a.txt");
        std::string installer = Build("FILE=TEXT,$D\\sub\\deeper\\a.txt\nFILE=TEXT,$D\\b.txt\n"
                                      "REG=HKCU,Software\\VellmoraTests\\Errors\n");
        CInstallerRun run;
        run.Answer("Error", c.answer, [this](HWND) {
            // A retry finds the folders made in the meantime.
            CreateDirectoryA(Path("sub").c_str(), nullptr);
            CreateDirectoryA(Path("sub\\deeper").c_str(), nullptr);
        });
        ASSERT_EQ(0, run.Run(installer));
        EXPECT_EQ(std::vector<std::string>{"Cannot copy file '" + nested + "'. Disk may be full or file may be in use."},
                  run.Texts("Error"));
        EXPECT_EQ(c.firstInstalled, Exists(nested));
        EXPECT_EQ(c.secondInstalled, Exists(Path("b.txt")));
        std::vector<std::string> logged;
        if (c.firstInstalled)
            logged.push_back(nested);
        if (c.secondInstalled)
            logged.push_back(Path("b.txt"));
        EXPECT_EQ(logged, FileLines());
        std::vector<std::string> lines = ReadLines(Path("Install.log"));
        EXPECT_EQ(c.answer != IDABORT, std::count(lines.begin(), lines.end(), "REG=HKCU,Software\\VellmoraTests\\Errors") == 1)
            << "an abort stops before the registry step";
        EXPECT_EQ(c.closing, run.ClosingText());
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Errors");
}

// Every damaged part ends with a message and exit code 0, and every file
// made is in the log.
TEST_F(InstallRun, DamagedScriptsMissingFilesAndUnwritableDestinations)
{
    CreateDirectoryA(Path("taken").c_str(), nullptr);
    struct Case {
        const char* body;  // null: no script at all
        const char* question;
        int answer;
        const char* closing;
        std::vector<std::string> files;
    } cases[] = {
        {nullptr, nullptr, 0, kAborted, {}},
        {"FILE=TEXT,$D\\t.txt\n\x01\xff[[=\nREG=HKCU,Software\\VellmoraTests\\Bad,V,\"open\\", nullptr, 0, kComplete,
         {"t.txt"}},
        {"FILE=NOSUCH,$D\\x.exe\nFILE=TEXT,$D\\t.txt\n",
         "File 'NOSUCH' is missing from this setup program, which may be damaged.\n\nContinue without this file?",
         IDNO, kAborted, {}},
        {"FILE=TEXT,Q:\\nowhere\\x.txt\n",
         "Cannot copy file 'Q:\\nowhere\\x.txt'. Disk may be full or file may be in use.", IDABORT, kAborted, {}},
        // Running as root, Wine writes into read-only folders; a folder in
        // the file's place is refused as on Windows.
        {"FILE=TEXT,$D\\taken\nFILE=TEXT,$D\\t.txt\n", nullptr, IDIGNORE, kComplete, {"t.txt"}},
    };
    for (const Case& c : cases) {
        DeleteFileA(Path("t.txt").c_str());
        std::string script = c.body ? Script(c.body) : std::string();
        CInstallerRun run;
        if (c.answer != 0)
            run.Answer("Error", c.answer);
        ASSERT_EQ(0, run.Run(BuildInstaller(m_scratch, c.body ? script.c_str() : nullptr, Carried())));
        EXPECT_EQ(c.closing, run.ClosingText()) << script;
        if (c.question) {
            EXPECT_EQ(std::vector<std::string>{c.question}, run.Texts("Error"));
        }
        std::vector<std::string> files;
        for (const std::string& name : c.files)
            files.push_back(Path(name));
        EXPECT_EQ(files, FileLines()) << script;
        EXPECT_FALSE(Exists(Path("x.exe")));
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Bad");
}

// The Cancel question waits for the worker to pause between two blocks or
// two files; nothing changes while it is open. No goes on where it stopped,
// Yes stops at the next file with everything done in the log.
TEST_F(InstallRun, CancelInTheMiddleOfALargeCopy)
{
    const int kFiles = 64;
    std::string body;
    for (int i = 0; i < kFiles; i++)
        body += "FILE=LARGE,$D\\part" + std::to_string(i) + ".bin\n";
    body += "REG=HKCU,Software\\VellmoraTests\\Cancel\n";
    const std::string large(3 << 20, 'L');
    std::string installer = Build(body, {{"LARGE", large}});
    auto sizes = [this] {
        std::string listing;
        for (int i = 0; i < kFiles; i++)
            listing += std::to_string(ReadWholeFile(Path("part" + std::to_string(i) + ".bin")).size()) + " ";
        return listing;
    };
    for (int answer : {IDNO, IDYES}) {
        RemoveTree(m_destination);
        CreateDirectoryA(m_destination.c_str(), nullptr);
        bool still = false;
        CInstallerRun run;
        run.OnProgress([](HWND dialog) {
            PumpUntil([dialog] { return !ControlText(dialog, 1018).empty(); }, 20000);
            PressButton(dialog, 1001);
        });
        run.Answer("Exit Setup", answer, [&](HWND) {
            std::string before = sizes();
            Sleep(500);
            still = before == sizes();
        });
        ASSERT_EQ(0, run.Run(installer));
        EXPECT_EQ(std::vector<std::string>{"Install is not complete. If you quit the Setup program now,\nthe program "
                                           "will not be installed correctly.\n\nQuit the Setup program?"},
                  run.Texts("Exit Setup"))
            << "the worker ended before the question";
        EXPECT_TRUE(still) << "the worker went on while the question was open";
        std::vector<std::string> present;
        for (int i = 0; i < kFiles; i++) {
            std::string path = Path("part" + std::to_string(i) + ".bin");
            if (Exists(path)) {
                present.push_back(path);
                EXPECT_EQ(large.size(), ReadWholeFile(path).size()) << path;
            }
        }
        EXPECT_EQ(present, FileLines());
        if (answer == IDNO) {
            EXPECT_EQ((size_t)kFiles, present.size());
            EXPECT_EQ(kComplete, run.ClosingText());
        } else {
            EXPECT_LT(present.size(), (size_t)kFiles);
            EXPECT_EQ(kAborted, run.ClosingText());
        }
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Cancel");
}
