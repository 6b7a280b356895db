#include "gfx/images/Image.h"

#include "gfx/images/ImageCodecs.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace gfx {

namespace {

    double scaleFromFileName(const std::filesystem::path& path)
    {
        std::string stem = path.stem().string();
        if (stem.ends_with("@2x"))
            return 2;
        if (stem.ends_with("@3x"))
            return 3;
        return 1;
    }

    double validScale(double scale) { return scale > 0 && std::isfinite(scale) ? scale : 1; }

} // namespace

Image::Image(cairo_surface_t* surface, double scale)
    : m_surface(surface)
    , m_data(cairo_image_surface_get_data(surface))
    , m_width(cairo_image_surface_get_width(surface))
    , m_height(cairo_image_surface_get_height(surface))
    , m_rowBytes(static_cast<size_t>(cairo_image_surface_get_stride(surface)))
    , m_scale(validScale(scale))
{
}

Image::~Image() { cairo_surface_destroy(m_surface); }

std::shared_ptr<Image> Image::decode(const uint8_t* bytes, size_t length, double scale)
{
    cairo_surface_t* surface = nullptr;
    if (looksLikePNG(bytes, length))
        surface = decodePNG(bytes, length);
    else if (looksLikeJPEG(bytes, length))
        surface = decodeJPEG(bytes, length);
    return surface ? adopt(surface, scale) : nullptr;
}

std::shared_ptr<Image> Image::decode(const base::Data& data, double scale)
{
    return decode(data.data(), data.size(), scale);
}

std::shared_ptr<Image> Image::fromFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return nullptr;
    base::Data bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return decode(bytes, scaleFromFileName(path));
}

std::shared_ptr<Image> Image::fromPixels(const PixelBuffer& pixels, double scale)
{
    if (!acceptableImageDimensions(pixels.width, pixels.height))
        return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels.width, pixels.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(surface));
    for (int y = 0; y < pixels.height; ++y)
        std::copy_n(pixels.row(y), static_cast<size_t>(pixels.width) * 4, data + y * stride);
    cairo_surface_mark_dirty(surface);
    return std::shared_ptr<Image>(new Image(surface, scale));
}

std::shared_ptr<Image> Image::adopt(cairo_surface_t* surface, double scale)
{
    if (!surface)
        return nullptr;
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS
        || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        int width = cairo_image_surface_get_width(surface);
        int height = cairo_image_surface_get_height(surface);
        cairo_surface_t* converted = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cairo_t* cr = cairo_create(converted);
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        surface = converted;
        if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(surface);
            return nullptr;
        }
    }
    cairo_surface_flush(surface);
    return std::shared_ptr<Image>(new Image(surface, scale));
}

uint32_t Image::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return PixelBuffer { const_cast<uint8_t*>(m_data), m_width, m_height, m_rowBytes }.pixel(x, y);
}

std::shared_ptr<Image> Image::subImage(const Rect& pixelRect) const
{
    Rect cut = pixelRect.integral().intersection(Rect(0, 0, m_width, m_height));
    if (cut.isEmpty())
        return nullptr;
    PixelBuffer part { const_cast<uint8_t*>(m_data) + static_cast<size_t>(cut.minY()) * m_rowBytes
            + static_cast<size_t>(cut.minX()) * 4,
        static_cast<int>(cut.width()), static_cast<int>(cut.height()), m_rowBytes };
    return fromPixels(part, m_scale);
}

std::shared_ptr<Image> Image::stretchableImage(double leftCapWidth, double topCapHeight) const
{
    auto capped = std::shared_ptr<Image>(new Image(cairo_surface_reference(m_surface), m_scale));
    auto cut = [](double cap, double limit) { return std::isfinite(cap) ? std::clamp(cap, 0.0, limit) : 0.0; };
    capped->m_leftCapWidth = cut(leftCapWidth, size().width);
    capped->m_topCapHeight = cut(topCapHeight, size().height);
    return capped;
}

base::Data Image::pngData() const { return encodePNG(m_surface); }

bool Image::writePNG(const std::filesystem::path& path) const
{
    base::Data bytes = pngData();
    if (bytes.empty())
        return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace gfx
