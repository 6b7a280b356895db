#include "settings/numbers/ImageAnimate.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "core/messages/DBManager.h"
#include "settings/numbers/BtnModel.h"
#include "ui/view/Screen.h"

namespace settings {

namespace {

    bool hasThreeButtons(int64_t type) { return type == 43 || type == 44; }

    int64_t storedDeviceType()
    {
        auto stored = core::DBManager::readSingleMobileDevice();
        return stored ? stored->deviceTypeID.value_or(0) : 0;
    }

} // namespace

std::shared_ptr<ImageAnimate> ImageAnimate::make(const std::shared_ptr<ui::View>& host)
{
    BASE_ASSERT_MAIN_THREAD();
    auto panel = std::make_shared<ImageAnimate>(Private());
    host->addSubview(panel);
    const std::pair<const char*, std::string> buttons[] = { { "dad", base::localized("father") },
        { "mum", base::localized("mother") }, { "sos", "SOS" }, { "listen", base::localized("listen") } };
    for (size_t i = 0; i < panel->m_buttons.size(); ++i) {
        auto button = BtnModel::make(buttons[i].first, buttons[i].second);
        host->addSubview(button);
        host->bringSubviewToFront(button.get());
        button->setHidden(true);
        panel->m_buttons[i] = button;
    }
    return panel;
}

ImageAnimate::ImageAnimate(Private)
    : ui::Button(gfx::Rect {})
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Rect screen = ui::Screen::main().bounds();
    m_oldframe = { (screen.width() - 40) / 2, screen.height() - 60, 40, 40 };
}

void ImageAnimate::TapAnimation()
{
    gfx::Rect screen = ui::Screen::main().bounds();
    double W = screen.width();
    double H = screen.height();
    bool three = hasThreeButtons(storedDeviceType());
    ui::View::animateWithDuration(openDuration, [&] {
        if (three) {
            m_buttons[0]->setCenter({ W / 2 - 60, H - 64 - 60 });
            m_buttons[1]->setCenter({ W / 2, H - 64 - 80 });
            m_buttons[2]->setCenter({ W / 2 + 60, H - 64 - 60 });
        } else {
            // The four-button layout's x values are absolute, not relative to the screen's width.
            m_buttons[0]->setCenter({ 90, H - 64 - 30 });
            m_buttons[1]->setCenter({ 135, H - 64 - 60 });
            m_buttons[2]->setCenter({ 185, H - 64 - 60 });
            m_buttons[3]->setCenter({ 230, H - 64 - 30 });
        }
        for (size_t i = 0; i < (three ? 3 : 4); ++i)
            m_buttons[i]->setHidden(false);
        visibility(true);
    });
}

void ImageAnimate::HiddenAllView()
{
    auto weak = std::weak_ptr<ImageAnimate>(std::static_pointer_cast<ImageAnimate>(shared_from_this()));
    ui::View::animateWithDuration(
        foldDuration,
        [this] {
            for (const auto& button : m_buttons)
                button->setFrame(m_oldframe);
            visibility(false);
        },
        [weak](bool finished) {
            auto self = weak.lock();
            if (!self)
                return;
            self->visibility(true);
            if (!finished)
                return;
            for (const auto& button : self->m_buttons)
                button->setHidden(true);
        });
}

void ImageAnimate::visibility(bool visible)
{
    for (const auto& button : m_buttons)
        button->setAlpha(visible ? 1.0 : 0.0);
}

} // namespace settings
