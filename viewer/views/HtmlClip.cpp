#include "HtmlClip.h"

#include <string.h>

namespace {
// No producer writes a header anywhere near this long; beyond it the block
// is HTML (or something else) and not read as header lines.
const size_t kHeaderLimit = 4096;
const unsigned long long kValueCap = 1ull << 63;

bool SameName(const unsigned char* name, size_t length, const char* wanted)
{
    if (length != strlen(wanted))
        return false;
    for (size_t i = 0; i < length; i++) {
        unsigned char c = name[i], w = (unsigned char)wanted[i];
        if (c >= 'A' && c <= 'Z')
            c = (unsigned char)(c + 32);
        if (w >= 'A' && w <= 'Z')
            w = (unsigned char)(w + 32);
        if (c != w)
            return false;
    }
    return true;
}

bool IsNameByte(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A decimal value, spaces around it allowed; negative values (-1 means none)
// and values that are no number are missing.
HtmlClipOffset ParseOffset(const unsigned char* text, size_t length)
{
    HtmlClipOffset offset = {kHtmlOffsetMissing, 0};
    size_t i = 0;
    while (i < length && text[i] == ' ')
        i++;
    if (i < length && text[i] == '+')
        i++;
    size_t digits = 0;
    unsigned long long value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; i++, digits++)
        value = value >= kValueCap / 10 ? kValueCap : value * 10 + (text[i] - '0');
    while (i < length && text[i] == ' ')
        i++;
    if (digits == 0 || i != length)
        return offset;
    offset.state = kHtmlOffsetValid;
    offset.value = value;
    return offset;
}

std::string Trimmed(const unsigned char* text, size_t length)
{
    while (length > 0 && text[0] == ' ') {
        text++;
        length--;
    }
    while (length > 0 && text[length - 1] == ' ')
        length--;
    return std::string((const char*)text, length);
}

void JudgeRange(HtmlClipOffset& start, HtmlClipOffset& end, size_t size, bool& valid, size_t& first, size_t& last)
{
    for (HtmlClipOffset* offset : {&start, &end})
        if (offset->state == kHtmlOffsetValid && offset->value > size)
            offset->state = kHtmlOffsetOutside;
    if (start.state == kHtmlOffsetValid && end.state == kHtmlOffsetValid && start.value > end.value)
        start.state = end.state = kHtmlOffsetOutOfOrder;
    valid = start.state == kHtmlOffsetValid && end.state == kHtmlOffsetValid;
    first = valid ? (size_t)start.value : 0;
    last = valid ? (size_t)end.value : 0;
}
} // namespace

bool ReadHtmlClipHeader(const unsigned char* data, size_t size, HtmlClipHeader& header)
{
    static const char* const offsetNames[kHtmlOffsetFields] = {"StartHTML", "EndHTML", "StartFragment",
                                                                "EndFragment"};
    header = HtmlClipHeader();
    for (HtmlClipOffset& offset : header.offsets)
        offset = {kHtmlOffsetMissing, 0};
    bool hasVersion = false;
    size_t limit = size < kHeaderLimit ? size : kHeaderLimit;
    size_t position = 0;
    while (position < limit) {
        // A header line is a name of letters, a colon and a value up to the
        // line's end; anything else ends the header.
        size_t nameEnd = position;
        while (nameEnd < limit && IsNameByte(data[nameEnd]))
            nameEnd++;
        if (nameEnd == position || nameEnd >= limit || data[nameEnd] != ':')
            break;
        size_t valueStart = nameEnd + 1, lineEnd = valueStart;
        while (lineEnd < limit && data[lineEnd] != '\r' && data[lineEnd] != '\n' && data[lineEnd] != 0)
            lineEnd++;
        const unsigned char* name = data + position;
        size_t nameLength = nameEnd - position, valueLength = lineEnd - valueStart;
        if (SameName(name, nameLength, "Version")) {
            header.version = Trimmed(data + valueStart, valueLength);
            hasVersion = true;
        } else if (SameName(name, nameLength, "SourceURL")) {
            header.sourceUrl = Trimmed(data + valueStart, valueLength);
        }
        for (int field = 0; field < kHtmlOffsetFields; field++)
            if (SameName(name, nameLength, offsetNames[field]))
                header.offsets[field] = ParseOffset(data + valueStart, valueLength);
        position = lineEnd;
        if (position < limit && data[position] == '\r')
            position++;
        if (position < limit && data[position] == '\n')
            position++;
        header.headerBytes = position;
        if (lineEnd < limit && data[lineEnd] == 0)
            break;
    }
    if (!hasVersion)
        return false;
    JudgeRange(header.offsets[kHtmlStartHtml], header.offsets[kHtmlEndHtml], size, header.hasHtmlRange,
               header.startHtml, header.endHtml);
    JudgeRange(header.offsets[kHtmlStartFragment], header.offsets[kHtmlEndFragment], size,
               header.hasFragmentRange, header.startFragment, header.endFragment);
    return true;
}
