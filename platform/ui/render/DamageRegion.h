// ui::DamageRegion: the damaged part of a picture as a few rectangles, so that changes far apart (a spinner
// near the top, a screen sliding in at the bottom edge) are redrawn apart instead of as the box holding both.
// An area added merges with every part it meets; past `maxParts` parts the two whose bounding box adds the
// least area merge. Every area added lies wholly within one part. A plain value, any thread.
//
//   ui::DamageRegion damage;
//   damage.add({ 100, 100, 40, 40 });
//   damage.add({ 0, 560, 320, 8 });   // far away: a second part
//   for (const gfx::Rect& part : damage.parts()) redraw(part);
#pragma once

#include "gfx/geometry/Rect.h"

#include <cstddef>
#include <vector>

namespace ui {

class DamageRegion {
public:
    static constexpr size_t maxParts = 4;

    // The smallest rectangle holding both; empty ones count for nothing (null when both are empty).
    static gfx::Rect unite(const gfx::Rect& a, const gfx::Rect& b);

    // Adds `area`; an empty one adds nothing.
    void add(const gfx::Rect& area);
    void clear() { m_parts.clear(); }
    bool isEmpty() const { return m_parts.empty(); }
    // Whether some part shares more than an edge with `area`.
    bool overlaps(const gfx::Rect& area) const;
    // Whether one part holds all of `area`.
    bool holds(const gfx::Rect& area) const;
    // The box holding every part; null when empty.
    gfx::Rect bounds() const;
    // Non-empty rectangles that do not meet one another (parts that touch are merged).
    const std::vector<gfx::Rect>& parts() const { return m_parts; }

private:
    void mergeCheapestPair();

    std::vector<gfx::Rect> m_parts;
};

} // namespace ui
