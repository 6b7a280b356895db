// ui::DamageTracker: tells which part of a picture of layer trees may have changed since the last look, so
// that a host redraws and presents only that part. Each walk records, for every layer drawn, its version (see
// Layer::version), the values drawn while it holds animations, its place among its siblings, and the screen
// area it and its tree draw in (bounds, contents, content, border, shadow; clipped by masking ancestors). A
// layer whose record differs damages its old and new areas and those of its whole tree; a layer no longer
// drawn damages its old area. Areas are bounding boxes, padded for antialiasing, gathered in a few parts (see
// DamageRegion.h), so the damage may exceed the changed pixels but never misses one. Damage that meets a
// shadow grows over the whole shadow and what casts it (everything a layer without a shadow path draws, or a
// path too large for a kept raster), since a shadow blurred from what a clip lets through is exact only when
// all it is blurred from lies inside the clip; a path's shadow painted from its kept raster (see
// ShadowRasters.h) needs no widening. Main thread.
//
//   ui::DamageTracker damage;
//   gfx::Rect dirty = damage.update({ window->layer().get() }, options);   // null: nothing changed
//   if (damage.reaches(*layer, dirty)) ...
#pragma once

#include "gfx/geometry/AffineTransform.h"
#include "gfx/geometry/Rect.h"
#include "ui/layer/LayerProperties.h"
#include "ui/render/DamageRegion.h"
#include "ui/render/Renderer.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace ui {

class Layer;

class DamageTracker {
public:
    // Walks the trees of `roots` (drawn in this order, each in the space its superlayer would place it in)
    // with the values `options` draws; returns the area whose picture may differ from the last walk's, in
    // that space, or null when nothing changed. Only what falls within `visible` (null: anywhere) counts, as
    // if the roots were clipped to it: a layer wholly outside it damages nothing and reaches nothing. The
    // first walk, and the first with another `visible`, damages everything drawn.
    gfx::Rect update(
        const std::vector<Layer*>& roots, const RenderOptions& options, const gfx::Rect& visible = gfx::Rect::null());
    // The last walk's damage in parts, whose bounding box update() returned; a shadow that damage reaches
    // lies wholly within one part, with what casts it.
    const DamageRegion& damaged() const { return m_damage; }
    // Whether what `layer`'s tree drew at the last walk can fall in `area`; true for a layer not walked.
    bool reaches(const Layer& layer, const gfx::Rect& area) const;

private:
    struct Record {
        uint64_t version { 0 };
        uint64_t treeVersion { 0 };
        const Layer* superlayer { nullptr };
        size_t index { 0 };
        // The values drawn, kept only while the layer holds animations.
        std::optional<LayerProperties> drawn;
        // What the layer draws itself, and what its tree draws, in the roots' space.
        gfx::Rect own { gfx::Rect::null() };
        gfx::Rect tree { gfx::Rect::null() };
        // The sublayers walked (none while it is hidden).
        std::vector<const Layer*> sublayers;
        uint64_t walk { 0 };
    };
    struct Placement {
        gfx::AffineTransform toRoot;
        gfx::Rect clip { gfx::Rect::null() };
        bool changed { false };
    };

    struct Walked {
        gfx::Rect tree;
        // Whether anything in the tree changed.
        bool changed { false };
    };

    // Records `layer` and its tree, damaging what changed; a tree in which nothing changed is passed over.
    Walked walk(
        Layer& layer, const Layer* superlayer, size_t index, const Placement& above, const RenderOptions& options);
    // Whether nothing in the layer's tree changed since its record was made.
    bool unchangedTree(const Record& record, const Layer& layer, const Layer* superlayer, size_t index) const;
    void damage(const gfx::Rect& area);
    // Forgets the trees of the layers of `before` no longer in `now` (drawn under `superlayer`, null for the
    // roots), damaging where they were.
    void dropGone(
        const std::vector<const Layer*>& before, const std::vector<const Layer*>& now, const Layer* superlayer);
    void drop(const Layer* layer, const Layer* superlayer);
    // Grows the damage over every shadow it overlaps, with what casts it.
    void widenOverShadows();

    std::unordered_map<const Layer*, Record> m_records;
    // The areas of the shadows that damage meeting them grows over, by the layer casting each.
    std::unordered_map<const Layer*, gfx::Rect> m_shadows;
    // The layers running animations and those above them: their trees change every frame.
    std::unordered_set<const Layer*> m_animated;
    std::vector<const Layer*> m_roots;
    gfx::Rect m_visible { gfx::Rect::null() };
    DamageRegion m_damage;
    uint64_t m_walk { 0 };
};

} // namespace ui
