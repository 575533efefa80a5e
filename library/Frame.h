// Top-level frames, the MDI frame with its client, and MDI children.
#pragma once

#include "Window.h"

class CFrameWindow : public CWindow {
public:
    CFrameWindow() : m_accelerators(nullptr), m_menu(nullptr) {}
    ~CFrameWindow() override;

    LRESULT OnCreate(CREATESTRUCTA* create) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual int OnCreateHook(CREATESTRUCTA* create);
    virtual int Show(int showCommand);

    int LoadAccelerators(const char* tableName);
    // Creates the window, shows it and runs the message loop until WM_QUIT.
    // A null rectangle lets the system choose position and size.
    int CreateAndRun(const char* className, const char* title, DWORD style, const RECT* rect, HWND parent,
                     const char* menuName, DWORD exStyle);
    // CreateAndRun without the message loop, for callers that run their own.
    int CreateFrame(const char* className, const char* title, DWORD style, const RECT* rect, HWND parent,
                    const char* menuName, DWORD exStyle);

    HACCEL GetAccelerators() const { return m_accelerators; }
    HMENU GetMenu() const { return m_menu; }

protected:
    HACCEL m_accelerators;
    HMENU m_menu;
};

class CMdiFrame : public CFrameWindow {
public:
    enum { kFirstChildId = 0xFF00, kClientId = 0xE900 };

    CMdiFrame() : m_client(nullptr) {}

    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    virtual int CreateClient(CREATESTRUCTA* create, HMENU windowMenu);
    virtual HMENU FindWindowMenu(HMENU menu);
    LRESULT OnMdiActivate(HWND activated, HWND deactivated) override;
    virtual HWND GetActiveView();
    virtual void SpareFrameHook();

    // The active child if it is visible, else null; the flag tells whether
    // it is maximized.
    HWND GetActiveChild(BOOL* maximized = nullptr) const;
    HWND GetClient() const { return m_client; }

protected:
    HWND m_client;
};

class CMdiChild : public CFrameWindow {
public:
    CMdiChild() : m_frame(nullptr) {}

    int Destroy() override;
    LRESULT OnDestroy() override;
    LRESULT OnMouseActivate(HWND topLevel, UINT hitTest, UINT mouseMessage) override;
    LRESULT OnWindowPosChanging(WINDOWPOS* position) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    int Show(int showCommand) override;
    virtual int Create(const char* className, const char* title, DWORD style, const RECT* rect, CMdiFrame* frame);
    virtual void SpareChildHook();
    LRESULT OnMdiActivate(HWND activated, HWND deactivated) override;

    // Keeps the client's sunken edge right while a maximized child is shown.
    int UpdateClientEdge(RECT* clientRect = nullptr);
    CMdiFrame* GetFrame() const { return m_frame; }

protected:
    using CFrameWindow::Create;
    CMdiFrame* m_frame;
};
