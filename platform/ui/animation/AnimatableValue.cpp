#include "ui/animation/AnimatableValue.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    double lerp(double a, double b, double t) { return a + (b - a) * t; }
    gfx::Point lerp(gfx::Point a, gfx::Point b, double t) { return { lerp(a.x, b.x, t), lerp(a.y, b.y, t) }; }
    gfx::Size lerp(gfx::Size a, gfx::Size b, double t)
    {
        return { lerp(a.width, b.width, t), lerp(a.height, b.height, t) };
    }
    double lerpClamped(double a, double b, double t) { return std::clamp(lerp(a, b, t), 0.0, 1.0); }

    gfx::Transform3D lerpEntries(const gfx::Transform3D& a, const gfx::Transform3D& b, double t)
    {
        gfx::Transform3D r;
        const double* pa = &a.m11;
        const double* pb = &b.m11;
        double* pr = &r.m11;
        for (int i = 0; i < 16; ++i)
            pr[i] = lerp(pa[i], pb[i], t);
        return r;
    }

    gfx::Transform3D lerp(const gfx::Transform3D& a, const gfx::Transform3D& b, double t)
    {
        if (!a.isAffine() || !b.isAffine())
            return lerpEntries(a, b, t);
        AffineParts pa = AffineParts::decompose(a.affine());
        AffineParts pb = AffineParts::decompose(b.affine());
        AffineParts mixed { lerp(pa.scaleX, pb.scaleX, t), lerp(pa.scaleY, pb.scaleY, t), lerp(pa.shear, pb.shear, t),
            lerp(pa.angle, pb.angle, t), lerp(pa.translateX, pb.translateX, t), lerp(pa.translateY, pb.translateY, t) };
        return gfx::Transform3D::makeAffine(mixed.compose());
    }

    bool sameShape(const gfx::Path& a, const gfx::Path& b)
    {
        if (a.elements().size() != b.elements().size())
            return false;
        for (size_t i = 0; i < a.elements().size(); ++i) {
            if (a.elements()[i].type != b.elements()[i].type)
                return false;
        }
        return true;
    }

    gfx::Path lerp(const gfx::Path& a, const gfx::Path& b, double t)
    {
        if (!sameShape(a, b))
            return b;
        gfx::Path result;
        for (size_t i = 0; i < a.elements().size(); ++i) {
            const auto& ea = a.elements()[i];
            const auto& eb = b.elements()[i];
            switch (ea.type) {
            case gfx::Path::ElementType::MoveTo:
                result.moveTo(lerp(ea.points[0], eb.points[0], t));
                break;
            case gfx::Path::ElementType::LineTo:
                result.lineTo(lerp(ea.points[0], eb.points[0], t));
                break;
            case gfx::Path::ElementType::CurveTo:
                result.curveTo(lerp(ea.points[0], eb.points[0], t), lerp(ea.points[1], eb.points[1], t),
                    lerp(ea.points[2], eb.points[2], t));
                break;
            case gfx::Path::ElementType::Close:
                result.close();
                break;
            }
        }
        return result;
    }

    gfx::Transform3D power(gfx::Transform3D base, int times)
    {
        gfx::Transform3D result = gfx::Transform3D::identity();
        while (times > 0) {
            if (times & 1)
                result = gfx::Transform3D::concat(result, base);
            base = gfx::Transform3D::concat(base, base);
            times >>= 1;
        }
        return result;
    }

} // namespace

AffineParts AffineParts::decompose(const gfx::AffineTransform& t)
{
    // The 2x2 part is scale, then shear, then rotation: its first row is scaleX times the rotation's first
    // row, and its second row projected on the rotation's rows gives shear x scaleY and scaleY.
    AffineParts parts;
    parts.translateX = t.tx;
    parts.translateY = t.ty;
    parts.scaleX = std::hypot(t.a, t.b);
    parts.angle = parts.scaleX > 0 ? std::atan2(t.b, t.a) : 0;
    double cosine = std::cos(parts.angle);
    double sine = std::sin(parts.angle);
    parts.scaleY = -t.c * sine + t.d * cosine;
    double shearTimesScale = t.c * cosine + t.d * sine;
    parts.shear = parts.scaleY != 0 ? shearTimesScale / parts.scaleY : 0;
    return parts;
}

gfx::AffineTransform AffineParts::compose() const
{
    using gfx::AffineTransform;
    AffineTransform shearing { 1, 0, shear, 1, 0, 0 };
    AffineTransform t = AffineTransform::concat(AffineTransform::makeScale(scaleX, scaleY), shearing);
    t = AffineTransform::concat(t, AffineTransform::makeRotation(angle));
    return AffineTransform::concat(t, AffineTransform::makeTranslation(translateX, translateY));
}

AnimatableValue interpolate(const AnimatableValue& from, const AnimatableValue& to, double progress)
{
    if (from.index() != to.index())
        return to;
    return std::visit(
        [&](const auto& a) -> AnimatableValue {
            using T = std::decay_t<decltype(a)>;
            const T& b = std::get<T>(to);
            if constexpr (std::is_same_v<T, gfx::Rect>)
                return gfx::Rect(lerp(a.origin, b.origin, progress), lerp(a.size, b.size, progress));
            else if constexpr (std::is_same_v<T, gfx::Color>)
                return gfx::Color { lerpClamped(a.r, b.r, progress), lerpClamped(a.g, b.g, progress),
                    lerpClamped(a.b, b.b, progress), lerpClamped(a.a, b.a, progress) };
            else
                return lerp(a, b, progress);
        },
        from);
}

AnimatableValue add(const AnimatableValue& a, const AnimatableValue& b)
{
    if (a.index() != b.index())
        return b;
    return std::visit(
        [&](const auto& x) -> AnimatableValue {
            using T = std::decay_t<decltype(x)>;
            const T& y = std::get<T>(b);
            if constexpr (std::is_same_v<T, double> || std::is_same_v<T, gfx::Point>)
                return x + y;
            else if constexpr (std::is_same_v<T, gfx::Size>)
                return gfx::Size { x.width + y.width, x.height + y.height };
            else if constexpr (std::is_same_v<T, gfx::Rect>)
                return gfx::Rect(x.origin + y.origin, { x.size.width + y.size.width, x.size.height + y.size.height });
            else if constexpr (std::is_same_v<T, gfx::Color>)
                return gfx::Color { std::clamp(x.r + y.r, 0.0, 1.0), std::clamp(x.g + y.g, 0.0, 1.0),
                    std::clamp(x.b + y.b, 0.0, 1.0), std::clamp(x.a + y.a, 0.0, 1.0) };
            else if constexpr (std::is_same_v<T, gfx::Transform3D>)
                return gfx::Transform3D::concat(x, y);
            else
                return y;
        },
        a);
}

AnimatableValue repeated(const AnimatableValue& value, int times)
{
    return std::visit(
        [&](const auto& x) -> AnimatableValue {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, double> || std::is_same_v<T, gfx::Point> || std::is_same_v<T, gfx::Size>)
                return x * times;
            else if constexpr (std::is_same_v<T, gfx::Rect>)
                return gfx::Rect(x.origin * times, x.size * times);
            else if constexpr (std::is_same_v<T, gfx::Color>)
                return gfx::Color { std::clamp(x.r * times, 0.0, 1.0), std::clamp(x.g * times, 0.0, 1.0),
                    std::clamp(x.b * times, 0.0, 1.0), std::clamp(x.a * times, 0.0, 1.0) };
            else if constexpr (std::is_same_v<T, gfx::Transform3D>)
                return power(x, times);
            else
                return x;
        },
        value);
}

} // namespace ui
