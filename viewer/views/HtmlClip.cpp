#include "HtmlClip.h"

#include <string.h>

namespace {
// A decimal offset; -1 and anything else that is not a plain number is no
// offset.
bool ParseOffset(const std::string& text, size_t* value)
{
    size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return false;
    size_t result = 0;
    size_t i = start;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; i++) {
        if (result > ((size_t)-1 - 9) / 10)
            return false;
        result = result * 10 + (size_t)(text[i] - '0');
    }
    if (i == start || text.find_first_not_of(' ', i) != std::string::npos)
        return false;
    *value = result;
    return true;
}

bool Range(bool haveStart, size_t start, bool haveEnd, size_t end, size_t size)
{
    return haveStart && haveEnd && start <= end && end <= size;
}
} // namespace

bool ReadHtmlClipHeader(const unsigned char* data, size_t size, HtmlClipHeader& header)
{
    header = HtmlClipHeader();
    header.hasHtmlRange = header.hasFragmentRange = false;
    header.startHtml = header.endHtml = header.startFragment = header.endFragment = 0;
    bool have[4] = {false, false, false, false};
    size_t* offsets[4] = {&header.startHtml, &header.endHtml, &header.startFragment, &header.endFragment};
    static const char* const offsetKeys[4] = {"StartHTML", "EndHTML", "StartFragment", "EndFragment"};
    bool any = false;
    size_t position = 0;
    while (position < size && data[position] != '<') {
        size_t end = position;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            end++;
        std::string line((const char*)data + position, end - position);
        size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            break;
        std::string key = line.substr(0, colon), value = line.substr(colon + 1);
        any = true;
        for (int k = 0; k < 4; k++)
            if (key == offsetKeys[k])
                have[k] = ParseOffset(value, offsets[k]);
        if (key == "Version")
            header.version = value;
        else if (key == "SourceURL")
            header.sourceUrl = value;
        while (end < size && (data[end] == '\r' || data[end] == '\n'))
            end++;
        position = end;
    }
    header.hasHtmlRange = Range(have[0], header.startHtml, have[1], header.endHtml, size);
    header.hasFragmentRange = Range(have[2], header.startFragment, have[3], header.endFragment, size);
    return any;
}
