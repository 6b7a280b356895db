#include "support/ScreenProbe.h"

#include "gfx/images/Image.h"
#include "ui/view/Application.h"
#include "ui/controls/Label.h"
#include "ui/view/Screen.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/controls/TextField.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/Window.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

namespace test {

namespace {

    std::shared_ptr<gfx::Image> renderScreen()
    {
        ui::UpdateCycle::main().runPasses();
        return ui::ScreenRenderer::renderImage();
    }

    uint32_t pixelAt(const gfx::Image& image, gfx::Point point)
    {
        double scale = ui::Screen::main().scale();
        return image.pixel(
            static_cast<int>(std::floor(point.x * scale)), static_cast<int>(std::floor(point.y * scale)));
    }

    // The box a label's text is drawn in, in its bounds: centred vertically as the label draws it, placed
    // horizontally by its alignment.
    gfx::Rect textBox(const ui::Label& label)
    {
        gfx::Rect bounds = label.bounds();
        gfx::Rect box = label.textRectForBounds(bounds);
        double width = std::min(label.sizeThatFits({ bounds.width(), bounds.height() }).width, bounds.width());
        double factor = 0;
        if (label.textAlignment() == gfx::TextAlignment::Center)
            factor = 0.5;
        else if (label.textAlignment() == gfx::TextAlignment::Right)
            factor = 1;
        return { box.minX() + (bounds.width() - width) * factor, box.minY(), width, box.height() };
    }

    // Calls `visit` with every view shown on screen (not hidden nor transparent, nor under one that is).
    void forEachShownView(const ui::View& view, const std::function<void(const ui::View&)>& visit)
    {
        if (view.isHidden() || view.alpha() <= 0.01)
            return;
        visit(view);
        for (const auto& subview : view.subviews())
            forEachShownView(*subview, visit);
    }

    // The whole device pixels a box of screen points touches.
    gfx::Rect devicePixels(const gfx::Rect& box)
    {
        double scale = ui::Screen::main().scale();
        return gfx::Rect(box.minX() * scale, box.minY() * scale, box.width() * scale, box.height() * scale).integral();
    }

    // Whether the rendered pixels of a screen box are not all one colour.
    bool hasInk(const gfx::Image& image, const gfx::Rect& box)
    {
        gfx::Rect pixels = devicePixels(box);
        std::set<uint32_t> colours;
        for (int y = static_cast<int>(pixels.minY()); y < static_cast<int>(pixels.maxY()); ++y) {
            for (int x = static_cast<int>(pixels.minX()); x < static_cast<int>(pixels.maxX()); ++x) {
                colours.insert(image.pixel(x, y));
                if (colours.size() > 1)
                    return true;
            }
        }
        return false;
    }

    bool inside(const gfx::Rect& box, const gfx::Rect& region)
    {
        constexpr double slack = 0.5;
        return !box.isEmpty() && box.minX() >= region.minX() - slack && box.minY() >= region.minY() - slack
            && box.maxX() <= region.maxX() + slack && box.maxY() <= region.maxY() + slack;
    }

} // namespace

gfx::Point ScreenProbe::toScreen(const ui::View& view, gfx::Point point)
{
    gfx::Point inWindow = view.convertPointTo(point, nullptr);
    auto window = view.window();
    gfx::Point origin = window ? window->frame().origin : gfx::Point {};
    return { inWindow.x + origin.x, inWindow.y + origin.y };
}

gfx::Rect ScreenProbe::toScreen(const ui::View& view, const gfx::Rect& rect)
{
    gfx::Rect inWindow = view.convertRectTo(rect, nullptr);
    auto window = view.window();
    return window ? inWindow.offsetBy(window->frame().origin) : inWindow;
}

gfx::Color ScreenProbe::colourAt(const ui::View& view, gfx::Point point)
{
    auto image = renderScreen();
    return image ? gfx::Color::fromPremultipliedARGB(pixelAt(*image, toScreen(view, point))) : gfx::Color::clear();
}

bool ScreenProbe::near(const gfx::Color& a, const gfx::Color& b, double tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

int ScreenProbe::pixelsNear(const ui::View& view, const gfx::Rect& rect, const gfx::Color& colour, double tolerance)
{
    auto image = renderScreen();
    if (!image)
        return 0;
    gfx::Rect pixels = devicePixels(toScreen(view, rect));
    int count = 0;
    for (int y = static_cast<int>(pixels.minY()); y < static_cast<int>(pixels.maxY()); ++y) {
        for (int x = static_cast<int>(pixels.minX()); x < static_cast<int>(pixels.maxX()); ++x) {
            if (near(gfx::Color::fromPremultipliedARGB(image->pixel(x, y)), colour, tolerance))
                ++count;
        }
    }
    return count;
}

bool ScreenProbe::textInRegion(const std::string& text, const gfx::Rect& region)
{
    auto image = renderScreen();
    if (!image)
        return false;
    bool found = false;
    for (const auto& window : ui::Application::shared().windows()) {
        forEachShownView(*window, [&](const ui::View& view) {
            if (found)
                return;
            std::optional<gfx::Rect> box;
            if (auto label = dynamic_cast<const ui::Label*>(&view);
                label && label->text().find(text) != std::string::npos)
                box = textBox(*label);
            else if (auto field = dynamic_cast<const ui::TextField*>(&view)) {
                const std::string& shown = field->text().empty() ? field->placeholder() : field->text();
                if (shown.find(text) != std::string::npos)
                    box = field->bounds();
            }
            if (!box)
                return;
            gfx::Rect onScreen = toScreen(view, *box);
            found = inside(onScreen, region) && hasInk(*image, onScreen);
        });
        if (found)
            return true;
    }
    return false;
}

} // namespace test
