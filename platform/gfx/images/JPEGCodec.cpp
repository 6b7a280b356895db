#include "gfx/images/ImageCodecs.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace gfx {

namespace {

    struct ErrorManager {
        jpeg_error_mgr base;
        std::jmp_buf jump;
    };

    [[noreturn]] void onError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

    // Warnings about damaged data are not reported; the image decodes as far as it can.
    void onMessage(j_common_ptr) { }

} // namespace

bool looksLikeJPEG(const uint8_t* bytes, size_t length)
{
    return length >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

// Only trivially destructible locals live in this function, because an error returns here by longjmp.
cairo_surface_t* decodeJPEG(const uint8_t* bytes, size_t length)
{
    if (!looksLikeJPEG(bytes, length))
        return nullptr;
    jpeg_decompress_struct info {};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    cairo_surface_t* volatile surface = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        if (surface)
            cairo_surface_destroy(surface);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(&info, TRUE);
    if (!acceptableImageDimensions(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    // Cairo's ARGB32 words in memory byte order; the alpha bytes come out as 0xFF.
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    info.out_color_space = JCS_EXT_ARGB;
#else
    info.out_color_space = JCS_EXT_BGRA;
#endif
    jpeg_start_decompress(&info);
    surface = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        jpeg_destroy_decompress(&info);
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = data + static_cast<size_t>(info.output_scanline) * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    cairo_surface_mark_dirty(surface);
    return surface;
}

} // namespace gfx
