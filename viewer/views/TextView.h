// Shows a text format in the ANSI code page, in a read-only edit control that
// fills the view.
#pragma once

#include "Controls.h"
#include "FormatView.h"

// How a format's bytes reach the control; registered formats are told by
// their names in any letter case.
enum TextEncoding { kNoText, kAnsiText, kOemText, kWideText };
TextEncoding TextEncodingOf(UINT format, const char* registeredName);

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

    CEditControl m_edit;
};
