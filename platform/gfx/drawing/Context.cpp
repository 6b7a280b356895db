#include "gfx/drawing/Context.h"

#include "gfx/images/ImageCodecs.h"

#include <algorithm>
#include <cmath>

namespace gfx {

Context::Context(cairo_surface_t* surface, double scale)
    : m_cr(cairo_create(surface))
    , m_scale(scale > 0 && std::isfinite(scale) ? scale : 1)
    , m_states(1)
{
    cairo_scale(m_cr, m_scale, m_scale);
}

std::shared_ptr<Context> Context::makeBitmap(Size size, double scale, bool opaque)
{
    if (!(scale > 0) || !std::isfinite(scale))
        return nullptr;
    double width = std::ceil(size.width * scale - 1e-9);
    double height = std::ceil(size.height * scale - 1e-9);
    if (!(width >= 1 && height >= 1)
        || !acceptableImageDimensions(static_cast<int64_t>(width), static_cast<int64_t>(height)))
        return nullptr;
    cairo_surface_t* surface
        = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    auto context = std::make_shared<Context>(surface, scale);
    cairo_surface_destroy(surface);
    if (opaque) {
        cairo_set_source_rgb(context->m_cr, 0, 0, 0);
        cairo_paint(context->m_cr);
    }
    return context;
}

Context::~Context() { cairo_destroy(m_cr); }

std::optional<PixelBuffer> Context::bitmap()
{
    cairo_surface_t* surface = cairo_get_target(m_cr);
    if (cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE
        || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return std::nullopt;
    cairo_surface_flush(surface);
    // Whatever the caller writes must reach later drawing; marking now also detaches cached copies.
    cairo_surface_mark_dirty(surface);
    return PixelBuffer { cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
        cairo_image_surface_get_height(surface), static_cast<size_t>(cairo_image_surface_get_stride(surface)) };
}

std::shared_ptr<Image> Context::makeImage()
{
    std::optional<PixelBuffer> pixels = bitmap();
    return pixels ? Image::fromPixels(*pixels, m_scale) : nullptr;
}

void Context::save()
{
    State copy = state();
    copy.layer = false;
    m_states.push_back(copy);
    cairo_save(m_cr);
}

void Context::restore()
{
    if (m_states.size() <= 1 || state().layer)
        return;
    m_states.pop_back();
    cairo_restore(m_cr);
}

void Context::applyTransform(const AffineTransform& t)
{
    if (state().degenerate)
        return;
    AffineTransform combined = AffineTransform::concat(t, currentTransform());
    double det = combined.determinant();
    if (det == 0 || !std::isfinite(det) || !std::isfinite(combined.tx) || !std::isfinite(combined.ty)) {
        state().degenerate = true;
        cairo_new_path(m_cr);
        return;
    }
    cairo_matrix_t m { t.a, t.b, t.c, t.d, t.tx, t.ty };
    cairo_transform(m_cr, &m);
}

void Context::translateBy(double dx, double dy) { applyTransform(AffineTransform::makeTranslation(dx, dy)); }
void Context::scaleBy(double sx, double sy) { applyTransform(AffineTransform::makeScale(sx, sy)); }
void Context::rotateBy(double angle) { applyTransform(AffineTransform::makeRotation(angle)); }
void Context::concat(const AffineTransform& t) { applyTransform(t); }

AffineTransform Context::currentTransform() const
{
    cairo_matrix_t m;
    cairo_get_matrix(m_cr, &m);
    return { m.xx, m.yx, m.xy, m.yy, m.x0, m.y0 };
}

void Context::setFillColor(const Color& color) { state().fill = color; }
void Context::setStrokeColor(const Color& color) { state().stroke = color; }

void Context::setLineWidth(double width)
{
    if (std::isfinite(width))
        cairo_set_line_width(m_cr, std::max(width, 0.0));
}

void Context::setLineJoin(LineJoin join)
{
    static constexpr cairo_line_join_t joins[]
        = { CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND, CAIRO_LINE_JOIN_BEVEL };
    cairo_set_line_join(m_cr, joins[static_cast<int>(join)]);
}

void Context::setLineCap(LineCap cap)
{
    static constexpr cairo_line_cap_t caps[] = { CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND, CAIRO_LINE_CAP_SQUARE };
    cairo_set_line_cap(m_cr, caps[static_cast<int>(cap)]);
}

void Context::setMiterLimit(double limit)
{
    if (std::isfinite(limit))
        cairo_set_miter_limit(m_cr, std::max(limit, 1.0));
}

void Context::setLineDash(double phase, const std::vector<double>& lengths)
{
    bool usable = std::isfinite(phase) && std::any_of(lengths.begin(), lengths.end(), [](double l) { return l > 0; })
        && std::all_of(lengths.begin(), lengths.end(), [](double l) { return l >= 0 && std::isfinite(l); });
    if (usable)
        cairo_set_dash(m_cr, lengths.data(), static_cast<int>(lengths.size()), phase);
    else
        cairo_set_dash(m_cr, nullptr, 0, 0);
}

void Context::setShadow(const Shadow& shadow) { state().shadow = shadow; }
void Context::clearShadow() { state().shadow.reset(); }
void Context::setAlpha(double alpha) { state().alpha = std::clamp(alpha, 0.0, 1.0); }
void Context::setBlendMode(BlendMode mode) { state().blend = mode; }

void Context::beginPath() { cairo_new_path(m_cr); }

void Context::appendPath(const Path& path, bool skipLeadingMove)
{
    if (state().degenerate)
        return;
    bool first = true;
    for (const Path::Element& e : path.elements()) {
        bool finite = std::all_of(std::begin(e.points), std::end(e.points),
            [](const Point& p) { return std::isfinite(p.x) && std::isfinite(p.y); });
        if (!finite)
            continue;
        switch (e.type) {
        case Path::ElementType::MoveTo:
            if (!(first && skipLeadingMove))
                cairo_move_to(m_cr, e.points[0].x, e.points[0].y);
            break;
        case Path::ElementType::LineTo:
            cairo_line_to(m_cr, e.points[0].x, e.points[0].y);
            break;
        case Path::ElementType::CurveTo:
            cairo_curve_to(
                m_cr, e.points[0].x, e.points[0].y, e.points[1].x, e.points[1].y, e.points[2].x, e.points[2].y);
            break;
        case Path::ElementType::Close:
            cairo_close_path(m_cr);
            break;
        }
        first = false;
    }
}

std::optional<Point> Context::currentPoint() const
{
    if (!cairo_has_current_point(m_cr))
        return std::nullopt;
    Point p;
    cairo_get_current_point(m_cr, &p.x, &p.y);
    return p;
}

void Context::moveTo(Point p)
{
    Path path;
    path.moveTo(p);
    appendPath(path, false);
}

void Context::lineTo(Point p)
{
    Path path;
    if (auto current = currentPoint())
        path.moveTo(*current);
    path.lineTo(p);
    appendPath(path, currentPoint().has_value());
}

void Context::curveTo(Point control1, Point control2, Point end)
{
    Path path;
    if (auto current = currentPoint())
        path.moveTo(*current);
    path.curveTo(control1, control2, end);
    appendPath(path, currentPoint().has_value());
}

void Context::addArc(Point center, double radius, double startAngle, double endAngle, ArcDirection direction)
{
    Path path;
    if (auto current = currentPoint())
        path.moveTo(*current);
    path.addArc(center, radius, startAngle, endAngle, direction);
    appendPath(path, currentPoint().has_value());
}

void Context::addArcToPoint(Point p1, Point p2, double radius)
{
    Path path;
    if (auto current = currentPoint())
        path.moveTo(*current);
    path.addArcToPoint(p1, p2, radius);
    appendPath(path, currentPoint().has_value());
}

void Context::addRect(const Rect& rect) { appendPath(Path::rect(rect), false); }
void Context::addEllipse(const Rect& rect) { appendPath(Path::oval(rect), false); }
void Context::addPath(const Path& path) { appendPath(path, false); }
void Context::closePath() { cairo_close_path(m_cr); }

void Context::setSource(const Color& color) { cairo_set_source_rgba(m_cr, color.r, color.g, color.b, color.a); }

void Context::fillPath(FillRule rule)
{
    if (state().degenerate) {
        cairo_new_path(m_cr);
        return;
    }
    cairo_set_fill_rule(m_cr, rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    double x1, y1, x2, y2;
    cairo_fill_extents(m_cr, &x1, &y1, &x2, &y2);
    State& s = state();
    Color color = s.fill;
    double alpha = s.alpha;
    if (alpha < 1 && (!s.shadow || s.shadow->color.a <= 0)) {
        // One fill of one colour takes the alpha into its colour, instead of a group painted with it.
        color.a *= alpha;
        s.alpha = 1;
    }
    paint(
        [&] {
            setSource(color);
            cairo_fill(m_cr);
        },
        deviceBox(x1, y1, x2, y2));
    s.alpha = alpha;
    cairo_new_path(m_cr);
}

void Context::strokePath()
{
    if (state().degenerate) {
        cairo_new_path(m_cr);
        return;
    }
    double x1, y1, x2, y2;
    cairo_stroke_extents(m_cr, &x1, &y1, &x2, &y2);
    Color color = state().stroke;
    paint(
        [&] {
            setSource(color);
            cairo_stroke(m_cr);
        },
        deviceBox(x1, y1, x2, y2));
    cairo_new_path(m_cr);
}

void Context::clip(FillRule rule)
{
    if (state().degenerate) {
        cairo_new_path(m_cr);
        return;
    }
    cairo_set_fill_rule(m_cr, rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_clip(m_cr);
}

void Context::withTemporaryPath(const std::function<void()>& build, const std::function<void()>& use)
{
    cairo_path_t* saved = cairo_copy_path(m_cr);
    cairo_new_path(m_cr);
    build();
    use();
    cairo_new_path(m_cr);
    cairo_append_path(m_cr, saved);
    cairo_path_destroy(saved);
}

void Context::fillRect(const Rect& rect)
{
    withTemporaryPath([&] { addRect(rect); }, [&] { fillPath(); });
}

void Context::strokeRect(const Rect& rect)
{
    withTemporaryPath([&] { addRect(rect); }, [&] { strokePath(); });
}

void Context::fillEllipse(const Rect& rect)
{
    withTemporaryPath([&] { addEllipse(rect); }, [&] { fillPath(); });
}

void Context::strokeEllipse(const Rect& rect)
{
    withTemporaryPath([&] { addEllipse(rect); }, [&] { strokePath(); });
}

void Context::clipToRect(const Rect& rect)
{
    withTemporaryPath([&] { addRect(rect.isNull() ? Rect() : rect); }, [&] { clip(); });
}

Rect Context::clipBoundingBox() const
{
    Rect device = deviceClipBox();
    auto toUser = currentTransform().inverted();
    return toUser ? toUser->apply(device) : Rect::null();
}

Rect Context::deviceBox(double x1, double y1, double x2, double y2) const
{
    double xs[4] = { x1, x2, x1, x2 };
    double ys[4] = { y1, y1, y2, y2 };
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (int i = 0; i < 4; ++i) {
        cairo_user_to_device(m_cr, &xs[i], &ys[i]);
        minX = std::min(minX, xs[i]);
        maxX = std::max(maxX, xs[i]);
        minY = std::min(minY, ys[i]);
        maxY = std::max(maxY, ys[i]);
    }
    return Rect(minX, minY, maxX - minX, maxY - minY);
}

Rect Context::deviceClipBox() const
{
    // Unbounded surfaces report an infinite clip; cairo's fixed-point coordinates end at 2^23, so keep well
    // inside that.
    constexpr double limit = 4194304;
    cairo_save(m_cr);
    cairo_identity_matrix(m_cr);
    double x1, y1, x2, y2;
    cairo_clip_extents(m_cr, &x1, &y1, &x2, &y2);
    cairo_restore(m_cr);
    x1 = std::clamp(x1, -limit, limit);
    y1 = std::clamp(y1, -limit, limit);
    x2 = std::clamp(x2, -limit, limit);
    y2 = std::clamp(y2, -limit, limit);
    return Rect(x1, y1, x2 - x1, y2 - y1);
}

} // namespace gfx
