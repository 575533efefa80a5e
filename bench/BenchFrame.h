// The viewer's frame for a benchmark, made with the program's own classes
// and menu. The settings the frame writes when it goes are removed again
// when there were none before, so a benchmark leaves the prefix as it was.
#pragma once

#include <windows.h>

#include "AppThread.h"
#include "Settings.h"
#include "ViewerApp.h"
#include "ViewerFrame.h"
#include "resource.h"

class CBenchFrame {
public:
    CBenchFrame()
    {
        HKEY existing;
        m_hadSettings = RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &existing) == ERROR_SUCCESS;
        if (m_hadSettings)
            RegCloseKey(existing);
    }
    CBenchFrame(const CBenchFrame&) = delete;
    CBenchFrame& operator=(const CBenchFrame&) = delete;
    ~CBenchFrame()
    {
        if (m_frame.GetHandle() != nullptr)
            DestroyWindow(m_frame.GetHandle());
        GetApp()->SetMainWindow(nullptr);
        if (!m_hadSettings) {
            RegDeleteKeyA(HKEY_CURRENT_USER, kToolbarSettingsKey);
            RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
        }
    }

    int Create()
    {
        if (!PrepareViewerClasses())
            return 0;
        GetApp()->SetMainWindow(&m_frame);
        return m_frame.CreateFrame(CViewerFrame::kClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, nullptr,
                                   MAKEINTRESOURCEA(IDM_FRAME), 0);
    }
    CViewerFrame& Get() { return m_frame; }

private:
    CViewerFrame m_frame;
    bool m_hadSettings;
};
