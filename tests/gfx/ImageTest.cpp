#include "gfx/images/Image.h"
#include "gfx/drawing/Context.h"
#include "support/TempDir.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <jpeglib.h>

using gfx::Color;
using gfx::Image;

namespace {

// A picture with opaque, half-transparent and clear pixels.
std::shared_ptr<Image> samplePicture(double scale = 1)
{
    auto c = gfx::Context::makeBitmap({ 8 / scale, 6 / scale }, scale);
    c->scaleBy(1 / scale, 1 / scale);
    c->setFillColor(Color::red());
    c->fillRect({ 0, 0, 4, 6 });
    c->setFillColor(Color::rgb(0, 0, 1, 0.6));
    c->fillRect({ 4, 0, 2, 6 });
    return c->makeImage();
}

// A width x height JPEG of one colour, written with the system encoder.
base::Data solidJPEG(int width, int height, uint8_t r, uint8_t g, uint8_t b)
{
    jpeg_compress_struct info {};
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[x * 3] = r;
        row[x * 3 + 1] = g;
        row[x * 3 + 2] = b;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = { row.data() };
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    base::Data data(buffer, buffer + size);
    free(buffer);
    return data;
}

} // namespace

TEST(Image, PNGRoundTripKeepsPixelsAndAlpha)
{
    auto picture = samplePicture();
    base::Data png = picture->pngData();
    ASSERT_FALSE(png.empty());
    auto decoded = Image::decode(png);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->pixelWidth(), 8);
    ASSERT_EQ(decoded->pixelHeight(), 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(decoded->pixel(x, y), picture->pixel(x, y)) << x << "," << y;
    EXPECT_EQ(decoded->pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(decoded->pixel(7, 0), 0u);
}

TEST(Image, JPEGDecodesToOpaquePixels)
{
    auto decoded = Image::decode(solidJPEG(16, 8, 200, 40, 10), 2);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixelWidth(), 16);
    EXPECT_EQ(decoded->size(), (gfx::Size { 8, 4 }));
    uint32_t p = decoded->pixel(5, 5);
    EXPECT_EQ(p >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>(p >> 16 & 0xFF), 200, 3);
    EXPECT_NEAR(static_cast<int>(p >> 8 & 0xFF), 40, 3);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 10, 3);
}

TEST(Image, DamagedOrForeignDataGivesNoImage)
{
    EXPECT_FALSE(Image::decode(base::Data {}));
    EXPECT_FALSE(Image::decode(base::Data { 'G', 'I', 'F', '8', '9', 'a' }));
    base::Data png = samplePicture()->pngData();
    png.resize(png.size() / 2);
    EXPECT_FALSE(Image::decode(png));
    base::Data jpeg = solidJPEG(8, 8, 1, 2, 3);
    EXPECT_FALSE(Image::decode(base::Data(jpeg.begin(), jpeg.begin() + 20)));
}

TEST(Image, OversizedHeadersAreRefusedBeforeAllocating)
{
    base::Data png = samplePicture()->pngData();
    // IHDR width at bytes 16..19: claim 100000 pixels.
    png[16] = 0x00;
    png[17] = 0x01;
    png[18] = 0x86;
    png[19] = 0xA0;
    EXPECT_FALSE(Image::decode(png));
}

TEST(Image, SubImageIsIntegralAndClippedToTheImage)
{
    auto picture = samplePicture(2);
    auto right = picture->subImage({ 3.5, 1.2, 100, 2 });
    ASSERT_TRUE(right);
    EXPECT_EQ(right->pixelWidth(), 5);
    EXPECT_EQ(right->pixelHeight(), 3);
    EXPECT_EQ(right->scale(), 2);
    EXPECT_EQ(right->pixel(0, 0), picture->pixel(3, 1));
    EXPECT_EQ(right->pixel(1, 0), picture->pixel(4, 1));
    EXPECT_FALSE(picture->subImage({ 20, 0, 5, 5 }));
    EXPECT_FALSE(picture->subImage(gfx::Rect::null()));
}

TEST(Image, FilesTakeTheirScaleFromTheName)
{
    test::TempDir dir;
    auto picture = samplePicture();
    ASSERT_TRUE(picture->writePNG(dir.path() / "arrow@2x.png"));
    ASSERT_TRUE(picture->writePNG(dir.path() / "arrow.png"));
    auto doubled = Image::fromFile(dir.path() / "arrow@2x.png");
    ASSERT_TRUE(doubled);
    EXPECT_EQ(doubled->scale(), 2);
    EXPECT_EQ(doubled->size(), (gfx::Size { 4, 3 }));
    EXPECT_EQ(Image::fromFile(dir.path() / "arrow.png")->scale(), 1);
    EXPECT_FALSE(Image::fromFile(dir.path() / "missing.png"));
}
