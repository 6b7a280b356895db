#include "gfx/images/ImageContext.h"

#include "base/system/Facts.h"
#include "gfx/drawing/CurrentContext.h"

namespace gfx {

Context* ImageContext::begin(Size size, bool opaque, double scale)
{
    auto context = Context::makeBitmap(size, scale > 0 ? scale : base::Facts::current().screenScale(), opaque);
    Context* result = context.get();
    CurrentContext::push(std::move(context), true);
    return result;
}

std::shared_ptr<Image> ImageContext::image()
{
    if (!CurrentContext::topIsImageContext())
        return nullptr;
    Context* context = CurrentContext::get();
    return context ? context->makeImage() : nullptr;
}

void ImageContext::end()
{
    if (CurrentContext::topIsImageContext())
        CurrentContext::pop();
}

} // namespace gfx
