#include "ui/layer/ShapeLayer.h"

#include "base/loop/MainThread.h"

#include <algorithm>

namespace ui {

template <typename T>
void ShapeLayer::changeOptional(
    const std::string& keyPath, std::optional<T> ShapeProperties::*member, std::optional<T> value)
{
    if (value && model().shape.*member)
        changeAnimatable(keyPath, *value);
    else
        changeStored([&](LayerProperties& p) { p.shape.*member = std::move(value); });
}

void ShapeLayer::setPath(std::optional<gfx::Path> path) { changeOptional("path", &ShapeProperties::path, path); }

void ShapeLayer::setFillColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    changeOptional("fillColor", &ShapeProperties::fillColor, color);
}

void ShapeLayer::setStrokeColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    changeOptional("strokeColor", &ShapeProperties::strokeColor, color);
}

void ShapeLayer::setFillRule(gfx::FillRule rule)
{
    BASE_ASSERT_MAIN_THREAD();
    changeStored([&](LayerProperties& p) { p.shape.fillRule = rule; });
}

void ShapeLayer::setLineWidth(double width) { changeAnimatable("lineWidth", width); }

void ShapeLayer::setLineJoin(gfx::LineJoin join)
{
    BASE_ASSERT_MAIN_THREAD();
    changeStored([&](LayerProperties& p) { p.shape.lineJoin = join; });
}

void ShapeLayer::setLineCap(gfx::LineCap cap)
{
    BASE_ASSERT_MAIN_THREAD();
    changeStored([&](LayerProperties& p) { p.shape.lineCap = cap; });
}

void ShapeLayer::setStrokeEnd(double end) { changeAnimatable("strokeEnd", end); }

void ShapeLayer::renderContent(gfx::Context& context, const LayerProperties& properties) const
{
    const ShapeProperties& shape = properties.shape;
    if (!shape.path || shape.path->isEmpty())
        return;
    if (shape.fillColor && shape.fillColor->a > 0) {
        context.setFillColor(*shape.fillColor);
        context.beginPath();
        context.addPath(*shape.path);
        context.fillPath(shape.fillRule);
    }
    double end = std::clamp(shape.strokeEnd, 0.0, 1.0);
    if (shape.strokeColor && shape.strokeColor->a > 0 && shape.lineWidth > 0 && end > 0) {
        context.save();
        context.setStrokeColor(*shape.strokeColor);
        context.setLineWidth(shape.lineWidth);
        context.setLineJoin(shape.lineJoin);
        context.setLineCap(shape.lineCap);
        context.beginPath();
        context.addPath(end < 1 ? shape.path->leadingPart(end) : *shape.path);
        context.strokePath();
        context.restore();
    }
}

gfx::Rect ShapeLayer::contentExtent(const LayerProperties& properties) const
{
    const ShapeProperties& shape = properties.shape;
    if (!shape.path || shape.path->isEmpty())
        return gfx::Rect::null();
    // A miter may reach as far as the default miter limit (10) times half the line width past the path.
    double reach = shape.strokeColor ? 5 * std::max(shape.lineWidth, 0.0) + 1 : 1;
    return shape.path->boundingBox().insetBy(-reach, -reach);
}

} // namespace ui
