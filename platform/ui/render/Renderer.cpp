#include "ui/render/Renderer.h"

#include "base/loop/MainThread.h"
#include "ui/layer/Layer.h"
#include "ui/render/DamageTracker.h"
#include "ui/render/ShadowRasters.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    LayerProperties propertiesOf(Layer& layer, const RenderOptions& options)
    {
        if (options.displayPending)
            layer.displayIfNeeded();
        if (!options.presentation)
            return layer.model();
        return options.instant ? layer.presentationAt(*options.instant) : layer.presentation();
    }

    gfx::Path outline(const LayerProperties& p)
    {
        if (p.cornerRadius > 0)
            return gfx::Path::roundedRect(p.bounds, p.cornerRadius);
        return gfx::Path::rect(p.bounds);
    }

    bool castsShadow(const LayerProperties& p)
    {
        return !p.masksToBounds && p.shadowOpacity > 0 && p.shadowColor.a > 0;
    }

    gfx::Shadow shadowOf(const LayerProperties& p)
    {
        // A layer's shadow radius is half the blur of a drawing shadow of the same softness.
        return { p.shadowOffset, 2 * p.shadowRadius, p.shadowColor.withAlpha(p.shadowColor.a * p.shadowOpacity) };
    }

    // A path's shadow, from its kept raster when it has one; the layer's opacity goes into the shadow's colour.
    void renderPathShadow(gfx::Context& context, const gfx::Path& path, const LayerProperties& p)
    {
        gfx::Shadow shadow = shadowOf(p);
        shadow.color = shadow.color.withAlpha(shadow.color.a * p.opacity);
        if (ShadowRasters::main().paint(context, path, shadow))
            return;
        context.save();
        context.setShadow(shadow);
        context.fillShadowOfPath(path);
        context.restore();
    }

    // Whether drawing under `t` can show anything: a transform that flattens the plane shows nothing.
    bool invertible(const gfx::AffineTransform& t)
    {
        double det = t.determinant();
        return det != 0 && std::isfinite(det) && std::isfinite(t.tx) && std::isfinite(t.ty);
    }

    void drawBorder(gfx::Context& context, const LayerProperties& p)
    {
        if (p.borderWidth <= 0 || p.borderColor.a <= 0)
            return;
        // The border lies inside the bounds.
        double half = p.borderWidth / 2;
        gfx::Rect inner = p.bounds.insetBy(half, half);
        if (inner.isNull())
            return;
        context.save();
        context.setStrokeColor(p.borderColor);
        context.setLineWidth(p.borderWidth);
        context.beginPath();
        if (p.cornerRadius > 0)
            context.addPath(gfx::Path::roundedRect(inner, std::max(p.cornerRadius - half, 0.0)));
        else
            context.addRect(inner);
        context.strokePath();
        context.restore();
    }

} // namespace

void Renderer::renderLayer(gfx::Context& context, Layer& layer, const RenderOptions& options)
{
    BASE_ASSERT_MAIN_THREAD();
    if (options.damage && !options.damage->reaches(layer, options.area))
        return;
    LayerProperties p = propertiesOf(layer, options);
    renderPlaced(context, layer, p, options);
}

void Renderer::renderContents(gfx::Context& context, Layer& layer, const RenderOptions& options)
{
    BASE_ASSERT_MAIN_THREAD();
    LayerProperties p = propertiesOf(layer, options);
    if (p.hidden)
        return;
    renderBody(context, layer, p, options);
}

void Renderer::renderPlaced(gfx::Context& context, Layer& layer, const LayerProperties& p, const RenderOptions& options)
{
    if (p.hidden || p.opacity <= 0 || (!p.transform.isIdentity() && !invertible(p.transform.affine())))
        return;
    context.save();
    context.translateBy(p.position.x, p.position.y);
    if (!p.transform.isIdentity())
        context.concat(p.transform.affine());
    context.translateBy(-(p.bounds.origin.x + p.anchorPoint.x * p.bounds.size.width),
        -(p.bounds.origin.y + p.anchorPoint.y * p.bounds.size.height));

    bool shadow = castsShadow(p);
    if (shadow && p.shadowPath)
        renderPathShadow(context, *p.shadowPath, p);
    // A layer that draws only its background (a dimming view) takes its opacity in that one fill.
    bool backgroundOnly = !p.contents && !p.shape.path && p.borderWidth <= 0 && layer.sublayers().empty();
    bool grouped = (p.opacity < 1 && !backgroundOnly) || (shadow && !p.shadowPath);
    if (grouped) {
        context.setAlpha(p.opacity);
        if (shadow && !p.shadowPath)
            context.setShadow(shadowOf(p));
        context.beginTransparencyLayer();
    } else if (p.opacity < 1) {
        context.setAlpha(p.opacity);
    }
    renderBody(context, layer, p, options);
    if (grouped)
        context.endTransparencyLayer();
    context.restore();
}

void Renderer::renderBody(gfx::Context& context, Layer& layer, const LayerProperties& p, const RenderOptions& options)
{
    if (p.backgroundColor.a > 0) {
        context.setFillColor(p.backgroundColor);
        if (p.cornerRadius > 0) {
            context.beginPath();
            context.addPath(outline(p));
            context.fillPath();
        } else {
            context.fillRect(p.bounds);
        }
    }
    context.save();
    if (p.masksToBounds) {
        if (p.cornerRadius > 0) {
            context.beginPath();
            context.addPath(outline(p));
            context.clip();
        } else {
            context.clipToRect(p.bounds);
        }
    }
    if (p.contents) {
        gfx::Size size { p.contents->pixelWidth() / p.contentsScale, p.contents->pixelHeight() / p.contentsScale };
        context.drawImage(*p.contents, contentsRect(p.contentsGravity, size, p.bounds));
    }
    layer.renderContent(context, p);
    for (const auto& sublayer : std::vector(layer.sublayers()))
        renderLayer(context, *sublayer, options);
    context.restore();
    drawBorder(context, p);
}

} // namespace ui
