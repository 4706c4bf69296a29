#include "win32/WicDecoder.h"

#include <windows.h>
#include <wincodec.h>

#include <utility>

namespace {

constexpr UINT kMaxSide = 8192;

// Owns one COM interface pointer.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { if (p_) p_->Release(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* get() const { return p_; }
    T** put() { if (p_) p_->Release(); p_ = nullptr; return &p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// COM for this thread, kept for the thread's life: WIC objects may be made on it at any time.
bool EnsureCom() {
    thread_local const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
}

ComPtr<IWICImagingFactory>* Factory() {
    thread_local ComPtr<IWICImagingFactory> factory;
    if (!factory && EnsureCom())
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         reinterpret_cast<void**>(factory.put()));
    return factory ? &factory : nullptr;
}

std::optional<Bitmap> Decode(IWICImagingFactory* factory, IWICBitmapDecoder* decoder) {
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return std::nullopt;
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        return std::nullopt;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    Bitmap picture(static_cast<int>(width), static_cast<int>(height));
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(picture.pixels.data()))))
        return std::nullopt;
    for (std::uint32_t& p : picture.pixels) p &= 0xFFFFFF;  // B, G, R in memory: 0x00RRGGBB; the fourth byte is unused
    return picture;
}

}  // namespace

std::optional<Bitmap> DecodePicture(const void* data, std::size_t size) {
    auto* factory = Factory();
    if (!factory || !data || size == 0 || size > 0x7FFFFFFF) return std::nullopt;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED((*factory)->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), static_cast<DWORD>(size))) ||
        FAILED((*factory)->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())))
        return std::nullopt;
    return Decode(factory->get(), decoder.get());
}

std::optional<Bitmap> DecodePictureFile(const std::wstring& path) {
    auto* factory = Factory();
    if (!factory) return std::nullopt;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED((*factory)->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     decoder.put())))
        return std::nullopt;
    return Decode(factory->get(), decoder.get());
}
