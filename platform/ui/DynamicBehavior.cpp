#include "ui/DynamicBehavior.h"

#include "ui/DynamicAnimator.h"

namespace ui {

DynamicBody* DynamicBehavior::bodyOf(const View& item) const
{
    auto animator = m_animator.lock();
    return animator ? animator->bodyOf(item) : nullptr;
}

void DynamicBehavior::wake()
{
    if (auto animator = m_animator.lock())
        animator->resume();
}

} // namespace ui
