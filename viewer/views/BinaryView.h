// Shows a format's bytes as a hex dump.
#pragma once

#include "FormatView.h"

class CBinaryView : public CFormatView {
public:
    static const char* const kClassName;

    explicit CBinaryView(UINT format) : CFormatView(format, kViewBinary) {}

    int CreateViewWindow(CMdiFrame* frame) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
};
