// PNG files made with the system's imaging codecs from 32-bit blue, green,
// red, alpha pixels, for tests and benchmarks that need real picture files.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <vector>

inline std::vector<BYTE> MakePng(UINT width, UINT height, const std::vector<DWORD>& pixels)
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
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
        SUCCEEDED(frame->WritePixels(height, width * 4, width * height * 4, (BYTE*)pixels.data())) &&
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
