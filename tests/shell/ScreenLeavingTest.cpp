// Leaving a screen for the home screen leaves nothing of it behind: no window of its own still shown (an
// alert it put up), no animation still running, and a window tree no larger than a home screen's own.
#include "ShellFixture.h"

#include "kit/drawer/DrawerTypes.h"
#include "shell/menu/MenuFunctions.h"
#include "shell/screens/ScreenDirectory.h"
#include "ui/input/TouchDriver.h"
#include "ui/layer/Layer.h"
#include "ui/scroll/TableView.h"
#include "ui/view/Application.h"
#include "ui/view/Window.h"

#include <algorithm>

namespace {

size_t layersIn(const ui::Layer& layer)
{
    size_t count = 1;
    for (const auto& sublayer : layer.sublayers())
        count += layersIn(*sublayer);
    return count;
}

// What a host draws: the shown windows, the layers of their trees and the layers that animate.
struct Drawn {
    size_t windows { 0 };
    size_t layers { 0 };
    size_t animating { 0 };
};

Drawn drawn()
{
    Drawn seen;
    for (const auto& window : ui::Application::shared().windows()) {
        if (window->isHidden())
            continue;
        ++seen.windows;
        seen.layers += layersIn(*window->layer());
    }
    seen.animating = ui::Layer::layersRunningAnimations().size();
    return seen;
}

class ScreenLeaving : public test::ShellTest {
protected:
    void openMenu()
    {
        container()->openDrawerSide(kit::DrawerSide::Left, true);
        ASSERT_TRUE(pumpUntil([this] { return menu()->device() && !container()->isAnimatingDrawer(); }));
    }

    void tapRow(const std::string& key)
    {
        auto table = menu()->tableView();
        const auto& functions = menu()->functions();
        auto row = std::find(functions.begin(), functions.end(), key) - functions.begin();
        ASSERT_LT(row, static_cast<long>(functions.size()));
        gfx::Rect rect = table->rectForRowAtIndexPath({ 0, static_cast<int>(row) });
        finger.tap(table->convertPointTo({ rect.midX(), rect.midY() }, nullptr));
    }

    // Runs the menu's home row and lets the home screen settle. The row is run, not tapped: an alert that a
    // screen left up would take the tap.
    void goHome()
    {
        openMenu();
        menu()->openRowTitled(base::localized(shell::MenuFunctions::Home));
        ASSERT_TRUE(pumpUntil([this] { return home() && !container()->isAnimatingDrawer() && networkIdle(); }));
        pass(5);
    }

    ui::TouchDriver finger;
};

} // namespace

TEST_F(ScreenLeaving, EveryMenuScreenLeftForHomeLeavesNoWindowAnimationOrLayerBehind)
{
    launchAndSignIn();
    goHome();
    const Drawn fresh = drawn();

    openMenu();
    std::vector<std::string> screens;
    for (const std::string& key : menu()->functions())
        if (shell::ScreenDirectory::shared().contains(key))
            screens.push_back(key);
    ASSERT_FALSE(screens.empty());

    for (const std::string& key : screens) {
        SCOPED_TRACE(key);
        const ui::ViewController* before = centreRoot().get();
        openMenu();
        tapRow(key);
        ASSERT_TRUE(pumpUntil([&] { return centreRoot().get() != before && !container()->isAnimatingDrawer(); }));
        pass(5);
        goHome();

        Drawn after = drawn();
        EXPECT_EQ(after.windows, fresh.windows);
        EXPECT_LE(after.layers, fresh.layers);
        EXPECT_LE(after.animating, fresh.animating);
    }
}
