#include "ViewGdi.h"

#include <stdlib.h>
#include <string.h>

int ReadBitmapHeader(HDC dc, HBITMAP bitmap, BITMAPINFOHEADER* header)
{
    // Room for the masks or colours that some drivers write after the
    // header even when only the header was asked for.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    if (bitmap == nullptr || !GetDIBits(dc, bitmap, 0, 0, nullptr, (BITMAPINFO*)&info, DIB_RGB_COLORS))
        return 0;
    *header = info.header;
    return 1;
}

int ReadPaletteEntries(HPALETTE palette, std::vector<PALETTEENTRY>& entries)
{
    UINT count = palette != nullptr ? GetPaletteEntries(palette, 0, 0, nullptr) : 0;
    entries.assign(count, PALETTEENTRY());
    if (count > 0)
        entries.resize(GetPaletteEntries(palette, 0, count, entries.data()));
    return !entries.empty();
}

HENHMETAFILE ConvertMetafilePicture(const void* data, UINT size, HDC reference)
{
    if (data == nullptr || size < sizeof(METAFILEPICT))
        return nullptr;
    METAFILEPICT picture;
    memcpy(&picture, data, sizeof picture);
    UINT bytes = GetMetaFileBitsEx(picture.hMF, 0, nullptr);
    if (bytes == 0)
        return nullptr;
    BYTE* bits = (BYTE*)malloc(bytes + 2);
    if (bits == nullptr)
        return nullptr;
    HENHMETAFILE converted = nullptr;
    if (GetMetaFileBitsEx(picture.hMF, bytes, bits) == bytes)
        converted = SetWinMetaFileBits(bytes, bits, reference, &picture);
    free(bits);
    return converted;
}

void AppendWideAsAnsi(std::string& text, const BYTE* units, size_t count)
{
    if (count == 0 || count > 0x7FFFFFFF)
        return;
    std::wstring wide(count, L'\0');
    memcpy(&wide[0], units, count * sizeof(wchar_t));
    // Double-byte code pages need two bytes for some units, UTF-8 up to
    // three: the system says how many.
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)count, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return;
    size_t start = text.size();
    text.resize(start + (size_t)length);
    length = WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)count, &text[start], length, nullptr, nullptr);
    text.resize(start + (size_t)(length > 0 ? length : 0));
}
