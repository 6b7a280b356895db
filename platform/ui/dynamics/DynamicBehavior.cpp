#include "ui/dynamics/DynamicBehavior.h"

#include "base/loop/MainThread.h"
#include "ui/dynamics/DynamicAnimator.h"

namespace ui {

DynamicBody* DynamicBehavior::bodyOf(const View& item) const
{
    auto animator = m_animator.lock();
    return animator ? animator->bodyOf(item) : nullptr;
}

void DynamicBehavior::wake()
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto animator = m_animator.lock())
        animator->resume();
}

} // namespace ui
