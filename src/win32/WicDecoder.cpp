#include "WicDecoder.h"

#include <windows.h>
#include <wincodec.h>

#include <limits>

#include "Com.h"

namespace {

ComPtr<IWICImagingFactory> Factory() {
    ComPtr<IWICImagingFactory> factory;
    // The first factory: the second one needs Windows 8 or the Windows 7 platform update.
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put_void())))
        factory.reset();
    return factory;
}

// The first frame as 32bppBGR, whose fourth byte is padding: read as little-endian words, the
// pixels are 0x??RRGGBB.
std::optional<Bitmap> FirstFrame(IWICImagingFactory& factory, IWICBitmapDecoder& decoder) {
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(decoder.GetFrame(0, frame.put())) || FAILED(factory.CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        std::size_t{width} * height > kMaxDecodedPixels)
        return std::nullopt;
    Bitmap picture(static_cast<int>(width), static_cast<int>(height));
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(picture.pixels.data()))))
        return std::nullopt;
    for (std::uint32_t& p : picture.pixels) p &= 0xFFFFFF;
    return picture;
}

}  // namespace

std::optional<Bitmap> DecodePicture(const void* data, std::size_t size) noexcept {
    try {
        if (!data || size == 0 || size > std::numeric_limits<DWORD>::max()) return std::nullopt;
        const auto factory = Factory();
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapDecoder> decoder;
        // The stream only reads: WIC takes a non-const pointer but never writes through a decoder.
        if (!factory || FAILED(factory->CreateStream(stream.put())) ||
            FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), static_cast<DWORD>(size))) ||
            FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())))
            return std::nullopt;
        return FirstFrame(*factory.get(), *decoder.get());
    } catch (...) {
        return std::nullopt;  // no memory for the pixels
    }
}

std::optional<Bitmap> DecodePictureFile(const wchar_t* path) noexcept {
    try {
        if (!path) return std::nullopt;
        const auto factory = Factory();
        ComPtr<IWICBitmapDecoder> decoder;
        if (!factory || FAILED(factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ,
                                                                  WICDecodeMetadataCacheOnDemand, decoder.put())))
            return std::nullopt;
        return FirstFrame(*factory.get(), *decoder.get());
    } catch (...) {
        return std::nullopt;
    }
}
