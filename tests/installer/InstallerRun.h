// Runs Install.exe as a process and answers its windows: the wizard is
// pressed through (Next, then Finish), message boxes are answered as the
// test asks or by default, and every box seen is recorded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct CCarriedFile {
    std::string name;
    std::string bytes;
};

// A copy of the built Install.exe under a scratch directory carrying the
// test's script (none when null) and files, each stamped with kTestStamp.
std::string BuildInstaller(const std::string& directory, const char* script,
                           const std::vector<CCarriedFile>& files);
// 2 January 2001, 03:04:05 local time, as a FILETIME.
extern const ULONGLONG kTestStamp;

struct CSeenBox {
    std::string caption;
    std::string text;
};

class CInstallerRun {
public:
    typedef std::function<void(HWND window)> Action;

    // The next box with this caption gets the button, after the action ran.
    // Without an answer: "Setup" boxes get Yes, others No, else OK.
    CInstallerRun& Answer(const char* caption, int button, Action action = nullptr);
    // Runs once the progress dialog is on screen.
    CInstallerRun& OnProgress(Action action);
    // Starts the program and answers its windows until it ends; answers its
    // exit code, or -1 when it had to be killed.
    long Run(const std::string& program, DWORD timeoutMs = 90000);

    const std::vector<CSeenBox>& Seen() const { return m_seen; }
    // The texts of the boxes seen with this caption, in order.
    std::vector<std::string> Texts(const char* caption) const;
    // The text of the last box of caption "Install", the closing message.
    std::string ClosingText() const;

private:
    struct CAnswer {
        std::string caption;
        int button;
        Action action;
    };
    bool AnswerBox(HWND box);
    void PressWizard(HWND sheet);

    std::vector<CAnswer> m_answers;
    std::vector<CSeenBox> m_seen;
    Action m_onProgress;
    HWND m_lastPage = nullptr;
    int m_pressesOnPage = 0;
};

// The lines of a text file split at LF (a last empty line dropped).
std::vector<std::string> ReadLines(const std::string& path);
std::string ReadWholeFile(const std::string& path);
