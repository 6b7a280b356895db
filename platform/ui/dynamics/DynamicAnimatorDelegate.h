// ui::DynamicAnimatorDelegate: told when a dynamic animator comes to rest (it stops stepping) and when it
// starts again. Both optional; kept weakly. Main thread.
#pragma once

namespace ui {

class DynamicAnimator;

class DynamicAnimatorDelegate {
public:
    virtual ~DynamicAnimatorDelegate() = default;
    virtual void dynamicAnimatorDidPause(DynamicAnimator&) { }
    virtual void dynamicAnimatorWillResume(DynamicAnimator&) { }
};

} // namespace ui
