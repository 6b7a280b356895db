#include "kit/overlay/TipAnimationView.h"

#include "base/loop/MainThread.h"
#include "ui/controls/Label.h"

namespace kit {

namespace {
    constexpr double slideDuration = 0.4f;
    constexpr double stayDuration = 3.0;
    constexpr const char* slideIn = "go";
    constexpr const char* slideOut = "back";
}

std::shared_ptr<TipAnimationView> TipAnimationView::makeWithIsToDown(
    const gfx::Rect& frame, bool isDown, std::string title, gfx::Color backgroundColor)
{
    BASE_ASSERT_MAIN_THREAD();
    return make(frame, isDown, std::move(title), backgroundColor, 18);
}

std::shared_ptr<TipAnimationView> TipAnimationView::makeWithIsShow(
    const gfx::Rect& frame, bool isShow, std::string title, gfx::Color backgroundColor)
{
    BASE_ASSERT_MAIN_THREAD();
    return make(frame, isShow, std::move(title), backgroundColor, 12);
}

std::shared_ptr<TipAnimationView> TipAnimationView::make(
    const gfx::Rect& frame, bool isDown, std::string title, gfx::Color backgroundColor, double fontSize)
{
    auto tip = std::make_shared<TipAnimationView>(Private(), frame);
    tip->setBackgroundColor(backgroundColor);
    auto label = std::make_shared<ui::Label>(tip->bounds());
    label->setTextColor(gfx::Color::white());
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(gfx::TextAlignment::Center);
    label->setText(std::move(title));
    label->setFont(gfx::Font::boldSystem(fontSize));
    tip->m_lblTitle = label;
    tip->addSubview(label);
    tip->m_isDown = isDown;
    tip->start();
    return tip;
}

TipAnimationView::TipAnimationView(Private, const gfx::Rect& frame)
    : ui::View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
}

void TipAnimationView::slide(const std::string& name, double delay, bool downwards)
{
    gfx::Point center = this->center();
    double height = bounds().height();
    ui::View::beginAnimations(name);
    ui::View::setAnimationDuration(slideDuration);
    ui::View::setAnimationDelay(delay);
    ui::View::setAnimationDidStop([self = ui::sharedFrom(this)](const std::string& name, bool finished,
                                      const std::any&) { self->stop(name, finished); });
    setCenter({ center.x, downwards ? center.y + height : center.y - height });
    ui::View::commitAnimations();
}

void TipAnimationView::start() { slide(slideIn, 0, m_isDown); }

void TipAnimationView::back() { slide(slideOut, stayDuration, !m_isDown); }

void TipAnimationView::stop(const std::string& animationName, bool finished)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!finished)
        return;
    if (animationName == slideIn) {
        back();
    } else if (animationName == slideOut) {
        setHidden(true);
        removeFromSuperview();
    }
}

} // namespace kit
