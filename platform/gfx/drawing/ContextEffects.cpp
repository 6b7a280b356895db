// gfx::Context: blend modes, alpha, shadows, transparency layers and gradients.
#include "gfx/drawing/BlurredAlphaCache.h"
#include "gfx/drawing/BoxBlur.h"
#include "gfx/drawing/Context.h"
#include "gfx/drawing/ShadowMaskCache.h"

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

    // How far three box passes of `kernel` spread a pixel, plus room for rounding.
    int blurSpread(int kernel) { return kernel > 1 ? 3 * (kernel / 2) + 2 : 1; }

    Rect expanded(const Rect& r, double by)
    {
        return r.isNull() ? r : Rect(r.minX() - by, r.minY() - by, r.width() + 2 * by, r.height() + 2 * by);
    }

    // Ends a group and returns it as a pattern addressed in device pixels, to paint under the identity matrix.
    cairo_pattern_t* popGroupInDeviceSpace(cairo_t* cr)
    {
        cairo_pattern_t* pattern = cairo_pop_group(cr);
        cairo_matrix_t identity;
        cairo_matrix_init_identity(&identity);
        cairo_pattern_set_matrix(pattern, &identity);
        return pattern;
    }

    // Saves the state and narrows the clip to `region`, given in device pixels, keeping the user-space matrix
    // and leaving no path; the caller restores.
    void saveClippedToDeviceRegion(cairo_t* cr, const Rect& region)
    {
        cairo_matrix_t matrix;
        cairo_get_matrix(cr, &matrix);
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_new_path(cr);
        cairo_rectangle(cr, region.minX(), region.minY(), region.width(), region.height());
        cairo_clip(cr);
        cairo_set_matrix(cr, &matrix);
    }

    Rect boundingUnion(const Rect& a, const Rect& b)
    {
        if (a.isNull())
            return b;
        if (b.isNull())
            return a;
        double x1 = std::min(a.minX(), b.minX()), y1 = std::min(a.minY(), b.minY());
        double x2 = std::max(a.maxX(), b.maxX()), y2 = std::max(a.maxY(), b.maxY());
        return Rect(x1, y1, x2 - x1, y2 - y1);
    }

} // namespace

void Context::noteInk(const Rect& deviceInk)
{
    // The innermost open transparency layer learns where it has been painted.
    auto layer = std::find_if(m_states.rbegin(), m_states.rend(), [](const State& s) { return s.layer; });
    if (layer != m_states.rend())
        layer->layerInk = boundingUnion(layer->layerInk, deviceInk.intersection(deviceClipBox()));
}

void Context::paint(const std::function<void()>& draw, const Rect& deviceInk)
{
    noteInk(deviceInk);
    const State s = state();
    if (s.blend == BlendMode::Clear) {
        cairo_save(m_cr);
        cairo_set_operator(m_cr, CAIRO_OPERATOR_CLEAR);
        draw();
        cairo_restore(m_cr);
        return;
    }
    if (!s.shadow || s.shadow->color.a <= 0) {
        if (s.alpha >= 1) {
            draw();
            return;
        }
        cairo_push_group(m_cr);
        draw();
        cairo_pattern_t* pattern = popGroupInDeviceSpace(m_cr);
        paintPatternInRegion(pattern, deviceInk.insetBy(-1, -1).integral(), s.alpha);
        cairo_pattern_destroy(pattern);
        return;
    }

    // Draw into a group limited to the ink that can show, itself or as shadow, then cast the shadow from the
    // group's alpha and paint the group over it.
    Rect region = shadowInkRegion(deviceInk, *s.shadow);
    if (region.isEmpty()) {
        cairo_new_path(m_cr);
        return;
    }
    cairo_path_t* path = cairo_copy_path(m_cr);
    saveClippedToDeviceRegion(m_cr, region);
    cairo_append_path(m_cr, path);
    cairo_path_destroy(path);
    cairo_push_group(m_cr);
    draw();
    cairo_pattern_t* pattern = popGroupInDeviceSpace(m_cr);
    cairo_restore(m_cr);
    paintWithShadow(pattern, region, s);
    cairo_pattern_destroy(pattern);
}

void Context::keepingPath(const std::function<void()>& draw)
{
    cairo_path_t* path = cairo_copy_path(m_cr);
    cairo_new_path(m_cr);
    draw();
    cairo_new_path(m_cr);
    cairo_append_path(m_cr, path);
    cairo_path_destroy(path);
}

