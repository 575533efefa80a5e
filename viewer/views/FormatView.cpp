#include "FormatView.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <new>
#include <utility>

#include "AppThread.h"
#include "BinaryView.h"
#include "Drawing.h"
#include "FormatFamily.h"
#include "InfoView.h"
#include "PictureView.h"
#include "PrivateContent.h"
#include "TextView.h"
#include "resource.h"

namespace {
unsigned long g_copyCount = 0;
} // namespace

int GetRegisteredFormatName(UINT format, CText& name)
{
    char buffer[kFormatNameCapacity] = "";
    int length = IsRegisteredFormat(format) ? ReadRegisteredFormatName(format, buffer) : 0;
    name = buffer;
    return length;
}

int CanShowAsText(UINT format, const char* registeredName)
{
    if (IsRegisteredFormat(format)) {
        switch (FamilyOfRegisteredName(registeredName)) {
        case kFamilyFileName: case kFamilyFileNameW: case kFamilyHtml: case kFamilyRtf: case kFamilyUrl:
        case kFamilyUrlW: case kFamilyMimeText:
            return 1;
        default:
            return 0;
        }
    }
    return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT;
}

int CanShowAsBinary(UINT format, const char* registeredName)
{
    return format != CF_BITMAP && format != CF_PALETTE;
}

int CanShowAsPicture(UINT format, const char* registeredName)
{
    if (IsRegisteredFormat(format))
        return FamilyOfRegisteredName(registeredName) == kFamilyImage;
    return format == CF_BITMAP || format == CF_METAFILEPICT || format == CF_DIB || format == CF_PALETTE ||
           format == CF_ENHMETAFILE || format == CF_DIBV5;
}

int CanShowAsInfo(UINT format, const char* registeredName)
{
    if (IsRegisteredFormat(format)) {
        switch (FamilyOfRegisteredName(registeredName)) {
        case kFamilyShellIdList: case kFamilyHtml: case kFamilyImage: case kFamilyFileGroup:
        case kFamilyFileGroupW:
            return 1;
        default:
            return 0;
        }
    }
    switch (format) {
    case CF_TEXT: case CF_BITMAP: case CF_METAFILEPICT: case CF_OEMTEXT: case CF_DIB: case CF_PALETTE:
    case CF_UNICODETEXT: case CF_ENHMETAFILE: case CF_HDROP: case CF_LOCALE: case CF_DIBV5:
        return 1;
    default:
        return 0;
    }
}

int CanShowAsText(UINT format)
{
    CText name;
    GetRegisteredFormatName(format, name);
    return CanShowAsText(format, name.GetString());
}

int CanShowAsBinary(UINT format) { return CanShowAsBinary(format, nullptr); }

int CanShowAsPicture(UINT format)
{
    CText name;
    GetRegisteredFormatName(format, name);
    return CanShowAsPicture(format, name.GetString());
}

int CanShowAsInfo(UINT format)
{
    CText name;
    GetRegisteredFormatName(format, name);
    return CanShowAsInfo(format, name.GetString());
}

int CanShowAs(UINT kind, UINT format)
{
    switch (kind) {
    case kViewText: return CanShowAsText(format);
    case kViewBinary: return CanShowAsBinary(format);
    case kViewPicture: return CanShowAsPicture(format);
    case kViewInfo: return CanShowAsInfo(format);
    default: return 0;
    }
}

UINT ResolveAutoKind(UINT format, const char* registeredName, int forPage)
{
    if (IsRegisteredFormat(format)) {
        switch (FamilyOfRegisteredName(registeredName)) {
        case kFamilyShellIdList: case kFamilyFileGroup: case kFamilyFileGroupW:
            return kViewInfo;
        case kFamilyFileName: case kFamilyHtml: case kFamilyRtf: case kFamilyUrl: case kFamilyUrlW:
        case kFamilyMimeText:
            return kViewText;
        // Only a live clipboard holds the wide file name in a form worth
        // reading as text; a page's copy shows its bytes.
        case kFamilyFileNameW:
            return forPage ? kViewBinary : kViewText;
        case kFamilyImage:
            return kViewPicture;
        default:
            return kViewBinary;
        }
    }
    switch (format) {
    case CF_TEXT: case CF_OEMTEXT: case CF_UNICODETEXT:
        return kViewText;
    case CF_BITMAP: case CF_METAFILEPICT: case CF_DIB: case CF_PALETTE: case CF_ENHMETAFILE: case CF_DIBV5:
        return kViewPicture;
    case CF_HDROP: case CF_LOCALE:
        return kViewInfo;
    default:
        return kViewBinary;
    }
}

UINT ResolveAutoKind(UINT format, int forPage)
{
    CText name;
    GetRegisteredFormatName(format, name);
    return ResolveAutoKind(format, name.GetString(), forPage);
}

