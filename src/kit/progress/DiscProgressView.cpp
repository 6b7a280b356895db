#include "kit/progress/DiscProgressView.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {
    // Twelve o'clock, where the track and the sweep start.
    constexpr double startAngle = 4.712388975;
    constexpr double radiansPerDegree = 0.0174532925;
    constexpr double knobShare = 0.3;
    constexpr double knobOrbit = 0.85;
    constexpr double holeShare = 0.7;
}

DiscProgressView::DiscProgressView(const gfx::Rect& frame)
    : ui::View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    setBackgroundColor(gfx::Color::clear());
}

void DiscProgressView::setProgress(float progress)
{
    BASE_ASSERT_MAIN_THREAD();
    m_progress = progress;
    setNeedsDisplay();
}

const gfx::Color& DiscProgressView::trackTintColor()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_trackTintColor)
        m_trackTintColor = gfx::Color::white().withAlpha(0.3);
    return *m_trackTintColor;
}

const gfx::Color& DiscProgressView::progressTintColor()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_progressTintColor)
        m_progressTintColor = gfx::Color::white();
    return *m_progressTintColor;
}

double DiscProgressView::endAngle(float progress) { return (progress * 359.9 - 90) * radiansPerDegree; }

void DiscProgressView::drawRect(const gfx::Rect& rect)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    double width = rect.width();
    double height = rect.height();
    // Height first: the two agree for the square views this draws.
    gfx::Point center { height / 2, width / 2 };
    double radius = std::min(width, height) / 2;
    double knob = radius * knobShare;
    double end = endAngle(m_progress);
    float sine = std::sin(static_cast<float>(end));
    float cosine = std::cos(static_cast<float>(end));
    gfx::Point endKnob { radius * (1 + knobOrbit * cosine), radius * (1 + knobOrbit * sine) };

    // The whole track, a full turn round from twelve o'clock.
    context->setFillColor(trackTintColor());
    context->beginPath();
    context->moveTo(center);
    context->addArc(center, radius, startAngle, startAngle + 2 * M_PI, gfx::ArcDirection::Increasing);
    context->closePath();
    context->fillPath();

    context->setFillColor(progressTintColor());
    context->beginPath();
    context->moveTo(center);
    context->addArc(center, radius, startAngle, end, gfx::ArcDirection::Increasing);
    context->closePath();
    context->fillPath();

    context->fillEllipse({ center.x - knob / 2, 0, knob, knob });
    context->fillEllipse({ endKnob.x - knob / 2, endKnob.y - knob / 2, knob, knob });

    context->setBlendMode(gfx::BlendMode::Clear);
    context->fillEllipse({ center.x - holeShare * radius, center.y - holeShare * radius, 2 * holeShare * radius,
        2 * holeShare * radius });
    context->setBlendMode(gfx::BlendMode::Normal);
}

} // namespace kit
