// kit::ProgressOverlay: a translucent overlay laid over a view while work is under way: a black box with
// rounded corners centred in the host, holding an indicator (a spinner, a pie progress disc or the caller's
// view), an optional one-line label and an optional multi-line details label under it. It fades (or zooms)
// in and out over 0.3 s, may wait a grace time before it shows and stay a minimum time once shown, and tells
// its delegate once each time it has hidden.
//
// Main thread, except setMode, setLabelText, setDetailsLabelText and setProgress, which may be called from
// any thread: they hand the view work to the main run loop. showWhileExecuting runs the caller's task on a
// thread of its own and hides the overlay when it returns.
//
// Each show is answered by at most one hide: hiding an overlay that is not shown does nothing, and the
// pending grace and minimum-show timers, and delayed hides, end with the show they belong to.
//
//   auto hud = kit::ProgressOverlay::makeForView(screenView);
//   screenView->addSubview(hud);
//   hud->setLabelText("Loading");
//   hud->show(true);   ...   hud->hide(true);
#pragma once

#include "base/loop/RunLoop.h"
#include "base/time/Timer.h"
#include "gfx/text/Font.h"
#include "kit/overlay/ProgressOverlayDelegate.h"
#include "ui/view/View.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class Label;
class Window;
}

namespace kit {

class ProgressOverlayBackdrop;

enum class ProgressOverlayMode { Indeterminate = 0, Determinate = 1, CustomView = 2 };
enum class ProgressOverlayAnimation { Fade = 0, Zoom = 1 };

class ProgressOverlay : public ui::View {
    struct Private {
        explicit Private() = default;
    };

public:
    static constexpr const char* viewIsNilException = "ProgressOverlayViewIsNilException";

    // An overlay of `frame` with every default (a running spinner, no texts, alpha 0).
    static std::shared_ptr<ProgressOverlay> make(const gfx::Rect& frame);
    // An overlay covering `view`'s bounds; the caller adds it to the view. A null view throws
    // base::Exception named viewIsNilException.
    static std::shared_ptr<ProgressOverlay> makeForView(const std::shared_ptr<ui::View>& view);
    static std::shared_ptr<ProgressOverlay> makeForWindow(const std::shared_ptr<ui::Window>& window);
    // A new overlay for `view`, added to it and shown.
    static std::shared_ptr<ProgressOverlay> showHUDAddedTo(const std::shared_ptr<ui::View>& view, bool animated);
    // Hides (and removes once hidden) the last overlay among `view`'s subviews; false when there is none.
    [[nodiscard]] static bool hideHUDForView(const std::shared_ptr<ui::View>& view, bool animated);

    ProgressOverlay(Private, const gfx::Rect& frame);
    ~ProgressOverlay() override;

    // Any thread. Setting the current mode again rebuilds the indicator only for the spinner's mode.
    ProgressOverlayMode mode() const { return m_mode.load(); }
    void setMode(ProgressOverlayMode mode);
    // Any thread. Empty: no label (and then no details label either).
    const std::optional<std::string>& labelText() const { return m_labelText; }
    void setLabelText(std::optional<std::string> text);
    const std::optional<std::string>& detailsLabelText() const { return m_detailsLabelText; }
    void setDetailsLabelText(std::optional<std::string> text);
    // Any thread. 0 to 1; shown only in the determinate mode.
    float progress() const { return m_progress.load(); }
    void setProgress(float progress);

    // Plain settings: they show at the next layout pass or show.
    ProgressOverlayAnimation animationType() const { return m_animationType; }
    void setAnimationType(ProgressOverlayAnimation type) { m_animationType = type; }
    std::weak_ptr<ProgressOverlayDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<ProgressOverlayDelegate> delegate) { m_delegate = std::move(delegate); }
    float opacity() const { return m_opacity; }
    void setOpacity(float opacity) { m_opacity = opacity; }
    const gfx::Font& labelFont() const { return m_labelFont; }
    void setLabelFont(gfx::Font font) { m_labelFont = std::move(font); }
    const gfx::Font& detailsLabelFont() const { return m_detailsLabelFont; }
    void setDetailsLabelFont(gfx::Font font) { m_detailsLabelFont = std::move(font); }
    float xOffset() const { return m_xOffset; }
    void setXOffset(float offset) { m_xOffset = offset; }
    float yOffset() const { return m_yOffset; }
    void setYOffset(float offset) { m_yOffset = offset; }
    float margin() const { return m_margin; }
    void setMargin(float margin) { m_margin = margin; }
    bool dimBackground() const { return m_dimBackground; }
    void setDimBackground(bool dim) { m_dimBackground = dim; }
    // Seconds before a show becomes visible; a show with a grace time becomes visible only while a task
    // started by showWhileExecuting runs.
    float graceTime() const { return m_graceTime; }
    void setGraceTime(float seconds) { m_graceTime = seconds; }
    float minShowTime() const { return m_minShowTime; }
    void setMinShowTime(float seconds) { m_minShowTime = seconds; }
    bool taskInProgress() const { return m_taskInProgress; }
    void setTaskInProgress(bool running) { m_taskInProgress = running; }
    bool removeFromSuperViewOnHide() const { return m_removeFromSuperViewOnHide; }
    void setRemoveFromSuperViewOnHide(bool remove) { m_removeFromSuperViewOnHide = remove; }
    gfx::Size minSize() const { return m_minSize; }
    void setMinSize(gfx::Size size) { m_minSize = size; }
    bool isSquare() const { return m_square; }
    void setSquare(bool square) { m_square = square; }
    const std::shared_ptr<ui::View>& customView() const { return m_customView; }
    void setCustomView(std::shared_ptr<ui::View> view) { m_customView = std::move(view); }
    const std::shared_ptr<ui::View>& indicator() const { return m_indicator; }