void Context::paintKeepingPath(const std::function<void()>& draw, const Rect& deviceInk)
{
    keepingPath([&] { paint(draw, deviceInk); });
}

Rect Context::shadowInkRegion(const Rect& deviceInk, const Shadow& shadow) const
{
    int kernel = boxKernelSizeForRadius(shadow.blur * m_scale / 2);
    double spread = blurSpread(kernel);
    Rect clip = deviceClipBox();
    Rect shadowSource = clip.offsetBy(-shadow.offset.width * m_scale, -shadow.offset.height * m_scale);
    Rect needed = deviceInk.intersection(expanded(boundingUnion(clip, shadowSource), spread));
    return expanded(needed, spread).integral();
}

void Context::paintWithShadow(cairo_pattern_t* pattern, const Rect& region, const State& s, bool paintPattern)
{
    cairo_surface_t* mask = makeShadowMask(pattern, region, *s.shadow);
    if (mask) {
        castShadow(mask, region, s);
        cairo_surface_destroy(mask);
    }
    // Without a mask (too large to cast a shadow from: the whole clip of an unbounded surface, say) the
    // pattern is painted without one rather than put the context into an error state.
    if (paintPattern)
        paintPatternInRegion(pattern, region, s.alpha);
}

cairo_surface_t* Context::makeShadowMask(cairo_pattern_t* pattern, const Rect& region, const Shadow& shadow) const
{
    // Cairo's image surfaces stop at 32767 pixels a side.
    if (region.width() > 32767 || region.height() > 32767)
        return nullptr;
    int width = static_cast<int>(region.width());
    int height = static_cast<int>(region.height());
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(mask);
        return nullptr;
    }
    cairo_t* maskContext = cairo_create(mask);
    cairo_translate(maskContext, -region.minX(), -region.minY());
    cairo_set_source(maskContext, pattern);
    cairo_paint(maskContext);
    cairo_destroy(maskContext);

    int kernel = boxKernelSizeForRadius(shadow.blur * m_scale / 2);
    if (kernel <= 1)
        return mask;
    auto& kept = BlurredAlphaCache::current();
    if (cairo_surface_t* blurred = kept.find(mask, kernel)) {
        cairo_surface_destroy(mask);
        return cairo_surface_reference(blurred);
    }
    cairo_surface_t* blurred = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    if (cairo_surface_status(blurred) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(blurred);
        cairo_surface_destroy(mask);
        return nullptr;
    }
    cairo_surface_flush(mask);
    cairo_surface_flush(blurred);
    const unsigned char* source = cairo_image_surface_get_data(mask);
    auto sourceStride = static_cast<size_t>(cairo_image_surface_get_stride(mask));
    unsigned char* data = cairo_image_surface_get_data(blurred);
    auto stride = static_cast<size_t>(cairo_image_surface_get_stride(blurred));
    // The kernel is odd and above one and both surfaces have the same size, so no pass can be refused.
    (void)boxConvolveAlpha8(source, sourceStride, data, stride, width, height, kernel);
    for (int pass = 1; pass < 3; ++pass)
        (void)boxConvolveAlpha8(data, stride, data, stride, width, height, kernel);
    cairo_surface_mark_dirty(blurred);
    kept.insert(mask, kernel, blurred);
    cairo_surface_destroy(mask);
    return blurred;
}

void Context::castShadow(cairo_surface_t* mask, const Rect& region, const State& s)
{
    const Shadow& shadow = *s.shadow;
    cairo_save(m_cr);
    cairo_identity_matrix(m_cr);
    const Color& c = shadow.color;
    cairo_set_source_rgba(m_cr, c.r, c.g, c.b, c.a * s.alpha);
    cairo_mask_surface(
        m_cr, mask, region.minX() + shadow.offset.width * m_scale, region.minY() + shadow.offset.height * m_scale);
    cairo_restore(m_cr);
}

void Context::paintPatternInRegion(cairo_pattern_t* pattern, const Rect& region, double alpha)
{
    // Limiting the paint to the region keeps it bounded on unbounded (recording) surfaces too.
    cairo_save(m_cr);
    cairo_identity_matrix(m_cr);
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, region.minX(), region.minY(), region.width(), region.height());
    cairo_clip(m_cr);
    cairo_set_source(m_cr, pattern);
    cairo_paint_with_alpha(m_cr, alpha);
    cairo_restore(m_cr);
}

