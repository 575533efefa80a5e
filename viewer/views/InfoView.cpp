#include "InfoView.h"

#include <shlobj.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "AppThread.h"
#include "Drawing.h"
#include "FormatFamily.h"
#include "HtmlClip.h"
#include "ViewBytes.h"
#include "ViewGdi.h"
#include "WicPicture.h"
#include "resource.h"

const char* const CInfoView::kClassName = "VIEWERSPECIAL";

namespace {
// Appends the string resource id filled with the arguments.
void AppendFormatted(std::string& page, UINT id, ...)
{
    char format[CText::kFormatLimit];
    if (LoadStringResource(id, format, sizeof format) <= 0)
        return;
    va_list args;
    va_start(args, id);
    CText line;
    line.FormatV(format, args);
    va_end(args);
    page += line.GetString();
}

// A file time in the user's short date and time format, local time.
std::string FileTimeText(uint64_t value)
{
    FILETIME universal = {(DWORD)value, (DWORD)(value >> 32)}, local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&universal, &local) || !FileTimeToSystemTime(&local, &time))
        return std::string();
    char date[64] = "", clock[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof clock);
    return std::string(date) + " " + clock;
}

int Absolute(LONG value)
{
    return (int)(value < 0 ? 0 - (long long)value : (long long)value);
}
} // namespace

CInfoView::CInfoView(UINT format) : CFormatView(format, kViewInfo), m_pageBuilt(0) {}

int CInfoView::CreateViewWindow(CMdiFrame* frame)
{
    return Create(kClassName, "", 0x50FF0000, nullptr, frame);
}

int CInfoView::OnCreateHook(CREATESTRUCTA* create)
{
    SetWindowIcons(m_hWnd, IDI_INFO_VIEW);
    m_horizontalBar.Attach(m_hWnd, SB_HORZ);
    m_verticalBar.Attach(m_hWnd, SB_VERT);
    return 1;
}

void CInfoView::OnDataChanged()
{
    m_pageBuilt = 0;
    CFormatView::OnDataChanged();
}

const CText& CInfoView::GetPage()
{
    if (!m_pageBuilt) {
        std::string page;
        if (m_data != nullptr)
            BuildPage(page);
        m_page = page.c_str();
        m_pageBuilt = 1;
    }
    return m_page;
}

void CInfoView::BuildPage(std::string& page)
{
    switch (m_format) {
    case CF_TEXT: case CF_OEMTEXT: case CF_UNICODETEXT: BuildTextPage(page); break;
    case CF_BITMAP: case CF_DIB: case CF_DIBV5: BuildBitmapPage(page); break;
    case CF_METAFILEPICT: case CF_ENHMETAFILE: BuildPicturePage(page); break;
    case CF_PALETTE: BuildPalettePage(page); break;
    case CF_HDROP: BuildDropPage(page); break;
    case CF_LOCALE: BuildLocalePage(page); break;
    default: {
        CText name;
        GetRegisteredFormatName(m_format, name);
        switch (IsRegisteredFormat(m_format) ? FamilyOfRegisteredName(name.GetString()) : kFamilyOther) {
        case kFamilyShellIdList: BuildItemListPage(page); break;
        case kFamilyHtml: BuildHtmlPage(page); break;
        case kFamilyImage: BuildImagePage(page); break;
        case kFamilyFileGroup: BuildFileGroupPage(page, 0); break;
        case kFamilyFileGroupW: BuildFileGroupPage(page, 1); break;
        default: break;
        }
        break;
    }
    }
}

void CInfoView::BuildTextPage(std::string& page)
{
    if (GetBytes() == nullptr)
        return;
    CTextStats stats = CountTextStats(GetBytes(), m_size, m_format == CF_UNICODETEXT ? 2 : 1);
    AppendFormatted(page, IDS_INFO_TEXT, TextTypeName(m_format), (int)stats.lengthBytes, (int)stats.lines,
                    (int)stats.words, (int)stats.characters);
}

void CInfoView::BuildBitmapPage(std::string& page)
{
    CDibHeader header;
    if (m_format != CF_BITMAP) {
        if (GetBytes() == nullptr || !ReadDibHeader(GetBytes(), m_size, &header))
            return;
    } else {
        BITMAPINFOHEADER facts;
        CClientDC dc(this);
        if (m_size != 0 || !ReadBitmapHeader(dc.GetHandle(), (HBITMAP)m_data, &facts))
            return;
        header.width = facts.biWidth;
        header.height = facts.biHeight;
        header.bitCount = facts.biBitCount;
        header.compression = facts.biCompression;
    }
    AppendFormatted(page, IDS_INFO_BITMAP, Absolute(header.width), Absolute(header.height),
                    DibColourCountText(header.bitCount), DibCompressionText(header.compression));
    CDibV5Fields fields;
    if (m_format == CF_DIBV5 && ReadDibV5Fields(GetBytes(), m_size, &fields))
        AppendFormatted(page, IDS_INFO_DIBV5, ColourSpaceText(fields.colourSpace), RenderingIntentText(fields.intent));
}

