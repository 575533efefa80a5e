// Feeds arbitrary bytes to the encoders of "Save Format As...": each answer
// must stay within what the block holds. Reads past it are caught by the
// address sanitizer.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "FormatFileBytes.h"
#include "HtmlClip.h"

namespace {
void Check(bool holds)
{
    if (!holds)
        abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string file;
    if (EncodeBmpFile(data, size, file)) {
        uint32_t offset;
        memcpy(&offset, file.data() + 10, 4);
        Check(file.size() == size + 14 && offset <= file.size());
    }
    int32_t extents[3] = {8, 2540, -1};
    if (size >= 12)
        memcpy(extents, data, 12);
    if (EncodePlaceableMetafile(data, size, extents[0], extents[1], extents[2], file))
        Check(file.size() == size + 22 && PlaceableChecksum((const uint8_t*)file.data()) ==
                                               (uint16_t)((uint8_t)file[20] | (uint8_t)file[21] << 8));
    HtmlClipHeader header;
    ReadHtmlClipHeader(data, size, header);
    Check(!header.hasHtmlRange || (header.startHtml <= header.endHtml && header.endHtml <= size));
    Check(!header.hasFragmentRange || (header.startFragment <= header.endFragment && header.endFragment <= size));
    ExtractHtmlDocument(data, size, file);
    Check(file.size() <= size);
    ExtractAnsiText(data, size, file);
    Check(file.size() <= size);
    Utf16ToUtf8(data, size, file);
    Check(file.size() <= size / 2 * 3);
    return 0;
}
