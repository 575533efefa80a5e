#include "TextView.h"

#include <stdlib.h>
#include <string.h>

#include <string>

#include "ViewBytes.h"
#include "ViewGdi.h"
#include "resource.h"

const char* const CTextView::kClassName = "VIEWERTEXT";

namespace {
// The text's units before its zero, as a zero-terminated ANSI text: the
// view's own bytes when they hold the zero, else a converted or terminated
// copy in buffer (free it with free()).
const char* AnsiText(const BYTE* bytes, UINT size, UINT codePage, char** buffer)
{
    size_t length = TextUnits(bytes, size, 1);
    if (codePage == CP_ACP && length < size)
        return (const char*)bytes;
    *buffer = (char*)malloc(length + 1);
    if (*buffer == nullptr)
        return nullptr;
    if (codePage == CP_OEMCP)
        OemToCharBuffA((const char*)bytes, *buffer, (DWORD)length);
    else
        memcpy(*buffer, bytes, length);
    (*buffer)[length] = 0;
    return *buffer;
}
} // namespace

TextEncoding TextEncodingOf(UINT format, const char* registeredName)
{
    if (IsRegisteredFormat(format)) {
        if (registeredName != nullptr && CompareNoCase(registeredName, "FileName") == 0)
            return kAnsiText;
        return registeredName != nullptr && CompareNoCase(registeredName, "FileNameW") == 0 ? kWideText : kNoText;
    }
    switch (format) {
    case CF_TEXT: return kAnsiText;
    case CF_OEMTEXT: return kOemText;
    case CF_UNICODETEXT: return kWideText;
    default: return kNoText;
    }
}

int CTextView::CreateViewWindow(CMdiFrame* frame)
{
    return Create(kClassName, "", 0x50CF0000, nullptr, frame);
}

int CTextView::OnCreateHook(CREATESTRUCTA* create)
{
    SetWindowIcons(m_hWnd, IDI_TEXT_VIEW);
    // The control comes with the data, the edit control or the large view:
    // an edit control made only to be destroyed again costs a large text's
    // view more than its drawing.
    return 1;
}

int CTextView::CreateEditControl()
{
    RECT empty = {0, 0, 0, 0};
    if (!m_edit.Create(kEditStyle, empty, m_hWnd, IDC_TEXT_EDIT))
        return 0;
    m_edit.Send(WM_SETFONT, (WPARAM)GetStockObject(ANSI_FIXED_FONT), TRUE);
    return 1;
}

LRESULT CTextView::OnSize(UINT type, UINT width, UINT height)
{
    LRESULT result = CFormatView::OnSize(type, width, height);
    SetWindowPos(GetTextControl(), nullptr, 0, 0, (int)width, (int)height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return result;
}

void CTextView::PlaceTextControl()
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    SetWindowPos(GetTextControl(), nullptr, 0, 0, client.right, client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CTextView::ShowLargeText(const BYTE* bytes, UINT size, TextEncoding encoding)
{
    int unitBytes = encoding == kWideText ? 2 : 1;
    if (size / unitBytes <= kLargeTextUnits)
        return 0;
    // The large view takes the edit control's font, ANSI_FIXED_FONT, from
    // its start.
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (m_large.GetHandle() == nullptr && !m_large.CreateView(m_hWnd, IDC_TEXT_EDIT, client))
        return 0;
    // The index pass finds the text's zero too; a text that ends early
    // goes back to the edit control.
    long long units = m_large.ShowText(bytes, size / unitBytes, unitBytes, encoding == kOemText ? CP_OEMCP : CP_ACP);
    if (units <= kLargeTextUnits) {
        m_large.Destroy();
        return 0;
    }
    ShowWindow(m_large.GetHandle(), SW_SHOWNA);
    if (m_edit.GetHandle() != nullptr) {
        int hadFocus = GetFocus() == m_edit.GetHandle();
        DestroyWindow(m_edit.GetHandle());
        m_edit.Attach(nullptr);
        if (hadFocus)
            SetFocus(m_large.GetHandle());
    }
    return 1;
}

int CTextView::UseEditControl()
{
    if (m_large.GetHandle() != nullptr)
        m_large.Destroy();
    if (m_edit.GetHandle() == nullptr) {
        if (!CreateEditControl())
            return 0;
        PlaceTextControl();
    }
    return 1;
}

void CTextView::OnDataChanged()
{
    if (!IsHidingPrivate()) {
        LoadEditControl();
        return;
    }
    if (!UseEditControl())
        return;
    CText notice;
    notice.LoadString(IDS_PRIVATE_NOTICE);
    m_edit.Send(WM_SETTEXT, 0, (LPARAM)notice.GetString());
}

void CTextView::LoadEditControl()
{
    CText name;
    GetRegisteredFormatName(m_format, name);
    TextEncoding encoding = TextEncodingOf(m_format, name.GetString());
    if (m_hWnd == nullptr || encoding == kNoText)
        return;
    // A size of 0 means no bytes of ours: a handle, or nothing at all.
    const BYTE* bytes = (const BYTE*)m_data;
    UINT size = m_size;
    if (size == 0)
        bytes = (const BYTE*)"";
    if (ShowLargeText(bytes, size, encoding))
        return;
    if (!UseEditControl())
        return;
    if (encoding == kWideText) {
        std::string converted;
        AppendWideAsAnsi(converted, bytes, TextUnits(bytes, size, 2));
        m_edit.Send(WM_SETTEXT, 0, (LPARAM)converted.c_str());
        return;
    }
    char* buffer = nullptr;
    const char* text = AnsiText(bytes, size, encoding == kOemText ? CP_OEMCP : CP_ACP, &buffer);
    m_edit.Send(WM_SETTEXT, 0, (LPARAM)(text ? text : ""));
    free(buffer);
}
