#include "childcare/challenge/CompleteChallengeVC.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "base/system/Random.h"
#include "base/time/Timer.h"
#include "childcare/challenge/ChallengeEnding.h"
#include "gfx/geometry/AffineTransform.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"

#include <cmath>

namespace childcare {

namespace {

    constexpr gfx::Color background { 1.0, 0.98, 0.9, 1 };
    constexpr gfx::Color captionColour { 0.52, 0.8, 0.05, 1 };

    double randomBelow(uint64_t n) { return static_cast<double>(base::Random::shared().nextBelow(n)); }

    // The end of a fall: the image fades out and leaves the view. Weak, so that an image whose screen has
    // gone is not kept alive by its own animation.
    void fadeOut(const std::weak_ptr<ui::ImageView>& weak)
    {
        auto image = weak.lock();
        if (!image)
            return;
        ui::View::animateWithDuration(
            1.0, [image] { image->setAlpha(0); },
            [weak](bool) {
                if (auto image = weak.lock())
                    image->removeFromSuperview();
            });
    }

} // namespace

std::shared_ptr<CompleteChallengeVC> CompleteChallengeVC::make(std::shared_ptr<core::Device> device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto screen = std::make_shared<CompleteChallengeVC>();
    screen->m_deviceDetail = std::move(device);
    return screen;
}

CompleteChallengeVC::~CompleteChallengeVC() { stopFalling(); }

const std::shared_ptr<ui::Button>& CompleteChallengeVC::cashBonus()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_cashBonus;
}

const std::shared_ptr<ui::Button>& CompleteChallengeVC::cancelCash()
{
    view();
    return m_cancelCash;
}

void CompleteChallengeVC::viewDidLoad()
{
    view()->setBackgroundColor(background);
    double width = view()->bounds().width();
    m_taskFinish = std::make_shared<ui::Label>(gfx::Rect { 20, 180, width - 40, 60 });
    m_taskFinish->setFont(gfx::Font::boldSystem(26));
    m_taskFinish->setTextColor(captionColour);
    m_taskFinish->setTextAlignment(gfx::TextAlignment::Center);
    m_taskFinish->setText(base::localized("task_finish"));
    view()->addSubview(m_taskFinish);
    m_cashBonus = makeButton({ 30, 380, width - 60, 44 }, "cash_bonus", cashBonusTag);
    m_cancelCash = makeButton({ 30, 440, width - 60, 44 }, "cancel_cash", cancelCashTag);
    setTitle(base::localized("task_finish"));
}

std::shared_ptr<ui::Button> CompleteChallengeVC::makeButton(const gfx::Rect& frame, const char* titleKey, int tag)
{
    auto button = std::make_shared<ui::Button>(frame);
    button->setBackgroundImage(gfx::Image::named("start_btn_back"), ui::ControlState::Normal);
    button->setTitle(base::localized(titleKey), ui::ControlState::Normal);
    button->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
    button->setTag(tag);
    button->addAction(
        [weak = ui::weakFrom(this)](ui::Control& control) {
            if (auto self = weak.lock())
                self->clickAction(control.tag());
        },
        ui::ControlEvent::TouchUpInside);
    view()->addSubview(button);
    return button;
}

void CompleteChallengeVC::viewDidAppear(bool)
{
    stopFalling();
    m_timer = base::Timer::scheduled(fallInterval, true, [weak = ui::weakFrom(this)](base::Timer&) {
        if (auto self = weak.lock())
            self->addGif();
    });
}

void CompleteChallengeVC::viewWillDisappear(bool) { stopFalling(); }

void CompleteChallengeVC::stopFalling()
{
    if (m_timer)
        m_timer->invalidate();
    m_timer = nullptr;
}

void CompleteChallengeVC::addGif()
{
    double radius = randomBelow(11) + 10;
    auto image = std::make_shared<ui::ImageView>(gfx::Image::named(fallingImageName));
    image->setFrame({ randomBelow(320) - radius, -radius, 2 * radius, 2 * radius });
    image->setUserInteractionEnabled(false);
    view()->addSubview(image);

    double duration = (randomBelow(11) + 40) / 10;
    double drift = randomBelow(100) - 50;
    double angle = randomBelow(360) / 180 * M_PI;
    double bottom = view()->bounds().height();
    ui::View::animateWithDuration(
        duration,
        [image, drift, angle, bottom] {
            image->setCenter({ image->center().x + drift, bottom });
            image->setTransform(gfx::AffineTransform::makeRotation(angle));
        },
        [weak = std::weak_ptr<ui::ImageView>(image)](bool) { fadeOut(weak); });
}

void CompleteChallengeVC::clickAction(int tag)
{
    if (tag != cashBonusTag && tag != cancelCashTag)
        return;
    ChallengeEnding::send(m_deviceDetail, [weak = ui::weakFrom(this)] {
        auto self = weak.lock();
        auto navigation = self ? self->navigationController() : nullptr;
        if (navigation)
            navigation->popViewController(true);
    });
}

} // namespace childcare
