// ui::ShapeLayer: a layer that draws a path: filled with the fill colour (none when empty) by the fill rule,
// then stroked with the stroke colour (none when empty), line width, join and cap, up to `strokeEnd` of the
// path's length from its start. The path, colours, line width and stroke end animate like other layer
// properties. Main thread.
//
//   auto ring = std::make_shared<ui::ShapeLayer>();
//   ring->setPath(gfx::Path::arc({ 20, 20 }, 18, -M_PI / 2, 3 * M_PI / 2, gfx::ArcDirection::Increasing));
//   ring->setFillColor(std::nullopt);
//   ring->setStrokeColor(gfx::Color::white());
//   ring->setStrokeEnd(0.25);
#pragma once

#include "ui/layer/Layer.h"

namespace ui {

class ShapeLayer : public Layer {
public:
    const std::optional<gfx::Path>& path() const { return model().shape.path; }
    void setPath(std::optional<gfx::Path> path);
    const std::optional<gfx::Color>& fillColor() const { return model().shape.fillColor; }
    void setFillColor(std::optional<gfx::Color> color);
    const std::optional<gfx::Color>& strokeColor() const { return model().shape.strokeColor; }
    void setStrokeColor(std::optional<gfx::Color> color);
    gfx::FillRule fillRule() const { return model().shape.fillRule; }
    void setFillRule(gfx::FillRule rule);
    double lineWidth() const { return model().shape.lineWidth; }
    void setLineWidth(double width);
    gfx::LineJoin lineJoin() const { return model().shape.lineJoin; }
    void setLineJoin(gfx::LineJoin join);
    gfx::LineCap lineCap() const { return model().shape.lineCap; }
    void setLineCap(gfx::LineCap cap);
    double strokeEnd() const { return model().shape.strokeEnd; }
    void setStrokeEnd(double end);

    void renderContent(gfx::Context& context, const LayerProperties& properties) const override;
    gfx::Rect contentExtent(const LayerProperties& properties) const override;

private:
    // Animatable when both the old and the new value exist; stored at once otherwise.
    template <typename T>
    void changeOptional(const std::string& keyPath, std::optional<T> ShapeProperties::*member, std::optional<T> value);
};

} // namespace ui
