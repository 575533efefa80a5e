// Draws bitmaps, metafiles and palettes.
#pragma once

#include "FormatView.h"

class CPictureView : public CFormatView {
public:
    static const char* const kClassName;

    explicit CPictureView(UINT format) : CFormatView(format, kViewPicture) {}

    int CreateViewWindow(CMdiFrame* frame) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
};
