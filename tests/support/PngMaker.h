// Picture files (PNG, JPEG, GIF, BMP) made with the system's imaging codecs
// from 32-bit blue, green, red, alpha pixels, for tests and benchmarks that
// need real ones.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <vector>

inline std::vector<BYTE> MakeImageFile(const GUID& container, UINT width, UINT height,
                                       const std::vector<DWORD>& pixels)
{
    std::vector<BYTE> png;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   (void**)&factory)) &&
        SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
        SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format))) {
        // An encoder without alpha picks its own format: convert to it.
        IWICBitmap* source = nullptr;
        IWICFormatConverter* converter = nullptr;
        HRESULT written = factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGRA, width * 4,
                                                          width * height * 4, (BYTE*)pixels.data(), &source);
        if (SUCCEEDED(written) && !IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) &&
            SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
            SUCCEEDED(converter->Initialize(source, format, WICBitmapDitherTypeNone, nullptr, 0,
                                            WICBitmapPaletteTypeMedianCut)))
            written = frame->WriteSource(converter, nullptr);
        else if (SUCCEEDED(written))
            written = frame->WriteSource(source, nullptr);
        if (converter != nullptr)
            converter->Release();
        if (source != nullptr)
            source->Release();
        if (FAILED(written))
            frame = (frame->Release(), nullptr);
    }
    if (frame != nullptr &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit())) {
        HGLOBAL memory = nullptr;
        GetHGlobalFromStream(stream, &memory);
        STATSTG stat = {};
        stream->Stat(&stat, STATFLAG_NONAME);
        const BYTE* bytes = (const BYTE*)GlobalLock(memory);
        png.assign(bytes, bytes + stat.cbSize.QuadPart);
        GlobalUnlock(memory);
    }
    for (IUnknown* object : {(IUnknown*)frame, (IUnknown*)encoder, (IUnknown*)stream, (IUnknown*)factory})
        if (object != nullptr)
            object->Release();
    return png;
}

inline std::vector<BYTE> MakePng(UINT width, UINT height, const std::vector<DWORD>& pixels)
{
    return MakeImageFile(GUID_ContainerFormatPng, width, height, pixels);
}
