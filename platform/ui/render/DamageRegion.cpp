#include "ui/render/DamageRegion.h"

#include <algorithm>
#include <limits>

namespace ui {

namespace {

    double area(const gfx::Rect& r) { return r.width() * r.height(); }

} // namespace

gfx::Rect DamageRegion::unite(const gfx::Rect& a, const gfx::Rect& b)
{
    if (a.isEmpty())
        return b.isEmpty() ? gfx::Rect::null() : b;
    if (b.isEmpty())
        return a;
    double x1 = std::min(a.minX(), b.minX()), y1 = std::min(a.minY(), b.minY());
    double x2 = std::max(a.maxX(), b.maxX()), y2 = std::max(a.maxY(), b.maxY());
    return { x1, y1, x2 - x1, y2 - y1 };
}

void DamageRegion::add(const gfx::Rect& area)
{
    if (area.isEmpty())
        return;
    gfx::Rect grown = area;
    // A merged part may meet parts the area alone did not.
    for (auto part = m_parts.begin(); part != m_parts.end();) {
        if (part->intersection(grown).isNull()) {
            ++part;
            continue;
        }
        grown = unite(grown, *part);
        m_parts.erase(part);
        part = m_parts.begin();
    }
    m_parts.push_back(grown);
    if (m_parts.size() > maxParts)
        mergeCheapestPair();
}

void DamageRegion::mergeCheapestPair()
{
    size_t first = 0, second = 1;
    double cheapest = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < m_parts.size(); ++i) {
        for (size_t j = i + 1; j < m_parts.size(); ++j) {
            double added = area(unite(m_parts[i], m_parts[j])) - area(m_parts[i]) - area(m_parts[j]);
            if (added < cheapest) {
                cheapest = added;
                first = i;
                second = j;
            }
        }
    }
    gfx::Rect merged = unite(m_parts[first], m_parts[second]);
    m_parts.erase(m_parts.begin() + static_cast<std::ptrdiff_t>(second));
    m_parts.erase(m_parts.begin() + static_cast<std::ptrdiff_t>(first));
    add(merged);
}

bool DamageRegion::overlaps(const gfx::Rect& area) const
{
    return std::any_of(
        m_parts.begin(), m_parts.end(), [&](const gfx::Rect& part) { return !part.intersection(area).isEmpty(); });
}

bool DamageRegion::holds(const gfx::Rect& area) const
{
    return std::any_of(
        m_parts.begin(), m_parts.end(), [&](const gfx::Rect& part) { return part.intersection(area) == area; });
}

gfx::Rect DamageRegion::bounds() const
{
    gfx::Rect box = gfx::Rect::null();
    for (const gfx::Rect& part : m_parts)
        box = unite(box, part);
    return box;
}

} // namespace ui
