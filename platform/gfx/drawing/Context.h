// gfx::Context: a drawing context on a cairo surface, in y-down user space measured in points (the surface's
// pixels are `scale` times finer). It keeps a stack of graphics states (transform, clip, colours, line style,
// shadow, alpha, blend mode) and a current path that painting consumes. One thread at a time.
//
// Rules worth knowing:
// - Transforms compose as AffineTransform::concat does: concat(t) makes t act first on user-space points.
// - A transform that cannot be inverted (a scale of 0) makes everything drawn until the matching restore
//   invisible, instead of breaking the context.
// - A shadow (offset in points, positive y = below; blur in points) applies to every paint until restored;
//   inside a transparency layer shadows and alpha start off, and the finished layer casts one shadow.
// - fillRect, strokeRect, fillEllipse, strokeEllipse and clipToRect leave the current path alone.
// - drawImage draws the image upright in the rectangle, a stretchable one with its caps kept and its middle
//   line stretched; drawImageBottomUp draws its first row at the
//   rectangle's max y, as drawing calls with a y-up image origin do (flip the context first to get it upright).
//
//   auto context = gfx::Context::makeBitmap({ 100, 100 }, 2);
//   context->setFillColor(gfx::Color::red());
//   context->addPath(gfx::Path::roundedRect({ 10, 10, 80, 80 }, 8));
//   context->fillPath();
//   auto image = context->makeImage();
#pragma once

#include "gfx/geometry/AffineTransform.h"
#include "gfx/text/AttributedString.h"
#include "gfx/drawing/Color.h"
#include "gfx/drawing/Gradient.h"
#include "gfx/images/Image.h"
#include "gfx/drawing/Path.h"
#include "gfx/drawing/PixelBuffer.h"
#include "gfx/geometry/Rect.h"
#include "gfx/drawing/Shadow.h"
#include "gfx/drawing/StrokeStyle.h"

#include <cairo.h>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace gfx {

struct ShadowMaskKey;

class Context {
public:
    // Draws on `surface` (a reference is taken) whose pixels are `scale` times the points of user space.
    Context(cairo_surface_t* surface, double scale);
    // A transparent bitmap (black when opaque) of ceil(size x scale) pixels; nullptr when that is empty or
    // too large.
    static std::shared_ptr<Context> makeBitmap(Size size, double scale, bool opaque = false);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    cairo_t* cairo() const { return m_cr; }
    double scale() const { return m_scale; }
    // The pixels of a bitmap context (nullopt for other surfaces), ready to read and write; later drawing
    // sees what was written.
    [[nodiscard]] std::optional<PixelBuffer> bitmap();
    // A copy of a bitmap context's pixels as an image at the context's scale; nullptr for other surfaces.
    std::shared_ptr<Image> makeImage();

    void save();
    void restore();
    void translateBy(double dx, double dy);
    void scaleBy(double sx, double sy);
    void rotateBy(double angle);
    void concat(const AffineTransform& t);
    // User space to device pixels, the surface scale included.
    AffineTransform currentTransform() const;

    void setFillColor(const Color& color);
    void setStrokeColor(const Color& color);
    void setLineWidth(double width);
    void setLineJoin(LineJoin join);
    void setLineCap(LineCap cap);
    void setMiterLimit(double limit);
    // Alternating on and off lengths from `phase`; an empty list, a negative length or all zeros draws solid.
    void setLineDash(double phase, const std::vector<double>& lengths);
    void setShadow(const Shadow& shadow);
    void clearShadow();
    // Multiplies every later paint's opacity.
    void setAlpha(double alpha);
    void setBlendMode(BlendMode mode);

    void beginPath();
    void moveTo(Point p);
    void lineTo(Point p);
    void curveTo(Point control1, Point control2, Point end);
    // See Path for directions, wrapping and joining.
    void addArc(Point center, double radius, double startAngle, double endAngle, ArcDirection direction);
    void addArcToPoint(Point p1, Point p2, double radius);
    void addRect(const Rect& rect);
    void addEllipse(const Rect& rect);
    void addPath(const Path& path);
    void closePath();
    [[nodiscard]] std::optional<Point> currentPoint() const;

