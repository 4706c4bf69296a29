#include "native/JpegPictureDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

namespace {

// Far beyond the 640 x 480 satellite picture, and small enough that a forged header cannot ask
// for a huge allocation.
constexpr JDIMENSION kMaxSide = 8192;
constexpr std::size_t kMaxPixels = 16u * 1024u * 1024u;
// What libjpeg may allocate for one picture: the coefficients of a progressive picture of the
// largest size allowed, with room to spare.
constexpr long kMaxLibjpegMemory = 160L * 1024 * 1024;

bool Allowed(JDIMENSION width, JDIMENSION height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           static_cast<std::size_t>(width) * height <= kMaxPixels;
}

struct JumpingErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JumpingErrors*>(cinfo->err)->jump, 1);
}

void OnMessage(j_common_ptr) {}  // the messages themselves are of no use to the user

// libjpeg reports errors by jumping back here, so nothing in this frame may need a destructor
// after the setjmp; the picture lives in the caller's frame.
bool Decode(std::FILE* file, Bitmap* out) {
    jpeg_decompress_struct cinfo{};
    JumpingErrors errors{};
    cinfo.err = jpeg_std_error(&errors.mgr);
    errors.mgr.error_exit = OnError;
    errors.mgr.output_message = OnMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    // Before jpeg_start_decompress: it allocates for the declared size (a progressive picture
    // keeps all its coefficients), so a forged header would cost gigabytes there.
    if (!Allowed(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const JDIMENSION width = cinfo.output_width, height = cinfo.output_height;
    if (cinfo.output_components != 3 || !Allowed(width, height)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    try {
        *out = Bitmap(static_cast<int>(width), static_cast<int>(height));
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, width * 3, 1);
    while (cinfo.output_scanline < height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
        const JSAMPLE* p = row[0];
        for (int x = 0; x < static_cast<int>(width); ++x, p += 3)
            out->at(x, y) = static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2];
    }
    const bool whole = cinfo.output_scanline == height;
    if (whole) jpeg_finish_decompress(&cinfo);
    const bool clean = whole && errors.mgr.num_warnings == 0;
    jpeg_destroy_decompress(&cinfo);
    return clean;
}

// Decodes the picture `file` reads and closes it; nothing for a file that could not be opened.
std::optional<Bitmap> DecodeAndClose(std::FILE* file) {
    if (!file) return std::nullopt;
    Bitmap picture;
    const bool ok = Decode(file, &picture);
    std::fclose(file);
    if (!ok) return std::nullopt;
    return picture;
}

}  // namespace

std::optional<Bitmap> JpegPictureDecoder::LoadPicture(std::string_view path) {
    return DecodeAndClose(std::fopen(std::string(path).c_str(), "rb"));
}

std::optional<Bitmap> JpegPictureDecoder::DecodeBytes(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return std::nullopt;
    // fmemopen only reads through the buffer it is given in mode "rb".
    return DecodeAndClose(fmemopen(const_cast<std::uint8_t*>(bytes.data()), bytes.size(), "rb"));
}
