// Shows a text format in the ANSI code page, in a read-only edit control that
// fills the view.
#pragma once

#include "Controls.h"
#include "FormatView.h"

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
    // How the view's bytes reach the control.
    enum Encoding { kNoText, kAnsi, kOem, kWide };
    Encoding GetEncoding() const;
    void LoadEditControl();

    CEditControl m_edit;
};
