// The file a user expects for one clipboard format's bytes: a .bmp for a
// device-independent bitmap, a placeable .wmf for a metafile picture, the
// document of an HTML clip, text without its terminating zero (UTF-8 for
// wide text), and pictures and anything else as held. Plain functions over
// bytes, without windows; none reads past data + size.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

enum FormatFileKind {
    kFileDib,            // CF_DIB, CF_DIBV5: .bmp
    kFileBitmap,         // CF_BITMAP: .bmp through its DIB
    kFileEnhMetafile,    // CF_ENHMETAFILE: .emf
    kFileMetafilePicture, // CF_METAFILEPICT: .wmf with the placeable header
    kFilePng,
    kFileJpeg,
    kFileGif,
    kFileHtml,           // "HTML Format": StartHTML to EndHTML
    kFileAnsiText,       // CF_TEXT, CF_OEMTEXT: up to the zero
    kFileWideText,       // CF_UNICODETEXT: UTF-8, up to the zero
    kFileRaw,            // every other format: .bin, as held
};

// registeredName counts for formats 0xC000 and above only (any letter case).
FormatFileKind FormatFileKindOf(uint32_t format, const char* registeredName);
// "bmp", "emf", "wmf", "png", "jpg", "gif", "html", "txt" or "bin".
const char* FormatFileExtension(FormatFileKind kind);

// A 14-byte file header ("BM", file size, bits offset) and the packed DIB.
// The bits offset counts the header (12-byte core or 40 to 124 bytes), the
// masks of a 40-byte header with BI_BITFIELDS (12) or BI_ALPHABITFIELDS (16)
// and the colour table. 0 when the header is unknown or the block ends
// before the bits start.
int EncodeBmpFile(const uint8_t* dib, size_t size, std::string& file);

// Metafile bits preceded by the 22-byte placeable header: the bounds come
// from the metafile's last window origin and extent when it sets them,
// otherwise from the picture's extents; the units per inch follow from the
// mapping mode (and, for the isotropic and anisotropic modes, from the
// suggested size in 0.01 mm). 0 when the bits do not start with a metafile
// header.
int EncodePlaceableMetafile(const uint8_t* bits, size_t size, int32_t mappingMode, int32_t xExtent,
                            int32_t yExtent, std::string& file);
// The placeable header's checksum: the XOR of its first ten 16-bit words.
uint16_t PlaceableChecksum(const uint8_t* header);

// The bytes from StartHTML to EndHTML; without that range the fragment,
// and without either the bytes as held.
void ExtractHtmlDocument(const uint8_t* data, size_t size, std::string& file);
// The bytes before the first zero.
void ExtractAnsiText(const uint8_t* data, size_t size, std::string& file);
// UTF-16 units before the first zero unit, as UTF-8; an unpaired surrogate
// becomes U+FFFD and a trailing odd byte is left out.
void Utf16ToUtf8(const uint8_t* data, size_t size, std::string& file);