    // Box size from the last layout pass.
    float width() const { return m_width; }
    float height() const { return m_height; }
    // When the overlay last became visible.
    [[nodiscard]] std::optional<base::Clock::TimePoint> showStarted() const { return m_showStarted; }
    const std::shared_ptr<base::Timer>& graceTimer() const { return m_graceTimer; }
    const std::shared_ptr<base::Timer>& minShowTimer() const { return m_minShowTimer; }
    // Set when a hide has completed.
    bool isFinished() const { return m_finished; }

    void show(bool animated);
    void hide(bool animated);
    void hide(bool animated, double delay);
    // Runs `task` on a new thread and shows the overlay until it returns.
    void showWhileExecuting(std::function<void()> task, bool animated);

    const std::shared_ptr<ui::Label>& label() const { return m_label; }
    const std::shared_ptr<ui::Label>& detailsLabel() const { return m_detailsLabel; }

    void layoutSubviews() override;
    // Where the box is drawn.
    gfx::Rect boxRect() const;
    // The bottom subview, which draws the box (and the veil of dimBackground).
    const std::shared_ptr<ProgressOverlayBackdrop>& backdrop() const { return m_backdrop; }

private:
    // Runs `work` now on the main thread, else posts it there.
    void onMainThread(std::function<void(ProgressOverlay&)> work);
    void updateIndicators();
    void updateProgress();
    void setTransformForCurrentOrientation(bool animated);
    void handleGraceTimer();
    void handleMinShowTimer();
    void showUsingAnimation(bool animated);
    void hideUsingAnimation(bool animated);
    void done();
    void cleanUp();
    void invalidateTimers();
    // Sizes the box and places the indicator and labels in it.
    void layoutBox();
    // The square and minimum-size rules, the last steps of sizing the box.
    void layoutSquareAndMinimum();
    void configureLabel(ui::Label& label, const gfx::Font& font, const std::string& text) const;

    std::atomic<ProgressOverlayMode> m_mode { ProgressOverlayMode::Indeterminate };
    std::atomic<float> m_progress { 0 };
    ProgressOverlayAnimation m_animationType { ProgressOverlayAnimation::Fade };
    std::weak_ptr<ProgressOverlayDelegate> m_delegate;
    std::optional<std::string> m_labelText;
    std::optional<std::string> m_detailsLabelText;
    float m_opacity { 0.8f };
    gfx::Font m_labelFont { gfx::Font::boldSystem(16) };
    gfx::Font m_detailsLabelFont { gfx::Font::boldSystem(12) };
    float m_xOffset { 0 };
    float m_yOffset { 0 };
    float m_margin { 20 };
    bool m_dimBackground { false };
    float m_graceTime { 0 };
    float m_minShowTime { 0 };
    bool m_taskInProgress { false };
    bool m_removeFromSuperViewOnHide { false };
    gfx::Size m_minSize;
    bool m_square { false };
    std::shared_ptr<ui::View> m_customView;
    std::shared_ptr<ui::View> m_indicator;
    float m_width { 0 };
    float m_height { 0 };
    std::optional<base::Clock::TimePoint> m_showStarted;
    std::shared_ptr<base::Timer> m_graceTimer;
    std::shared_ptr<base::Timer> m_minShowTimer;

    std::shared_ptr<ProgressOverlayBackdrop> m_backdrop;
    bool m_useAnimation { false };
    std::shared_ptr<ui::Label> m_label;
    std::shared_ptr<ui::Label> m_detailsLabel;
    bool m_finished { false };
    gfx::AffineTransform m_rotationTransform;
    // A show under way (from show() until its hide is done), a hide under way, and which show a pending
    // hide animation belongs to.
    bool m_shown { false };
    bool m_hiding { false };
    uint64_t m_showCount { 0 };
};

} // namespace kit
