// Shows a page of facts about a format.
#pragma once

#include "FormatView.h"

class CInfoView : public CFormatView {
public:
    static const char* const kClassName;

    explicit CInfoView(UINT format) : CFormatView(format, kViewInfo) {}

    int CreateViewWindow(CMdiFrame* frame) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
};
