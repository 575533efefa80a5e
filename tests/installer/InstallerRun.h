// Runs Install.exe as a process and answers its windows: the wizard is
// pressed through (Next, then Finish), message boxes are answered as the
// test asks or by default, and every box seen is recorded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A copy of the built Install.exe in the directory, carrying the test's
// script (none usable when null) and its files (name, bytes), each stamped with
// kTestStamp, 2 January 2001 03:04:05 local time.
std::string BuildInstaller(const std::string& directory, const char* script,
                           const std::vector<std::pair<std::string, std::string>>& files);
extern const ULONGLONG kTestStamp;

class CInstallerRun {
public:
    typedef std::function<void(HWND window)> Action;

    // The next box with this caption gets the button, after the action ran.
    // Without an answer: "Setup" boxes get Yes, others No, else OK.
    CInstallerRun& Answer(const char* caption, int button, Action action = nullptr)
    {
        m_answers.push_back({caption, button, action});
        return *this;
    }
    // Runs once the progress dialog is on screen.
    void OnProgress(Action action) { m_onProgress = action; }
    // Starts the program and answers its windows until it ends; its exit
    // code, or -1 when it had to be killed.
    long Run(const std::string& program, DWORD timeoutMs = 90000);

    // The texts of the boxes seen with this caption, in order.
    std::vector<std::string> Texts(const char* caption) const;
    // The last box of caption "Install": the closing message.
    std::string ClosingText() const
    {
        std::vector<std::string> closing = Texts("Install");
        return closing.empty() ? std::string() : closing.back();
    }

private:
    struct CAnswer {
        std::string caption;
        int button;
        Action action;
    };
    void AnswerBox(HWND box);
    void PressWizard(HWND sheet);

    std::vector<CAnswer> m_answers;
    std::vector<std::pair<std::string, std::string>> m_seen;
    Action m_onProgress;
    HWND m_lastPage = nullptr;
    int m_pressesOnPage = 0;
};

std::string ReadWholeFile(const std::string& path);
// The lines of a text file, split at LF.
std::vector<std::string> ReadLines(const std::string& path);
// The text with every mark replaced.
std::string Expanded(std::string text, const std::string& by, const std::string& mark = "$D");
// When the file was last written (or created), in local time.
ULONGLONG LocalFileTime(const std::string& path, bool created = false);
