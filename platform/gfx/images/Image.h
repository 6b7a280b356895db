// gfx::Image: an immutable bitmap of premultiplied 32-bit ARGB pixels with a scale (pixels per point), made
// by decoding PNG or JPEG data or files, by snapshotting an image context, or by cutting another image. An
// image may carry stretch caps (stretchableImage), which the drawing context honours. Shared by std::shared_ptr; safe
// to read from any thread once made.
//
// Decoding never throws: damaged, unknown or oversized data (beyond 16384 pixels a side or 64 megapixels)
// gives nullptr ("no image"); a truncated JPEG decodes as far as its data goes.
//
//   auto photo = gfx::Image::decode(bytes);                    // scale 1
//   auto icon = gfx::Image::fromFile("resources/images/home@2x.png");   // scale 2, size in points = pixels / 2
//   auto top = photo->subImage({ 0, 0, 640, 100 });
#pragma once

#include "base/values/Value.h"
#include "gfx/drawing/PixelBuffer.h"
#include "gfx/geometry/Rect.h"
#include "gfx/geometry/Size.h"

#include <cairo.h>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

namespace gfx {

class Image {
public:
    static std::shared_ptr<Image> decode(const uint8_t* bytes, size_t length, double scale = 1);
    static std::shared_ptr<Image> decode(const base::Data& data, double scale = 1);
    // Reads and decodes a file; its scale is 2 or 3 when the name ends in "@2x" or "@3x" before the extension.
    static std::shared_ptr<Image> fromFile(const std::filesystem::path& path);
    // The resource image `name` ("Checkmark", "arrow.png", "Refresh.bundle/arrow.png"; ".png" when no
    // extension is given) from the images folder of the main bundle: the variant of the screen's scale
    // ("@2x") when there is one, else another, larger scales first. One shared image per name while any user
    // holds it; once none does, its pixels are freed and a later call decodes it again. nullptr when there is
    // none. Any thread.
    static std::shared_ptr<Image> named(std::string_view name);
    // Copies the pixels of `pixels` (premultiplied ARGB words).
    static std::shared_ptr<Image> fromPixels(const PixelBuffer& pixels, double scale);
    // Takes over a cairo image surface (one reference), converting it to ARGB32 when it is in another format.
    static std::shared_ptr<Image> adopt(cairo_surface_t* surface, double scale);

    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    int pixelWidth() const { return m_width; }
    int pixelHeight() const { return m_height; }
    double scale() const { return m_scale; }
    // The size in points: pixels divided by the scale.
    Size size() const { return { m_width / m_scale, m_height / m_scale }; }

    // The premultiplied ARGB word at a pixel; 0 outside the image.
    uint32_t pixel(int x, int y) const;
    const uint8_t* data() const { return m_data; }
    size_t rowBytes() const { return m_rowBytes; }

    // The pixels inside `pixelRect`, made integral and clipped to the image, at this image's scale; nullptr
    // when nothing is left.
    std::shared_ptr<Image> subImage(const Rect& pixelRect) const;

    // The same pixels as an image that stretches when drawn into a larger rectangle: the left `leftCapWidth`
    // points and the columns right of the one column after them keep their width, that column stretches;
    // likewise the top `topCapHeight` points, one row, and the rows below it. A cap of 0 stretches the whole
    // image in that direction. Caps are cut to the image.
    std::shared_ptr<Image> stretchableImage(double leftCapWidth, double topCapHeight) const;
    double leftCapWidth() const { return m_leftCapWidth; }
    double topCapHeight() const { return m_topCapHeight; }
    bool isStretchable() const { return m_leftCapWidth > 0 || m_topCapHeight > 0; }

    // PNG encoding of the pixels (alpha kept); empty on failure.
    base::Data pngData() const;
    bool writePNG(const std::filesystem::path& path) const;

    // The backing surface, for drawing the image as a source; never draw into it.
    cairo_surface_t* cairoSurface() const { return m_surface; }

private:
    Image(cairo_surface_t* surface, double scale);

    cairo_surface_t* m_surface;
    const uint8_t* m_data;
    int m_width;
    int m_height;
    size_t m_rowBytes;
    double m_scale;
    double m_leftCapWidth { 0 };
    double m_topCapHeight { 0 };
};

} // namespace gfx
