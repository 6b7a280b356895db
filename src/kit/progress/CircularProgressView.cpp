#include "kit/progress/CircularProgressView.h"

#include "base/loop/DispatchQueue.h"
#include "base/loop/MainThread.h"
#include "media/playback/AudioPlayer.h"
#include "ui/render/DisplayLink.h"
#include "ui/input/PanGestureRecognizer.h"
#include "ui/view/Screen.h"
#include "ui/layer/ShapeLayer.h"
#include "ui/input/TapGestureRecognizer.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {
    constexpr double fullTurn = 2 * M_PI;
    // Ten progress steps a second at 60 frames a second.
    constexpr int framesPerProgressStep = 6;
    constexpr base::Duration strokeResetDelay { 0.1 };
}

CircularProgressView::CircularProgressView(const gfx::Rect& frame)
    : ui::View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
}

CircularProgressView::~CircularProgressView()
{
    if (m_displayLink)
        m_displayLink->invalidate();
}

std::shared_ptr<CircularProgressView> CircularProgressView::makeWithAudio(const gfx::Rect& frame,
    std::optional<gfx::Color> backColor, std::optional<gfx::Color> progressColor, double lineWidth,
    const base::URL& audioURL)
{
    BASE_ASSERT_MAIN_THREAD();
    auto view = std::make_shared<CircularProgressView>(frame);
    view->setUp();
    view->m_backColor = std::move(backColor);
    view->m_progressColor = std::move(progressColor);
    view->setLineWidth(lineWidth);
    view->openPlayer(audioURL);
    view->m_audioURL = audioURL;
    return view;
}

void CircularProgressView::setUp()
{
    setBackgroundColor(gfx::Color::clear());
    auto weak = ui::weakFrom(this);
    addGestureRecognizer(std::make_shared<ui::TapGestureRecognizer>([weak](ui::GestureRecognizer& recognizer) {
        if (auto self = weak.lock())
            self->handleTap(recognizer);
    }));
    addGestureRecognizer(std::make_shared<ui::PanGestureRecognizer>([weak](ui::GestureRecognizer& recognizer) {
        if (auto self = weak.lock())
            self->handlePan(recognizer);
    }));
}

void CircularProgressView::openPlayer(const base::URL& url)
{
    m_player = media::AudioPlayer::makeWithContentsOfFile(url.filePath());
    if (!m_player)
        return;
    m_player->setDelegate(ui::weakFrom(this));
    (void)m_player->prepareToPlay(); // play() prepares again if this fails
}

void CircularProgressView::setAudioURL(std::optional<base::URL> url)
{
    BASE_ASSERT_MAIN_THREAD();
    if (url) {
        openPlayer(*url);
        if (m_player)
            m_duration = m_player->duration();
    }
    m_audioURL = std::move(url);
}

void CircularProgressView::setLineWidth(double width)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Point center { frame().width() / 2, frame().height() / 2 };
    double radius = bounds().width() / 2 - width / 2;
    layer()->addSublayer(makeRingLayer(center, radius, width, m_backColor));
    m_progressLayer = makeRingLayer(center, radius, width, m_progressColor);
    m_progressLayer->setStrokeEnd(0);
    layer()->addSublayer(m_progressLayer);
    m_lineWidth = width;
}

std::shared_ptr<ui::ShapeLayer> CircularProgressView::makeRingLayer(
    gfx::Point center, double radius, double width, const std::optional<gfx::Color>& color) const
{
    auto ring = std::make_shared<ui::ShapeLayer>();
    // A full circle from twelve o'clock, so that the stroke end runs clockwise from the top.
    ring->setPath(gfx::Path::arc({ radius, radius }, radius, -M_PI / 2, 3 * M_PI / 2, gfx::ArcDirection::Increasing));
    ring->setContentsScale(ui::Screen::main().scale());
    ring->setFrame({ center.x - radius, center.y - radius, 2 * radius, 2 * radius });
    ring->setFillColor(gfx::Color::clear());
    ring->setStrokeColor(color);
    ring->setLineWidth(width);
    ring->setLineJoin(gfx::LineJoin::Bevel);
    // Butt ends, so that a quarter of the ring ends exactly at three o'clock.
    ring->setLineCap(gfx::LineCap::Butt);
    return ring;
}

void CircularProgressView::setProgress(float progress)
{
    BASE_ASSERT_MAIN_THREAD();
    m_progress = progress;
    if (!m_progressLayer)
        return;
    if (progress != 0) {
        m_progressLayer->setHidden(false);
        m_progressLayer->setStrokeEnd(progress);
        return;
    }
    m_progressLayer->setHidden(true);
    // The arc is emptied while hidden so that it does not shrink back on screen; a progress set meanwhile
    // (a cached value, then the reply) must not be wiped out.
    base::DispatchQueue::main()->after(strokeResetDelay, [weak = ui::weakFrom(this)] {
        auto self = weak.lock();
        if (self && self->m_progress == 0 && self->m_progressLayer)
            self->m_progressLayer->setStrokeEnd(0);
    });
}

