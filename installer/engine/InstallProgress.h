// Where the installation steps report on the worker thread: the progress
// dialog, or a quiet stand-in when there is none. Its pause points are where
// the worker waits while the user decides whether to cancel. The steps reach
// the user only through it: the engine itself shows no window.
#pragma once

#include <windows.h>

#include <stdint.h>

class CInstallProgress {
public:
    virtual ~CInstallProgress() {}
    // Range 0 to steps, position 0.
    virtual void SetRange(uint32_t steps) = 0;
    // One step forward; never past the end of the range.
    virtual void Step() = 0;
    // The step's name (upper line) and the item being worked on (lower line).
    virtual void SetStepText(const char* text) = 0;
    virtual void SetItemText(const char* text) = 0;
    // A question or notice of the steps (MB_ button and icon flags); the
    // button the user pressed.
    virtual int Ask(const char* text, const char* caption, UINT type) = 0;
    // Opens a program or document for the user; nobody waits for it.
    virtual void Open(const char* command) = 0;
    // Before each item, between blocks of a file and before a question:
    // waits while the installation is paused; 0 when the installation is to
    // stop here.
    virtual int AtItemBoundary() = 0;
};

// Reports nowhere, never pauses, opens nothing, and answers every question
// as a user who wants nothing changed: No, Abort, or OK.
class CQuietProgress : public CInstallProgress {
public:
    void SetRange(uint32_t) override {}
    void Step() override {}
    void SetStepText(const char*) override {}
    void SetItemText(const char*) override {}
    int Ask(const char*, const char*, UINT type) override
    {
        UINT buttons = type & MB_TYPEMASK;
        if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
            return IDNO;
        return buttons == MB_ABORTRETRYIGNORE ? IDABORT : IDOK;
    }
    void Open(const char*) override {}
    int AtItemBoundary() override { return 1; }
};
