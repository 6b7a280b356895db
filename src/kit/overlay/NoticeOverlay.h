// kit::NoticeOverlay: a short-lived notice: a dark translucent box with rounded corners holding an image
// above one or more lines of white bold text. present() fades it in, keeps it for a while, fades it out and
// calls the completion; the notice stays in its superview (the caller removes it in the completion). The box
// is 130 points wide, or as wide as its text needs with 10 points either side, up to 280 (the text wraps
// there), centred on the notice; it takes the height its text needs. It may thus overhang the notice's own
// 130 by 100 frame. An animation that is interrupted ends the presentation silently. Main thread.
//
//   auto notice = kit::NoticeOverlay::notifyHUDWithImage(checkmark, "Saved");
//   notice->setCenter(parent->center());
//   parent->addSubview(notice);
//   notice->presentWithDuration(1.0, 0.5, [notice] { notice->removeFromSuperview(); });
#pragma once

#include "gfx/images/Image.h"
#include "ui/view/View.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {
class ImageView;
class Label;
}

namespace kit {

class NoticeOverlay : public ui::View {
    struct Private {
        explicit Private() = default;
    };

public:
    static constexpr gfx::Rect defaultFrame { 0, 0, 130, 100 };

    // A notice with everything at alpha 0 and a transparent box.
    static std::shared_ptr<NoticeOverlay> notifyHUDWithImage(std::shared_ptr<gfx::Image> image, std::string text);

    explicit NoticeOverlay(Private);

    // Fades in over `speed` seconds, stays `duration` seconds, fades out over `speed` seconds, then calls
    // `completion` (which may be empty).
    void presentWithDuration(double duration, double speed, std::function<void()> completion);
    // Waits `wait` seconds, fades out over `speed` seconds, then calls `completion`.
    void fadeAfter(double wait, double speed, std::function<void()> completion);

    double destinationOpacity() const { return m_destinationOpacity; }
    void setDestinationOpacity(double opacity) { m_destinationOpacity = opacity; }
    double currentOpacity() const { return m_currentOpacity; }
    // Above 0 the image and text show fully and the box is black at this opacity; 0 hides all three.
    void setCurrentOpacity(double opacity);
    const std::shared_ptr<gfx::Image>& image() const { return m_image; }
    // Shown by the image view without moving it.
    void setImage(std::shared_ptr<gfx::Image> image);
    double roundness() const { return m_roundness; }
    void setRoundness(double roundness);
    // Stored only.
    bool bordered() const { return m_bordered; }
    void setBordered(bool bordered) { m_bordered = bordered; }
    bool isAnimating() const { return m_animating; }
    void setIsAnimating(bool animating) { m_animating = animating; }
    const gfx::Color& borderColor() const { return m_borderColor; }
    void setBorderColor(gfx::Color color);
    const std::string& text() const { return m_text; }
    // Refits the label at once; the box follows at the next layout pass.
    void setText(std::string text);

    // Each made on first use.
    const std::shared_ptr<ui::View>& backgroundView();
    const std::shared_ptr<ui::ImageView>& imageView();
    const std::shared_ptr<ui::Label>& textLabel();

    void layoutSubviews() override;

private:
    // Fits the label to its text, widens the box to hold it, and centres both across the notice.
    void adjustTextLabel(ui::Label& label);
    // The box takes the height down to 10 points under the label.
    void recalculateHeight();

    double m_destinationOpacity { 0.75 };
    double m_currentOpacity { 0 };
    std::shared_ptr<gfx::Image> m_image;
    double m_roundness { 10 };
    bool m_bordered { false };
    bool m_animating { false };
    gfx::Color m_borderColor { gfx::Color::clear() };
    std::string m_text;
    std::shared_ptr<ui::View> m_backgroundView;
    std::shared_ptr<ui::ImageView> m_imageView;
    std::shared_ptr<ui::Label> m_textLabel;
};

} // namespace kit
