// Picture files that programs put on the clipboard (PNG, JPEG, GIF, BMP),
// decoded by the system's imaging codecs into a bitmap that the views
// draw, with any transparency blended over a background once, when the
// picture is decoded.
#pragma once

#include <windows.h>

#include <string>

// What the codec tells about a picture without decoding its pixels.
struct CPictureFacts {
    std::string codecName; // the decoder's friendly name
    UINT width;
    UINT height;
    UINT bitsPerPixel;
    int hasAlpha;
};

enum PictureState { kPictureEmpty, kPictureDecoded, kPictureNotDecoded, kPictureTooLarge };

// No picture whose 32-bit pixels would need more than this is decoded.
const unsigned long long kPictureByteLimit = 512ull * 1024 * 1024;

// Reads the facts of a picture file held in bytes; 0 when no codec knows it.
int ReadPictureFacts(const BYTE* bytes, UINT size, CPictureFacts* facts);

// A top-down 32-bit DIB section of width by height pixels, its bits in
// *bits; null when it cannot be made.
HBITMAP CreatePixelBitmap(UINT width, UINT height, DWORD** bits);

class CDecodedPicture {
public:
    CDecodedPicture()
        : m_state(kPictureEmpty), m_bitmap(nullptr), m_width(0), m_height(0), m_memory(nullptr), m_oldBitmap(nullptr)
    {
    }
    ~CDecodedPicture() { Release(); }
    CDecodedPicture(const CDecodedPicture&) = delete;
    CDecodedPicture& operator=(const CDecodedPicture&) = delete;

    // Decodes the first frame of a picture file into the bitmap, its
    // transparency blended over background. Answers the state reached.
    PictureState Decode(const BYTE* bytes, UINT size, COLORREF background);
    // Takes a bitmap made elsewhere (a version 5 DIB blended already).
    void Adopt(HBITMAP bitmap, UINT width, UINT height);
    void Release();

    PictureState GetState() const { return m_state; }
    UINT GetWidth() const { return m_width; }
    UINT GetHeight() const { return m_height; }
    // A memory context with the bitmap selected, kept from the first
    // drawing to the release, so that a repaint is one BitBlt.
    HDC GetMemoryDC(HDC compatible);

private:
    PictureState m_state;
    HBITMAP m_bitmap;
    UINT m_width;
    UINT m_height;
    HDC m_memory;
    HGDIOBJ m_oldBitmap;
};
