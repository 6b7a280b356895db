// ui::Layer: properties, the layer tree and coordinate conversion.
#include "ui/layer/Layer.h"

#include "base/loop/MainThread.h"
#include "ui/animation/BasicAnimation.h"
#include "ui/animation/Transaction.h"
#include "ui/animation/ViewAnimationBlock.h"
#include "ui/layer/LayerGeometry.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    uint64_t changes = 0;

    std::vector<const Layer*> ancestry(const Layer* layer)
    {
        std::vector<const Layer*> chain;
        for (std::shared_ptr<Layer> current; layer; layer = current.get()) {
            chain.push_back(layer);
            current = layer->superlayer();
        }
        return chain;
    }

    // Converts `p` from `from`'s bounds space to `to`'s, through their nearest common ancestor, or through
    // the spaces their roots sit in when they share none. A null layer is the space its partner's root sits
    // in.
    gfx::Point convert(gfx::Point p, const Layer* from, const Layer* to)
    {
        std::vector<const Layer*> up = ancestry(from);
        std::vector<const Layer*> down = ancestry(to);
        const Layer* common = nullptr;
        for (const Layer* candidate : up) {
            if (std::find(down.begin(), down.end(), candidate) != down.end()) {
                common = candidate;
                break;
            }
        }
        for (const Layer* layer : up) {
            if (layer == common)
                break;
            p = pointToSuperlayer(layer->model(), p);
        }
        auto stop = common ? std::find(down.begin(), down.end(), common) : down.end();
        for (auto it = std::make_reverse_iterator(stop); it != down.rend(); ++it)
            p = pointFromSuperlayer((*it)->model(), p);
        return p;
    }

    gfx::Rect convertRect(const gfx::Rect& r, const Layer* from, const Layer* to)
    {
        if (r.isNull())
            return r;
        gfx::Point corners[4] = { convert({ r.minX(), r.minY() }, from, to), convert({ r.maxX(), r.minY() }, from, to),
            convert({ r.minX(), r.maxY() }, from, to), convert({ r.maxX(), r.maxY() }, from, to) };
        double minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
        for (const gfx::Point& c : corners) {
            if (!std::isfinite(c.x) || !std::isfinite(c.y))
                return gfx::Rect::null();
            minX = std::min(minX, c.x);
            maxX = std::max(maxX, c.x);
            minY = std::min(minY, c.y);
            maxY = std::max(maxY, c.y);
        }
        return { minX, minY, maxX - minX, maxY - minY };
    }

} // namespace

Layer::Layer()
    : m_version(++changes)
    , m_treeVersion(m_version)
{
}

Layer::~Layer()
{
    for (const RunningAnimation& entry : m_animations)
        setRunning(!entry.ended, false);
}

uint64_t Layer::changeCount() { return changes; }

void Layer::markChanged() { ++changes; }

void Layer::touch()
{
    markChanged();
    m_version = changes;
    treeChanged();
}

void Layer::treeChanged()
{
    m_treeVersion = changes;
    for (auto layer = superlayer(); layer; layer = layer->superlayer())
        layer->m_treeVersion = changes;
}

void Layer::changeAnimatable(const std::string& keyPath, const AnimatableValue& value)
{
    BASE_ASSERT_MAIN_THREAD();
    std::optional<AnimatableValue> old = valueForKeyPath(m_model, keyPath);
    bool actionsOn = !Transaction::disableActions();
    ViewAnimationBlock* block = m_role != Role::StandAlone && actionsOn ? ViewAnimationBlock::current() : nullptr;
    bool implicit
        = m_role == Role::StandAlone && actionsOn && !m_superlayer.expired() && Transaction::animationDuration() > 0;
    std::optional<AnimatableValue> drawn;
    if (implicit || (block && block->beginsFromCurrentState))
        drawn = valueForKeyPath(presentation(), keyPath);

    // Nothing written (a value of another kind): nothing to redraw or to animate towards.
    if (!setValue(m_model, keyPath, value))
        return;
    // Writing the value it already has (a layout pass placing a view where it is) draws nothing new.
    if (old && *old == value)
        markChanged();
    else
        touch();

    if (block && old) {
        block->animate(*this, keyPath, *old, drawn.value_or(*old));
    } else if (implicit && drawn) {
        auto animation = std::make_shared<BasicAnimation>(keyPath);
        animation->setFromValue(*drawn);
        animation->setToValue(value);
        animation->setDuration(Transaction::animationDuration());
        animation->setTimingFunction(Transaction::animationTimingFunction());
        attach(animation, keyPath, Transaction::observersForNewAnimation());
    }
}

void Layer::setBounds(const gfx::Rect& bounds) { changeAnimatable("bounds", bounds.standardized()); }

void Layer::setPosition(gfx::Point position) { changeAnimatable("position", position); }

void Layer::setAnchorPoint(gfx::Point anchor) { changeAnimatable("anchorPoint", anchor); }

gfx::Rect Layer::frame() const { return frameOf(m_model); }

void Layer::setFrame(const gfx::Rect& frame)
{
    LayerProperties placed = m_model;
    applyFrame(placed, frame);
    changeAnimatable("position", placed.position);
    if (placed.bounds != m_model.bounds)
        changeAnimatable("bounds", placed.bounds);
}

void Layer::setTransform(const gfx::Transform3D& transform) { changeAnimatable("transform", transform); }

