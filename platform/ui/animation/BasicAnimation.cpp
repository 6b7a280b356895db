#include "ui/animation/BasicAnimation.h"

#include "base/loop/MainThread.h"
namespace ui {

void BasicAnimation::applyAt(LayerProperties& properties, Moment moment) const
{
    BASE_ASSERT_MAIN_THREAD();
    std::optional<AnimatableValue> underlying = valueForKeyPath(properties, keyPath());
    std::optional<AnimatableValue> from = m_from;
    std::optional<AnimatableValue> to = m_to;
    if (!from && !to && m_by && underlying) {
        from = underlying;
        to = add(*underlying, *m_by);
    } else if (from && !to) {
        to = m_by ? add(*from, *m_by) : underlying;
    } else if (!from && to) {
        from = underlying;
    }
    if (!from || !to) {
        if (to)
            write(properties, *to, *to, moment.cycle);
        return;
    }
    write(properties, interpolate(*from, *to, moment.progress), *to, moment.cycle);
}

} // namespace ui
