// ui::LayerProperties: every value a layer draws from, as one plain struct. A layer keeps one as its model
// (what its setters wrote) and computes another, with its running animations applied, as its presentation
// (what is drawn at a given instant). Shape layers use the `shape` part; other layers ignore it.
//
// Key paths name the animatable values, as animations address them: "position", "position.x", "position.y",
// "bounds", "bounds.origin", "bounds.size", "bounds.size.width", "bounds.size.height", "anchorPoint",
// "opacity", "transform", "transform.rotation.z" (also "transform.rotation"), "transform.scale",
// "transform.scale.x", "transform.scale.y", "transform.translation.x", "transform.translation.y",
// "backgroundColor", "cornerRadius", "borderWidth", "borderColor", "shadowColor", "shadowOpacity",
// "shadowRadius", "shadowOffset", "shadowPath", and for shapes "path", "fillColor", "strokeColor",
// "lineWidth", "strokeEnd".
//
//   ui::LayerProperties p;
//   ui::setValue(p, "position.x", 40.0);
//   double x = std::get<double>(*ui::valueForKeyPath(p, "position.x"));
#pragma once

#include "gfx/drawing/Color.h"
#include "gfx/images/Image.h"
#include "gfx/drawing/Path.h"
#include "gfx/geometry/Rect.h"
#include "gfx/drawing/StrokeStyle.h"
#include "gfx/geometry/Transform3D.h"
#include "ui/animation/AnimatableValue.h"
#include "ui/layer/ContentsGravity.h"

#include <memory>
#include <optional>
#include <string_view>

namespace ui {

struct ShapeProperties {
    std::optional<gfx::Path> path;
    // Empty: not filled (or not stroked).
    std::optional<gfx::Color> fillColor { gfx::Color::black() };
    std::optional<gfx::Color> strokeColor;
    gfx::FillRule fillRule { gfx::FillRule::NonZero };
    double lineWidth { 1 };
    gfx::LineJoin lineJoin { gfx::LineJoin::Miter };
    gfx::LineCap lineCap { gfx::LineCap::Butt };
    // The fraction of the path's length stroked, from its start.
    double strokeEnd { 1 };

    friend bool operator==(const ShapeProperties&, const ShapeProperties&) = default;
};

struct LayerProperties {
    gfx::Rect bounds;
    gfx::Point position;
    gfx::Point anchorPoint { 0.5, 0.5 };
    gfx::Transform3D transform;
    bool hidden { false };
    double opacity { 1 };
    // Clear: no background.
    gfx::Color backgroundColor { gfx::Color::clear() };
    double cornerRadius { 0 };
    double borderWidth { 0 };
    gfx::Color borderColor { gfx::Color::black() };
    bool masksToBounds { false };
    gfx::Color shadowColor { gfx::Color::black() };
    float shadowOpacity { 0 };
    double shadowRadius { 3 };
    // Positive height is below; the default (0, -3) casts the shadow upwards.
    gfx::Size shadowOffset { 0, -3 };
    std::optional<gfx::Path> shadowPath;
    std::shared_ptr<gfx::Image> contents;
    ContentsGravity contentsGravity { ContentsGravity::Resize };
    double contentsScale { 1 };
    bool shouldRasterize { false };
    double rasterizationScale { 1 };
    ShapeProperties shape;

    // Equal values draw the same picture (contents compare by image, not by pixels).
    friend bool operator==(const LayerProperties&, const LayerProperties&) = default;
};

// The value at a key path; empty for unknown key paths and for values that are absent (no shadow path).
[[nodiscard]] std::optional<AnimatableValue> valueForKeyPath(
    const LayerProperties& properties, std::string_view keyPath);
// Writes the value at a key path; false (nothing written) for unknown key paths and values of another kind.
[[nodiscard]] bool setValue(LayerProperties& properties, std::string_view keyPath, const AnimatableValue& value);

} // namespace ui
