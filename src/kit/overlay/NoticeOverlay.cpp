#include "kit/overlay/NoticeOverlay.h"

#include "base/loop/MainThread.h"
#include "kit/support/PerformBlockAfterDelay.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {
    constexpr double imageTop = 10;
    constexpr double textGap = 6;
    constexpr double bottomPadding = 10;
    // The box widens from the notice's width to hold its text, up to this, with this much room either side.
    constexpr double maxBoxWidth = 280;
    constexpr double sidePadding = 10;
}

std::shared_ptr<NoticeOverlay> NoticeOverlay::notifyHUDWithImage(std::shared_ptr<gfx::Image> image, std::string text)
{
    BASE_ASSERT_MAIN_THREAD();
    auto notice = std::make_shared<NoticeOverlay>(Private());
    // The views do not exist yet: these only store.
    notice->m_image = std::move(image);
    notice->m_text = std::move(text);
    // Makes the image view, the text label and the box.
    notice->setCurrentOpacity(0);
    notice->addSubview(notice->backgroundView());
    notice->addSubview(notice->imageView());
    notice->addSubview(notice->textLabel());
    notice->recalculateHeight();
    return notice;
}

NoticeOverlay::NoticeOverlay(Private)
    : ui::View(defaultFrame)
{
    BASE_ASSERT_MAIN_THREAD();
}

const std::shared_ptr<ui::View>& NoticeOverlay::backgroundView()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_backgroundView) {
        m_backgroundView = std::make_shared<ui::View>(bounds());
        m_backgroundView->layer()->setCornerRadius(m_roundness);
        m_backgroundView->layer()->setBorderWidth(1.0);
        m_backgroundView->setBackgroundColor(gfx::Color::black().withAlpha(0));
        m_backgroundView->layer()->setBorderColor(m_borderColor);
    }
    return m_backgroundView;
}

const std::shared_ptr<ui::ImageView>& NoticeOverlay::imageView()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_imageView) {
        double boxWidth = backgroundView()->frame().width();
        m_imageView = std::make_shared<ui::ImageView>(gfx::Rect {});
        m_imageView->setBackgroundColor(gfx::Color::clear());
        m_imageView->setContentMode(ui::ContentMode::Center);
        if (m_image) {
            m_imageView->setImage(m_image);
            gfx::Size size = m_image->size();
            m_imageView->setFrame({ (boxWidth - size.width) / 2, imageTop, size.width, size.height });
        }
        m_imageView->setAlpha(0);
    }
    return m_imageView;
}

const std::shared_ptr<ui::Label>& NoticeOverlay::textLabel()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_textLabel) {
        gfx::Rect box = backgroundView()->frame();
        double top = std::floor(imageView()->frame().maxY() + textGap);
        m_textLabel
            = std::make_shared<ui::Label>(gfx::Rect { 0, top, std::floor(box.width()), std::floor(box.height() / 2) });
        m_textLabel->setFont(gfx::Font::boldSystem(18));
        m_textLabel->setTextColor(gfx::Color::white());
        m_textLabel->setAlpha(0);
        m_textLabel->setBackgroundColor(gfx::Color::clear());
        m_textLabel->setTextAlignment(gfx::TextAlignment::Center);
        m_textLabel->setNumberOfLines(0);
        if (!m_text.empty())
            m_textLabel->setText(m_text);
        adjustTextLabel(*m_textLabel);
        recalculateHeight();
    }
    return m_textLabel;
}

// A text that would break a word a line in the notice's width widens the box instead; the box stays centred on
// the notice.
void NoticeOverlay::adjustTextLabel(ui::Label& label)
{
    double noticeWidth = defaultFrame.width();
    gfx::Rect frame = label.frame();
    label.setFrame({ frame.origin, { maxBoxWidth - 2 * sidePadding, frame.height() } });
    label.sizeToFit();
    frame = label.frame();
    double boxWidth = std::clamp(frame.width() + 2 * sidePadding, noticeWidth, maxBoxWidth);
    gfx::Rect box = backgroundView()->frame();
    backgroundView()->setFrame({ (noticeWidth - boxWidth) / 2, box.minY(), boxWidth, box.height() });
    label.setFrame({ { std::floor((noticeWidth - frame.width()) / 2), frame.minY() }, frame.size });
}

void NoticeOverlay::recalculateHeight()
{
    gfx::Rect box = backgroundView()->frame();
    backgroundView()->setFrame({ box.origin, { box.width(), textLabel()->frame().maxY() + bottomPadding } });
}

void NoticeOverlay::layoutSubviews() { recalculateHeight(); }

void NoticeOverlay::setCurrentOpacity(double opacity)
{
    BASE_ASSERT_MAIN_THREAD();
    double contentAlpha = opacity > 0 ? 1.0 : 0;
    imageView()->setAlpha(contentAlpha);
    textLabel()->setAlpha(contentAlpha);
    backgroundView()->setBackgroundColor(gfx::Color::black().withAlpha(opacity));
    m_currentOpacity = opacity;
}

void NoticeOverlay::setImage(std::shared_ptr<gfx::Image> image)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_imageView)
        m_imageView->setImage(image);
    m_image = std::move(image);
}

void NoticeOverlay::setRoundness(double roundness)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_backgroundView)
        m_backgroundView->layer()->setCornerRadius(roundness);
    m_roundness = roundness;
}

void NoticeOverlay::setBorderColor(gfx::Color color)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_backgroundView)
        m_backgroundView->layer()->setBorderColor(color);
    m_borderColor = color;
}

void NoticeOverlay::setText(std::string text)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_textLabel) {
        m_textLabel->setText(text);
        adjustTextLabel(*m_textLabel);
    }
    m_text = std::move(text);
}

void NoticeOverlay::presentWithDuration(double duration, double speed, std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    m_animating = true;
    ui::View::animateWithDuration(
        speed, [this] { setCurrentOpacity(m_destinationOpacity); },
        [self = ui::sharedFrom(this), duration, speed, completion = std::move(completion)](bool finished) {
            if (finished)
                self->fadeAfter(duration, speed, completion);
        });
}

void NoticeOverlay::fadeAfter(double wait, double speed, std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    auto self = ui::sharedFrom(this);
    performBlockAfterDelay(
        self,
        [self, speed, completion = std::move(completion)] {
            ui::View::animateWithDuration(
                speed, [&self] { self->setCurrentOpacity(0); },
                [self, completion](bool finished) {
                    if (!finished)
                        return;
                    self->m_animating = false;
                    if (completion)
                        completion();
                });
        },
        wait);
}

} // namespace kit