void CInfoView::BuildPicturePage(std::string& page)
{
    HENHMETAFILE converted = nullptr;
    HENHMETAFILE metafile = nullptr;
    if (m_format == CF_ENHMETAFILE)
        metafile = m_size == 0 ? (HENHMETAFILE)m_data : nullptr;
    else
        metafile = converted = ConvertMetafilePicture(GetBytes(), m_size, nullptr);
    ENHMETAHEADER header = {};
    // The header as the first systems knew it, without the later fields.
    if (metafile != nullptr && GetEnhMetaFileHeader(metafile, 100, &header) != 0) {
        char description[1000] = "";
        GetEnhMetaFileDescriptionA(metafile, sizeof description, description);
        description[sizeof description - 1] = 0;
        AppendFormatted(page, IDS_INFO_PICTURE, description, (int)header.rclFrame.left, (int)header.rclFrame.top,
                        (int)header.rclFrame.right, (int)header.rclFrame.bottom, (int)header.nVersion,
                        (int)header.nBytes, (int)header.nRecords, (int)header.nPalEntries);
    }
    if (converted != nullptr)
        DeleteEnhMetaFile(converted);
}

void CInfoView::BuildPalettePage(std::string& page)
{
    std::vector<PALETTEENTRY> entries;
    if (m_size != 0 || !ReadPaletteEntries((HPALETTE)m_data, entries))
        return;
    AppendFormatted(page, IDS_INFO_PALETTE, (int)entries.size());
    for (size_t k = 0; k < entries.size(); k++) {
        const PALETTEENTRY& entry = entries[k];
        AppendFormatted(page, IDS_INFO_PALETTE_ENTRY, (int)k + 1, entry.peRed, entry.peGreen, entry.peBlue,
                        PaletteFlagText(entry.peFlags));
    }
}

void CInfoView::BuildDropPage(std::string& page)
{
    const BYTE* bytes = GetBytes();
    CDropHeader header;
    if (bytes == nullptr || !ReadDropHeader(bytes, m_size, &header))
        return;
    AppendFormatted(page, IDS_INFO_DROP, header.nonClient ? "Screen" : "Client", (int)header.x, (int)header.y);
    size_t position = header.listOffset;
    CDropName name;
    while (NextDropName(bytes, m_size, header.wide != 0, &position, &name)) {
        page += "    \n";
        if (header.wide)
            AppendWideAsAnsi(page, bytes + name.offset, name.units);
        else
            page.append((const char*)bytes + name.offset, name.units);
        page += "    ";
    }
}

void CInfoView::BuildLocalePage(std::string& page)
{
    CLocaleFields fields;
    if (GetBytes() == nullptr || !ReadLocaleFields(GetBytes(), m_size, &fields))
        return;
    AppendFormatted(page, IDS_INFO_LOCALE, fields.languageId, fields.primaryLanguage, fields.subLanguage,
                    fields.sortId);
}

void CInfoView::BuildItemListPage(std::string& page)
{
    const BYTE* bytes = GetBytes();
    uint32_t count, listed;
    if (bytes == nullptr || !ReadCidaCount(bytes, m_size, &count, &listed))
        return;
    AppendFormatted(page, IDS_INFO_ITEM_LIST, (int)count);
    std::vector<BYTE> absolute;
    for (uint32_t index = 0; index < listed; index++) {
        CIdListPart parent, item;
        char path[MAX_PATH] = "";
        int found = 0;
        if (LocateCidaItem(bytes, m_size, index, &parent, &item)) {
            // Zeros beyond the terminator as well, for readers of the
            // items' insides that look for the end of a name.
            absolute.assign((size_t)parent.bytes + item.bytes + 8, 0);
            memcpy(absolute.data(), bytes + parent.offset, parent.bytes);
            memcpy(absolute.data() + parent.bytes, bytes + item.offset, item.bytes);
            found = SHGetPathFromIDListA((LPCITEMIDLIST)absolute.data(), path);
        }
        page += "    \n";
        page += found ? path : " - ";
    }
}

