#include "kit/drawer/DrawerVisualState.h"

#include "base/loop/MainThread.h"
#include "kit/drawer/DrawerController.h"
#include "ui/view/Screen.h"
#include "ui/view/View.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kit {

namespace {

    // The drawer's layer for a side, or nullptr for a side without one.
    std::shared_ptr<ui::View> drawerView(DrawerController& drawer, DrawerSide side)
    {
        std::shared_ptr<ui::ViewController> controller;
        if (side == DrawerSide::Left)
            controller = drawer.leftDrawerViewController();
        else if (side == DrawerSide::Right)
            controller = drawer.rightDrawerViewController();
        return controller ? controller->view() : nullptr;
    }

    // Stretched by `percent` across and moved by half of what it grew, towards the centre.
    gfx::Transform3D stretch(double percent, double width, double direction)
    {
        return gfx::Transform3D::makeScale(percent, 1, 1).translated((percent - 1) * width * 0.5 * direction, 0, 0);
    }

    // The width a block measures with: the larger of the maximum width and what is uncovered now.
    double widthFor(DrawerController& drawer, DrawerSide side)
    {
        if (side == DrawerSide::Left)
            return std::max(drawer.maximumLeftDrawerWidth(), drawer.visibleLeftDrawerWidth());
        return std::max(drawer.maximumRightDrawerWidth(), drawer.visibleRightDrawerWidth());
    }

} // namespace

DrawerVisualStateBlock DrawerVisualState::parallaxVisualStateBlock(double parallaxFactor)
{
    BASE_ASSERT_MAIN_THREAD();
    return [parallaxFactor](DrawerController& drawer, DrawerSide side, double percent) {
        auto view = drawerView(drawer, side);
        if (!view)
            return;
        double width = widthFor(drawer, side);
        gfx::Transform3D transform;
        if (side == DrawerSide::Left) {
            transform = percent <= 1
                ? gfx::Transform3D::makeTranslation(width * percent / parallaxFactor - width / parallaxFactor, 0, 0)
                : stretch(percent, drawer.maximumLeftDrawerWidth(), 1);
        } else {
            transform = percent <= 1
                ? gfx::Transform3D::makeTranslation(width / parallaxFactor - width * percent / parallaxFactor, 0, 0)
                : stretch(percent, drawer.maximumRightDrawerWidth(), -1);
        }
        view->layer()->setTransform(transform);
    };
}

DrawerVisualStateBlock DrawerVisualState::slideVisualStateBlock() { return parallaxVisualStateBlock(1.0); }

DrawerVisualStateBlock DrawerVisualState::slideAndScaleVisualStateBlock()
{
    BASE_ASSERT_MAIN_THREAD();
    return [](DrawerController& drawer, DrawerSide side, double percent) {
        auto view = drawerView(drawer, side);
        if (!view)
            return;
        constexpr double minimumScale = 0.9;
        constexpr double slideDistance = 50;
        double scale = minimumScale + percent * (1.0 - minimumScale);
        double away = slideDistance - slideDistance * percent;
        auto translation = gfx::Transform3D::makeTranslation(side == DrawerSide::Left ? away : -away, 0, 0);
        view->layer()->setTransform(
            gfx::Transform3D::concat(gfx::Transform3D::makeScale(scale, scale, scale), translation));
        view->setAlpha(percent);
    };
}

DrawerVisualStateBlock DrawerVisualState::swingingDoorVisualStateBlock()
{
    BASE_ASSERT_MAIN_THREAD();
    return [](DrawerController& drawer, DrawerSide side, double percent) {
        // Every side but Left is treated as Right, as the door hinges on the drawer's outer edge.
        DrawerSide doorSide = side == DrawerSide::Left ? DrawerSide::Left : DrawerSide::Right;
        auto view = drawerView(drawer, doorSide);
        if (!view)
            return;
        double width = widthFor(drawer, doorSide);
        bool left = doorSide == DrawerSide::Left;
        double offset = left ? width * percent - width / 2 : width / 2 - width * percent;
        double angle = left ? -std::numbers::pi / 2 + percent * std::numbers::pi / 2
                            : std::numbers::pi / 2 - percent * std::numbers::pi / 2;
        const auto& layer = view->layer();
        // The anchor moves the frame by half the width; the offset puts it back.
        layer->setAnchorPoint({ left ? 1.0 : 0.0, 0.5 });
        layer->setShouldRasterize(true);
        layer->setRasterizationScale(ui::Screen::main().scale());
        gfx::Transform3D transform;
        if (percent <= 1) {
            gfx::Transform3D perspective = gfx::Transform3D::identity();
            perspective.m34 = -1.0 / 1000;
            transform = gfx::Transform3D::concat(
                perspective.rotated(angle, 0, 1, 0), gfx::Transform3D::makeTranslation(offset, 0, 0));
        } else {
            transform = gfx::Transform3D::makeScale(percent, 1, 1).translated((left ? 1 : -1) * width / 2, 0, 0);
        }
        layer->setTransform(transform);
    };
}

DrawerVisualStateBlock DrawerVisualState::plainVisualStateBlock()
{
    BASE_ASSERT_MAIN_THREAD();
    return [](DrawerController& drawer, DrawerSide side, double percent) {
        auto view = drawerView(drawer, side);
        if (!view)
            return;
        if (percent <= 1) {
            view->layer()->setTransform(gfx::Transform3D::identity());
            return;
        }
        view->layer()->setTransform(side == DrawerSide::Left ? stretch(percent, drawer.maximumLeftDrawerWidth(), 1)
                                                             : stretch(percent, drawer.maximumRightDrawerWidth(), -1));
    };
}

} // namespace kit