const char* ViewTitleSuffix(UINT kind, UINT format)
{
    switch (kind) {
    case kViewText: return " (Text)";
    case kViewBinary: return " (Binary)";
    case kViewPicture: return " (Picture)";
    case kViewInfo:
        if (format == CF_BITMAP || format == CF_DIB || format == CF_DIBV5)
            return " (Bitmap Info)";
        if (format == CF_METAFILEPICT || format == CF_ENHMETAFILE)
            return " (Picture Info)";
        if (format == CF_LOCALE)
            return " (Locale Info)";
        return " (Information)";
    default: return "";
    }
}

void ComposeViewTitle(CText& title, const char* formatName, UINT kind, UINT format, const char* pageName)
{
    title = formatName;
    title.Append(ViewTitleSuffix(kind, format));
    if (pageName != nullptr) {
        title.Append(" in ");
        title.Append(pageName);
    }
}

void SetWindowIcons(HWND window, UINT iconId)
{
    // Windows do not own the icons they are given, so each pair is loaded
    // once and serves every window of the run, however many views open.
    static std::map<UINT, std::pair<HICON, HICON>> loaded;
    std::pair<HICON, HICON>& icons = loaded[iconId];
    if (icons.first == nullptr) {
        icons.first = (HICON)LoadImageResource(MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0);
        icons.second = (HICON)LoadImageResource(MAKEINTRESOURCEA(iconId), IMAGE_ICON, 32, 32, 0);
    }
    SendMessageA(window, WM_SETICON, ICON_SMALL, (LPARAM)icons.first);
    SendMessageA(window, WM_SETICON, ICON_BIG, (LPARAM)icons.second);
}

int NextScrollPosition(UINT code, int position, int lineStep, int pageStep, int maximum, int thumb)
{
    int next = position;
    switch (code) {
    case SB_LINEUP: next = position - lineStep; break;
    case SB_LINEDOWN: next = position + lineStep; break;
    case SB_PAGEUP: next = position - pageStep; break;
    case SB_PAGEDOWN: next = position + pageStep; break;
    case SB_THUMBPOSITION: case SB_THUMBTRACK: next = thumb; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = maximum; break;
    default: return position;
    }
    if (next > maximum)
        next = maximum;
    if (next < 0)
        next = 0;
    return next;
}

CFormatView::CFormatView(UINT format, UINT kind)
    : m_format(format), m_kind(kind), m_listEntry(nullptr), m_page(nullptr), m_data(nullptr), m_size(0),
      m_copy(nullptr), m_showPrivate(0), m_hidingPrivate(0)
{
}

CFormatView::~CFormatView() { ReleaseCopy(); }

unsigned long CFormatView::GetCopyCount() { return g_copyCount; }

void CFormatView::SetPage(const CClipPage* page, const char* pageName)
{
    m_page = page;
    m_pageName = pageName ? pageName : "";
}

void CFormatView::ReleaseCopy()
{
    if (m_copy != nullptr)
        m_copy->Release();
    m_copy = nullptr;
    m_data = nullptr;
    m_size = 0;
}

void CFormatView::HoldCopy(CSharedBytes* bytes)
{
    bytes->Hold();
    m_copy = bytes;
    m_data = (void*)bytes->GetBytes();
    m_size = (UINT)bytes->GetSize();
}

int CFormatView::TakeCopy(const void* data, UINT size)
{
    CSharedBytes* bytes = CSharedBytes::Copy(data, size);
    if (bytes == nullptr)
        return 0;
    g_copyCount++;
    HoldCopy(bytes);
    bytes->Release();
    return 1;
}

CSharedBytes* CFormatView::CopyClipboardBytes(UINT format, HANDLE* handle)
{
    *handle = GetClipboardData(format);
    UINT size = ClipboardHandleSize(format, *handle);
    if (size == 0)
        return nullptr;
    const void* block = GlobalLock(*handle);
    if (block == nullptr)
        return nullptr;
    CSharedBytes* bytes = CSharedBytes::Copy(block, size);
    GlobalUnlock(*handle);
    if (bytes != nullptr)
        g_copyCount++;
    return bytes;
}

int CFormatView::ShowClipboardBytes(CSharedBytes* bytes)
{
    ReleaseCopy();
    m_hidingPrivate = 0;
    HoldCopy(bytes);
    OnDataChanged();
    return 1;
}

void CFormatView::HidePrivate()
{
    ReleaseCopy();
    m_hidingPrivate = 1;
    OnDataChanged();
}

int CFormatView::SetData(const void* data, UINT size)
{
    ReleaseCopy();
    m_hidingPrivate = 0;
    int result = 1;
    if (size > 0 && data != nullptr)
        result = TakeCopy(data, size);
    else if (size == 0)
        m_data = (void*)data;
    OnDataChanged();
    return result;
}

