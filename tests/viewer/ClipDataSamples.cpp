#include "ClipDataSamples.h"

#include <string.h>

#include "ClipboardHelper.h"

std::vector<DWORD> Pixels(HBITMAP bitmap, SIZE* size)
{
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0)
        return {};
    if (size != nullptr)
        *size = {info.bmWidth, info.bmHeight};
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels((size_t)info.bmWidth * info.bmHeight);
    HDC dc = GetDC(nullptr);
    int rows = GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != info.bmHeight)
        return {};
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

HBITMAP MakePatternBitmap(int width, int height)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            SetPixel(dc, x, y, RGB(x * 17 & 0xFF, y * 29 & 0xFF, (x + y) * 7 & 0xFF));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

std::vector<PALETTEENTRY> Entries(HPALETTE palette)
{
    if (palette == nullptr)
        return {};
    UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
    std::vector<PALETTEENTRY> entries(count);
    if (count != 0)
        GetPaletteEntries(palette, 0, count, entries.data());
    return entries;
}

HPALETTE MakePalette(int count)
{
    std::vector<BYTE> bytes(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
    LOGPALETTE* logical = (LOGPALETTE*)bytes.data();
    logical->palVersion = 0x300;
    logical->palNumEntries = (WORD)count;
    for (int i = 0; i < count; i++)
        logical->palPalEntry[i] = {(BYTE)(i * 40), (BYTE)(255 - i * 3), (BYTE)(i * 11), 0};
    return CreatePalette(logical);
}

bool SamePalette(const std::vector<PALETTEENTRY>& left, const std::vector<PALETTEENTRY>& right)
{
    return left.size() == right.size() && memcmp(left.data(), right.data(), left.size() * sizeof(PALETTEENTRY)) == 0;
}

std::string EnhMetafileBits(HENHMETAFILE metafile)
{
    UINT size = metafile ? GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
    std::string bits(size, 0);
    if (size != 0)
        GetEnhMetaFileBits(metafile, size, (BYTE*)&bits[0]);
    return bits;
}

std::string MetafileBits(HMETAFILE metafile)
{
    UINT size = metafile ? GetMetaFileBitsEx(metafile, 0, nullptr) : 0;
    std::string bits(size, 0);
    if (size != 0)
        GetMetaFileBitsEx(metafile, size, &bits[0]);
    return bits;
}

HENHMETAFILE MakeEnhMetafile()
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    Rectangle(dc, 1, 2, 30, 40);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 25, 13);
    return CloseEnhMetaFile(dc);
}

HMETAFILE MakeMetafile()
{
    HDC dc = CreateMetaFileA(nullptr);
    Ellipse(dc, 3, 4, 50, 60);
    TextOutA(dc, 5, 5, "clip", 4);
    return CloseMetaFile(dc);
}

HGLOBAL MakeMetafilePicture(HMETAFILE metafile, LONG mode, LONG x, LONG y)
{
    METAFILEPICT picture = {mode, x, y, metafile};
    return MakeGlobalBlock(&picture, sizeof picture);
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<none>";
    std::string bytes(GetFileSize(file, nullptr), 0);
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file, &bytes[0], (DWORD)bytes.size(), &read, nullptr))
        bytes = "<none>";
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
}
