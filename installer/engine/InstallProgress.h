// Where the installation steps report on the worker thread: the progress
// dialog, or a quiet stand-in when there is none. Its pause points are where
// the worker waits while the user decides whether to cancel.
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
    // The owner of the steps' message boxes.
    virtual HWND GetOwner() = 0;
    // Before each item: waits while the installation is paused; 0 when the
    // installation is to stop here.
    virtual int AtItemBoundary() = 0;
    // Inside an item (between blocks of a file, before a question): waits
    // while the installation is paused, and then goes on with the item.
    virtual void AtPausePoint() = 0;
};

// Reports nowhere and never pauses.
class CQuietProgress : public CInstallProgress {
public:
    void SetRange(uint32_t) override {}
    void Step() override {}
    void SetStepText(const char*) override {}
    void SetItemText(const char*) override {}
    HWND GetOwner() override { return nullptr; }
    int AtItemBoundary() override { return 1; }
    void AtPausePoint() override {}
};
