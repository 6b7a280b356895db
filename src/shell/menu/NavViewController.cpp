#include "shell/menu/NavViewController.h"

#include "base/loop/MainThread.h"
#include "gfx/text/Font.h"
#include "gfx/text/TextAttributes.h"

namespace shell {

NavViewController::NavViewController()
{
    BASE_ASSERT_MAIN_THREAD();
    const auto& bar = navigationBar();
    bar->setBarTintColor(barTint);
    bar->setTintColor(gfx::Color::white());
    gfx::TextAttributes title;
    title.font = gfx::Font::boldSystem(18);
    title.color = gfx::Color::white();
    bar->setTitleTextAttributes(title);
}

std::shared_ptr<NavViewController> NavViewController::withRootViewController(std::shared_ptr<ui::ViewController> root)
{
    BASE_ASSERT_MAIN_THREAD();
    auto navigation = std::make_shared<NavViewController>();
    navigation->setViewControllers({ std::move(root) });
    return navigation;
}

} // namespace shell
