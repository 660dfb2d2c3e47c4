#include "Png.h"

#include "platform/Com.h"

#include <wincodec.h>

bool WritePng(const std::filesystem::path& path, int width, int height,
              const std::vector<std::uint32_t>& pixels)
{
    const ComApartment com;
    UniqueComPtr<IWICImagingFactory> factory;
    UniqueComPtr<IWICStream> stream;
    UniqueComPtr<IWICBitmapEncoder> encoder;
    UniqueComPtr<IWICBitmapFrameEncode> frame;
    // A pixel 0x00RRGGBB lies in memory as blue, green, red and a byte left unused.
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    const UINT stride = static_cast<UINT>(width) * 4;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(factory.Put()))) &&
           SUCCEEDED(factory.Get()->CreateStream(stream.Put())) &&
           SUCCEEDED(stream.Get()->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory.Get()->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put())) &&
           SUCCEEDED(encoder.Get()->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder.Get()->CreateNewFrame(frame.Put(), nullptr)) &&
           SUCCEEDED(frame.Get()->Initialize(nullptr)) &&
           SUCCEEDED(frame.Get()->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
           SUCCEEDED(frame.Get()->SetPixelFormat(&format)) &&
           IsEqualGUID(format, GUID_WICPixelFormat32bppBGR) &&
           SUCCEEDED(frame.Get()->WritePixels(
               static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
               reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.data())))) &&
           SUCCEEDED(frame.Get()->Commit()) && SUCCEEDED(encoder.Get()->Commit());
}