void Layer::setAffineTransform(const gfx::AffineTransform& transform)
{
    setTransform(gfx::Transform3D::makeAffine(transform));
}

void Layer::setHidden(bool hidden)
{
    changeStored([&](LayerProperties& p) { p.hidden = hidden; });
}

void Layer::setOpacity(double opacity) { changeAnimatable("opacity", opacity); }

void Layer::setBackgroundColor(const gfx::Color& color) { changeAnimatable("backgroundColor", color); }

void Layer::setCornerRadius(double radius) { changeAnimatable("cornerRadius", radius); }

void Layer::setBorderWidth(double width) { changeAnimatable("borderWidth", width); }

void Layer::setBorderColor(const gfx::Color& color) { changeAnimatable("borderColor", color); }

void Layer::setMasksToBounds(bool masks)
{
    changeStored([&](LayerProperties& p) { p.masksToBounds = masks; });
}

void Layer::setShadowColor(const gfx::Color& color) { changeAnimatable("shadowColor", color); }

void Layer::setShadowOpacity(float opacity) { changeAnimatable("shadowOpacity", static_cast<double>(opacity)); }

void Layer::setShadowRadius(double radius) { changeAnimatable("shadowRadius", radius); }

void Layer::setShadowOffset(gfx::Size offset) { changeAnimatable("shadowOffset", offset); }

void Layer::setShadowPath(std::optional<gfx::Path> path)
{
    if (path && m_model.shadowPath)
        changeAnimatable("shadowPath", *path);
    else
        changeStored([&](LayerProperties& p) { p.shadowPath = std::move(path); });
}

void Layer::setContents(std::shared_ptr<gfx::Image> image)
{
    changeStored([&](LayerProperties& p) { p.contents = std::move(image); });
}

void Layer::setContentsGravity(ContentsGravity gravity)
{
    changeStored([&](LayerProperties& p) { p.contentsGravity = gravity; });
}

void Layer::setContentsScale(double scale)
{
    if (!(scale > 0) || !std::isfinite(scale))
        return;
    changeStored([&](LayerProperties& p) { p.contentsScale = scale; });
}

void Layer::setShouldRasterize(bool rasterize)
{
    changeStored([&](LayerProperties& p) { p.shouldRasterize = rasterize; });
}

void Layer::setRasterizationScale(double scale)
{
    changeStored([&](LayerProperties& p) { p.rasterizationScale = scale; });
}

void Layer::insertAt(const std::shared_ptr<Layer>& layer, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!layer || layer.get() == this)
        return;
    std::shared_ptr<Layer> keep = layer;
    if (layer->superlayer().get() == this) {
        auto found = std::find(m_sublayers.begin(), m_sublayers.end(), layer);
        size_t current = static_cast<size_t>(found - m_sublayers.begin());
        m_sublayers.erase(found);
        if (index > current)
            --index;
    } else {
        layer->removeFromSuperlayer();
    }
    index = std::min(index, m_sublayers.size());
    m_sublayers.insert(m_sublayers.begin() + static_cast<std::ptrdiff_t>(index), layer);
    layer->m_superlayer = weak_from_this();
    markChanged();
    treeChanged();
}

void Layer::addSublayer(const std::shared_ptr<Layer>& layer) { insertAt(layer, m_sublayers.size() + 1); }

void Layer::insertSublayer(const std::shared_ptr<Layer>& layer, size_t index) { insertAt(layer, index); }

void Layer::insertSublayerBelow(const std::shared_ptr<Layer>& layer, const Layer* sibling)
{
    auto found = std::find_if(
        m_sublayers.begin(), m_sublayers.end(), [&](const auto& s) { return s.get() == sibling && s != layer; });
    insertAt(layer, found == m_sublayers.end() ? 0 : static_cast<size_t>(found - m_sublayers.begin()));
}

void Layer::insertSublayerAbove(const std::shared_ptr<Layer>& layer, const Layer* sibling)
{
    auto found = std::find_if(
        m_sublayers.begin(), m_sublayers.end(), [&](const auto& s) { return s.get() == sibling && s != layer; });
    insertAt(layer,
        found == m_sublayers.end() ? m_sublayers.size() + 1 : static_cast<size_t>(found - m_sublayers.begin()) + 1);
}

void Layer::removeFromSuperlayer()
{
    std::shared_ptr<Layer> parent = superlayer();
    m_superlayer.reset();
    if (!parent)
        return;
    std::erase_if(parent->m_sublayers, [this](const std::shared_ptr<Layer>& s) { return s.get() == this; });
    markChanged();
    parent->treeChanged();
}

bool Layer::isInWindow() const
{
    const Layer* layer = this;
    for (std::shared_ptr<Layer> parent = superlayer(); parent; parent = parent->superlayer())
        layer = parent.get();
    return layer->m_role == Role::WindowBacking;
}

gfx::Point Layer::convertPointTo(gfx::Point p, const Layer* layer) const { return convert(p, this, layer); }

gfx::Point Layer::convertPointFrom(gfx::Point p, const Layer* layer) const { return convert(p, layer, this); }

gfx::Rect Layer::convertRectTo(const gfx::Rect& r, const Layer* layer) const { return convertRect(r, this, layer); }

gfx::Rect Layer::convertRectFrom(const gfx::Rect& r, const Layer* layer) const { return convertRect(r, layer, this); }

} // namespace ui
