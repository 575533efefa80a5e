// Shows a text format in a read-only Unicode edit control that fills the
// view: 8-bit texts through their code page, wide texts as they are held.
#pragma once

#include <string>

#include "Controls.h"
#include "FormatView.h"

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

    explicit CTextView(UINT format) : CFormatView(format, kViewText) {}

    int CreateViewWindow(CMdiFrame* frame) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    LRESULT OnSize(UINT type, UINT width, UINT height) override;

    HWND GetEditControl() const { return m_edit.GetHandle(); }

protected:
    void OnDataChanged() override;

private:
    void LoadEditControl();
    void SetWideText(const wchar_t* text);

    CEditControl m_edit;
};
