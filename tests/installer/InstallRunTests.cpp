// Install.exe run as a process with scripts and carried files of the tests'
// own, its dialogs answered by the driver; and its installation steps run
// inside the test process. Files, registry, logs and messages checked.
#include <algorithm>
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string.h>

#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "FileRules.h"
#include "InstallWalks.h"
#include "InstallerRun.h"
#include "SetupScript.h"
#include "TestApp.h"

namespace {

const char kComplete[] = "Installation complete.";
const char kAborted[] = "Installation aborted.";

class InstallRun : public testing::Test {
protected:
    void SetUp() override { m_scratch = MakeScratchDirectory("install"), m_destination = m_scratch + "\\app"; }
    void TearDown() override { RemoveTree(m_scratch); }

    // A fresh destination ("$D"), and an installer whose [MAIN] installs
    // there; a null body carries no usable script.
    std::string Build(const char* body, const std::vector<std::pair<std::string, std::string>>& files = {
                                            {"NEWLIB", "new library"}, {"TEXT", "carried text"}})
    {
        RemoveTree(m_destination);
        CreateDirectoryA(m_destination.c_str(), nullptr);
        std::string script = Expanded(std::string("[MAIN]\nDEFDIRECTORY=$D\n") + (body ? body : ""), m_destination);
        return BuildInstaller(m_scratch, body ? script.c_str() : nullptr, files);
    }
    std::string Path(const std::string& name) const { return m_destination + "\\" + name; }
    // The log's lines behind its head, with "$D" for the destination.
    std::vector<std::string> Logged() const
    {
        std::vector<std::string> lines = ReadLines(Path("Install.log"));
        lines.erase(lines.begin(), lines.begin() + (lines.size() < 3 ? lines.size() : 3));
        for (std::string& line : lines)
            line = Expanded(line, "$D", m_destination);
        return lines;
    }

    std::string m_scratch;
    std::string m_destination;
};

// The system's sentence for an error, as the installer's messages end.
std::string SystemText(DWORD error)
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    std::string sentence = text;
    return sentence.substr(0, sentence.find_last_not_of("\r\n ") + 1);
}

class CRecordingProgress : public CQuietProgress {
public:
    void Step() override { m_steps++; }
    void Open(const char* command) override
    {
        ShellExecuteA(nullptr, nullptr, command, nullptr, nullptr, SW_SHOWNORMAL);
    }

    int m_steps = 0;
};

class InstallSteps : public testing::Test {
protected:
    void SetUp() override
    {
        m_destination = MakeScratchDirectory("steps");
        m_script.m_destination = m_destination;
        m_script.m_progressDialog = &m_progress;
        m_script.OpenLog();
        HKEY tests = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VellmoraTests", 0, nullptr, 0, KEY_READ, nullptr, &tests, nullptr);
        RegCloseKey(tests);
    }
    void TearDown() override
    {
        m_script.CloseLog();
        RemoveTree(m_destination);
        for (const char* key : {"Walk", "WalkHeld", "Reg\\KeyOnly", "Reg\\New\\Deeper", "Reg\\New", "Reg"})
            RegDeleteKeyA(HKEY_CURRENT_USER, (std::string("Software\\VellmoraTests\\") + key).c_str());
    }
    // The log behind its head.
    std::string Logged()
    {
        m_script.CloseLog();
        std::string lines = ReadWholeFile(m_destination + "\\Install.log");
        return lines.substr(lines.find("PATH=") + 6 + m_destination.size());
    }

    std::string m_destination;
    CSetupScript m_script;
    CRecordingProgress m_progress;
};

} // namespace

