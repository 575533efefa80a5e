// The clipbook window: the MDI child that holds the clipbook, created with
// the frame and living until the program ends.
#pragma once

#include <windows.h>

#include "Frame.h"
#include "Utility.h"

class CClipBookWindow : public CMdiChild {
public:
    static const char* const kClassName;
    enum { kCommandLineTimer = 1, kCommandLineDelay = 10 };

    CClipBookWindow();

    int CreateWindowIn(CMdiFrame* frame);

    LRESULT OnCreate(CREATESTRUCTA* create) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnClose() override;

    // The page commands of the Edit menu.
    int CopyPage();
    int CutPage();
    int PasteClipboard();
    // The File menu's file commands, and the opens of files named on the
    // command line or dropped on the frame.
    int OpenClippageWithOptions();
    int SaveClippageWithChoice();
    int OpenClipbook();
    int SaveClipbook();
    int OpenClippageFileByPath(const char* path);
    int OpenClipbookFileByPath(const char* path);

    // Opens every clip file that the program's command line names.
    void ProcessCommandLine();

private:
    CMenuHandle m_popups;
};