void CInfoView::BuildHtmlPage(std::string& page)
{
    HtmlClipHeader header;
    if (GetBytes() == nullptr)
        return;
    if (!ReadHtmlClipHeader(GetBytes(), m_size, header)) {
        AppendFormatted(page, IDS_INFO_HTML_NO_HEADER);
        return;
    }
    // Each offset as written, and what is wrong with it; none is followed.
    CText values[kHtmlOffsetFields];
    for (int field = 0; field < kHtmlOffsetFields; field++) {
        const HtmlClipOffset& offset = header.offsets[field];
        std::string number = std::to_string(offset.value);
        UINT id = offset.state == kHtmlOffsetOutside     ? IDS_INFO_OFFSET_OUTSIDE
                  : offset.state == kHtmlOffsetOutOfOrder ? IDS_INFO_OFFSET_ORDER
                  : offset.state == kHtmlOffsetMissing    ? IDS_INFO_OFFSET_MISSING
                                                          : 0;
        std::string text;
        if (id == 0)
            text = number;
        else
            AppendFormatted(text, id, number.c_str());
        values[field] = text.c_str();
    }
    AppendFormatted(page, IDS_INFO_HTML, header.version.c_str(), values[kHtmlStartHtml].GetString(),
                    values[kHtmlEndHtml].GetString(), values[kHtmlStartFragment].GetString(),
                    values[kHtmlEndFragment].GetString());
    if (header.hasFragmentRange)
        AppendFormatted(page, IDS_INFO_HTML_FRAGMENT, (int)(header.endFragment - header.startFragment));
    if (!header.sourceUrl.empty())
        AppendFormatted(page, IDS_INFO_HTML_SOURCE, header.sourceUrl.c_str());
}

void CInfoView::BuildImagePage(std::string& page)
{
    CPictureFacts facts;
    if (GetBytes() == nullptr || !ReadPictureFacts(GetBytes(), m_size, &facts)) {
        AppendFormatted(page, IDS_PICTURE_NOT_DECODED);
        return;
    }
    char answer[32] = "";
    LoadStringResource(facts.hasAlpha ? IDS_INFO_YES : IDS_INFO_NO, answer, sizeof answer);
    AppendFormatted(page, IDS_INFO_IMAGE, facts.codecName.c_str(), (int)facts.width, (int)facts.height,
                    (int)facts.bitsPerPixel, answer);
}

void CInfoView::BuildFileGroupPage(std::string& page, int wide)
{
    const BYTE* bytes = GetBytes();
    uint32_t count;
    if (bytes == nullptr || m_size < 4)
        return;
    int fits = ReadFileGroupCount(bytes, m_size, wide, &count);
    AppendFormatted(page, IDS_INFO_FILE_GROUP, (int)count);
    if (!fits) {
        AppendFormatted(page, IDS_INFO_FILE_GROUP_REFUSED, (int)m_size);
        return;
    }
    for (uint32_t index = 0; index < count; index++) {
        CFileGroupEntry entry;
        if (!ReadFileGroupEntry(bytes, m_size, wide, index, &entry))
            break;
        std::string name;
        if (wide)
            AppendWideAsAnsi(name, bytes + entry.nameOffset, entry.nameUnits);
        else
            name.assign((const char*)bytes + entry.nameOffset, entry.nameUnits);
        AppendFormatted(page, IDS_INFO_FILE_ENTRY, name.c_str());
        if (entry.flags & kFdFileSize) {
            AppendFormatted(page, IDS_INFO_FILE_SIZE, std::to_string(entry.fileSize).c_str());
        }
        if (entry.flags & kFdWriteTime) {
            std::string when = FileTimeText(entry.writeTime);
            AppendFormatted(page, IDS_INFO_FILE_TIME, when.c_str());
        }
    }
}

LRESULT CInfoView::OnPaint()
{
    if (IsHidingPrivate())
        return PaintPrivateNotice();
    CPaintDC dc(this);
    HGDIOBJ oldFont = dc.SelectObject(GetStockObject(ANSI_FIXED_FONT));
    const CText& page = GetPage();
    if (!page.IsEmpty()) {
        RECT client;
        GetClientRect(m_hWnd, &client);
        CSize extent = dc.GetMultiLineExtent(page);
        FitScrollRange(SB_VERT, extent.cy + kExtraHeight, client.bottom, kLineStep);
        FitScrollRange(SB_HORZ, extent.cx - kFewerPixelsWide, client.right, kPixelStep);
        // The page moves under the view; the view's right and bottom edges
        // stay, so everything that scrolled into view is drawn.
        RECT area = client;
        area.left -= m_horizontalBar.GetPos();
        area.top -= m_verticalBar.GetPos();
        dc.DrawText(page.GetString(), page.GetLength(), &area, DT_NOPREFIX);
    }
    dc.SelectObject(oldFont);
    return 0;
}

LRESULT CInfoView::OnVScroll(UINT code, UINT position, HWND scrollBar)
{
    ApplyScroll(SB_VERT, code, kLineStep, kLinePage);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CInfoView::OnHScroll(UINT code, UINT position, HWND scrollBar)
{
    int previous = m_horizontalBar.GetPos();
    int next = ApplyScroll(SB_HORZ, code, kPixelStep, kPixelPage);
    // Line and page steps move the page by less than the four spaces that
    // end each line, which then cover what is left of the old page. A thumb
    // may move it further, so it erases first unless it moved the page well
    // to the right.
    BOOL erase = (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) && next > previous - 4;
    InvalidateRect(m_hWnd, nullptr, erase);
    return 0;
}
