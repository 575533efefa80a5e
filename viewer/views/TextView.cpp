#include "TextView.h"

#include <stdlib.h>
#include <string.h>

#include <string>

#include "AppThread.h"
#include "FormatFamily.h"
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
        switch (FamilyOfRegisteredName(registeredName)) {
        case kFamilyFileName: return kAnsiText;
        case kFamilyFileNameW: return kWideText;
        case kFamilyHtml: case kFamilyRtf: case kFamilyUrl: case kFamilyUrlW: case kFamilyMimeText:
            return kDecodedText;
        default: return kNoText;
        }
    }
    switch (format) {
    case CF_TEXT: return kAnsiText;
    case CF_OEMTEXT: return kOemText;
    case CF_UNICODETEXT: return kWideText;
    default: return kNoText;
    }
}

UINT TextCodePageOf(const char* registeredName)
{
    switch (FamilyOfRegisteredName(registeredName)) {
    case kFamilyHtml: return CP_UTF8;
    case kFamilyUrlW: return kCodePageUtf16;
    case kFamilyMimeText: return MimeTextCodePage(registeredName);
    default: return CP_ACP;
    }
}

std::wstring DecodeText(const BYTE* bytes, size_t size, UINT codePage)
{
    std::wstring decoded;
    if (codePage == kCodePageUtf16) {
        decoded.resize(TextUnits(bytes, size, 2));
        memcpy(&decoded[0], bytes, decoded.size() * 2);
    } else {
        int length = (int)TextUnits(bytes, size, 1);
        int units = length > 0 ? MultiByteToWideChar(codePage, 0, (const char*)bytes, length, nullptr, 0) : 0;
        // A code page this system does not have reads as the ANSI one.
        if (units == 0 && length > 0) {
            codePage = CP_ACP;
            units = MultiByteToWideChar(codePage, 0, (const char*)bytes, length, nullptr, 0);
        }
        decoded.resize((size_t)units);
        if (units > 0)
            MultiByteToWideChar(codePage, 0, (const char*)bytes, length, &decoded[0], units);
    }
    std::wstring lines;
    lines.reserve(decoded.size() + decoded.size() / 32);
    for (size_t i = 0; i < decoded.size(); i++) {
        if (decoded[i] == L'\n' && (i == 0 || decoded[i - 1] != L'\r'))
            lines += L'\r';
        lines += decoded[i];
    }
    return lines;
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

// A Unicode control, so that wide text keeps every character; 8-bit text
// reaches it through the ANSI code page.
int CTextView::CreateEditControl()
{
    m_edit.Attach(CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kEditStyle, 0, 0, 0, 0, m_hWnd,
                                  (HMENU)(UINT_PTR)IDC_TEXT_EDIT, GetAppInstance(), nullptr));
    if (m_edit.GetHandle() == nullptr)
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
    // A decoded text is wide text from here on; the large view reads it
    // where it is kept.
    std::wstring().swap(m_decoded);
    if (encoding == kDecodedText) {
        m_decoded = DecodeText(bytes, size, TextCodePageOf(name.GetString()));
        bytes = (const BYTE*)m_decoded.c_str();
        size = (UINT)((m_decoded.size() + 1) * sizeof(wchar_t));
        encoding = kWideText;
    }
    if (ShowLargeText(bytes, size, encoding))
        return;
    if (!UseEditControl())
        return;
    if (encoding == kWideText) {
        // The control takes a terminated text; a decoded one is, and is not
        // needed once the control has it.
        std::wstring wide;
        if (m_decoded.empty())
            wide.assign((const wchar_t*)bytes, TextUnits(bytes, size, 2));
        else
            wide.swap(m_decoded);
        SetWideText(wide.c_str());
        return;
    }
    char* buffer = nullptr;
    const char* text = AnsiText(bytes, size, encoding == kOemText ? CP_OEMCP : CP_ACP, &buffer);
    m_edit.Send(WM_SETTEXT, 0, (LPARAM)(text ? text : ""));
    free(buffer);
}

void CTextView::SetWideText(const wchar_t* text)
{
    SendMessageW(m_edit.GetHandle(), WM_SETTEXT, 0, (LPARAM)text);
}