// The test library is version 4.72.0.0 and exports VlmFirst and VlmSecond.
// The shortcut's program group is left empty: no group, no shortcut.
TEST_F(InstallRun, VersionAndFunctionChecksDecideWhatIsReplacedAndWhatIsAsked)
{
    enum Existing { kNothing, kText, kLibrary };
    const struct {
        const char* file;
        const char* fields;
        Existing existing;
        int answer;  // 0: no question; No keeps the file
    } cases[] = {
        {"fresh.dll", ",4.71.0.0", kNothing, 0},       {"text.dll", ",1.0", kText, 0},
        {"newer.dll", ",4.71.0.0", kLibrary, IDYES},   {"equal.dll", ",4.72", kLibrary, IDNO},
        {"older.dll", ",4.73", kLibrary, 0},           {"lacking.dll", ",,VlmFirst VlmThird", kLibrary, 0},
        {"complete.dll", ",,VlmFirst  VlmSecond", kLibrary, IDNO},
    };
    std::string body = "ICON=%i\\Fresh.lnk,$D\\fresh.dll\n";
    std::string library = ReadWholeFile(TestBinaryDirectory() + "VersionedLibrary.dll");
    CInstallerRun run;
    std::vector<std::string> questions, logged;
    for (const auto& c : cases) {
        body += "FILE=NEWLIB,$D\\" + std::string(c.file) + c.fields + "\n";
        if (c.answer != 0)
            run.Answer("Copying files...", c.answer);
        if (c.answer != 0)
            questions.push_back("File '" + Path(c.file) + "' exist in system and it is newer than file that will be "
                                "installed. It is recommed to keep file. If you copy file, setup will create backup "
                                "from old file. Copy file?");
        if (c.answer != IDNO)
            logged.push_back("FILE=$D\\" + std::string(c.file));
    }
    std::string installer = Build(body.c_str());
    for (const auto& c : cases)
        if (c.existing != kNothing)
            std::ofstream(Path(c.file), std::ios::binary) << (c.existing == kText ? "plain text" : library);
    ASSERT_EQ(0, run.Run(installer));
    EXPECT_EQ(kComplete, run.ClosingText());
    EXPECT_EQ(questions, run.Texts("Copying files..."));
    for (const auto& c : cases)
        EXPECT_EQ(c.answer != IDNO, ReadWholeFile(Path(c.file)) == "new library") << c.file;
    EXPECT_EQ(logged, Logged()) << "a kept file is not logged, nor a group or a shortcut";
    // Only a newer file that the user lets go is backed up, as the question says.
    for (const auto& c : cases)
        EXPECT_EQ(c.answer == IDYES ? library : "", ReadWholeFile(Path(ReplaceFromLastDot(c.file, ".bak")))) << c.file;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\Fresh.lnk"));
    EXPECT_EQ(kTestStamp, LocalFileTime(Path("fresh.dll")));
    EXPECT_EQ(kTestStamp, LocalFileTime(Path("fresh.dll"), true));
}

// File errors and damaged installers end with a message and exit code 0,
// and every file and key that was made is in the log.
TEST_F(InstallRun, FileErrorsAndDamagedInstallers)
{
    const char* nested = "FILE=TEXT,$D\\sub\\deeper\\a.txt\nFILE=TEXT,$D\\b.txt\nREG=HKCU,Software\\VellmoraTests\\Run\n";
    // Only Run is made: the level above it, when made too, has a line of its own.
    HKEY tests = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VellmoraTests", 0, nullptr, 0, KEY_READ, nullptr, &tests, nullptr);
    RegCloseKey(tests);
    const char* cannotCopy = "Cannot copy file '$D\\sub\\deeper\\a.txt'. Disk may be full or file may be in use.";
    const struct {
        const char* body;  // null: no script at all
        int answer;
        std::string question;
        const char* closing;
        std::vector<std::string> logged;
    } cases[] = {
        {nested, IDIGNORE, cannotCopy, kComplete, {"FILE=$D\\b.txt", "REG=HKCU,Software\\VellmoraTests\\Run"}},
        {nested, IDRETRY, cannotCopy, kComplete,
         {"FILE=$D\\sub\\deeper\\a.txt", "FILE=$D\\b.txt", "REG=HKCU,Software\\VellmoraTests\\Run"}},
        {nested, IDABORT, cannotCopy, kAborted, {}},
        {nullptr, 0, "", kAborted, {}},
        {"FILE=TEXT,$D\\t.txt\n\x01\xff[[=\nREG=HKCU,Software\\VellmoraTests\\Run,V,\"open\\", 0, "", kComplete,
         {"FILE=$D\\t.txt"}},
        {"FILE=NOSUCH,$D\\x.exe\nFILE=TEXT,$D\\t.txt\n", IDNO,
         "File 'NOSUCH' is missing from this setup program, which may be damaged.\n\nContinue without this file?",
         kAborted, {}},
        {"FILE=TEXT,Q:\\nowhere\\x.txt\n", IDABORT,
         "Cannot copy file 'Q:\\nowhere\\x.txt'. Disk may be full or file may be in use.", kAborted, {}},
        // Running as root, Wine writes into read-only folders; a folder in
        // the file's place is refused as on Windows.
        {"FILE=TEXT,$D\\taken\nFILE=TEXT,$D\\t.txt\n", IDIGNORE,
         "Cannot copy file '$D\\taken'. Disk may be full or file may be in use.", kComplete, {"FILE=$D\\t.txt"}},
        // A folder or registry entry that cannot be made ends the installation,
        // as it would for a user without administrator rights.
        {"DIRECTORY=$D\\none\\deeper\nFILE=TEXT,$D\\t.txt\n", IDOK,
         "Cannot create directory '$D\\none\\deeper'. " + SystemText(ERROR_PATH_NOT_FOUND), kAborted, {}},
        {"FILE=TEXT,$D\\t.txt\nDIRECTORY=$D\\t.txt\n", IDOK,
         "Cannot create directory '$D\\t.txt'. " + SystemText(ERROR_ALREADY_EXISTS), kAborted, {"FILE=$D\\t.txt"}},
        {"FILE=TEXT,$D\\t.txt\nREG=HKCU,Software\\VellmoraTests\\Volatile\\Sub,V,\"x\"\n", IDOK,
         "Cannot write registry entry 'HKCU\\Software\\VellmoraTests\\Volatile\\Sub'. " +
             SystemText(ERROR_CHILD_MUST_BE_VOLATILE),
         kAborted, {"FILE=$D\\t.txt"}},
    };
    // Only volatile keys may be made under a volatile key.
    HKEY volatileKey = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_READ,
                    nullptr, &volatileKey, nullptr);
    RegCloseKey(volatileKey);
    for (const auto& c : cases) {
        std::string installer = Build(c.body);
        CreateDirectoryA(Path("taken").c_str(), nullptr);
        CInstallerRun run;
        // A retry finds the folders made in the meantime.
        run.Answer("Error", c.answer ? c.answer : IDCANCEL, [this](HWND) {
            CreateDirectoryA(Path("sub").c_str(), nullptr);
            CreateDirectoryA(Path("sub\\deeper").c_str(), nullptr);
        });
        ASSERT_EQ(0, run.Run(installer));
        EXPECT_EQ(c.closing, run.ClosingText()) << c.body;
        std::vector<std::string> questions;
        if (!c.question.empty())
            questions.push_back(Expanded(c.question, m_destination));
        EXPECT_EQ(questions, run.Texts("Error")) << c.body;
        EXPECT_EQ(c.logged, Logged()) << c.body;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Path("x.exe").c_str()));
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Run");
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Volatile");
}

