// The base of the four format views: one clipboard format, or one format copy
// of a clipbook page, shown in an MDI child window in one view kind.
#pragma once

#include <windows.h>

#include "ClipFormat.h"
#include "Frame.h"
#include "SharedBytes.h"
#include "Text.h"
#include "Utility.h"

class CClipPage;
class CFormatView;

// The view kinds are the command ids of the Display menu.
enum ViewKind : UINT {
    kViewAuto = 40019,
    kViewText = 40020,
    kViewBinary = 40021,
    kViewPicture = 40022,
    kViewInfo = 40023,
};

typedef COwnedList<CFormatView> CFormatViewList;
typedef CFormatViewList::Node CFormatViewEntry;

// Registered formats (0xC000 and above) are told apart by their names; the
// name-taking forms decide from a name already read, the others read it.
int GetRegisteredFormatName(UINT format, CText& name);
int CanShowAsText(UINT format, const char* registeredName);
int CanShowAsBinary(UINT format, const char* registeredName);
int CanShowAsPicture(UINT format, const char* registeredName);
int CanShowAsInfo(UINT format, const char* registeredName);
int CanShowAsText(UINT format);
int CanShowAsBinary(UINT format);
int CanShowAsPicture(UINT format);
int CanShowAsInfo(UINT format);
int CanShowAs(UINT kind, UINT format);
// The kind Auto stands for; a page view differs for "FileNameW".
UINT ResolveAutoKind(UINT format, const char* registeredName, int forPage);
UINT ResolveAutoKind(UINT format, int forPage);

const char* ViewTitleSuffix(UINT kind, UINT format);
// "<name><suffix>" and, for a page view, " in <page>".
void ComposeViewTitle(CText& title, const char* formatName, UINT kind, UINT format, const char* pageName);

// Loads an icon resource at 16 and 32 pixels as a window's small and big
// icon.
void SetWindowIcons(HWND window, UINT iconId);

// Where a scroll message moves a position: by the line or page step, to the
// thumb, to either end; clamped to 0..maximum. End-scroll keeps it.
int NextScrollPosition(UINT code, int position, int lineStep, int pageStep, int maximum, int thumb);

class CFormatView : public CMdiChild {
public:
    CFormatView(UINT format, UINT kind);
    ~CFormatView() override;

    // Takes a page's format copy: memory blocks are copied, handles are
    // kept as they are (the page owns them).
    virtual int SetData(const void* data, UINT size);
    virtual int ReloadFromClipboard();
    // Shows bytes that the frame read from the clipboard once for all the
    // live views of the format; the view holds them while it shows them.
    int ShowClipboardBytes(CSharedBytes* bytes);
    // Lets go of the data and shows the notice of hidden private content.
    void HidePrivate();
    virtual void UpdateTitle();
    virtual int CreateViewWindow(CMdiFrame* frame);
    // A view opened while the active child is maximised opens maximised, as
    // the others show; otherwise showing it would restore them.
    int Create(const char* className, const char* title, DWORD style, const RECT* rect, CMdiFrame* frame) override;

    LRESULT OnCreate(CREATESTRUCTA* create) override;
    LRESULT OnClose() override;
    LRESULT OnDestroy() override;
    LRESULT OnNcDestroy() override;
    LRESULT OnMenuSelect(UINT item, UINT flags, HMENU menu) override;

    UINT GetFormat() const { return m_format; }
    UINT GetKind() const { return m_kind; }
    CFormatViewEntry* GetListEntry() const { return m_listEntry; }
    void SetListEntry(CFormatViewEntry* entry) { m_listEntry = entry; }
    const CClipPage* GetPage() const { return m_page; }
    void SetPage(const CClipPage* page, const char* pageName);
    const void* GetData() const { return m_data; }
    UINT GetSize() const { return m_size; }
    // Whether the next reload may show content marked private; a view that
    // may not keeps no copy and shows a notice instead.
    void SetShowPrivate(int show) { m_showPrivate = show; }
    int IsHidingPrivate() const { return m_hidingPrivate; }

    // Private copies made for the views of this process, so the number of
    // copies made per clipboard change can be checked; views that share a
    // copy count it once.
    static unsigned long GetCopyCount();
    // Copies a memory format of the open clipboard; null for a format whose
    // data is a handle or that the clipboard does not hold (then *handle
    // tells which), or when memory ran out.
    static CSharedBytes* CopyClipboardBytes(UINT format, HANDLE* handle);

protected:
    // What a kind does after its data changed; the drawn views repaint all.
    virtual void OnDataChanged();
    void ReleaseCopy();
    int TakeCopy(const void* data, UINT size);
    void HoldCopy(CSharedBytes* bytes);
    // The shared scrolling model of the drawn views: fits a bar's range to
    // content and client extents (hiding the bar when the content fits), and
    // applies a scroll message to a bar, answering the position it took.
    void FitScrollRange(int bar, int contentExtent, int clientExtent, int pageValue);
    int ApplyScroll(int bar, UINT code, int lineStep, int pageStep);
    // The one-line notice a drawn view paints in place of hidden content.
    LRESULT PaintPrivateNotice();

    UINT m_format;
    UINT m_kind;
    CFormatViewEntry* m_listEntry;
    const CClipPage* m_page;
    void* m_data;
    UINT m_size;
    // The private copy behind data while size is above 0, maybe shared.
    CSharedBytes* m_copy;
    CText m_pageName;
    int m_showPrivate;
    int m_hidingPrivate;
};

// The view object of a kind (not Auto); null for anything else.
CFormatView* CreateFormatView(UINT format, UINT kind);