void Context::fillShadowOfPath(const Path& path, bool keepMask)
{
    const State s = state();
    if (s.degenerate || s.blend == BlendMode::Clear || !s.shadow || s.shadow->color.a <= 0 || path.isEmpty())
        return;
    Rect box = path.boundingBox();
    Rect region = shadowInkRegion(deviceBox(box.minX(), box.minY(), box.maxX(), box.maxY()), *s.shadow);
    if (region.isEmpty())
        return;
    auto key = keepMask ? shadowMaskKey(path, region, *s.shadow) : std::nullopt;
    auto& cache = ShadowMaskCache::current();
    if (cairo_surface_t* cached = key ? cache.find(*key) : nullptr) {
        castShadow(cached, region, s);
        return;
    }
    cairo_path_t* current = cairo_copy_path(m_cr);
    saveClippedToDeviceRegion(m_cr, region);
    cairo_push_group(m_cr);
    appendPath(path, false);
    cairo_set_source_rgb(m_cr, 0, 0, 0);
    cairo_fill(m_cr);
    cairo_pattern_t* pattern = popGroupInDeviceSpace(m_cr);
    cairo_restore(m_cr);
    if (cairo_surface_t* mask = makeShadowMask(pattern, region, *s.shadow)) {
        castShadow(mask, region, s);
        if (key)
            cache.insert(std::move(*key), mask);
        cairo_surface_destroy(mask);
    }
    cairo_pattern_destroy(pattern);
    cairo_new_path(m_cr);
    cairo_append_path(m_cr, current);
    cairo_path_destroy(current);
}

std::optional<ShadowMaskKey> Context::shadowMaskKey(const Path& path, const Rect& region, const Shadow& shadow) const
{
    // The mask depends on the clip too; one that is not a set of rectangles (a rounded clip) is not cached.
    cairo_rectangle_list_t* rectangles = cairo_copy_clip_rectangle_list(m_cr);
    if (rectangles->status != CAIRO_STATUS_SUCCESS) {
        cairo_rectangle_list_destroy(rectangles);
        return std::nullopt;
    }
    ShadowMaskKey key { path, {}, region, {}, boxKernelSizeForRadius(shadow.blur * m_scale / 2) };
    cairo_get_matrix(m_cr, &key.matrix);
    for (int i = 0; i < rectangles->num_rectangles; ++i) {
        const cairo_rectangle_t& r = rectangles->rectangles[i];
        key.clip.emplace_back(r.x, r.y, r.width, r.height);
    }
    cairo_rectangle_list_destroy(rectangles);
    return key;
}

void Context::beginTransparencyLayer()
{
    State layer = state();
    layer.layer = true;
    layer.shadow.reset();
    layer.alpha = 1;
    layer.blend = BlendMode::Normal;
    layer.layerInk = Rect::null();
    m_states.push_back(layer);
    cairo_save(m_cr);
    cairo_push_group(m_cr);
}

void Context::endTransparencyLayer()
{
    auto layer = std::find_if(m_states.rbegin(), m_states.rend(), [](const State& s) { return s.layer; });
    if (layer == m_states.rend())
        return;
    // Unwind saves left open inside the layer.
    while (!state().layer) {
        m_states.pop_back();
        cairo_restore(m_cr);
    }
    Rect region = state().layerInk.insetBy(-1, -1).integral();
    cairo_pattern_t* pattern = popGroupInDeviceSpace(m_cr);
    m_states.pop_back();
    cairo_restore(m_cr);
    if (state().degenerate || region.isEmpty()) {
        cairo_pattern_destroy(pattern);
        return;
    }
    State& s = state();
    if (s.blend != BlendMode::Clear && (!s.shadow || s.shadow->color.a <= 0)) {
        // Without a shadow the finished layer goes straight onto the surface with the alpha: painting it into
        // a group of its own first, as paint() does for other sources, would copy the whole layer once more.
        double alpha = s.alpha;
        s.alpha = 1;
        paintKeepingPath([&] { paintPatternInRegion(pattern, region, alpha); }, region);
        s.alpha = alpha;
    } else if (s.blend != BlendMode::Clear) {
        // The finished layer is already a group limited to its ink: its shadow is cast from it directly rather
        // than from a copy of it in one more group.
        keepingPath([&] {
            noteInk(region);
            Rect shadowRegion = shadowInkRegion(region, *s.shadow);
            if (!shadowRegion.isEmpty())
                paintWithShadow(pattern, shadowRegion, s);
        });
    } else {
        paintKeepingPath(
            [&] {
                cairo_save(m_cr);
                cairo_identity_matrix(m_cr);
                cairo_rectangle(m_cr, region.minX(), region.minY(), region.width(), region.height());
                cairo_set_source(m_cr, pattern);
                cairo_fill(m_cr);
                cairo_restore(m_cr);
            },
            region);
    }
    cairo_pattern_destroy(pattern);
}

