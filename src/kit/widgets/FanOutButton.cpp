#include "kit/widgets/FanOutButton.h"

#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "ui/view/Application.h"
#include "ui/animation/BasicAnimation.h"
#include "ui/view/Window.h"

#include <cmath>
#include <limits>
#include <sstream>

namespace kit {

namespace {

    constexpr double springDamping = 0.5;

    // "{x, y}", as points are written in the log.
    std::string pointText(gfx::Point point)
    {
        std::ostringstream text;
        text << '{' << point.x << ", " << point.y << '}';
        return text.str();
    }

} // namespace

std::shared_ptr<FanOutButton> FanOutButton::make(const gfx::Rect& frame)
{
    BASE_ASSERT_MAIN_THREAD();
    auto button = std::make_shared<FanOutButton>(Private(), frame, std::weak_ptr<ui::View>());
    button->setUpViewHierarchy();
    return button;
}

std::shared_ptr<FanOutButton> FanOutButton::makeWithView(const gfx::Rect& frame, const std::shared_ptr<ui::View>& host)
{
    BASE_ASSERT_MAIN_THREAD();
    auto button = std::make_shared<FanOutButton>(Private(), frame, host);
    button->setUpViewHierarchy();
    return button;
}

FanOutButton::FanOutButton(Private, const gfx::Rect& frame, std::weak_ptr<ui::View> host)
    : ui::Button(frame)
    , m_host(std::move(host))
{
    BASE_ASSERT_MAIN_THREAD();
}

void FanOutButton::setUpViewHierarchy()
{
    auto windows = ui::Application::shared().windows();
    std::shared_ptr<ui::Window> mainWindow = windows.empty() ? nullptr : windows.front();
    auto host = m_host.lock();
    gfx::Point centre = host ? host->convertPointTo(center(), mainWindow.get()) : center();
    m_centerPoint = { centre.x - 0.25 * bounds().width(), centre.y - 0.5 * bounds().height() };
    base::log("-----" + pointText(m_centerPoint));

    using Action = void (FanOutButton::*)();
    const Action actions[] = { &FanOutButton::button1, &FanOutButton::button2, &FanOutButton::button3 };
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i] = std::make_shared<ui::Button>(gfx::Rect { m_centerPoint, { 0, 0 } });
        m_buttons[i]->addAction(
            [weak = ui::weakFrom(this), action = actions[i]](ui::Control&) {
                if (auto self = weak.lock())
                    (self.get()->*action)();
            },
            ui::ControlEvent::TouchUpInside, this);
    }
    visibility(false);

    // Up-left and up-right at 45 degrees across and 30 degrees up; straight up by the whole radius.
    m_positions = { m_centerPoint + gfx::Point { -56.5685424949238, -39.99999999999999 },
        gfx::Point { m_centerPoint.x + radius * 6.123233995736766e-17, m_centerPoint.y - radius },
        gfx::Point { m_centerPoint.x + radius * 0.7071067811865476, m_centerPoint.y + radius * -0.49999999999999994 } };
    base::log(
        "p1=" + pointText(m_positions[0]) + ",p2=" + pointText(m_positions[1]) + ",p3=" + pointText(m_positions[2]));

    m_imageView = std::make_shared<ui::ImageView>(bounds());
    insertSubviewAtIndex(m_imageView, 0);
    m_imageView->layer()->setMasksToBounds(true);
    m_imageView->layer()->setCornerRadius(bounds().width() * 0.5);
    layer()->setCornerRadius(bounds().width() * 0.5);

    m_markView = std::make_shared<ui::ImageView>(
        gfx::Rect { (frame().width() - markSide) * 0.5, (frame().height() - markSide) * 0.5, markSide, markSide });
    m_markView->setImage(gfx::Image::named("center_add.png"));
    addSubview(m_markView);
    auto turn = std::make_shared<ui::BasicAnimation>("transform");
    turn->setToValue(gfx::Transform3D::makeRotation(M_PI / 2, 0, 0, 1));
    turn->setDuration(markTurnDuration);
    turn->setCumulative(true);
    turn->setRepeatCount(std::numeric_limits<double>::infinity());
    m_markView->layer()->addAnimation(turn, "animation");
}

void FanOutButton::visibility(bool visible)
{
    BASE_ASSERT_MAIN_THREAD();
    for (const auto& button : m_buttons)
        button->setAlpha(visible ? 1.0 : 0);
}

void FanOutButton::animate()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::View::animateWithDurationUsingSpring(springDuration, 0, springDamping, 0, 0, [this] {
        moveView(!m_tapped);
        m_tapped = !m_tapped;
    });
}

void FanOutButton::moveView(bool out)
{
    if (out) {
        auto host = m_host.lock();
        for (size_t i = 0; i < m_buttons.size(); ++i) {
            if (host)
                host->addSubview(m_buttons[i]);
        }
        visibility(true);
        for (size_t i = 0; i < m_buttons.size(); ++i)
            m_buttons[i]->setFrame({ m_positions[i], { subButtonSide, subButtonSide } });
        return;
    }
    ui::View::animateWithDuration(
        0,
        [this] {
            for (const auto& button : m_buttons)
                button->setFrame({ m_centerPoint, { subButtonSide, subButtonSide } });
            visibility(false);
        },
        [weak = ui::weakFrom(this)](bool) {
            auto self = weak.lock();
            if (!self)
                return;
            self->visibility(true);
            for (const auto& button : self->m_buttons)
                button->removeFromSuperview();
        });
    base::log("Center Point1: " + pointText(m_centerPoint));
}

void FanOutButton::foldAndReport(int index)
{
    animate();
    if (auto delegate = m_delegate.lock())
        delegate->tappedButtonWithIndex(index);
}

void FanOutButton::button1() { foldAndReport(1); }

void FanOutButton::button2() { foldAndReport(2); }

void FanOutButton::button3() { foldAndReport(3); }

void FanOutButton::setImagesForButtons(const std::vector<std::shared_ptr<gfx::Image>>& images)
{
    BASE_ASSERT_MAIN_THREAD();
    for (size_t i = 0; i < m_buttons.size() && i < images.size(); ++i)
        m_buttons[i]->setImage(images[i], ui::ControlState::Normal);
}

void FanOutButton::setCenterButtonImage(std::shared_ptr<gfx::Image> image, gfx::Color backgroundColor)
{
    BASE_ASSERT_MAIN_THREAD();
    m_imageView->setImage(std::move(image));
    setBackgroundColor(backgroundColor);
}

} // namespace kit
