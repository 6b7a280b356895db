#include "kit/modal/ModalPresenterViewController.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "ui/view/Screen.h"

namespace kit {

namespace {
    constexpr unsigned stretches = ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight;
}

void ModalPresenterViewController::loadView() { setView(std::make_shared<ui::View>(ui::Screen::main().bounds())); }

void ModalPresenterViewController::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    const auto& root = view();
    root->setBackgroundColor(gfx::Color::clear());
    root->setAutoresizingMask(stretches);
    auto background = std::make_shared<ModalGradientView>(root->bounds());
    background->setAutoresizingMask(stretches);
    background->setOpaque(false);
    root->addSubview(background);
    m_styleView = background;
}

bool ModalPresenterViewController::performEscape()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!ui::ViewController::performEscape())
        base::NotificationCenter::defaultCenter().post(ModalGradientView::tappedNotification);
    return true;
}

} // namespace kit
