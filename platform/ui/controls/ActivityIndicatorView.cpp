#include "ui/controls/ActivityIndicatorView.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "ui/animation/BasicAnimation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace ui {

namespace {

    constexpr const char* spinKey = "spin";
    constexpr int spokes = 12;

    gfx::Size sizeFor(ActivityIndicatorViewStyle style)
    {
        return style == ActivityIndicatorViewStyle::WhiteLarge ? gfx::Size { 37, 37 } : gfx::Size { 20, 20 };
    }

    void drawWheel(gfx::Context& context, const gfx::Rect& b, const gfx::Color& color)
    {
        double radius = std::min(b.width(), b.height()) / 2;
        double width = radius / 4;
        context.save();
        context.translateBy(b.midX(), b.midY());
        context.setLineWidth(width);
        context.setLineCap(gfx::LineCap::Round);
        for (int spoke = 0; spoke < spokes; ++spoke) {
            // The spoke at 12 o'clock is the brightest; the others fade behind it.
            context.setStrokeColor(color.withAlpha(color.a * (1 - 0.8 * spoke / spokes)));
            double angle = -M_PI / 2 - spoke * 2 * M_PI / spokes;
            gfx::Path spokePath;
            spokePath.moveTo({ std::cos(angle) * radius * 0.45, std::sin(angle) * radius * 0.45 });
            spokePath.lineTo({ std::cos(angle) * (radius - width / 2), std::sin(angle) * (radius - width / 2) });
            context.addPath(spokePath);
            context.strokePath();
        }
        context.restore();
    }

    // The wheels drawn so far, by size, colour and scale (main thread): every busy overlay shows a new
    // indicator, and stroking its twelve round-capped spokes cost more than the rest of the overlay's drawing.
    struct Wheel {
        gfx::Size size;
        gfx::Color color;
        double scale;
        std::shared_ptr<gfx::Image> image;
    };
    std::vector<Wheel> wheels;
    constexpr size_t keptWheels = 8;

    // The wheel for bounds `b` as an image copied pixel for pixel into the view's bitmap; null unless `b` starts
    // at the origin and spans whole pixels, where only drawing it in place gives the same pixels.
    std::shared_ptr<gfx::Image> wheelImage(const gfx::Rect& b, const gfx::Color& color, double scale)
    {
        double pixelWidth = b.width() * scale, pixelHeight = b.height() * scale;
        if (b.origin != gfx::Point {} || pixelWidth != std::floor(pixelWidth) || pixelHeight != std::floor(pixelHeight))
            return nullptr;
        for (const Wheel& wheel : wheels) {
            if (wheel.size == b.size && wheel.color == color && wheel.scale == scale)
                return wheel.image;
        }
        auto bitmap = gfx::Context::makeBitmap(b.size, scale);
        if (!bitmap)
            return nullptr;
        drawWheel(*bitmap, { {}, b.size }, color);
        if (wheels.size() == keptWheels)
            wheels.erase(wheels.begin());
        wheels.push_back({ b.size, color, scale, bitmap->makeImage() });
        return wheels.back().image;
    }

} // namespace

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style)
    : View({ {}, sizeFor(style) })
    , m_style(style)
{
    BASE_ASSERT_MAIN_THREAD();
    setOpaque(false);
    setUserInteractionEnabled(false);
    setHidden(true);
}

void ActivityIndicatorView::setStyle(ActivityIndicatorViewStyle style)
{
    BASE_ASSERT_MAIN_THREAD();
    m_style = style;
    gfx::Point centre = center();
    setBounds({ {}, sizeFor(style) });
    setCenter(centre);
    setNeedsDisplay();
}

gfx::Color ActivityIndicatorView::color() const
{
    if (m_color)
        return *m_color;
    return m_style == ActivityIndicatorViewStyle::Gray ? gfx::Color::gray() : gfx::Color::white();
}

void ActivityIndicatorView::setColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_color = color;
    setNeedsDisplay();
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides)
{
    BASE_ASSERT_MAIN_THREAD();
    m_hidesWhenStopped = hides;
    if (!m_animating)
        setHidden(hides);
}

void ActivityIndicatorView::startAnimating()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_animating)
        return;
    m_animating = true;
    setHidden(false);
    auto spin = std::make_shared<BasicAnimation>("transform.rotation.z");
    spin->setFromValue(0.0);
    spin->setToValue(2 * M_PI);
    spin->setDuration(period);
    spin->setRepeatCount(std::numeric_limits<double>::infinity());
    layer()->addAnimation(spin, spinKey);
}

void ActivityIndicatorView::stopAnimating()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_animating)
        return;
    m_animating = false;
    layer()->removeAnimation(spinKey);
    if (m_hidesWhenStopped)
        setHidden(true);
}

gfx::Size ActivityIndicatorView::sizeThatFits(gfx::Size) const { return sizeFor(m_style); }

void ActivityIndicatorView::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    gfx::Rect b = bounds();
    if (auto wheel = wheelImage(b, color(), layer()->contentsScale())) {
        context->drawImage(*wheel, b);
        return;
    }
    drawWheel(*context, b, color());
}

} // namespace ui
