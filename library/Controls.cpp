#include "Controls.h"

#include "AppThread.h"
#include "SystemLibrary.h"
#include "Text.h"
#include "Window.h"

int CControl::CreateControl(DWORD exStyle, const char* className, DWORD style, const RECT& rect, HWND parent,
                            UINT id)
{
    m_hWnd = CreateWindowExA(exStyle, className, "", style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent, (HMENU)(UINT_PTR)id, GetAppInstance(), nullptr);
    return m_hWnd != nullptr;
}

int CControl::ModifyStyle(DWORD remove, DWORD add, UINT positionFlags)
{
    // The same rule as for window objects; the wrapper only lends its handle.
    CWindow window(m_hWnd);
    return window.ModifyStyle(remove, add, positionFlags);
}

int CEditControl::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(WS_EX_CLIENTEDGE, "EDIT", style, rect, parent, id);
}

int CStatusBar::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(0, STATUSCLASSNAMEA, style, rect, parent, id);
}

int CStatusBar::SetPartText(int part, const char* text, UINT type)
{
    return (int)Send(SB_SETTEXTA, (WPARAM)(part | type), (LPARAM)text);
}

int CReBar::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(0, REBARCLASSNAMEA, style, rect, parent, id);
}

int CToolBar::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    if (!CreateControl(0, TOOLBARCLASSNAMEA, style, rect, parent, id))
        return 0;
    Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return 1;
}

int CToolBar::CheckButton(UINT commandId, int checked)
{
    return (int)Send(TB_CHECKBUTTON, commandId, MAKELPARAM(checked != 0, 0));
}

int CToolBar::EnableButton(UINT commandId, int enabled)
{
    return (int)Send(TB_ENABLEBUTTON, commandId, MAKELPARAM(enabled != 0, 0));
}

int CTreeView::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(0, WC_TREEVIEWA, style, rect, parent, id);
}

HTREEITEM CTreeView::InsertItem(UINT mask, const char* text, int image, int selectedImage, UINT state,
                                UINT stateMask, LPARAM data, HTREEITEM parent, HTREEITEM insertAfter)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = mask;
    insert.item.pszText = (char*)text;
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.state = state;
    insert.item.stateMask = stateMask;
    insert.item.lParam = data;
    return (HTREEITEM)Send(TVM_INSERTITEMA, 0, (LPARAM)&insert);
}

HTREEITEM CTreeView::InsertTextItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                                    HTREEITEM insertAfter)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE, text, image, selectedImage, 0, 0, 0, parent, insertAfter);
}

int CTreeView::SetItemText(HTREEITEM item, const char* text)
{
    TVITEMA record = {};
    record.mask = TVIF_TEXT;
    record.hItem = item;
    record.pszText = (char*)text;
    return (int)Send(TVM_SETITEMA, 0, (LPARAM)&record);
}

LPARAM CTreeView::GetItemData(HTREEITEM item) const
{
    TVITEMA record = {};
    record.mask = TVIF_PARAM;
    record.hItem = item;
    if (!Send(TVM_GETITEMA, 0, (LPARAM)&record))
        return 0;
    return record.lParam;
}

HTREEITEM CTreeView::HitTest(POINT point, UINT* flags) const
{
    TVHITTESTINFO hit = {};
    hit.pt = point;
    HTREEITEM item = (HTREEITEM)Send(TVM_HITTEST, 0, (LPARAM)&hit);
    if (flags != nullptr)
        *flags = hit.flags;
    return item;
}

HIMAGELIST CTreeView::SetImageList(HIMAGELIST list, int kind)
{
    return (HIMAGELIST)Send(TVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)list);
}

int CTreeView::DeleteItem(HTREEITEM item) { return (int)Send(TVM_DELETEITEM, 0, (LPARAM)item); }

int CTreeView::Expand(HTREEITEM item, UINT action) { return (int)Send(TVM_EXPAND, action, (LPARAM)item); }

int CTreeView::SelectItem(HTREEITEM item) { return (int)Send(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item); }

HTREEITEM CTreeView::GetNextItem(HTREEITEM item, UINT relation) const
{
    return (HTREEITEM)Send(TVM_GETNEXTITEM, relation, (LPARAM)item);
}

