// Sample clipboard data of every kind and readers that turn it back into
// comparable values (defined beside the clip format tests), and clip files
// built and read as bytes, shared by the clip tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ClipFiles.h"

std::vector<DWORD> Pixels(HBITMAP bitmap, SIZE* size = nullptr);
HBITMAP MakePatternBitmap(int width, int height);
std::vector<PALETTEENTRY> Entries(HPALETTE palette);
HPALETTE MakePalette(int count);
std::string EnhMetafileBits(HENHMETAFILE metafile);
std::string MetafileBits(HMETAFILE metafile);
HENHMETAFILE MakeEnhMetafile();
HMETAFILE MakeMetafile();
HGLOBAL MakeMetafilePicture(HMETAFILE metafile, LONG mode, LONG x, LONG y);

inline CClipFormat* Block(const char* name, UINT format, const std::string& bytes)
{
    CClipFormat* record = new CClipFormat(name, format);
    record->SetBlock(bytes.data(), (DWORD)bytes.size());
    return record;
}

inline CClipPage* Page(const char* name, const std::vector<CClipFormat*>& records)
{
    CClipPage* page = new CClipPage(name);
    for (CClipFormat* record : records)
        page->Append(record);
    return page;
}

// The bytes of a whole file ("<none>" when it cannot be read), and a file
// written anew with the bytes.
inline std::string ReadFileBytes(const std::string& path)
{
    CFileBytes file;
    return file.Read(path.c_str()) ? std::string((const char*)file.GetBytes(), file.GetLength()) : "<none>";
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    CSafeFileWriter file;
    if (file.Open(path.c_str()) && file.Put(bytes.data(), bytes.size()))
        file.Commit();
}
