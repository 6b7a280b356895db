#include "ui/layer/LayerProperties.h"

#include <cmath>
#include <functional>
#include <map>

namespace ui {

namespace {

    struct Accessor {
        std::function<std::optional<AnimatableValue>(const LayerProperties&)> get;
        std::function<bool(LayerProperties&, const AnimatableValue&)> set;
    };

    template <typename T> bool assign(T& field, const AnimatableValue& value)
    {
        if (const T* v = std::get_if<T>(&value)) {
            field = *v;
            return true;
        }
        return false;
    }

    // A stored value, reached by `select` from const and mutable properties alike.
    template <typename Select> Accessor stored(Select select)
    {
        return { [select](const LayerProperties& p) -> std::optional<AnimatableValue> { return select(p); },
            [select](LayerProperties& p, const AnimatableValue& v) { return assign(select(p), v); } };
    }

    // A value that may be absent (no path, no colour); absent values read as empty.
    template <typename Select> Accessor optional(Select select)
    {
        return { [select](const LayerProperties& p) -> std::optional<AnimatableValue> {
                    const auto& value = select(p);
                    if (!value)
                        return std::nullopt;
                    return AnimatableValue(*value);
                },
            [select](LayerProperties& p, const AnimatableValue& v) {
                auto& target = select(p);
                typename std::decay_t<decltype(target)>::value_type typed;
                if (!assign(typed, v))
                    return false;
                target = typed;
                return true;
            } };
    }

    // One part of the transform's affine decomposition, replaced in place.
    Accessor transformPart(std::function<double&(AffineParts&)> select)
    {
        return { [select](const LayerProperties& p) -> std::optional<AnimatableValue> {
                    AffineParts parts = AffineParts::decompose(p.transform.affine());
                    return select(parts);
                },
            [select](LayerProperties& p, const AnimatableValue& v) {
                const double* number = std::get_if<double>(&v);
                if (!number)
                    return false;
                AffineParts parts = AffineParts::decompose(p.transform.affine());
                select(parts) = *number;
                p.transform = gfx::Transform3D::makeAffine(parts.compose());
                return true;
            } };
    }

    Accessor uniformScale()
    {
        return { [](const LayerProperties& p) -> std::optional<AnimatableValue> {
                    return AffineParts::decompose(p.transform.affine()).scaleX;
                },
            [](LayerProperties& p, const AnimatableValue& v) {
                const double* number = std::get_if<double>(&v);
                if (!number)
                    return false;
                AffineParts parts = AffineParts::decompose(p.transform.affine());
                parts.scaleX = parts.scaleY = *number;
                p.transform = gfx::Transform3D::makeAffine(parts.compose());
                return true;
            } };
    }

    Accessor shadowOpacity()
    {
        return { [](const LayerProperties& p) -> std::optional<AnimatableValue> {
                    return static_cast<double>(p.shadowOpacity);
                },
            [](LayerProperties& p, const AnimatableValue& v) {
                const double* number = std::get_if<double>(&v);
                if (!number)
                    return false;
                p.shadowOpacity = static_cast<float>(*number);
                return true;
            } };
    }

    const std::map<std::string, Accessor, std::less<>>& accessors()
    {
        static const std::map<std::string, Accessor, std::less<>> table = {
            { "position", stored([](auto& p) -> auto& { return p.position; }) },
            { "position.x", stored([](auto& p) -> auto& { return p.position.x; }) },
            { "position.y", stored([](auto& p) -> auto& { return p.position.y; }) },
            { "bounds", stored([](auto& p) -> auto& { return p.bounds; }) },
            { "bounds.origin", stored([](auto& p) -> auto& { return p.bounds.origin; }) },
            { "bounds.size", stored([](auto& p) -> auto& { return p.bounds.size; }) },
            { "bounds.size.width", stored([](auto& p) -> auto& { return p.bounds.size.width; }) },
            { "bounds.size.height", stored([](auto& p) -> auto& { return p.bounds.size.height; }) },
            { "anchorPoint", stored([](auto& p) -> auto& { return p.anchorPoint; }) },
            { "opacity", stored([](auto& p) -> auto& { return p.opacity; }) },
            { "transform", stored([](auto& p) -> auto& { return p.transform; }) },
            { "transform.rotation", transformPart([](AffineParts& a) -> double& { return a.angle; }) },
            { "transform.rotation.z", transformPart([](AffineParts& a) -> double& { return a.angle; }) },
            { "transform.scale", uniformScale() },
            { "transform.scale.x", transformPart([](AffineParts& a) -> double& { return a.scaleX; }) },
            { "transform.scale.y", transformPart([](AffineParts& a) -> double& { return a.scaleY; }) },
            { "transform.translation.x", transformPart([](AffineParts& a) -> double& { return a.translateX; }) },
            { "transform.translation.y", transformPart([](AffineParts& a) -> double& { return a.translateY; }) },
            { "backgroundColor", stored([](auto& p) -> auto& { return p.backgroundColor; }) },
            { "cornerRadius", stored([](auto& p) -> auto& { return p.cornerRadius; }) },
            { "borderWidth", stored([](auto& p) -> auto& { return p.borderWidth; }) },
            { "borderColor", stored([](auto& p) -> auto& { return p.borderColor; }) },
            { "shadowColor", stored([](auto& p) -> auto& { return p.shadowColor; }) },
            { "shadowOpacity", shadowOpacity() },
            { "shadowRadius", stored([](auto& p) -> auto& { return p.shadowRadius; }) },
            { "shadowOffset", stored([](auto& p) -> auto& { return p.shadowOffset; }) },
            { "shadowPath", optional([](auto& p) -> auto& { return p.shadowPath; }) },
            { "path", optional([](auto& p) -> auto& { return p.shape.path; }) },
            { "fillColor", optional([](auto& p) -> auto& { return p.shape.fillColor; }) },
            { "strokeColor", optional([](auto& p) -> auto& { return p.shape.strokeColor; }) },
            { "lineWidth", stored([](auto& p) -> auto& { return p.shape.lineWidth; }) },
            { "strokeEnd", stored([](auto& p) -> auto& { return p.shape.strokeEnd; }) },
        };
        return table;
    }

} // namespace

std::optional<AnimatableValue> valueForKeyPath(const LayerProperties& properties, std::string_view keyPath)
{
    auto found = accessors().find(keyPath);
    if (found == accessors().end())
        return std::nullopt;
    return found->second.get(properties);
}

bool setValue(LayerProperties& properties, std::string_view keyPath, const AnimatableValue& value)
{
    auto found = accessors().find(keyPath);
    return found != accessors().end() && found->second.set(properties, value);
}

} // namespace ui
