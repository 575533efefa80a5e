// Shows a page of facts about a format: text statistics, bitmap sizes and
// colours, metafile headers, palette entries, dropped files, locale fields,
// the paths of a shell item list, the header of an HTML block, the facts of
// a picture file and the files of a file group descriptor.
#pragma once

#include <string>

#include "Controls.h"
#include "FormatView.h"
#include "Text.h"

class CInfoView : public CFormatView {
public:
    static const char* const kClassName;
    enum { kLineStep = 13, kLinePage = 39, kPixelStep = 8, kPixelPage = 24 };
    // The page's extent is measured, then grown by this much in height and
    // shrunk by this much in width before it is fitted to the view.
    enum { kExtraHeight = 15, kFewerPixelsWide = 26 };

    explicit CInfoView(UINT format);

    int CreateViewWindow(CMdiFrame* frame) override;
    int OnCreateHook(CREATESTRUCTA* create) override;
    LRESULT OnPaint() override;
    LRESULT OnVScroll(UINT code, UINT position, HWND scrollBar) override;
    LRESULT OnHScroll(UINT code, UINT position, HWND scrollBar) override;

    // The page of the current data; empty when there is nothing to show.
    const CText& GetPage();

protected:
    // The page is built once for each new data, not at every paint.
    void OnDataChanged() override;

private:
    void BuildPage(std::string& page);
    void BuildTextPage(std::string& page);
    void BuildBitmapPage(std::string& page);
    void BuildPicturePage(std::string& page);
    void BuildPalettePage(std::string& page);
    void BuildDropPage(std::string& page);
    void BuildLocalePage(std::string& page);
    void BuildItemListPage(std::string& page);
    void BuildHtmlPage(std::string& page);
    void BuildImagePage(std::string& page);
    void BuildFileGroupPage(std::string& page, int wide);
    const BYTE* GetBytes() const { return m_size > 0 ? (const BYTE*)m_data : nullptr; }

    CScrollBarInfo m_horizontalBar;
    CScrollBarInfo m_verticalBar;
    CText m_page;
    int m_pageBuilt;
};