int CFormatView::ReloadFromClipboard()
{
    // A clipboard that stays busy leaves the view showing what it had.
    if (!OpenClipboardPatiently(m_hWnd))
        return 0;
    ReleaseCopy();
    if (!m_showPrivate && OpenClipboardHoldsPrivateContent()) {
        CloseClipboard();
        HidePrivate();
        return 1;
    }
    m_hidingPrivate = 0;
    int result = 0;
    HANDLE handle = nullptr;
    CSharedBytes* bytes = CopyClipboardBytes(m_format, &handle);
    if (bytes != nullptr) {
        HoldCopy(bytes);
        bytes->Release();
        result = 1;
    } else if (ClipboardHandleSize(m_format, handle) == 0) {
        m_data = handle;
        result = handle != nullptr;
    }
    CloseClipboard();
    OnDataChanged();
    return result;
}

void CFormatView::UpdateTitle()
{
    CText name, title;
    LoadFormatName(m_format, name);
    ComposeViewTitle(title, name.GetString(), m_kind, m_format, m_page ? m_pageName.GetString() : nullptr);
    if (m_hWnd != nullptr)
        SetText(title.GetString());
}

int CFormatView::CreateViewWindow(CMdiFrame* frame) { return 0; }

int CFormatView::Create(const char* className, const char* title, DWORD style, const RECT* rect, CMdiFrame* frame)
{
    CMdiFrame* owner = frame ? frame : (CMdiFrame*)GetAppMainWindow();
    BOOL maximized = FALSE;
    if (owner != nullptr && (style & WS_VISIBLE) && owner->GetActiveChild(&maximized) != nullptr && maximized)
        style |= WS_MAXIMIZE;
    return CMdiChild::Create(className, title, style, rect, frame);
}

void CFormatView::OnDataChanged()
{
    if (m_hWnd != nullptr)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CFormatView::OnCreate(CREATESTRUCTA* create)
{
    UpdateTitle();
    return CMdiChild::OnCreate(create);
}

LRESULT CFormatView::OnClose()
{
    Destroy();
    return 0;
}

LRESULT CFormatView::OnDestroy()
{
    ReleaseCopy();
    return CMdiChild::OnDestroy();
}

LRESULT CFormatView::OnNcDestroy()
{
    LRESULT result = CMdiChild::OnNcDestroy();
    static const UINT destroyMessage = RegisterWindowMessageA("VLMDESTROY");
    if (m_frame != nullptr && IsWindow(m_frame->GetHandle()))
        PostMessageA(m_frame->GetHandle(), destroyMessage, 0, (LPARAM)m_listEntry);
    return result;
}

LRESULT CFormatView::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    LRESULT result = CMdiChild::OnMenuSelect(item, flags, menu);
    if (m_frame == nullptr)
        return result;
    HWND statusBar = GetDlgItem(m_frame->GetHandle(), IDC_STATUSBAR);
    char text[256] = "";
    if (menu != nullptr && item >= 60000)
        LoadStringResource(item, text, sizeof text);
    // A closing menu hands part 0 back to the frame's own line.
    if (menu == nullptr)
        SendMessageA(m_frame->GetHandle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    else
        SendMessageA(statusBar, SB_SETTEXTA, 0 | SBT_NOBORDERS, (LPARAM)text);
    return result;
}

LRESULT CFormatView::PaintPrivateNotice()
{
    CPaintDC dc(this);
    RECT client;
    GetClientRect(m_hWnd, &client);
    FitScrollRange(SB_HORZ, 0, client.right, 1);
    FitScrollRange(SB_VERT, 0, client.bottom, 1);
    HGDIOBJ oldFont = dc.SelectObject(GetStockObject(ANSI_FIXED_FONT));
    CText notice;
    notice.LoadString(IDS_PRIVATE_NOTICE);
    dc.DrawText(notice.GetString(), -1, &client, DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(oldFont);
    return 0;
}

void CFormatView::FitScrollRange(int bar, int contentExtent, int clientExtent, int pageValue)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    int overflow = contentExtent - clientExtent;
    if (overflow > 0) {
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMax = overflow;
        info.nPage = (UINT)pageValue;
    } else {
        info.fMask = SIF_ALL;
        info.nPage = 1;
    }
    SetScrollInfo(m_hWnd, bar, &info, TRUE);
}

int CFormatView::ApplyScroll(int bar, UINT code, int lineStep, int pageStep)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(m_hWnd, bar, &info);
    // The track position keeps all 32 bits, unlike the message's 16.
    int next = NextScrollPosition(code, info.nPos, lineStep, pageStep, info.nMax, info.nTrackPos);
    SetScrollPos(m_hWnd, bar, next, TRUE);
    // The bar keeps a position within maximum - page + 1; the view draws
    // from the position it kept.
    return GetScrollPos(m_hWnd, bar);
}

CFormatView* CreateFormatView(UINT format, UINT kind)
{
    switch (kind) {
    case kViewText: return new (std::nothrow) CTextView(format);
    case kViewBinary: return new (std::nothrow) CBinaryView(format);
    case kViewPicture: return new (std::nothrow) CPictureView(format);
    case kViewInfo: return new (std::nothrow) CInfoView(format);
    default: return nullptr;
    }
}
