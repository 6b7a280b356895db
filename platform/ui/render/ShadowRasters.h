// ui::ShadowRasters: the shadows layers cast from their shadow paths, blurred once over the whole path and
// kept between frames. A blurred shadow costs far more to make than to paint, and a screen paints the same
// ones frame after frame, or moves them (the drawer's centre casts one the size of the screen and slides), so
// a raster is made for a path, shadow and device scale, rotation and skew, and painted wherever the layer
// goes, at the whole device pixel nearest to where the layer is. A raster keeps its longest run of equal rows
// and of equal columns as one line each, stretched back when painted, so the shadow of a long straight-sided
// shape (the drawer's centre) holds a small frame rather than a bitmap of its whole size. Since a raster never
// depends on the clip, a part of the screen redrawn alone gets exactly the pixels a whole redraw gets. A raster
// larger than `maxPixels` is not made (the caller draws that shadow itself). A few rasters, least recently
// used dropped first. Main thread.
//
//   if (!ui::ShadowRasters::main().paint(context, path, shadow))
//       context.fillShadowOfPath(path);   // with the shadow set
#pragma once

#include "gfx/drawing/Context.h"
#include "gfx/drawing/Path.h"
#include "gfx/drawing/Shadow.h"
#include "gfx/geometry/Rect.h"
#include "gfx/images/Image.h"

#include <list>
#include <memory>

namespace ui {

class ShadowRasters {
public:
    static constexpr size_t capacity = 8;
    static constexpr double maxPixels = 4096.0 * 4096;

    static ShadowRasters& main();

    // Paints the shadow that filling `path` (in `context`'s user space) casts; false, painting nothing, when
    // its raster would exceed maxPixels.
    bool paint(gfx::Context& context, const gfx::Path& path, const gfx::Shadow& shadow);
    // Whether a shadow reaching over `deviceArea` (its path's box grown by its reach, in device pixels) is
    // small enough to keep.
    static bool keeps(const gfx::Rect& deviceArea);
    // How far a shadow's raster reaches past its path's box, in device pixels.
    static double reach(const gfx::Shadow& shadow, double scale);
    size_t size() const { return m_rasters.size(); }
    // The pixels the kept rasters hold.
    size_t pixelCount() const;
    // Drops every raster.
    void clear() { m_rasters.clear(); }

private:
    struct Raster {
        gfx::Path path;
        gfx::Shadow shadow;
        // The device matrix's linear part and the context's scale.
        double a, b, c, d, scale;
        // Drawn over `area`, with its runs of equal rows and columns collapsed (see collapseRuns).
        std::shared_ptr<gfx::Image> image;
        // Where the shadow lies from the layer's whole-pixel device origin, in device pixels.
        gfx::Rect area;
    };

    const Raster* find(
        const gfx::Path& path, const gfx::Shadow& shadow, const gfx::AffineTransform& device, double scale);
    // Null when the raster would be too large or cannot be made.
    std::shared_ptr<gfx::Image> make(Raster& raster);

    std::list<Raster> m_rasters;
};

} // namespace ui
