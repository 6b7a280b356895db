// kit::MediaFocusViewController: shows one image full screen over whatever is on screen. The image grows out
// of a source view (the thumbnail that was tapped) into the frame that fits the screen, over a dark veil;
// behind it a picture of the window, blurred unless switched off, shrinks to 0.9 so that the screen seems
// to recede, and the status bar hides. The image zooms with a pinch or a double tap, can be dragged about on
// the dynamics and thrown away with a flick (faster than 500 points per second), and a tap beside it (or
// anywhere, when shouldDismissOnTap) sends it back into the source view. The image can also be downloaded
// first, with a spinner on the source view. Each show builds nothing twice: the views and the spinner are
// reused. Main thread; made with std::make_shared.
//
//   m_viewer = std::make_shared<kit::MediaFocusViewController>();
//   m_viewer->setDelegate(self);
//   m_viewer->showImage(message->image(), contentButton);
#pragma once

#include "base/values/Error.h"
#include "gfx/images/Image.h"
#include "kit/media/MediaFocusViewControllerDelegate.h"
#include "net/loading/URLConnection.h"
#include "ui/dynamics/DynamicAnimatorDelegate.h"
#include "ui/input/GestureRecognizerDelegate.h"
#include "ui/scroll/ScrollViewDelegate.h"
#include "ui/controllers/ViewController.h"

#include <memory>
#include <optional>

namespace ui {
class ActivityIndicatorView;
class AttachmentBehavior;
class DynamicAnimator;
class DynamicItemBehavior;
class GestureRecognizer;
class ImageView;
class PanGestureRecognizer;
class PushBehavior;
class ScrollView;
class SnapBehavior;
class TapGestureRecognizer;
class Window;
} // namespace ui

namespace kit {

class MediaFocusViewController : public ui::ViewController,
                                 public ui::ScrollViewDelegate,
                                 public ui::DynamicAnimatorDelegate,
                                 public ui::GestureRecognizerDelegate {
public:
    // The error a download reports when its bytes are not an image.
    static constexpr const char* ErrorDomain = "org.lumet.kit.media-focus";
    static constexpr long NotAnImageError = 1;

    static constexpr double showDuration = 0.18;
    static constexpr double returnDuration = 0.25;
    static constexpr double backgroundScale = 0.9;
    // Thrown when the release is faster than this in either axis (points per second).
    static constexpr double throwSpeed = 500;

    MediaFocusViewController();
    ~MediaFocusViewController() override;

    bool shouldBlurBackground() const { return m_shouldBlurBackground; }
    void setShouldBlurBackground(bool blur) { m_shouldBlurBackground = blur; }
    bool parallaxEnabled() const { return m_parallaxEnabled; }
    void setParallaxEnabled(bool enabled) { m_parallaxEnabled = enabled; }
    bool shouldDismissOnTap() const { return m_shouldDismissOnTap; }
    void setShouldDismissOnTap(bool dismiss) { m_shouldDismissOnTap = dismiss; }
    std::shared_ptr<MediaFocusViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MediaFocusViewControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    // Shows the image growing out of `fromView`, in the key window or in the host controller's view.
    void showImage(std::shared_ptr<gfx::Image> image, std::shared_ptr<ui::View> fromView,
        std::shared_ptr<ui::ViewController> host = nullptr);
    // Downloads the image with a spinner on `fromView`, then shows it.
    void showImageFromURL(
        const base::URL& url, std::shared_ptr<ui::View> fromView, std::shared_ptr<ui::ViewController> host = nullptr);
    void cancelURLConnectionIfAny();
    // Animated: back into the source view; else gone at once.
    void dismiss(bool animated);
    // Moves an image larger than the view back to its edges, a smaller one to the middle, over 0.3 s.
    void adjustFrame();

    const std::shared_ptr<ui::ImageView>& imageView() const { return m_imageView; }
    const std::shared_ptr<ui::ScrollView>& scrollView() const { return m_scrollView; }
    const std::shared_ptr<ui::View>& backgroundView() const { return m_backgroundView; }
    const std::shared_ptr<ui::View>& snapshotView() const { return m_snapshotView; }
    const std::shared_ptr<ui::View>& blurredSnapshotView() const { return m_blurredSnapshotView; }
    const std::shared_ptr<ui::ActivityIndicatorView>& loadingView() const { return m_loadingView; }
    const std::shared_ptr<ui::PanGestureRecognizer>& panRecognizer() const { return m_panRecognizer; }
    const std::shared_ptr<ui::DynamicAnimator>& animator() const { return m_animator; }
    // The frame that fits the image to the screen.
    const gfx::Rect& fitFrame() const { return m_fitFrame; }

    void viewDidLoad() override;

    std::shared_ptr<ui::View> viewForZoomingInScrollView(ui::ScrollView&) override;
    void scrollViewDidZoom(ui::ScrollView&) override;
    bool gestureRecognizerShouldRecognizeSimultaneously(ui::GestureRecognizer&, ui::GestureRecognizer& other) override;

private:
    class Download;

    void setup();
    void createViewsForParallax();
    // The source view's bounds in the viewer's view.
    gfx::Rect sourceFrame() const;
    void attach();
    void dismissToTargetView();
    void dismissAfterPush();
    void hideSnapshotView();
    void cleanup();
    void centerScrollViewContents();
    void returnToCenter();

    void handlePanGesture(ui::PanGestureRecognizer& pan);
    void throwImage(gfx::Point touchInImage, gfx::Point touchInView, gfx::Point velocity);
    void handleDoubleTapGesture(ui::TapGestureRecognizer& tap);
    void handleDismissFromTap(ui::TapGestureRecognizer& tap);

    void downloadFinished(std::optional<base::Data> data, std::optional<base::Error> error);
    void removeSpinner();

    bool m_shouldBlurBackground { true };
    bool m_parallaxEnabled { true };
    bool m_shouldDismissOnTap { false };
    std::weak_ptr<MediaFocusViewControllerDelegate> m_delegate;

    std::shared_ptr<ui::View> m_fromView;
    std::weak_ptr<ui::ViewController> m_targetViewController;
    std::shared_ptr<ui::ImageView> m_imageView;
    std::shared_ptr<ui::ScrollView> m_scrollView;
    std::shared_ptr<ui::View> m_backgroundView;
    std::shared_ptr<ui::DynamicAnimator> m_animator;
    std::shared_ptr<ui::SnapBehavior> m_snapBehavior;
    std::shared_ptr<ui::PushBehavior> m_pushBehavior;
    std::shared_ptr<ui::AttachmentBehavior> m_panAttachmentBehavior;
    std::shared_ptr<ui::DynamicItemBehavior> m_itemBehavior;
    std::shared_ptr<ui::PanGestureRecognizer> m_panRecognizer;
    std::shared_ptr<ui::TapGestureRecognizer> m_doubleTapRecognizer;
    std::shared_ptr<ui::TapGestureRecognizer> m_tapRecognizer;
    std::shared_ptr<ui::ActivityIndicatorView> m_loadingView;
    std::shared_ptr<net::URLConnection> m_urlConnection;
    std::shared_ptr<ui::View> m_snapshotView;
    std::shared_ptr<ui::View> m_blurredSnapshotView;
    gfx::Rect m_fitFrame;
    // Whether this viewer hid the status bar (and so shows it again on dismissal).
    bool m_hidStatusBar { false };
};

} // namespace kit
