// Shows a text format in a read-only Unicode edit control that fills the
// view: 8-bit texts through their code page, wide texts as they are held.
// Texts above 1 MB of characters go to a large-text view of our own in the
// control's place, which lays out only what is on the screen.
#pragma once

#include <string>

#include "Controls.h"
#include "FormatView.h"
#include "LargeTextView.h"

// How a format's bytes reach the control; registered formats are told by
// their names in any letter case. Decoded texts (HTML, RTF, addresses,
// "text/..." types) are read in the code page TextCodePageOf gives.
enum TextEncoding { kNoText, kAnsiText, kOemText, kWideText, kDecodedText };
TextEncoding TextEncodingOf(UINT format, const char* registeredName);
UINT TextCodePageOf(const char* registeredName);

// The units of an 8-bit text in a code page (UTF-16 for 1200) before its
// zero, as wide text whose lone line feeds became CR LF, as the edit
// control breaks lines only there.
std::wstring DecodeText(const BYTE* bytes, size_t size, UINT codePage);

class CTextView : public CFormatView {
public:
    static const char* const kClassName;
    enum { kEditStyle = 0x502108C4 };
    // Characters (8-bit or UTF-16 units) above which the large view shows
    // the text.
    enum { kLargeTextUnits = 1024 * 1024 };

    explicit CTextView(UINT format) : CFormatView(format, kViewText) {}

    int CreateViewWindow(CMdiFrame* frame) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    LRESULT OnSize(UINT type, UINT width, UINT height) override;

    // The edit control, null while the large view shows the text.
    HWND GetEditControl() const { return m_edit.GetHandle(); }
    // Whichever shows the text: the control with id 1002.
    HWND GetTextControl() const { return m_edit.GetHandle() ? m_edit.GetHandle() : m_large.GetHandle(); }

protected:
    void OnDataChanged() override;

private:
    void LoadEditControl();
    // Hands a text of more than kLargeTextUnits units to the large view in
    // the edit control's place; 0 when it is shorter or cannot be shown.
    int ShowLargeText(const BYTE* bytes, UINT size, TextEncoding encoding);
    int CreateEditControl();
    // Puts the edit control back in place of the large view.
    int UseEditControl();
    void PlaceTextControl();
    void SetWideText(const wchar_t* text);

    CEditControl m_edit;
    CLargeTextView m_large;
    // A text decoded from its code page (HTML, "text/..." types), kept while
    // the large view shows it.
    std::wstring m_decoded;
};
