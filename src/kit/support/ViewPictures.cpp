#include "kit/support/ViewPictures.h"

#include "base/loop/MainThread.h"
#include "gfx/images/ImageContext.h"

namespace kit {

std::shared_ptr<gfx::Image> screenshot(ui::View& view) { return screenshotWithOffset(view, 0); }

std::shared_ptr<gfx::Image> screenshotWithOffset(ui::View& view, double dy)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::ImageContext::begin(view.frame().size, false, 0);
    if (context) {
        context->translateBy(0, dy);
        view.layer()->renderInContext(*context);
    }
    auto image = gfx::ImageContext::image();
    gfx::ImageContext::end();
    return image;
}

std::shared_ptr<gfx::Image> snapshotImageWithScale(ui::View& view, double scale)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Rect bounds = view.bounds();
    gfx::ImageContext::begin(bounds.size, false, scale);
    // A view that cannot draw leaves the picture blank, which is then what the caller gets.
    (void)view.drawViewHierarchyInRect({ 0, 0, bounds.width(), bounds.height() }, true);
    auto image = gfx::ImageContext::image();
    gfx::ImageContext::end();
    return image;
}

} // namespace kit
