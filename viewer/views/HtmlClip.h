// The description header that starts the "HTML Format" clipboard format:
// "Key:value" lines (Version, StartHTML, EndHTML, StartFragment,
// EndFragment, SourceURL) before the document. Offsets count bytes from the
// start of the block.
#pragma once

#include <stddef.h>

#include <string>

struct HtmlClipHeader {
    bool hasHtmlRange;
    size_t startHtml, endHtml;
    bool hasFragmentRange;
    size_t startFragment, endFragment;
    std::string version, sourceUrl;
};

// Reads the header lines up to the first line that is not "Key:value" or to
// the first '<'. A range is flagged valid only when both offsets were read,
// start <= end, and end <= size. Answers false when no header line was
// found at all.
bool ReadHtmlClipHeader(const unsigned char* data, size_t size, HtmlClipHeader& header);
