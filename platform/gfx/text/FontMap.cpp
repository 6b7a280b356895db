#include "gfx/text/FontMap.h"

#include <pango/pangocairo.h>

namespace gfx {

void startFontMap() { (void)pango_cairo_font_map_get_default(); }

} // namespace gfx
