#include "ui/render/DamageTracker.h"

#include "base/loop/MainThread.h"
#include "ui/layer/ContentsGravity.h"
#include "ui/layer/Layer.h"
#include "ui/render/ShadowRasters.h"
#include "ui/view/Screen.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    // Room for antialiased edges, in points.
    constexpr double edge = 1;

    gfx::Rect clipped(const gfx::Rect& area, const gfx::Rect& clip)
    {
        return clip.isNull() || area.isNull() ? area : area.intersection(clip);
    }

    bool castsShadow(const LayerProperties& p)
    {
        return !p.masksToBounds && p.shadowOpacity > 0 && p.shadowColor.a > 0;
    }

    // How far a shadow can reach past what casts it: its offset, and three box-blur passes of its blur (twice
    // the layer's radius, in points whatever the layer's transform), with room to spare.
    gfx::Rect shadowArea(const gfx::Rect& caster, const LayerProperties& p)
    {
        double reach = std::max(std::abs(p.shadowOffset.width), std::abs(p.shadowOffset.height))
            + 4 * std::max(p.shadowRadius, 0.0) + 2;
        return caster.isNull() ? caster : caster.insetBy(-reach, -reach);
    }

    // Whether the renderer paints the shadow of `path` from a kept raster (see ShadowRasters.h): painted
    // clipped, such a shadow comes out as it does unclipped, so damage meeting it need not grow over it.
    bool rasterized(const gfx::Path& path, const LayerProperties& p, const gfx::AffineTransform& toRoot)
    {
        double scale = Screen::main().scale();
        gfx::Rect box = toRoot.apply(path.boundingBox());
        double reach = ShadowRasters::reach({ p.shadowOffset, 2 * p.shadowRadius }, scale) + 2;
        return !box.isNull()
            && ShadowRasters::keeps({ box.minX() * scale - reach, box.minY() * scale - reach,
                box.width() * scale + 2 * reach, box.height() * scale + 2 * reach });
    }

    gfx::AffineTransform placed(const LayerProperties& p, const gfx::AffineTransform& toRoot)
    {
        gfx::AffineTransform local
            = gfx::AffineTransform::makeTranslation(-(p.bounds.origin.x + p.anchorPoint.x * p.bounds.size.width),
                -(p.bounds.origin.y + p.anchorPoint.y * p.bounds.size.height));
        if (!p.transform.isIdentity())
            local = gfx::AffineTransform::concat(local, p.transform.affine());
        local = gfx::AffineTransform::concat(local, gfx::AffineTransform::makeTranslation(p.position.x, p.position.y));
        return gfx::AffineTransform::concat(local, toRoot);
    }

    // What the layer draws of its own, in the roots' space: background, contents, content and border, and a
    // shadow cast from its shadow path. A layer with none of them (a screen-sized container) draws nothing of
    // its own, so that a change of its opacity damages only what its sublayers draw.
    gfx::Rect ownArea(const Layer& layer, const LayerProperties& p, const gfx::AffineTransform& toRoot)
    {
        bool fills = p.backgroundColor.a > 0 || (p.borderWidth > 0 && p.borderColor.a > 0);
        gfx::Rect area = fills ? p.bounds : gfx::Rect::null();
        if (p.contents) {
            gfx::Size size { p.contents->pixelWidth() / p.contentsScale, p.contents->pixelHeight() / p.contentsScale };
            area = DamageRegion::unite(area, contentsRect(p.contentsGravity, size, p.bounds));
        }
        area = DamageRegion::unite(area, layer.contentExtent(p));
        gfx::Rect drawn = toRoot.apply(area);
        return drawn.isNull() ? drawn : drawn.insetBy(-edge, -edge);
    }

} // namespace

gfx::Rect DamageTracker::update(
    const std::vector<Layer*>& roots, const RenderOptions& options, const gfx::Rect& visible)
{
    BASE_ASSERT_MAIN_THREAD();
    if (visible != m_visible) {
        // The records hold areas clipped to the old visible part.
        m_records.clear();
        m_shadows.clear();
        m_roots.clear();
        m_visible = visible;
    }
    ++m_walk;
    m_damage.clear();
    m_animated.clear();
    for (const Layer* running : Layer::layersRunningAnimations()) {
        for (auto layer = running; layer && m_animated.insert(layer).second; layer = layer->superlayer().get()) { }
    }
    for (size_t i = 0; i < roots.size(); ++i)
        walk(*roots[i], nullptr, i, { {}, visible, false }, options);
    std::vector<const Layer*> walked(roots.begin(), roots.end());
    dropGone(m_roots, walked, nullptr);
    m_roots = std::move(walked);
    widenOverShadows();
    return m_damage.bounds();
}

bool DamageTracker::reaches(const Layer& layer, const gfx::Rect& area) const
{
    auto found = m_records.find(&layer);
    if (found == m_records.end())
        return true;
    const gfx::Rect& tree = found->second.tree;
    return !tree.isEmpty() && !tree.intersection(area).isEmpty();
}

