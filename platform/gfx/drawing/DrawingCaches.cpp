#include "gfx/drawing/DrawingCaches.h"

#include "gfx/drawing/BlurredAlphaCache.h"
#include "gfx/drawing/ResampledImageCache.h"
#include "gfx/drawing/ShadowMaskCache.h"
#include "gfx/text/PangoTextLayout.h"

namespace gfx {

void releaseDrawingCaches()
{
    ShadowMaskCache::current().clear();
    BlurredAlphaCache::current().clear();
    ResampledImageCache::current().clear();
    PangoTextLayout::forgetDrawingLayouts();
}

} // namespace gfx
