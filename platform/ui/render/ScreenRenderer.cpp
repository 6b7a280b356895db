#include "ui/render/ScreenRenderer.h"

#include "base/loop/MainThread.h"
#include "base/time/Date.h"
#include "base/time/DateFormatter.h"
#include "gfx/text/TextMeasurer.h"
#include "ui/layer/Layer.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

#include <cmath>
#include <numbers>

namespace ui {

void ScreenRenderer::render(gfx::Context& context, const RenderOptions& options)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Rect screen = Screen::main().bounds();
    context.save();
    context.translateBy(-screen.minX(), -screen.minY());
    for (Layer* root : visibleRoots())
        Renderer::renderLayer(context, *root, options);
    context.restore();
    // A part redrawn alone draws the strip only where it meets it.
    gfx::Rect strip = Application::shared().statusBarFrame().offsetBy(screen.minX(), screen.minY());
    if (!options.damage || !options.area.intersection(strip).isEmpty())
        renderStatusBar(context);
}

std::vector<Layer*> ScreenRenderer::visibleRoots()
{
    std::vector<Layer*> roots;
    for (const auto& window : Application::shared().windows()) {
        if (!window->isHidden())
            roots.push_back(window->layer().get());
    }
    return roots;
}

void ScreenRenderer::renderStatusBar(gfx::Context& context)
{
    Application& application = Application::shared();
    if (application.isStatusBarHidden())
        return;
    gfx::Rect strip = application.statusBarFrame();
    gfx::Color ink
        = application.statusBarStyle() == StatusBarStyle::LightContent ? gfx::Color::white() : gfx::Color::black();
    // The strip has no background of its own: the screen below shows through, as on the phone.
    context.save();
    context.setFillColor(ink);
    context.setStrokeColor(ink);
    double x = drawNetwork(context, application.statusBarNetwork(), strip.height());
    if (application.isNetworkActivityIndicatorVisible()) {
        context.setLineWidth(1.5);
        context.beginPath();
        context.addArc({ x + 6, strip.height() / 2 }, 5, 0, 1.5 * std::numbers::pi, gfx::ArcDirection::Increasing);
        context.strokePath();
    }
    gfx::TextAttributes clock { gfx::Font::boldSystem(12), ink, { gfx::TextAlignment::Center } };
    double lineHeight = gfx::TextMeasurer::current()->lineHeight(clock.font);
    context.drawText(gfx::AttributedString(base::DateFormatter("HH:mm").stringFromDate(base::Date::now()), clock),
        { 0, (strip.height() - lineHeight) / 2, strip.width(), lineHeight }, 1);
    context.restore();
}

double ScreenRenderer::drawNetwork(gfx::Context& context, StatusBarNetwork network, double stripHeight)
{
    constexpr double left = 6, barWidth = 3, gap = 1.5;
    constexpr double heights[] = { 4, 6.5, 9, 11.5 };
    if (network == StatusBarNetwork::Unknown)
        return left;
    double x = left;
    context.setLineWidth(1);
    for (double height : heights) {
        gfx::Rect bar { x, (stripHeight + heights[3]) / 2 - height, barWidth, height };
        // Filled bars: a network to reach; outlined bars: none.
        if (network == StatusBarNetwork::Online)
            context.fillRect(bar);
        else
            context.strokeRect(bar.insetBy(0.5, 0.5));
        x += barWidth + gap;
    }
    return x + gap;
}

int64_t ScreenRenderer::statusBarMinute()
{
    BASE_ASSERT_MAIN_THREAD();
    return static_cast<int64_t>(std::floor(base::Date::now().timeIntervalSince1970() / 60));
}

std::shared_ptr<gfx::Image> ScreenRenderer::renderImage(const RenderOptions& options)
{
    gfx::Rect screen = Screen::main().bounds();
    auto context = gfx::Context::makeBitmap(screen.size, Screen::main().scale(), true);
    if (!context)
        return nullptr;
    render(*context, options);
    return context->makeImage();
}

} // namespace ui
