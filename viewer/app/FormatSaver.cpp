#include "FormatSaver.h"

#include <stdlib.h>
#include <string.h>

#include "AppThread.h"
#include "ClipFiles.h"
#include "ClipFormat.h"
#include "Dialogs.h"
#include "FormatFileBytes.h"
#include "PrivateContent.h"
#include "Utility.h"
#include "resource.h"

namespace {
int EnhMetafileBytes(HENHMETAFILE metafile, std::string& file)
{
    UINT length = metafile ? GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
    if (length == 0)
        return 0;
    file.resize(length);
    return GetEnhMetaFileBits(metafile, length, (BYTE*)&file[0]) == length;
}

int MetafilePictureFile(const void* data, DWORD size, std::string& file)
{
    if (size < sizeof(METAFILEPICT))
        return 0;
    METAFILEPICT picture;
    memcpy(&picture, data, sizeof picture);
    UINT length = picture.hMF ? GetMetaFileBitsEx(picture.hMF, 0, nullptr) : 0;
    if (length == 0)
        return 0;
    std::string bits(length, '\0');
    if (GetMetaFileBitsEx(picture.hMF, length, &bits[0]) != length)
        return 0;
    return EncodePlaceableMetafile((const uint8_t*)bits.data(), bits.size(), picture.mm, picture.xExt, picture.yExt,
                                   file);
}

int BitmapFile(HBITMAP bitmap, std::string& file)
{
    CDibLayout layout;
    BYTE* dib = CreateDibImage(bitmap, &layout);
    if (dib == nullptr)
        return 0;
    int encoded = EncodeBmpFile(dib, layout.totalBytes, file);
    free(dib);
    return encoded;
}

void ShowError(HWND owner, UINT textId) { CWindow(owner).ResourceMessageBox(textId, IDS_ERROR, MB_ICONERROR); }

// A name fit for a file: characters that file names refuse become '_'.
void SuggestFileName(const char* formatName, const char* extension, CText& name)
{
    CText base(formatName != nullptr && formatName[0] != 0 ? formatName : "Format");
    RemoveFirstAmpersand(base);
    for (int i = 0; i < base.GetLength(); i++)
        if (strchr("\\/:*?\"<>|", base.GetAt(i)) != nullptr || (unsigned char)base.GetAt(i) < 32)
            base.SetAt(i, '_');
    name.Format("%s.%s", base.GetString(), extension);
}
int BuildFormatFile(UINT format, const char* registeredName, const void* data, DWORD size, std::string& file)
{
    file.clear();
    if (data == nullptr)
        return 0;
    const uint8_t* bytes = (const uint8_t*)data;
    switch (FormatFileKindOf(format, registeredName)) {
    case kFileBitmap: return size == 0 && BitmapFile((HBITMAP)data, file);
    case kFileEnhMetafile: return size == 0 && EnhMetafileBytes((HENHMETAFILE)data, file);
    case kFileMetafilePicture: return MetafilePictureFile(data, size, file);
    case kFileDib: return size > 0 && EncodeBmpFile(bytes, size, file);
    case kFileHtml: ExtractHtmlDocument(bytes, size, file); break;
    case kFileAnsiText: ExtractAnsiText(bytes, size, file); break;
    case kFileWideText: Utf16ToUtf8(bytes, size, file); break;
    default: file.assign((const char*)bytes, size); break;
    }
    // Handles and plain values have no bytes of their own to save.
    return size > 0;
}

// Through a temporary file in the target's folder; one that is not
// committed is abandoned with its writer.
int WriteFileAtomically(const char* path, const std::string& bytes)
{
    CSafeFileWriter writer;
    return writer.Open(path) && writer.Put(bytes.data(), bytes.size()) && writer.Commit();
}
} // namespace

const char* CFormatSaver::GetExtension() const
{
    return FormatFileExtension(FormatFileKindOf(m_format, m_name.GetString()));
}

int CFormatSaver::TakeCopy(UINT format, const char* name, const void* data, DWORD size)
{
    m_format = format;
    m_name.Assign(name);
    m_ready = BuildFormatFile(format, name, data, size, m_bytes);
    return m_ready;
}

int CFormatSaver::TakeFromClipboard(HWND owner, UINT format, int allowPrivate)
{
    m_format = format;
    m_ready = 0;
    LoadFormatName(format, m_name);
    if (!OpenClipboardPatiently(owner))
        return kNotSaved;
    if (!allowPrivate && OpenClipboardHoldsPrivateContent()) {
        CloseClipboard();
        return kPrivate;
    }
    HANDLE handle = GetClipboardData(format);
    DWORD size = ClipboardHandleSize(format, handle);
    const void* data = size > 0 ? GlobalLock(handle) : handle;
    m_ready = data != nullptr && BuildFormatFile(format, m_name.GetString(), data, size, m_bytes);
    if (size > 0 && data != nullptr)
        GlobalUnlock(handle);
    CloseClipboard();
    return m_ready ? kSaved : kNotSaved;
}

int CFormatSaver::AskAndWrite(HWND owner)
{
    if (!m_ready) {
        ShowError(owner, IDS_FORMAT_NOT_SAVABLE);
        return 0;
    }
    const char* extension = GetExtension();
    char upper[8] = "";
    lstrcpynA(upper, extension, sizeof upper);
    CharUpperA(upper);
    CText fileName, filter, title;
    SuggestFileName(m_name.GetString(), extension, fileName);
    filter.FormatResource(IDS_SAVE_FORMAT_FILTER, upper, extension, extension);
    title.LoadString(IDS_SAVE_FORMAT_TITLE);
    CFileDialog dialog(0, extension, fileName.GetString(),
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_ENABLESIZING,
                       filter.GetString());
    dialog.GetRecord().lpstrTitle = title.GetString();
    CText path;
    if (!dialog.DoModal(owner) || !dialog.GetPathName(path))
        return 0;
    if (WriteFileAtomically(path.GetString(), m_bytes))
        return 1;
    ShowError(owner, IDS_SAVE_FORMAT_FAILED);
    return 0;
}
