// Shows a text format in the ANSI code page.
#pragma once

#include "FormatView.h"

class CTextView : public CFormatView {
public:
    static const char* const kClassName;

    explicit CTextView(UINT format) : CFormatView(format, kViewText) {}

    int CreateViewWindow(CMdiFrame* frame) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
};
