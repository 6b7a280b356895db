#include "core/helpers/KeyboardLift.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "ui/input/Keyboard.h"
#include "ui/view/View.h"

namespace core {

std::shared_ptr<KeyboardLift> KeyboardLift::make(std::weak_ptr<ui::View> view, Placement placement)
{
    return std::make_shared<KeyboardLift>(std::move(view), std::move(placement));
}

KeyboardLift::KeyboardLift(std::weak_ptr<ui::View> view, Placement placement)
    : m_view(std::move(view))
    , m_placement(std::move(placement))
{
}

KeyboardLift::~KeyboardLift() { base::NotificationCenter::defaultCenter().removeObservers(this); }

void KeyboardLift::start()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_observing)
        return;
    m_observing = true;
    auto& center = base::NotificationCenter::defaultCenter();
    center.addObserver(
        ui::Keyboard::willShowNotification, nullptr,
        [weak = weak_from_this()](const base::Notification& notification) {
            auto transition = notification.objectAs<ui::KeyboardTransition>();
            if (auto self = weak.lock(); self && transition)
                self->keyboardWillShow(*transition);
        },
        this);
    center.addObserver(
        ui::Keyboard::willHideNotification, nullptr,
        [weak = weak_from_this()](const base::Notification&) {
            if (auto self = weak.lock())
                self->keyboardWillHide();
        },
        this);
}

void KeyboardLift::stop()
{
    BASE_ASSERT_MAIN_THREAD();
    base::NotificationCenter::defaultCenter().removeObservers(this);
    m_observing = false;
    auto resting = std::exchange(m_restingFrame, std::nullopt);
    if (auto view = m_view.lock(); view && resting)
        view->setFrame(*resting);
}

void KeyboardLift::keyboardWillShow(const ui::KeyboardTransition& transition)
{
    auto view = m_view.lock();
    if (!view || !m_placement)
        return;
    gfx::Rect resting = m_restingFrame.value_or(view->frame());
    m_restingFrame = resting;
    double keyboardTop = transition.endFrame.minY();
    if (auto superview = view->superview())
        keyboardTop = superview->convertPointFrom({ 0, keyboardTop }, nullptr).y;
    gfx::Rect lifted = resting;
    lifted.origin.y = m_placement(resting, keyboardTop);
    moveTo(*view, lifted);
}

void KeyboardLift::keyboardWillHide()
{
    auto resting = std::exchange(m_restingFrame, std::nullopt);
    if (auto view = m_view.lock(); view && resting)
        moveTo(*view, *resting);
}

void KeyboardLift::moveTo(ui::View& view, const gfx::Rect& frame)
{
    ui::View::beginAnimations(AnimationName);
    ui::View::setAnimationDuration(AnimationDuration);
    view.setFrame(frame);
    ui::View::commitAnimations();
}

} // namespace core
