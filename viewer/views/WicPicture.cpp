#include "WicPicture.h"

#include <wincodec.h>

#include "ViewBytes.h"

namespace {
// One factory serves the thread for the whole run; the views live on the
// program's one thread.
IWICImagingFactory* Factory()
{
    static IWICImagingFactory* factory = nullptr;
    static int tried = 0;
    if (!tried) {
        tried = 1;
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         (void**)&factory);
    }
    return factory;
}

uint32_t BgrOf(COLORREF colour)
{
    return (uint32_t)GetRValue(colour) << 16 | (uint32_t)GetGValue(colour) << 8 | GetBValue(colour);
}

template <class T> void ReleaseOf(T*& object)
{
    if (object != nullptr)
        object->Release();
    object = nullptr;
}

// The decoder and first frame of a picture file read from the bytes
// themselves: the stream never reaches past size.
class CPictureSource {
public:
    CPictureSource(const BYTE* bytes, UINT size) : m_stream(nullptr), m_decoder(nullptr), m_frame(nullptr)
    {
        IWICImagingFactory* factory = Factory();
        if (factory == nullptr || bytes == nullptr || size == 0 || FAILED(factory->CreateStream(&m_stream)) ||
            FAILED(m_stream->InitializeFromMemory((BYTE*)bytes, size)) ||
            FAILED(factory->CreateDecoderFromStream(m_stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                    &m_decoder)) ||
            FAILED(m_decoder->GetFrame(0, &m_frame)))
            ReleaseOf(m_frame);
    }
    ~CPictureSource()
    {
        ReleaseOf(m_frame);
        ReleaseOf(m_decoder);
        ReleaseOf(m_stream);
    }
    IWICBitmapDecoder* Decoder() const { return m_decoder; }
    IWICBitmapFrameDecode* Frame() const { return m_frame; }

private:
    IWICStream* m_stream;
    IWICBitmapDecoder* m_decoder;
    IWICBitmapFrameDecode* m_frame;
};

int HasAlphaChannel(const WICPixelFormatGUID& format)
{
    static const GUID* const withAlpha[] = {
        &GUID_WICPixelFormat32bppBGRA,   &GUID_WICPixelFormat32bppPBGRA,  &GUID_WICPixelFormat32bppRGBA,
        &GUID_WICPixelFormat32bppPRGBA,  &GUID_WICPixelFormat64bppRGBA,   &GUID_WICPixelFormat64bppPRGBA,
        &GUID_WICPixelFormat64bppBGRA,   &GUID_WICPixelFormat16bppBGRA5551, &GUID_WICPixelFormat128bppRGBAFloat,
    };
    for (const GUID* known : withAlpha)
        if (IsEqualGUID(format, *known))
            return 1;
    return 0;
}

UINT BitsPerPixel(const WICPixelFormatGUID& format)
{
    UINT bits = 0;
    IWICComponentInfo* component = nullptr;
    IWICPixelFormatInfo* info = nullptr;
    if (SUCCEEDED(Factory()->CreateComponentInfo(format, &component)) &&
        SUCCEEDED(component->QueryInterface(IID_IWICPixelFormatInfo, (void**)&info)))
        info->GetBitsPerPixel(&bits);
    ReleaseOf(info);
    ReleaseOf(component);
    return bits;
}

std::string CodecName(IWICBitmapDecoder* decoder)
{
    IWICBitmapDecoderInfo* info = nullptr;
    WCHAR name[128] = L"";
    UINT length = 0;
    if (SUCCEEDED(decoder->GetDecoderInfo(&info)))
        info->GetFriendlyName(128, name, &length);
    ReleaseOf(info);
    name[127] = 0;
    char ansi[256] = "";
    WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}
} // namespace

int ReadPictureFacts(const BYTE* bytes, UINT size, CPictureFacts* facts)
{
    CPictureSource source(bytes, size);
    WICPixelFormatGUID format;
    if (source.Frame() == nullptr || FAILED(source.Frame()->GetSize(&facts->width, &facts->height)) ||
        FAILED(source.Frame()->GetPixelFormat(&format)))
        return 0;
    facts->codecName = CodecName(source.Decoder());
    facts->bitsPerPixel = BitsPerPixel(format);
    facts->hasAlpha = HasAlphaChannel(format);
    return 1;
}

HBITMAP CreatePixelBitmap(UINT width, UINT height, DWORD** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = (LONG)width;
    info.bmiHeader.biHeight = -(LONG)height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, (void**)bits, nullptr, 0);
}

PictureState CDecodedPicture::Decode(const BYTE* bytes, UINT size, COLORREF background)
{
    Release();
    m_state = kPictureNotDecoded;
    // A PNG that claims too many pixels is refused before any codec sees
    // it: some decoders set up the whole image when they open the file.
    uint32_t claimedWidth, claimedHeight;
    if (bytes != nullptr && ReadPngSize(bytes, size, &claimedWidth, &claimedHeight) &&
        (unsigned long long)claimedWidth * claimedHeight * 4 > kPictureByteLimit) {
        m_width = claimedWidth;
        m_height = claimedHeight;
        return m_state = kPictureTooLarge;
    }
    CPictureSource source(bytes, size);
    IWICBitmapFrameDecode* frame = source.Frame();
    UINT width = 0, height = 0;
    WICPixelFormatGUID format;
    if (frame == nullptr || FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format)) ||
        width == 0 || height == 0)
        return m_state;
    m_width = width;
    m_height = height;
    if ((unsigned long long)width * height * 4 > kPictureByteLimit || width > 0x7FFFFFFF / 4)
        return m_state = kPictureTooLarge;
    IWICFormatConverter* converter = nullptr;
    DWORD* pixels = nullptr;
    HBITMAP bitmap = nullptr;
    HRESULT result = Factory()->CreateFormatConverter(&converter);
    if (SUCCEEDED(result))
        result = converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                       WICBitmapPaletteTypeCustom);
    if (SUCCEEDED(result)) {
        bitmap = CreatePixelBitmap(width, height, &pixels);
        result = bitmap != nullptr ? converter->CopyPixels(nullptr, width * 4, width * height * 4, (BYTE*)pixels)
                                   : E_OUTOFMEMORY;
    }
    ReleaseOf(converter);
    // A picture cut short fails here: it shows no half-decoded rows.
    if (FAILED(result)) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        return m_state;
    }
    if (HasAlphaChannel(format) || IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed))
        BlendBgraPixels((uint32_t*)pixels, (size_t)width * height, BgrOf(background));
    GdiFlush();
    m_bitmap = bitmap;
    return m_state = kPictureDecoded;
}

void CDecodedPicture::Adopt(HBITMAP bitmap, UINT width, UINT height)
{
    Release();
    m_bitmap = bitmap;
    m_width = width;
    m_height = height;
    m_state = bitmap != nullptr ? kPictureDecoded : kPictureNotDecoded;
}

HDC CDecodedPicture::GetMemoryDC(HDC compatible)
{
    if (m_memory == nullptr && m_bitmap != nullptr) {
        m_memory = CreateCompatibleDC(compatible);
        if (m_memory != nullptr)
            m_oldBitmap = SelectObject(m_memory, m_bitmap);
    }
    return m_memory;
}

void CDecodedPicture::Release()
{
    if (m_memory != nullptr) {
        SelectObject(m_memory, m_oldBitmap);
        DeleteDC(m_memory);
    }
    m_memory = nullptr;
    m_oldBitmap = nullptr;
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_width = m_height = 0;
    m_state = kPictureEmpty;
}
