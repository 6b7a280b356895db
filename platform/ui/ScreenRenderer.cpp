#include "ui/ScreenRenderer.h"

#include "ui/Application.h"
#include "ui/Screen.h"
#include "ui/Window.h"

#include <numbers>

namespace ui {

void ScreenRenderer::render(gfx::Context& context, const RenderOptions& options)
{
    gfx::Rect screen = Screen::main().bounds();
    context.save();
    context.translateBy(-screen.minX(), -screen.minY());
    for (const auto& window : Application::shared().windows()) {
        if (!window->isHidden())
            Renderer::renderLayer(context, *window->layer(), options);
    }
    context.restore();
    renderStatusBar(context);
}

void ScreenRenderer::renderStatusBar(gfx::Context& context)
{
    Application& application = Application::shared();
    if (application.isStatusBarHidden())
        return;
    gfx::Rect strip = application.statusBarFrame();
    bool light = application.statusBarStyle() == StatusBarStyle::LightContent;
    context.save();
    context.setFillColor(light ? gfx::Color::black() : gfx::Color::white());
    context.fillRect({ 0, 0, strip.width(), strip.height() });
    if (application.isNetworkActivityIndicatorVisible()) {
        context.setStrokeColor(light ? gfx::Color::white() : gfx::Color::black());
        context.setLineWidth(1.5);
        context.beginPath();
        context.addArc({ 12, strip.height() / 2 }, 5, 0, 1.5 * std::numbers::pi, gfx::ArcDirection::Increasing);
        context.strokePath();
    }
    context.restore();
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
