// Which kinds can show which formats, what Auto picks, and view titles.
#include <gtest/gtest.h>

#include "FormatView.h"

namespace {
struct FormatRow {
    UINT format;
    const char* name; // registered name, for ids of 0xC000 and above
    bool text, binary, picture, info;
    UINT autoClipboard, autoPage;
};

const UINT T = kViewText, B = kViewBinary, P = kViewPicture, I = kViewInfo;

const FormatRow kTable[] = {
    {1, nullptr, true, true, false, true, T, T},
    {2, nullptr, false, false, true, true, P, P},
    {3, nullptr, false, true, true, true, P, P},
    {4, nullptr, false, true, false, false, B, B},
    {5, nullptr, false, true, false, false, B, B},
    {6, nullptr, false, true, false, false, B, B},
    {7, nullptr, true, true, false, true, T, T},
    {8, nullptr, false, true, true, true, P, P},
    {9, nullptr, false, false, true, true, P, P},
    {10, nullptr, false, true, false, false, B, B},
    {11, nullptr, false, true, false, false, B, B},
    {12, nullptr, false, true, false, false, B, B},
    {13, nullptr, true, true, false, true, T, T},
    {14, nullptr, false, true, true, true, P, P},
    {15, nullptr, false, true, false, true, I, I},
    {16, nullptr, false, true, false, true, I, I},
    {0, nullptr, false, true, false, false, B, B},
    {17, nullptr, false, true, true, true, P, P}, // CF_DIBV5
    {0x81, nullptr, false, true, false, false, B, B},
    {0xBFFF, nullptr, false, true, false, false, B, B},
    {0xC001, "Shell IDList Array", false, true, false, true, I, I},
    {0xC002, "FileName", true, true, false, false, T, T},
    {0xC003, "FileNameW", true, true, false, false, T, B},
    {0xC004, "filename", true, true, false, false, T, T},
    {0xC005, "FILENAMEW", true, true, false, false, T, B},
    {0xC006, "shell idlist array", false, true, false, true, I, I},
    {0xC007, "Rich Text Format", true, true, false, false, T, T},
    {0xC008, "FileNameWide", false, true, false, false, B, B},
    {0xC009, "", false, true, false, false, B, B},
    // What today's programs register.
    {0xC00A, "HTML Format", true, true, false, true, T, T},
    {0xC00B, "UniformResourceLocator", true, true, false, false, T, T},
    {0xC00C, "UniformResourceLocatorW", true, true, false, false, T, T},
    {0xC00D, "text/plain;charset=utf-8", true, true, false, false, T, T},
    {0xC00E, "TEXT/URI-LIST", true, true, false, false, T, T},
    {0xC00F, "text", false, true, false, false, B, B},
    {0xC010, "PNG", false, true, true, true, P, P},
    {0xC011, "image/jpeg", false, true, true, true, P, P},
    {0xC012, "JFIF", false, true, true, true, P, P},
    {0xC013, "GIF", false, true, true, true, P, P},
    {0xC014, "image/bmp", false, true, true, true, P, P},
    {0xC015, "image/webp", false, true, false, false, B, B},
    {0xC016, "FileGroupDescriptorW", false, true, false, true, I, I},
    {0xC017, "FileGroupDescriptor", false, true, false, true, I, I},
};
} // namespace

TEST(ViewRules, CapabilitiesAndAutoFollowTheFormatTable)
{
    for (const FormatRow& row : kTable) {
        SCOPED_TRACE(testing::Message() << "format 0x" << std::hex << row.format << " " << (row.name ? row.name : ""));
        EXPECT_EQ(row.text, CanShowAsText(row.format, row.name) != 0);
        EXPECT_EQ(row.binary, CanShowAsBinary(row.format, row.name) != 0);
        EXPECT_EQ(row.picture, CanShowAsPicture(row.format, row.name) != 0);
        EXPECT_EQ(row.info, CanShowAsInfo(row.format, row.name) != 0);
        UINT clipboardKind = ResolveAutoKind(row.format, row.name, 0);
        UINT pageKind = ResolveAutoKind(row.format, row.name, 1);
        EXPECT_EQ(row.autoClipboard, clipboardKind);
        EXPECT_EQ(row.autoPage, pageKind);
    }
}

TEST(ViewRules, InformationTitlesNameWhatThePageDescribes)
{
    EXPECT_STREQ(" (Bitmap Info)", ViewTitleSuffix(kViewInfo, CF_DIB));
    EXPECT_STREQ(" (Bitmap Info)", ViewTitleSuffix(kViewInfo, CF_DIBV5));
    EXPECT_STREQ(" (Picture Info)", ViewTitleSuffix(kViewInfo, CF_METAFILEPICT));
    EXPECT_STREQ(" (Picture Info)", ViewTitleSuffix(kViewInfo, CF_ENHMETAFILE));
    EXPECT_STREQ(" (Information)", ViewTitleSuffix(kViewInfo, CF_HDROP));
    CText title;
    ComposeViewTitle(title, "Text", kViewText, CF_TEXT, "");
    EXPECT_STREQ("Text (Text) in ", title.GetString()) << "a page with an empty name";
}

TEST(ViewRules, ScrollMessagesMoveWithinTheRange)
{
    const int line = 8, page = 24, maximum = 100;
    EXPECT_EQ(42, NextScrollPosition(SB_LINEDOWN, 34, line, page, maximum, 0));
    EXPECT_EQ(26, NextScrollPosition(SB_LINEUP, 34, line, page, maximum, 0));
    EXPECT_EQ(58, NextScrollPosition(SB_PAGEDOWN, 34, line, page, maximum, 0));
    EXPECT_EQ(10, NextScrollPosition(SB_PAGEUP, 34, line, page, maximum, 0));
    EXPECT_EQ(0, NextScrollPosition(SB_PAGEUP, 10, line, page, maximum, 0)) << "clamped at 0";
    EXPECT_EQ(100, NextScrollPosition(SB_LINEDOWN, 96, line, page, maximum, 0)) << "clamped at the maximum";
    EXPECT_EQ(77, NextScrollPosition(SB_THUMBTRACK, 34, line, page, maximum, 77));
    EXPECT_EQ(77, NextScrollPosition(SB_THUMBPOSITION, 34, line, page, maximum, 77));
    EXPECT_EQ(100, NextScrollPosition(SB_THUMBTRACK, 34, line, page, maximum, 70000));
    EXPECT_EQ(0, NextScrollPosition(SB_TOP, 34, line, page, maximum, 0));
    EXPECT_EQ(100, NextScrollPosition(SB_BOTTOM, 34, line, page, maximum, 0));
    EXPECT_EQ(34, NextScrollPosition(SB_ENDSCROLL, 34, line, page, maximum, 0));
    EXPECT_EQ(0, NextScrollPosition(SB_LINEDOWN, 0, line, page, 0, 0)) << "nothing to scroll";
}