// The Cancel question waits for the worker to pause between two blocks or
// two files; nothing changes while it is open. No goes on where it stopped,
// Yes stops at the next file with everything done in the log.
TEST_F(InstallRun, CancelInTheMiddleOfALargeCopy)
{
    const int kFiles = 64;
    const size_t kSize = 3 << 20;
    std::string body;
    for (int i = 0; i < kFiles; i++)
        body += "FILE=LARGE,$D\\" + std::to_string(i) + ".bin\n";
    auto sizes = [this] {
        std::vector<size_t> sizes;
        for (int i = 0; i < kFiles; i++)
            sizes.push_back(ReadWholeFile(Path(std::to_string(i) + ".bin")).size());
        return sizes;
    };
    for (int answer : {IDNO, IDYES}) {
        std::string installer = Build(body.c_str(), {{"LARGE", std::string(kSize, 'L')}});
        bool still = false;
        CInstallerRun run;
        run.OnProgress([](HWND dialog) {
            PumpUntil([dialog] { return !ControlText(dialog, 1018).empty(); }, 20000);
            PressButton(dialog, 1001);
        });
        run.Answer("Exit Setup", answer, [&](HWND) {
            std::vector<size_t> before = sizes();
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
            std::string name = std::to_string(i) + ".bin";
            if (GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES) {
                present.push_back("FILE=$D\\" + name);
                EXPECT_EQ(kSize, ReadWholeFile(Path(name)).size()) << name;
            }
        }
        // A file the stop came in the middle of is logged but was deleted.
        std::vector<std::string> logged = Logged();
        EXPECT_LE(logged.size(), present.size() + 1);
        logged.resize(std::min(logged.size(), present.size()));
        EXPECT_EQ(present, logged);
        EXPECT_EQ(answer == IDNO, present.size() == (size_t)kFiles);
        EXPECT_EQ(answer == IDNO ? kComplete : kAborted, run.ClosingText());
    }
}

// Components that are off count nothing; conditions count in full whether
// they hold or not, and one that does not hold takes a single step.
TEST_F(InstallSteps, WalksVisitMainThenComponentsThenConditionsAndNeverStepPastTheCount)
{
    std::string text = Expanded("[MAIN]\nFILE=README.TXT,$D\\main.txt\nSELECTION=ON\nSELECTION=OFF\n"
                                "IF NOPE==TRUE,SKIPPED\nIF DESTINATIONPATH!=,HELD\nREG=HKCU,Software\\VellmoraTests\\Walk\n"
                                "ICON=$D\\main.lnk,$D\\main.txt\nICON=$D\\missing\\x.lnk,$D\\main.txt\nRUN=$D\\mark.bat\n"
                                "[ON]\nFILE=README.TXT,$D\\on.txt\nIF NOPE==TRUE,SKIPPED\n"
                                "[OFF]\nFILE=README.TXT,$D\\off.txt\nREG=HKCU,Software\\VellmoraTests\\WalkOff\n"
                                "[SKIPPED]\nFILE=README.TXT,$D\\s1.txt\nFILE=README.TXT,$D\\s2.txt\n"
                                "FILE=README.TXT,$D\\s3.txt\nRUN=$D\\never.bat\n"
                                "[HELD]\nFILE=README.TXT,$D\\held.txt\nREG=HKCU,Software\\VellmoraTests\\WalkHeld\n",
                                m_destination);
    ASSERT_EQ(1, ReadScript(text.data(), text.size(), m_script, nullptr, nullptr));
    m_script.SetComponentState(*m_script.m_components.GetHead()->m_next, kStateOff);
    m_script.m_programGroup = m_destination;
    // [MAIN] 1 file, 1 shortcut list, 1 registry list; ON 1 file and the
    // 3 of its condition; [MAIN]'s conditions 3, and 1 file and 1 list.
    EXPECT_EQ(12u, m_script.CountInstallSteps());
    std::ofstream(m_destination + "\\mark.bat") << "echo ran> \"" << m_destination << "\\ran.txt\"\r\n";

    ASSERT_EQ(1, WalkFiles(m_script));
    EXPECT_EQ(5, m_progress.m_steps) << "three files and the two conditions that do not hold";
    ASSERT_EQ(1, WalkRegistry(m_script));
    CoInitialize(nullptr);
    ASSERT_EQ(1, WalkShortcuts(m_script));
    CoUninitialize();
    ASSERT_EQ(1, WalkPrograms(m_script));
    EXPECT_EQ(8, m_progress.m_steps);
    EXPECT_EQ(Expanded("FILE=$D\\main.txt\nFILE=$D\\on.txt\nFILE=$D\\held.txt\nREG=HKCU,Software\\VellmoraTests\\Walk\n"
                       "REG=HKCU,Software\\VellmoraTests\\WalkHeld\nICON=$D\\main.lnk\nICON=$D\\missing\\x.lnk\n",
                       m_destination),
              Logged()) << "a shortcut whose folder is missing is logged all the same";
    for (const char* name : {"main.lnk", "s1.txt", "off.txt"})
        EXPECT_EQ(name[0] == 'm', GetFileAttributesA((m_destination + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(PumpUntil([this] { return GetFileAttributesA((m_destination + "\\ran.txt").c_str()) != INVALID_FILE_ATTRIBUTES; },
                          20000))
        << "the program to run was started";
}

TEST_F(InstallSteps, RegistryEntriesByMode)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VellmoraTests\\Reg", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "Kept", 0, REG_SZ, (const BYTE*)"old", 4);
    RegSetValueExA(key, "Gone", 0, REG_SZ, (const BYTE*)"old", 4);
    struct Case {
        const char* line;  // behind "HKCU,Software\VellmoraTests\Reg"
        const char* value;
        DWORD type;  // 0: absent afterwards
        std::string data;
    } cases[] = {
        {"", "", 0, ""},
        {"\\KeyOnly", "", 0, ""},
        {",Path,\"%d\\\\x\"", "Path", REG_SZ, "$D\\x"},
        {",Count,dword:1F", "Count", REG_DWORD, std::string("\x1f\0\0\0", 4)},
        {",Kept,\"new\",nochange", "Kept", REG_SZ, "old"},
        {",Fresh,\"new\",nochange", "Fresh", REG_SZ, "new"},
        {",Gone,\"x\",delete", "Gone", 0, ""},
        {",,\"Book\"", "", REG_SZ, "Book"},
        {"\\Missing,Gone,\"x\",delete", "Gone", 0, ""},
        {"\\New\\Deeper,Deep,\"x\"", "Deep", 0, ""},
    };
    for (const Case& c : cases) {
        CRegItem item;
        ParseRegLine(std::string("HKCU,Software\\VellmoraTests\\Reg") + c.line, item);
        EXPECT_EQ(1, m_script.ApplyRegItem(item));
        BYTE data[64] = {};
        DWORD type = 0, size = sizeof data;
        if (RegQueryValueExA(key, c.value, nullptr, &type, data, &size) != ERROR_SUCCESS)
            type = size = 0;
        EXPECT_EQ(c.type, type) << c.line;
        EXPECT_EQ(Expanded(c.data, m_destination), std::string((char*)data, type == REG_SZ ? size - 1 : size)) << c.line;
    }
    HKEY missing = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(key, "Missing", 0, KEY_READ, &missing)) << "a delete creates no key";
    RegCloseKey(key);
    EXPECT_EQ(Expanded("$R\\KeyOnly\n$R,\"Path\"\n$R,\"Count\"\n$R,\"Fresh\"\n$R,\"\"\n"
                       "$R\\New\n$R\\New\\Deeper\n$R\\New\\Deeper,\"Deep\"\n",
                       "REG=HKCU,Software\\VellmoraTests\\Reg", "$R"),
              Logged()) << "values kept or deleted are not logged; every level made for a value is, once";
}

// An installer runs elevated; what it starts at the end runs as the user:
// the desktop's shell starts it, not the installer. (Under Wine every
// process is elevated, so the token itself cannot show the difference.)
TEST_F(InstallRun, ProgramsAtTheEndAreStartedByTheShell)
{
    std::string installer = Build("FILE=PROBE,$D\\probe.exe\nRUN=$D\\probe.exe\n",
                                  {{"PROBE", ReadWholeFile(TestBinaryDirectory() + "ParentProbe.exe")}});
    CInstallerRun run;
    ASSERT_EQ(0, run.Run(installer));
    EXPECT_EQ(kComplete, run.ClosingText());
    ASSERT_TRUE(PumpUntil([this] { return !ReadWholeFile(Path("parent.txt")).empty(); }, 20000));
    EXPECT_STRCASEEQ("explorer.exe", ReadWholeFile(Path("parent.txt")).c_str());
}

namespace {

// The names of the libraries in a program file's import table.
std::vector<std::string> ImportedLibraries(const std::string& path)
{
    std::string file = ReadWholeFile(path);
    auto at = [&file](size_t offset, size_t size) { return offset + size <= file.size() ? &file[offset] : nullptr; };
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)at(0, sizeof(IMAGE_DOS_HEADER));
    const IMAGE_NT_HEADERS* nt = dos ? (const IMAGE_NT_HEADERS*)at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS)) : nullptr;
    if (nt == nullptr)
        return {};
    auto offsetOf = [&](DWORD rva) -> size_t {
        const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
        for (int i = 0; i < nt->FileHeader.NumberOfSections; i++, section++)
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->SizeOfRawData)
                return rva - section->VirtualAddress + section->PointerToRawData;
        return file.size();
    };
    std::vector<std::string> names;
    size_t entry = offsetOf(nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; at(entry, sizeof(IMAGE_IMPORT_DESCRIPTOR)); entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        DWORD name = ((const IMAGE_IMPORT_DESCRIPTOR*)at(entry, 1))->Name;
        if (name == 0 || !at(offsetOf(name), 1))
            break;
        names.push_back(LowerAnsiText(at(offsetOf(name), 1)));
    }
    return names;
}

