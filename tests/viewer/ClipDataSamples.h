// Sample clipboard data of every kind, readers that turn data back into
// comparable values, and whole files as bytes, shared by the clip format
// and clip file tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Pixels of a bitmap as 32-bit top-down RGB, the same for every depth.
std::vector<DWORD> Pixels(HBITMAP bitmap, SIZE* size = nullptr);
// A screen-compatible bitmap with a pattern no two pixels of which repeat
// along a row.
HBITMAP MakePatternBitmap(int width, int height);
std::vector<PALETTEENTRY> Entries(HPALETTE palette);
HPALETTE MakePalette(int count);
bool SamePalette(const std::vector<PALETTEENTRY>& left, const std::vector<PALETTEENTRY>& right);
std::string EnhMetafileBits(HENHMETAFILE metafile);
std::string MetafileBits(HMETAFILE metafile);
HENHMETAFILE MakeEnhMetafile();
HMETAFILE MakeMetafile();
HGLOBAL MakeMetafilePicture(HMETAFILE metafile, LONG mode, LONG x, LONG y);
// The bytes of a whole file ("<none>" when it cannot be read), and a file
// written anew with the bytes.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
