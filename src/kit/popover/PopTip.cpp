#include "kit/popover/PopTip.h"

#include "base/loop/MainThread.h"
#include "ui/input/TapGestureRecognizer.h"

namespace kit {

namespace {

    // The scale a hiding tip shrinks to: small enough to vanish, yet invertible.
    constexpr double hiddenScale = 0.000001;
    constexpr double springDamping = 0.6;
    constexpr double springVelocity = 1.5;

    std::optional<gfx::Font>& sharedAppearanceFont()
    {
        static std::optional<gfx::Font> font;
        return font;
    }

    void call(const PopTip::Handler& handler)
    {
        if (handler) {
            // A copy, so that a handler that replaces itself runs to its end.
            PopTip::Handler copy = handler;
            copy();
        }
    }

} // namespace

std::shared_ptr<PopTip> PopTip::popTip()
{
    BASE_ASSERT_MAIN_THREAD();
    auto tip = std::make_shared<PopTip>(Private());
    tip->m_removeGesture->addAction([weak = std::weak_ptr<PopTip>(tip)](ui::GestureRecognizer&) {
        if (auto self = weak.lock())
            self->removeGestureHandler();
    });
    return tip;
}

PopTip::PopTip(Private)
    : ui::View(gfx::Rect::zero())
    , m_removeGesture(std::make_shared<ui::TapGestureRecognizer>())
{
    BASE_ASSERT_MAIN_THREAD();
}

PopTip::~PopTip()
{
    if (auto view = m_removeGesture->view())
        view->removeGestureRecognizer(m_removeGesture);
}

void PopTip::setAppearanceFont(std::optional<gfx::Font> font) { sharedAppearanceFont() = std::move(font); }

const std::optional<gfx::Font>& PopTip::appearanceFont() { return sharedAppearanceFont(); }

void PopTip::didMoveToWindow()
{
    BASE_ASSERT_MAIN_THREAD();
    if (window() && appearanceFont())
        m_font = *appearanceFont();
}

void PopTip::layoutSubviews() { setup(); }

void PopTip::setFromFrame(const gfx::Rect& frame)
{
    BASE_ASSERT_MAIN_THREAD();
    m_fromFrame = frame;
    setup();
}

void PopTip::prepare(int direction, double maxWidth, const std::shared_ptr<ui::View>& view, const gfx::Rect& fromFrame)
{
    m_direction = direction;
    m_containerView = view;
    m_maxWidth = maxWidth;
    m_fromFrame = fromFrame;
}

void PopTip::showText(const std::string& text, int direction, double maxWidth, const std::shared_ptr<ui::View>& view,
    const gfx::Rect& fromFrame)
{
    BASE_ASSERT_MAIN_THREAD();
    m_attributedText.reset();
    m_text = text;
    setAccessibilityLabel(text);
    prepare(direction, maxWidth, view, fromFrame);
    show();
}

void PopTip::showAttributedText(const gfx::AttributedString& text, int direction, double maxWidth,
    const std::shared_ptr<ui::View>& view, const gfx::Rect& fromFrame)
{
    BASE_ASSERT_MAIN_THREAD();
    m_text.reset();
    m_attributedText = text;
    setAccessibilityLabel(text.string());
    prepare(direction, maxWidth, view, fromFrame);
    show();
}

void PopTip::showTextWithDuration(const std::string& text, int direction, double maxWidth,
    const std::shared_ptr<ui::View>& view, const gfx::Rect& fromFrame, double duration)
{
    BASE_ASSERT_MAIN_THREAD();
    showText(text, direction, maxWidth, view, fromFrame);
    scheduleHide(duration);
}

void PopTip::showAttributedTextWithDuration(const gfx::AttributedString& text, int direction, double maxWidth,
    const std::shared_ptr<ui::View>& view, const gfx::Rect& fromFrame, double duration)
{
    BASE_ASSERT_MAIN_THREAD();
    showAttributedText(text, direction, maxWidth, view, fromFrame);
    scheduleHide(duration);
}

void PopTip::scheduleHide(double duration)
{
    if (m_dismissTimer) {
        m_dismissTimer->invalidate();
        m_dismissTimer.reset();
    }
    if (duration > 0) {
        m_dismissTimer = base::Timer::scheduled(
            base::Duration(duration), false, [self = sharedFrom(this)](base::Timer&) { self->hide(); });
    }
}

void PopTip::updateText(const std::string& text)
{
    BASE_ASSERT_MAIN_THREAD();
    m_text = text;
    setAccessibilityLabel(text);
    setNeedsLayout();
}

void PopTip::show()
{
    BASE_ASSERT_MAIN_THREAD();
    setNeedsLayout();
    setTransform(gfx::AffineTransform::makeScale(0, 0));
    if (auto container = containerView())
        container->addSubview(sharedFrom(this));
    m_isVisible = true;
    ui::View::animateWithDurationUsingSpring(
        m_animationIn, m_delayIn, springDamping, springVelocity, 0,
        [this] { setTransform(gfx::AffineTransform::identity()); },
        [self = sharedFrom(this)](bool finished) {
            if (!finished)
                return;
            if (auto container = self->containerView())
                container->addGestureRecognizer(self->m_removeGesture);
            call(self->m_appearHandler);
        });
}

void PopTip::hide()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_dismissTimer) {
        m_dismissTimer->invalidate();
        m_dismissTimer.reset();
    }
    if (auto view = m_removeGesture->view())
        view->removeGestureRecognizer(m_removeGesture);
    if (!superview())
        return;
    ui::View::animateWithDuration(
        m_animationOut, m_delayOut, ui::AnimationOptions::BeginFromCurrentState,
        [this] { setTransform(gfx::AffineTransform::makeScale(hiddenScale, hiddenScale)); },
        [self = sharedFrom(this)](bool finished) {
            if (!finished)
                return;
            self->removeFromSuperview();
            self->setTransform(gfx::AffineTransform::identity());
            self->m_isVisible = false;
            call(self->m_dismissHandler);
        });
}

void PopTip::handleTap()
{
    if (m_shouldDismissOnTap)
        hide();
    call(m_tapHandler);
}

void PopTip::removeGestureHandler()
{
    if (m_shouldDismissOnTapOutside)
        hide();
}

} // namespace kit
