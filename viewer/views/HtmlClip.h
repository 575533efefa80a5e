// The description header that starts an "HTML Format" block: lines of
// "Name:value" (Version, StartHTML, EndHTML, StartFragment, EndFragment,
// StartSelection, EndSelection, SourceURL) before the UTF-8 HTML itself. The
// offsets count bytes from the start of the block. Plain functions over
// bytes, without windows, that never read at or past data + size.
#pragma once

#include <stddef.h>

#include <string>

// One offset of the header as written, and what it is worth.
enum HtmlOffsetState {
    kHtmlOffsetMissing,    // not in the header, or negative (-1: none)
    kHtmlOffsetValid,      // within the block and in order with its partner
    kHtmlOffsetOutside,    // beyond the end of the block
    kHtmlOffsetOutOfOrder, // a start after its end
};
struct HtmlClipOffset {
    HtmlOffsetState state;
    unsigned long long value; // as written, capped at 2^63
};
enum HtmlOffsetField { kHtmlStartHtml, kHtmlEndHtml, kHtmlStartFragment, kHtmlEndFragment, kHtmlOffsetFields };

struct HtmlClipHeader {
    std::string version;
    std::string sourceUrl;
    // The ranges, flagged valid only when start <= end <= the block's size.
    bool hasHtmlRange;
    size_t startHtml, endHtml;
    bool hasFragmentRange;
    size_t startFragment, endFragment;
    HtmlClipOffset offsets[kHtmlOffsetFields];
    // Bytes of the header lines (where the header ends).
    size_t headerBytes;
};

// Reads the header's lines from the start of the block. Answers true when
// a header with a Version line was found; the ranges and offsets are then
// judged against size.
bool ReadHtmlClipHeader(const unsigned char* data, size_t size, HtmlClipHeader& header);