DamageTracker::Walked DamageTracker::walk(
    Layer& layer, const Layer* superlayer, size_t index, const Placement& above, const RenderOptions& options)
{
    auto found = m_records.find(&layer);
    bool known = found != m_records.end();
    if (known && !above.changed && unchangedTree(found->second, layer, superlayer, index)) {
        found->second.walk = m_walk;
        return { found->second.tree, false };
    }
    Record record { layer.version(), layer.treeVersion(), superlayer, index, std::nullopt, gfx::Rect::null(),
        gfx::Rect::null(), {}, m_walk };
    if (options.presentation && layer.hasAnimations())
        record.drawn = options.instant ? layer.presentationAt(*options.instant) : layer.presentation();
    const LayerProperties& p = record.drawn ? *record.drawn : layer.model();

    gfx::Rect oldOwn = known ? found->second.own : gfx::Rect::null();
    std::vector<const Layer*> oldSublayers = known ? std::move(found->second.sublayers) : std::vector<const Layer*> {};
    bool changed = above.changed || !known || found->second.version != record.version
        || found->second.superlayer != superlayer || found->second.index != index
        || found->second.drawn != record.drawn;
    m_shadows.erase(&layer);

    bool treeChanged = changed;
    if (!p.hidden && p.opacity > 0) {
        Placement here { placed(p, above.toRoot), above.clip, changed };
        record.own = clipped(ownArea(layer, p, here.toRoot), above.clip);
        if (castsShadow(p) && p.shadowPath) {
            gfx::Rect shadowed = clipped(
                shadowArea(here.toRoot.apply(p.shadowPath->boundingBox()), p).insetBy(-edge, -edge), above.clip);
            if (!rasterized(*p.shadowPath, p, here.toRoot))
                m_shadows[&layer] = shadowed;
            record.own = DamageRegion::unite(record.own, shadowed);
        }
        if (p.masksToBounds) {
            here.clip = clipped(here.toRoot.apply(p.bounds), above.clip);
            // Masked wholly away: nothing of its tree shows.
            if (here.clip.isNull())
                here.clip = gfx::Rect::zero();
        }
        record.tree = record.own;
        const auto& sublayers = layer.sublayers();
        for (size_t i = 0; i < sublayers.size(); ++i) {
            record.sublayers.push_back(sublayers[i].get());
            Walked sub = walk(*sublayers[i], &layer, i, here, options);
            record.tree = DamageRegion::unite(record.tree, sub.tree);
            treeChanged = treeChanged || sub.changed;
        }
        if (castsShadow(p) && !p.shadowPath) {
            // Its shadow is cast by everything its tree draws: a change anywhere in it changes the shadow.
            gfx::Rect shadowed = clipped(shadowArea(record.tree, p), above.clip);
            m_shadows[&layer] = shadowed;
            record.own = DamageRegion::unite(record.own, shadowed);
            record.tree = DamageRegion::unite(record.tree, shadowed);
            changed = treeChanged;
        }
    }
    if (changed) {
        damage(oldOwn);
        damage(record.own);
    }
    gfx::Rect tree = record.tree;
    std::vector<const Layer*> sublayers = record.sublayers;
    m_records[&layer] = std::move(record);
    dropGone(oldSublayers, sublayers, &layer);
    return { tree, treeChanged };
}

bool DamageTracker::unchangedTree(const Record& record, const Layer& layer, const Layer* superlayer, size_t index) const
{
    return record.version == layer.version() && record.treeVersion == layer.treeVersion()
        && record.superlayer == superlayer && record.index == index && !m_animated.contains(&layer);
}

void DamageTracker::damage(const gfx::Rect& area) { m_damage.add(area); }

void DamageTracker::dropGone(
    const std::vector<const Layer*>& before, const std::vector<const Layer*>& now, const Layer* superlayer)
{
    for (const Layer* layer : before) {
        if (std::find(now.begin(), now.end(), layer) == now.end())
            drop(layer, superlayer);
    }
}

void DamageTracker::drop(const Layer* layer, const Layer* superlayer)
{
    auto found = m_records.find(layer);
    // A layer drawn elsewhere this walk keeps its new record.
    if (found == m_records.end() || found->second.walk == m_walk || found->second.superlayer != superlayer)
        return;
    damage(found->second.own);
    std::vector<const Layer*> sublayers = std::move(found->second.sublayers);
    m_records.erase(found);
    m_shadows.erase(layer);
    for (const Layer* sublayer : sublayers)
        drop(sublayer, layer);
}

void DamageTracker::widenOverShadows()
{
    for (bool grown = !m_damage.isEmpty(); grown;) {
        grown = false;
        for (const auto& [caster, shadow] : m_shadows) {
            if (m_damage.overlaps(shadow) && !m_damage.holds(shadow)) {
                m_damage.add(shadow);
                grown = true;
            }
        }
    }
}

} // namespace ui