    void fillPath(FillRule rule = FillRule::NonZero);
    // Paints only the shadow that filling `path` would cast with the current shadow, not the fill itself (a
    // layer's shadow that follows a given outline). Leaves the current path alone. The blurred mask is kept for
    // a later fill of the same shadow (see ShadowMaskCache.h) unless `keepMask` is false (a caller that keeps
    // what it draws has no use for it).
    void fillShadowOfPath(const Path& path, bool keepMask = true);
    void strokePath();
    void clip(FillRule rule = FillRule::NonZero);

    void fillRect(const Rect& rect);
    void strokeRect(const Rect& rect);
    void fillEllipse(const Rect& rect);
    void strokeEllipse(const Rect& rect);
    void clipToRect(const Rect& rect);
    // The clip's bounding box in user space.
    Rect clipBoundingBox() const;

    // Paint the gradient over the whole clip; `options` are Gradient::Options bits. A radial gradient's
    // one-sided extension assumes the start circle lies inside the end circle (as concentric ones do).
    void drawLinearGradient(const Gradient& gradient, Point start, Point end, unsigned options);
    void drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
        double endRadius, unsigned options);

    void beginTransparencyLayer();
    void endTransparencyLayer();

    void drawImage(const Image& image, const Rect& rect);
    void drawImageBottomUp(const Image& image, const Rect& rect);

    // Draws the text from the top of `rect`, wrapped at its width as the text's line-break mode says,
    // each line placed for the text's alignment; only the lines that fit in the rectangle's height (always
    // the first) and at most `maxLines` (0: any number) are drawn. A text drawn only in part is reported to
    // the CutTextWatch.
    void drawText(const AttributedString& text, const Rect& rect, int maxLines = 0);

private:
    struct State {
        Color fill { Color::black() };
        Color stroke { Color::black() };
        std::optional<Shadow> shadow;
        double alpha { 1 };
        BlendMode blend { BlendMode::Normal };
        bool degenerate { false };
        bool layer { false };
        // For a transparency layer: the device pixels painted in it so far.
        Rect layerInk { Rect::null() };
    };

    State& state() { return m_states.back(); }
    const State& state() const { return m_states.back(); }
    void applyTransform(const AffineTransform& t);
    void appendPath(const Path& path, bool skipLeadingMove);
    void withTemporaryPath(const std::function<void()>& build, const std::function<void()>& paint);
    void setSource(const Color& color);

    // Runs `draw` (which paints with the current path and sources) under the state's blend mode, alpha and
    // shadow; `deviceInk` bounds what it paints, in device pixels.
    void paint(const std::function<void()>& draw, const Rect& deviceInk);
    // Runs `draw` with no current path and gives the path back afterwards.
    void keepingPath(const std::function<void()>& draw);
    // The same as paint() for paints that do not use the current path (images, text, gradients, layers).
    void paintKeepingPath(const std::function<void()>& draw, const Rect& deviceInk);
    // Tells the innermost open transparency layer that `deviceInk` has been painted.
    void noteInk(const Rect& deviceInk);
    // Paints the shadow cast by `pattern`, then the pattern itself unless `paintPattern` is false.
    void paintWithShadow(cairo_pattern_t* pattern, const Rect& region, const State& s, bool paintPattern = true);
    // The blurred alpha of `pattern` over `region`, in device pixels; null when the region is too large.
    cairo_surface_t* makeShadowMask(cairo_pattern_t* pattern, const Rect& region, const Shadow& shadow) const;
    // Paints the shadow colour through a mask made for `region`, moved by the shadow's offset.
    void castShadow(cairo_surface_t* mask, const Rect& region, const State& s);
    // What a path's shadow mask depends on, or nothing when it cannot be told (a clip that is not rectangles).
    [[nodiscard]] std::optional<ShadowMaskKey> shadowMaskKey(
        const Path& path, const Rect& region, const Shadow& shadow) const;
    // Paints a device-space pattern within a device-space region.
    void paintPatternInRegion(cairo_pattern_t* pattern, const Rect& region, double alpha);
    Rect shadowInkRegion(const Rect& deviceInk, const Shadow& shadow) const;
    Rect deviceBox(double x1, double y1, double x2, double y2) const;
    Rect deviceClipBox() const;
    void drawGradientPattern(cairo_pattern_t* pattern, const std::function<void()>& clipExtension);

    cairo_t* m_cr;
    double m_scale;
    std::vector<State> m_states;
};

} // namespace gfx
