// GDI readings that the picture and information views share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The header GetDIBits gives for a bitmap (bit count 0 on input: no colours,
// no bits). 0 when the handle is not a bitmap.
int ReadBitmapHeader(HDC dc, HBITMAP bitmap, BITMAPINFOHEADER* header);

// All entries of a palette; 0 when it has none.
int ReadPaletteEntries(HPALETTE palette, std::vector<PALETTEENTRY>& entries);

// An enhanced metafile made from the METAFILEPICT block of a view (mapping
// mode and extents from the block, the Windows metafile's bits through
// GetMetaFileBitsEx); the reference context may be null. Null when the
// block is shorter than the record or the metafile cannot be read. Delete
// the result with DeleteEnhMetaFile.
HENHMETAFILE ConvertMetafilePicture(const void* data, UINT size, HDC reference);

// Appends count UTF-16 units, which may lie at any address, converted to the
// ANSI code page.
void AppendWideAsAnsi(std::string& text, const BYTE* units, size_t count);
