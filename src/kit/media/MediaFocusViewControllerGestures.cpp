// The media focus viewer's gestures: dragging and throwing the image on the dynamics, zooming with a double
// tap or a pinch, and dismissing with a tap.
#include "kit/media/MediaFocusViewController.h"

#include "base/loop/RunLoop.h"
#include "ui/dynamics/AttachmentBehavior.h"
#include "ui/dynamics/DynamicAnimator.h"
#include "ui/dynamics/DynamicItemBehavior.h"
#include "ui/controls/ImageView.h"
#include "ui/input/PanGestureRecognizer.h"
#include "ui/dynamics/PushBehavior.h"
#include "ui/scroll/ScrollView.h"
#include "ui/dynamics/SnapBehavior.h"
#include "ui/input/TapGestureRecognizer.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {
    // The spin and the push are scaled by the device: 1 on a phone (the only device this application runs on).
    constexpr double deviceFactor = 1.0;
    constexpr float fullTurn = static_cast<float>(6.283185307179586);
    constexpr double pushDelayBase = 0.5;
    constexpr double pushDelayPerSpeed = 1.0 / 10000;
} // namespace

void MediaFocusViewController::handlePanGesture(ui::PanGestureRecognizer& pan)
{
    gfx::Point inView = pan.locationInView(view().get());
    gfx::Point inImage = pan.locationInView(m_imageView.get());
    gfx::Rect bounds = m_imageView->bounds();
    switch (pan.state()) {
    case ui::GestureRecognizer::State::Began: {
        m_animator->removeBehavior(m_snapBehavior);
        m_animator->removeBehavior(m_pushBehavior);
        gfx::Point offset { inImage.x - bounds.midX(), inImage.y - bounds.midY() };
        m_panAttachmentBehavior = std::make_shared<ui::AttachmentBehavior>(m_imageView, offset, inView);
        m_animator->addBehavior(m_panAttachmentBehavior);
        m_animator->addBehavior(m_itemBehavior);
        break;
    }
    case ui::GestureRecognizer::State::Changed:
        if (m_panAttachmentBehavior)
            m_panAttachmentBehavior->setAnchorPoint(inView);
        break;
    case ui::GestureRecognizer::State::Ended: {
        if (m_panAttachmentBehavior)
            m_animator->removeBehavior(m_panAttachmentBehavior);
        gfx::Point velocity = pan.velocityInView(view().get());
        double scaledX = velocity.x / (10 * deviceFactor);
        double scaledY = velocity.y / (10 * deviceFactor);
        if (std::abs(scaledX) <= throwSpeed / 10 && std::abs(scaledY) <= throwSpeed / 10) {
            returnToCenter();
            break;
        }
        throwImage(inImage, inView, velocity);
        break;
    }
    default:
        break;
    }
}

void MediaFocusViewController::throwImage(gfx::Point touchInImage, gfx::Point touchInView, gfx::Point velocity)
{
    gfx::Rect bounds = m_imageView->bounds();
    float ox = static_cast<float>(touchInImage.x - bounds.midX());
    float oy = static_cast<float>(touchInImage.y - bounds.midY());
    float vx = static_cast<float>(velocity.x);
    float vy = static_cast<float>(velocity.y);
    float radius = std::sqrt(ox * ox + oy * oy);
    float speed = std::sqrt(vx * vx + vy * vy);
    float velocityAngle = std::atan2(vy, vx);
    float touchAngle = std::atan2(oy, ox);
    if (touchAngle > 0)
        touchAngle -= fullTurn;
    // A touch at the exact centre has no lever arm: it gives no spin.
    float angular = radius == 0
        ? 0
        : std::abs(std::abs(speed) * std::sin(std::abs(std::abs(velocityAngle) - std::abs(touchAngle))) / radius);

    double side = touchInView.x < m_imageView->center().x ? -1 : 1;
    if (vy < 0)
        side = -side;
    gfx::Rect frame = m_imageView->frame();
    double spread = (std::abs(ox) / (frame.width() * 0.5) + std::abs(oy) / (frame.height() * 0.5)) * 0.5;
    m_itemBehavior->addAngularVelocity(side * deviceFactor * angular * spread, *m_imageView);

    m_animator->addBehavior(m_pushBehavior);
    m_pushBehavior->setPushDirection({ velocity.x / (10 * deviceFactor), velocity.y / (10 * deviceFactor) });
    m_pushBehavior->setActive(true);

    double delay = std::max(0.0, pushDelayBase - speed * pushDelayPerSpeed);
    base::RunLoop::main().performAfter(
        base::Duration(delay), [self = ui::sharedFrom(this)] { self->dismissAfterPush(); }, this);
}

void MediaFocusViewController::handleDoubleTapGesture(ui::TapGestureRecognizer& tap)
{
    if (m_scrollView->zoomScale() != m_scrollView->minimumZoomScale()) {
        m_scrollView->setZoomScale(m_scrollView->minimumZoomScale(), true);
        return;
    }
    gfx::Point point = tap.locationInView(m_imageView.get());
    gfx::Rect frame = m_imageView->frame();
    double width = frame.width() / m_scrollView->maximumZoomScale();
    double height = frame.height() / m_scrollView->maximumZoomScale();
    m_scrollView->zoomToRect({ point.x - width * 0.5, point.y - height * 0.5, width, height }, true);
}

void MediaFocusViewController::handleDismissFromTap(ui::TapGestureRecognizer& tap)
{
    gfx::Point location = tap.locationInView(view().get());
    gfx::Rect imageFrame = view()->convertRectFrom(m_imageView->frame(), m_scrollView.get());
    if (!m_shouldDismissOnTap && imageFrame.contains(location))
        return;
    dismissToTargetView();
}

std::shared_ptr<ui::View> MediaFocusViewController::viewForZoomingInScrollView(ui::ScrollView&) { return m_imageView; }

void MediaFocusViewController::scrollViewDidZoom(ui::ScrollView& scrollView)
{
    if (scrollView.zoomScale() <= 1.0) {
        m_imageView->addGestureRecognizer(m_panRecognizer);
        scrollView.setScrollEnabled(false);
    } else {
        m_imageView->removeGestureRecognizer(m_panRecognizer);
        scrollView.setScrollEnabled(true);
    }
    centerScrollViewContents();
}

bool MediaFocusViewController::gestureRecognizerShouldRecognizeSimultaneously(
    ui::GestureRecognizer& recognizer, ui::GestureRecognizer& other)
{
    bool bothTaps = dynamic_cast<ui::TapGestureRecognizer*>(&recognizer) != nullptr
        && dynamic_cast<ui::TapGestureRecognizer*>(&other) != nullptr;
    return !bothTaps;
}

} // namespace kit
