// Value wrappers around child controls: they hold a handle and nothing
// else; the parent window handles the controls' notifications.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CText;

class CControl {
public:
    CControl() : m_hWnd(nullptr) {}
    explicit CControl(HWND control) : m_hWnd(control) {}

    HWND GetHandle() const { return m_hWnd; }
    void Attach(HWND control) { m_hWnd = control; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(m_hWnd, message, wParam, lParam);
    }
    int ModifyStyle(DWORD remove, DWORD add, UINT positionFlags);

protected:
    // The common creation step of every wrapper: 1 when a window came back.
    int CreateControl(DWORD exStyle, const char* className, DWORD style, const RECT& rect, HWND parent, UINT id);

    HWND m_hWnd;
};

class CEditControl : public CControl {
public:
    int Create(DWORD style, const RECT& rect, HWND parent, UINT id);
};

class CStatusBar : public CControl {
public:
    int Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    // SB_SETTEXT; type is a drawing style such as SBT_NOBORDERS.
    int SetPartText(int part, const char* text, UINT type = 0);
};

class CReBar : public CControl {
public:
    int Create(DWORD style, const RECT& rect, HWND parent, UINT id);
};

class CToolBar : public CControl {
public:
    // Tells the new toolbar the size of the button records of this build.
    int Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    int CheckButton(UINT commandId, int checked);
    int EnableButton(UINT commandId, int enabled);
};

class CTreeView : public CControl {
public:
    int Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    HTREEITEM InsertItem(UINT mask, const char* text, int image, int selectedImage, UINT state, UINT stateMask,
                         LPARAM data, HTREEITEM parent, HTREEITEM insertAfter);
    // Text and image; the selected image is recorded but not in the mask.
    HTREEITEM InsertTextItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                             HTREEITEM insertAfter);
    int SetItemText(HTREEITEM item, const char* text);
    LPARAM GetItemData(HTREEITEM item) const;
    // The item under a client point, or null; flags may be null.
    HTREEITEM HitTest(POINT point, UINT* flags) const;

    HIMAGELIST SetImageList(HIMAGELIST list, int kind = TVSIL_NORMAL);
    int DeleteItem(HTREEITEM item);
    int Expand(HTREEITEM item, UINT action = TVE_EXPAND);
    int SelectItem(HTREEITEM item);
    HTREEITEM GetNextItem(HTREEITEM item, UINT relation) const;
    HTREEITEM GetSelection() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetRoot() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSibling(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    // Reads an item's text into the object; returns its length, -1 when the
    // item cannot be read.
    int GetItemText(HTREEITEM item, CText& text) const;
};

class CComboBoxEx : public CControl {
public:
    int Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    // The combo box inside, for the CB_ messages.
    HWND GetComboControl() const;
    HIMAGELIST SetImageList(HIMAGELIST list);
    // Appends (index -1) or inserts an item with text, images and data;
    // returns its index, -1 on failure.
    int InsertItem(int index, const char* text, int image, int selectedImage, LPARAM data);
    // Changes an item's images, and its text unless text is null.
    int SetItem(int index, const char* text, int image, int selectedImage);
};

// A list box of a dialog; it is attached, never created.
class CListBox : public CControl {
public:
    CListBox() {}
    explicit CListBox(HWND listBox) : CControl(listBox) {}
    // Returns the text length, or LB_ERR (-1) for an index out of range.
    int GetText(int index, CText& text) const;
};

// One scroll bar of a window (SB_HORZ or SB_VERT) or a scroll-bar control
// (SB_CTL).
class CScrollBarInfo {
public:
    CScrollBarInfo() : m_hWnd(nullptr), m_bar(SB_VERT) {}
    CScrollBarInfo(HWND window, int bar) : m_hWnd(window), m_bar(bar) {}

    void Attach(HWND window, int bar) { m_hWnd = window; m_bar = bar; }
    int GetPos() const;
    int SetPos(int position, BOOL redraw);
    int SetInfo(int minimum, int maximum, UINT page, int position, UINT mask, BOOL redraw);
    int GetMax() const;
    HWND GetHandle() const { return m_hWnd; }
    int GetBar() const { return m_bar; }

private:
    int Read(UINT mask, SCROLLINFO& info) const;

    HWND m_hWnd;
    int m_bar;
};

// Owns one image list.
class CImageList {
public:
    CImageList() : m_list(nullptr) {}
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { Destroy(); }

    // Frees a list held, then loads a bitmap resource of the module.
    int Load(UINT bitmapId, int imageWidth, int growCount, COLORREF mask);
    int Destroy();
    HIMAGELIST GetHandle() const { return m_list; }

private:
    HIMAGELIST m_list;
};
