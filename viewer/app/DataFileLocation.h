// Where the clipbook data file lives for a run: beside the program while the
// user can write that folder, else in the user's application data folder,
// where a standard user can always write.
#pragma once

#include "Text.h"

class CDataFileLocation {
public:
    // Decides once, from the program's folder and the user's application
    // data folder (each with its trailing backslash); creates the
    // application data folders when they are chosen. 0 when they cannot
    // be created; the book then stays beside the program.
    int Decide(const char* programFolder, const char* appDataFolder);
    // Decides for the running program and the current user.
    int DecideForProgram();

    // Where the book is written at exit.
    const char* GetPath() const { return m_path.GetString(); }
    // Where the book is read at the start: the data file, or the one beside
    // the program when the book moves to the application data folder.
    const char* GetStartPath() const { return m_startPath.GetString(); }

    // The folder part of the user's application data path for this program:
    // "%APPDATA%\Brennwick\Vellmora\".
    static int GetAppDataFolder(CText& folder);
    // A message about the data file, in front of every window and owned by
    // none, since it may come while the frame is going.
    static void ShowMessage(const CText& text);

private:
    static int CanCreateFileIn(const char* folder);

    CText m_path;
    CText m_startPath;
};
