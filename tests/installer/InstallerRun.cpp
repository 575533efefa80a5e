#include "InstallerRun.h"

#include <commctrl.h>

#include <fstream>
#include <sstream>

#include "DialogDriver.h"
#include "ProcessRunner.h"
#include "TestApp.h"

const ULONGLONG kTestStamp = 126228782450000000ULL;

std::string BuildInstaller(const std::string& directory, const char* script,
                           const std::vector<std::pair<std::string, std::string>>& files)
{
    static int built = 0;
    std::string path = directory + "\\Install" + std::to_string(++built) + ".exe";
    if (!CopyFileA((TestBinaryDirectory() + "Install.exe").c_str(), path.c_str(), FALSE))
        return std::string();
    // The language of the build's resources, so that these replace them.
    const WORD language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
    // Wine keeps a resource that UpdateResource is asked to delete; a script
    // of one byte is refused as no script at all.
    UpdateResourceA(update, "INSTALL", "SETUP.INS", language, (void*)(script ? script : "-"),
                    script ? (DWORD)strlen(script) : 1);
    for (const auto& file : files) {
        UpdateResourceA(update, "FILES", file.first.c_str(), language, (void*)file.second.data(),
                        (DWORD)file.second.size());
        UpdateResourceA(update, "FILEINFO", file.first.c_str(), language, (void*)&kTestStamp, sizeof kTestStamp);
    }
    return EndUpdateResourceA(update, FALSE) ? path : std::string();
}

long CInstallerRun::Run(const std::string& program, DWORD timeoutMs)
{
    CChildProcess process;
    if (!process.Start(program))
        return -1;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process.GetProcess(), 20) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeoutMs) {
            process.Kill();
            return -1;
        }
        // A message box's text is its static control 0xFFFF; the wizard has
        // the Finish button 0x3025, the progress dialog the bar 1006.
        std::vector<HWND> dialogs = process.FindWindows("#32770");
        bool answered = false;
        for (HWND window : dialogs)
            if (GetDlgItem(window, 0xFFFF) != nullptr && GetDlgItem(window, 0x3025) == nullptr &&
                GetDlgItem(window, 1006) == nullptr)
                AnswerBox(window), answered = true;
        for (HWND window : dialogs) {
            if (!answered && GetDlgItem(window, 0x3025) != nullptr)
                PressWizard(window);
            if (GetDlgItem(window, 1019) != nullptr && m_onProgress) {
                Action action = m_onProgress;
                m_onProgress = nullptr;
                action(window);
            }
        }
    }
    return process.Wait(1000);
}

void CInstallerRun::AnswerBox(HWND box)
{
    m_seen.push_back({WindowText(box), MessageBoxText(box)});
    int button = GetDlgItem(box, IDNO) != nullptr ? IDNO : IDOK;
    if (m_seen.back().first == "Setup" && GetDlgItem(box, IDYES) != nullptr)
        button = IDYES;
    for (auto answer = m_answers.begin(); answer != m_answers.end(); ++answer) {
        if (answer->caption == m_seen.back().first) {
            if (answer->action)
                answer->action(box);
            button = answer->button;
            m_answers.erase(answer);
            break;
        }
    }
    PressButton(box, button);
    WaitUntilGone(box);
}

// Presses Finish when it is offered, else Next; a page that stays after a
// few presses (a destination the wizard refuses) cancels the wizard.
void CInstallerRun::PressWizard(HWND sheet)
{
    if (!IsWindowEnabled(sheet))
        return;
    Sleep(300);  // the buttons of a new page are set by a posted message
    HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    m_pressesOnPage = page == m_lastPage ? m_pressesOnPage + 1 : 1;
    m_lastPage = page;
    HWND finish = GetDlgItem(sheet, 0x3025);
    WPARAM button = finish != nullptr && IsWindowVisible(finish) && IsWindowEnabled(finish) ? PSBTN_FINISH : PSBTN_NEXT;
    if (m_pressesOnPage > 3) {
        m_answers.insert(m_answers.begin(), {"Exit Setup", IDYES, nullptr});
        button = PSBTN_CANCEL;
    }
    // The wizard's modal loop notices its end only when a message arrives.
    PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
    PostMessageA(sheet, WM_NULL, 0, 0);
}

std::vector<std::string> CInstallerRun::Texts(const char* caption) const
{
    std::vector<std::string> texts;
    for (const auto& box : m_seen)
        if (box.first == caption)
            texts.push_back(box.second);
    return texts;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::stringstream text(ReadWholeFile(path));
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

std::string Expanded(std::string text, const std::string& by, const std::string& mark)
{
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
        text.replace(at, mark.size(), by);
    return text;
}

ULONGLONG LocalFileTime(const std::string& path, bool created)
{
    FILETIME times[2] = {}, local = {};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, &times[0], nullptr, &times[1]);
    CloseHandle(file);
    FileTimeToLocalFileTime(&times[created ? 0 : 1], &local);
    return (ULONGLONG)local.dwHighDateTime << 32 | local.dwLowDateTime;
}