std::string Manifest(const std::string& path)
{
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = module ? FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : nullptr;
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    std::string text = loaded ? std::string((const char*)LockResource(loaded), SizeofResource(module, resource)) : "";
    FreeLibrary(module);
    return text;
}

} // namespace

// Windows raises a program only when its manifest asks; and an elevated
// program looks for any library that is not one of the system's known
// libraries first in its own folder, where a download may have put one.
TEST(ProgramImages, ManifestsAskForTheRightsAndElevatedProgramsImportOnlyKnownLibraries)
{
    const std::set<std::string> known = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
                                         "ole32.dll",    "oleaut32.dll", "comdlg32.dll", "msvcrt.dll", "shlwapi.dll"};
    const struct {
        const char* program;
        const char* level;
    } programs[] = {{"Install.exe", "requireAdministrator"}, {"Remove.exe", "requireAdministrator"},
                    {"SWEEPER.exe", "requireAdministrator"}, {"Vellmora.exe", "asInvoker"}};
    for (const auto& p : programs) {
        std::string path = TestBinaryDirectory() + p.program, manifest = Manifest(path);
        EXPECT_NE(std::string::npos, manifest.find("requestedExecutionLevel level=\"" + std::string(p.level) + "\""))
            << p.program << "\n" << manifest;
        // Windows 10 and 11.
        EXPECT_NE(std::string::npos, manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")) << p.program;
        EXPECT_EQ(std::string::npos, manifest.find("Common-Controls")) << p.program << ": the look stays";
        if (strcmp(p.level, "asInvoker") == 0)
            continue;
        std::vector<std::string> imports = ImportedLibraries(path);
        EXPECT_FALSE(imports.empty()) << p.program;
        for (const std::string& library : imports)
            EXPECT_TRUE(known.count(library)) << p.program << " imports " << library;
    }
}
