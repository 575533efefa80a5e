// The application object of every test executable: the library's own entry
// path runs it, and its Start runs the tests.
#pragma once

#include <string>

#include "AppThread.h"

class CTestApp : public CWinApp {
public:
    CTestApp(int argc, char** argv) : CWinApp("VellmoraTests"), m_argc(argc), m_argv(argv), m_result(1) {}
    int Start() override;
    int Finish() override { return m_result; }

private:
    int m_argc;
    char** m_argv;
    int m_result;
};

// Directory of the running test executable, with a trailing backslash;
// test programs and fixtures are built beside it.
std::string TestBinaryDirectory();
// A fresh empty directory under the prefix's temporary directory.
std::string MakeScratchDirectory(const char* tag);
// Deletes a directory tree (files and subdirectories).
void RemoveTree(const std::string& path);
// Runs the messages of this thread for the given time.
void PumpMessages(DWORD milliseconds);
// Pumps messages until the condition holds or the time is over.
template <class Condition>
bool PumpUntil(Condition condition, DWORD milliseconds = 3000)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        PumpMessages(10);
    }
    return true;
}
