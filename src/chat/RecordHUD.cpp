#include "chat/RecordHUD.h"

#include "base/loop/MainThread.h"
#include "gfx/text/Font.h"
#include "gfx/images/Image.h"
#include "ui/view/Application.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

namespace chat {

namespace {

    constexpr double imageCornerRadius = 10;
    constexpr double hintBelowImage = 65;
    constexpr double timeAboveImage = 77;
    constexpr const char* initialHint = "离开按钮取消录音";
    constexpr const char* initialTime = "录音: 0\"";

    std::shared_ptr<ui::Label> makeLabel(const gfx::Font& font)
    {
        auto label = std::make_shared<ui::Label>(gfx::Rect { { 0, 0 }, RecordHUD::labelSize });
        label->setBackgroundColor(gfx::Color::clear());
        label->setTextAlignment(gfx::TextAlignment::Center);
        label->setFont(font);
        label->setTextColor(gfx::Color::white());
        return label;
    }

} // namespace

const std::shared_ptr<RecordHUD>& RecordHUD::shareView()
{
    BASE_ASSERT_MAIN_THREAD();
    static const auto shared = std::make_shared<RecordHUD>();
    return shared;
}

void RecordHUD::show() { shareView()->showOverlay(); }
void RecordHUD::dismiss() { shareView()->dismissOverlay(); }

void RecordHUD::setTitle(const std::string& text)
{
    BASE_ASSERT_MAIN_THREAD();
    if (const auto& label = shareView()->m_titleLabel)
        label->setText(text);
}

void RecordHUD::setTimeTitle(const std::string& text)
{
    BASE_ASSERT_MAIN_THREAD();
    if (const auto& label = shareView()->m_timeLabel)
        label->setText(text);
}

void RecordHUD::setImage(const std::string& name)
{
    BASE_ASSERT_MAIN_THREAD();
    if (const auto& image = shareView()->m_imgView)
        image->setImage(gfx::Image::named(name));
}

RecordHUD::RecordHUD()
    : ui::View(ui::Screen::main().bounds())
{
    BASE_ASSERT_MAIN_THREAD();
    setBackgroundColor(gfx::Color::black().withAlpha(0.5));
}

const std::shared_ptr<ui::Window>& RecordHUD::overlayWindow()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_overlayWindow) {
        m_overlayWindow = std::make_shared<ui::Window>(ui::Screen::main().bounds());
        m_overlayWindow->setAutoresizingMask(
            ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
        m_overlayWindow->setUserInteractionEnabled(false);
        m_overlayWindow->makeKeyAndVisible();
    }
    return m_overlayWindow;
}

void RecordHUD::showOverlay()
{
    if (!superview())
        overlayWindow()->addSubview(ui::sharedFrom<ui::View>(this));
    buildContent();
    animateWithDuration(fadeDuration, 0, ui::AnimationOptions::BeginFromCurrentState, [this] { setAlpha(1); });
}

void RecordHUD::buildContent()
{
    gfx::Point centre = ui::Screen::main().bounds().center();
    if (m_imgView)
        m_imgView->removeFromSuperview();
    m_imgView = std::make_shared<ui::ImageView>(gfx::Image::named("mic_0"));
    m_imgView->setFrame({ { 0, 0 }, imageSize });
    m_imgView->setCenter(centre);
    m_imgView->layer()->setCornerRadius(imageCornerRadius);
    m_imgView->setClipsToBounds(true);

    if (!m_titleLabel)
        m_titleLabel = makeLabel(gfx::Font::boldSystem(15));
    m_titleLabel->setText(initialHint);
    m_titleLabel->setCenter({ centre.x, centre.y + hintBelowImage });
    if (!m_timeLabel)
        m_timeLabel = makeLabel(gfx::Font::boldSystem(14));
    m_timeLabel->setText(initialTime);
    m_timeLabel->setCenter({ centre.x, centre.y - timeAboveImage });

    addSubview(m_imgView);
    addSubview(m_titleLabel);
    addSubview(m_timeLabel);
}

void RecordHUD::dismissOverlay()
{
    animateWithDuration(
        fadeDuration, [this] { setAlpha(0); },
        [weak = ui::weakFrom(this)](bool) {
            if (auto self = weak.lock(); self && self->alpha() == 0)
                self->takeDown();
        });
}

void RecordHUD::takeDown()
{
    if (m_imgView)
        m_imgView->removeFromSuperview();
    m_imgView = nullptr;
    for (const auto& label : { m_titleLabel, m_timeLabel }) {
        if (label) {
            label->removeFromSuperview();
            label->setText("");
        }
    }
    removeFromSuperview();
    m_overlayWindow = nullptr;
    auto windows = ui::Application::shared().windows();
    for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
        if ((*window)->windowLevel() == 0 && !(*window)->isHidden()) {
            (*window)->makeKeyWindow();
            break;
        }
    }
}

} // namespace chat