void CircularProgressView::play()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_player && m_player->isPlaying())
        return;
    if (m_displayLink) {
        m_displayLink->setPaused(false);
    } else {
        m_displayLink = std::make_shared<ui::DisplayLink>([weak = ui::weakFrom(this)](ui::DisplayLink&) {
            if (auto self = weak.lock())
                self->updateProgressCircle();
        });
        m_displayLink->setFrameInterval(framesPerProgressStep);
        m_displayLink->addToRunLoop();
    }
    // Without an output device the circle still shows the clip's progress.
    if (m_player)
        (void)m_player->play();
}

void CircularProgressView::pause()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_player || !m_player->isPlaying())
        return;
    if (m_displayLink)
        m_displayLink->setPaused(true);
    m_player->pause();
}

void CircularProgressView::stop()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_player)
        m_player->stop();
    setProgress(0);
    if (m_player)
        m_player->setCurrentTime(0);
    releaseDisplayLink();
}

void CircularProgressView::releaseDisplayLink()
{
    if (!m_displayLink)
        return;
    m_displayLink->invalidate();
    m_displayLink.reset();
}

void CircularProgressView::updateProgressCircle()
{
    // Without audio there is no position to show: the ring keeps what it shows.
    if (m_player && m_player->duration() > 0)
        setProgress(static_cast<float>(m_player->currentTime() / m_player->duration()));
    if (auto delegate = m_delegate.lock())
        delegate->updateProgressViewWithPlayer(m_player.get());
}

void CircularProgressView::audioPlayerDidFinishPlaying(media::AudioPlayer&, bool successfully)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!successfully)
        return;
    releaseDisplayLink();
    setProgress(0);
    if (auto delegate = m_delegate.lock())
        delegate->playerDidFinishPlaying();
}

double CircularProgressView::angleBetweenLines(
    gfx::Point line1Start, gfx::Point line1End, gfx::Point line2Start, gfx::Point line2End)
{
    BASE_ASSERT_MAIN_THREAD();
    double ax = line1End.x - line1Start.x;
    double ay = line1End.y - line1Start.y;
    double bx = line2End.x - line2Start.x;
    double by = line2End.y - line2Start.y;
    double lengths = std::hypot(ax, ay) * std::hypot(bx, by);
    if (lengths == 0)
        return 0;
    // Rounding can push the ratio of nearly parallel lines just past 1.
    return std::acos(std::clamp((ax * bx + ay * by) / lengths, -1.0, 1.0));
}

double CircularProgressView::angleFromStartToPoint(gfx::Point point) const
{
    gfx::Point center { bounds().midX(), bounds().midY() };
    double angle = angleBetweenLines(center, { center.x, center.y - 1 }, center, point);
    gfx::Rect leftHalf { 0, 0, frame().width() / 2, frame().height() };
    if (leftHalf.contains(point))
        return fullTurn - angle;
    return angle;
}

void CircularProgressView::seekToAngle()
{
    // The player's own duration: the view's duration is not known for a view made with its audio file.
    if (m_player)
        m_player->setCurrentTime(m_player->duration() * m_angle / fullTurn);
}

void CircularProgressView::handleTap(ui::GestureRecognizer& recognizer)
{
    m_angle = angleFromStartToPoint(recognizer.locationInView(this));
    seekToAngle();
    if (!m_player || !m_player->isPlaying())
        play();
    if (auto delegate = m_delegate.lock())
        delegate->updatePlayOrPauseButton();
}

void CircularProgressView::handlePan(ui::GestureRecognizer& recognizer)
{
    switch (recognizer.state()) {
    case ui::GestureRecognizer::State::Changed:
        if (m_displayLink)
            m_displayLink->setPaused(true);
        m_angle = angleFromStartToPoint(recognizer.locationInView(this));
        setProgress(static_cast<float>(m_angle / fullTurn));
        if (auto delegate = m_delegate.lock())
            delegate->updateProgressViewWithPlayer(m_player.get());
        break;
    case ui::GestureRecognizer::State::Ended:
        seekToAngle();
        if (m_player && m_player->isPlaying()) {
            if (m_displayLink)
                m_displayLink->setPaused(false);
        } else {
            play();
        }
        if (auto delegate = m_delegate.lock())
            delegate->updatePlayOrPauseButton();
        break;
    default:
        break;
    }
}

} // namespace kit