void Context::drawGradientPattern(cairo_pattern_t* pattern, const std::function<void()>& clipExtension)
{
    if (state().degenerate)
        return;
    paintKeepingPath(
        [&] {
            cairo_save(m_cr);
            if (clipExtension) {
                clipExtension();
                cairo_clip(m_cr);
            }
            cairo_set_source(m_cr, pattern);
            cairo_paint(m_cr);
            cairo_restore(m_cr);
        },
        deviceClipBox());
}

namespace {

    void addStops(cairo_pattern_t* pattern, const Gradient& gradient)
    {
        for (const Gradient::Stop& stop : gradient.stops())
            if (std::isfinite(stop.location))
                cairo_pattern_add_color_stop_rgba(pattern, std::clamp(stop.location, 0.0, 1.0), stop.color.r,
                    stop.color.g, stop.color.b, stop.color.a);
    }

} // namespace

void Context::drawLinearGradient(const Gradient& gradient, Point start, Point end, unsigned options)
{
    double dx = end.x - start.x, dy = end.y - start.y;
    double length = std::hypot(dx, dy);
    if (length == 0 || !std::isfinite(length))
        return;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    addStops(pattern, gradient);
    bool before = options & Gradient::DrawsBeforeStartLocation;
    bool after = options & Gradient::DrawsAfterEndLocation;
    cairo_pattern_set_extend(pattern, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    std::function<void()> clipExtension;
    if (before != after) {
        // Keep the half-plane on the painted side of the end point that is not extended.
        Rect box = clipBoundingBox();
        double reach
            = std::hypot(box.width(), box.height()) + std::hypot(box.midX() - start.x, box.midY() - start.y) + length;
        double ux = dx / length, uy = dy / length;
        Point edge = after ? start : end;
        double sign = after ? 1 : -1;
        clipExtension = [=, this] {
            cairo_move_to(m_cr, edge.x - uy * reach, edge.y + ux * reach);
            cairo_line_to(m_cr, edge.x + uy * reach, edge.y - ux * reach);
            cairo_line_to(m_cr, edge.x + uy * reach + sign * ux * reach, edge.y - ux * reach + sign * uy * reach);
            cairo_line_to(m_cr, edge.x - uy * reach + sign * ux * reach, edge.y + ux * reach + sign * uy * reach);
            cairo_close_path(m_cr);
        };
    }
    drawGradientPattern(pattern, clipExtension);
    cairo_pattern_destroy(pattern);
}

void Context::drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
    double endRadius, unsigned options)
{
    for (double v : { startCenter.x, startCenter.y, startRadius, endCenter.x, endCenter.y, endRadius })
        if (!std::isfinite(v))
            return;
    startRadius = std::max(startRadius, 0.0);
    endRadius = std::max(endRadius, 0.0);
    cairo_pattern_t* pattern
        = cairo_pattern_create_radial(startCenter.x, startCenter.y, startRadius, endCenter.x, endCenter.y, endRadius);
    addStops(pattern, gradient);
    bool before = options & Gradient::DrawsBeforeStartLocation;
    bool after = options & Gradient::DrawsAfterEndLocation;
    cairo_pattern_set_extend(pattern, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    std::function<void()> clipExtension;
    if (after && !before && startRadius > 0) {
        // Everything but the inside of the start circle.
        Rect box = clipBoundingBox();
        clipExtension = [=, this] {
            cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_EVEN_ODD);
            cairo_rectangle(m_cr, box.minX(), box.minY(), box.width(), box.height());
            cairo_new_sub_path(m_cr);
            cairo_arc(m_cr, startCenter.x, startCenter.y, startRadius, 0, 2 * M_PI);
        };
    } else if (before && !after) {
        clipExtension = [=, this] {
            cairo_new_sub_path(m_cr);
            cairo_arc(m_cr, endCenter.x, endCenter.y, endRadius, 0, 2 * M_PI);
        };
    }
    drawGradientPattern(pattern, clipExtension);
    cairo_pattern_destroy(pattern);
}

} // namespace gfx