int CTreeView::GetItemText(HTREEITEM item, CText& text) const
{
    char buffer[1024] = "";
    TVITEMA record = {};
    record.mask = TVIF_TEXT;
    record.hItem = item;
    record.pszText = buffer;
    record.cchTextMax = sizeof buffer;
    if (!Send(TVM_GETITEMA, 0, (LPARAM)&record))
        return -1;
    // The control may answer with a pointer of its own instead of filling
    // the buffer.
    text.Assign(record.pszText ? record.pszText : "");
    return text.GetLength();
}

int CComboBoxEx::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateControl(0, WC_COMBOBOXEXA, style, rect, parent, id);
}

HWND CComboBoxEx::GetComboControl() const { return (HWND)Send(CBEM_GETCOMBOCONTROL); }

HIMAGELIST CComboBoxEx::SetImageList(HIMAGELIST list)
{
    return (HIMAGELIST)Send(CBEM_SETIMAGELIST, 0, (LPARAM)list);
}

int CComboBoxEx::InsertItem(int index, const char* text, int image, int selectedImage, LPARAM data)
{
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
    item.iItem = index;
    item.pszText = (char*)text;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    item.lParam = data;
    return (int)Send(CBEM_INSERTITEMA, 0, (LPARAM)&item);
}

int CComboBoxEx::SetItem(int index, const char* text, int image, int selectedImage)
{
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | (text != nullptr ? CBEIF_TEXT : 0);
    item.iItem = index;
    item.pszText = (char*)text;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    return Send(CBEM_SETITEMA, 0, (LPARAM)&item) != 0;
}

int CListBox::GetText(int index, CText& text) const
{
    int length = (int)Send(LB_GETTEXTLEN, (WPARAM)index);
    if (length < 0) {
        text.Empty();
        return LB_ERR;
    }
    char* buffer = text.GetBuffer(length + 2, 0);
    if (buffer == nullptr)
        return LB_ERR;
    buffer[0] = 0;
    int copied = (int)Send(LB_GETTEXT, (WPARAM)index, (LPARAM)buffer);
    buffer[copied < 0 ? 0 : copied] = 0;
    text.ReleaseBuffer(-1);
    return copied;
}

int CScrollBarInfo::Read(UINT mask, SCROLLINFO& info) const
{
    info = SCROLLINFO();
    info.cbSize = sizeof info;
    info.fMask = mask;
    return GetScrollInfo(m_hWnd, m_bar, &info);
}

int CScrollBarInfo::GetPos() const
{
    SCROLLINFO info;
    return Read(SIF_POS, info) ? info.nPos : 0;
}

int CScrollBarInfo::GetMax() const
{
    SCROLLINFO info;
    return Read(SIF_RANGE, info) ? info.nMax : 0;
}

int CScrollBarInfo::SetPos(int position, BOOL redraw) { return SetInfo(0, 0, 0, position, SIF_POS, redraw); }

int CScrollBarInfo::SetInfo(int minimum, int maximum, UINT page, int position, UINT mask, BOOL redraw)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.nMin = minimum;
    info.nMax = maximum;
    info.nPage = page;
    info.nPos = position;
    return SetScrollInfo(m_hWnd, m_bar, &info, redraw);
}

int CImageList::Load(UINT bitmapId, int imageWidth, int growCount, COLORREF mask)
{
    Destroy();
    auto load = SystemFunction<decltype(&ImageList_LoadImageA)>("comctl32.dll", "ImageList_LoadImageA");
    if (load == nullptr)
        return 0;
    m_list = load(GetModuleInstance(), MAKEINTRESOURCEA(bitmapId), imageWidth, growCount, mask, IMAGE_BITMAP, 0);
    return m_list != nullptr;
}

int CImageList::Destroy()
{
    if (m_list == nullptr)
        return 1;
    auto destroy = SystemFunction<decltype(&ImageList_Destroy)>("comctl32.dll", "ImageList_Destroy");
    if (destroy == nullptr || !destroy(m_list))
        return 0;
    m_list = nullptr;
    return 1;
}
