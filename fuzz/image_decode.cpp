// Decodes arbitrary bytes as a PNG or JPEG image (chat pictures arrive from the network) and checks that a
// decoded image is within the size limits and readable to its last pixel.
#include "gfx/images/Image.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto image = gfx::Image::decode(data, size);
    if (!image)
        return 0;
    if (image->pixelWidth() < 1 || image->pixelHeight() < 1 || image->pixelWidth() > 16384
        || image->pixelHeight() > 16384)
        std::abort();
    (void)image->pixel(image->pixelWidth() - 1, image->pixelHeight() - 1);
    return 0;
}
