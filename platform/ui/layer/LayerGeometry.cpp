#include "ui/layer/LayerGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ui {

namespace {

    gfx::Point anchorInBounds(const LayerProperties& layer)
    {
        const gfx::Rect& b = layer.bounds;
        return { b.origin.x + layer.anchorPoint.x * b.size.width, b.origin.y + layer.anchorPoint.y * b.size.height };
    }

    bool isAxisAlignedScale(const gfx::Transform3D& t)
    {
        return t.isAffine() && t.m12 == 0 && t.m21 == 0 && t.m11 != 0 && t.m22 != 0;
    }

    constexpr double infinity = std::numeric_limits<double>::infinity();

} // namespace

gfx::Point pointToSuperlayer(const LayerProperties& layer, gfx::Point p)
{
    gfx::Point relative = p - anchorInBounds(layer);
    if (layer.transform.isIdentity())
        return layer.position + relative;
    return layer.position + layer.transform.apply(relative);
}

gfx::Point pointFromSuperlayer(const LayerProperties& layer, gfx::Point p)
{
    gfx::Point relative = p - layer.position;
    if (!layer.transform.isIdentity()) {
        // The transform maps the z = 0 plane by the homography of rows (m11 m12 m14), (m21 m22 m24),
        // (m41 m42 m44); solve it backwards.
        const gfx::Transform3D& t = layer.transform;
        double a = t.m11, b = t.m12, c = t.m14;
        double d = t.m21, e = t.m22, f = t.m24;
        double g = t.m41, h = t.m42, i = t.m44;
        double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
        if (!std::isfinite(det) || det == 0)
            return { infinity, infinity };
        // Row vector (x, y, 1) times the adjugate, divided by the determinant.
        double x = relative.x, y = relative.y;
        double u = (x * (e * i - f * h) - y * (d * i - f * g) + (d * h - e * g)) / det;
        double v = (-x * (b * i - c * h) + y * (a * i - c * g) - (a * h - b * g)) / det;
        double w = (x * (b * f - c * e) - y * (a * f - c * d) + (a * e - b * d)) / det;
        if (w == 0 || !std::isfinite(w))
            return { infinity, infinity };
        relative = { u / w, v / w };
    }
    return relative + anchorInBounds(layer);
}

gfx::Rect frameOf(const LayerProperties& layer)
{
    const gfx::Rect& b = layer.bounds;
    if (layer.transform.isIdentity()) {
        gfx::Point origin = pointToSuperlayer(layer, b.origin);
        return { origin, b.size };
    }
    gfx::Point corners[4]
        = { pointToSuperlayer(layer, { b.minX(), b.minY() }), pointToSuperlayer(layer, { b.maxX(), b.minY() }),
              pointToSuperlayer(layer, { b.minX(), b.maxY() }), pointToSuperlayer(layer, { b.maxX(), b.maxY() }) };
    double minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const gfx::Point& c : corners) {
        minX = std::min(minX, c.x);
        maxX = std::max(maxX, c.x);
        minY = std::min(minY, c.y);
        maxY = std::max(maxY, c.y);
    }
    return { minX, minY, maxX - minX, maxY - minY };
}

void applyFrame(LayerProperties& layer, const gfx::Rect& frame)
{
    if (frame.isNull())
        return;
    gfx::Rect f = frame.standardized();
    gfx::Size size = layer.bounds.size;
    const gfx::Transform3D& t = layer.transform;
    if (t.isIdentity())
        size = f.size;
    else if (isAxisAlignedScale(t))
        size = { f.size.width / std::fabs(t.m11), f.size.height / std::fabs(t.m22) };
    layer.bounds.size = size;
    // The middle of the bounds, relative to the anchor, lands at the frame's mid-point.
    gfx::Point middle { (0.5 - layer.anchorPoint.x) * size.width, (0.5 - layer.anchorPoint.y) * size.height };
    gfx::Point moved = t.isIdentity() ? middle : t.apply(middle);
    layer.position = f.center() - moved;
}

} // namespace ui
