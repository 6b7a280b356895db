// kit::PopTip: a small bubble of text with an arrow pointing at a rectangle (the from frame) of a container
// view. It sits above, below, left or right of the rectangle (or centred on it, without an arrow), keeps
// inside the container, springs in from its arrow tip, can hide itself after a given time, and hides on a
// tap on it (when shouldDismissOnTap) or anywhere in the container (when shouldDismissOnTapOutside, the
// default). It draws its own bubble, border and text.
//
// The layout pass places the tip (setup); the tip keeps one tap recogniser of its own. A screen gives every
// tip a font with setAppearanceFont, applied to each tip as it enters a window. An interrupted show or hide
// animation skips its completion steps (handlers, the container's tap recogniser). Main thread; made with
// popTip().
//
//   auto tip = kit::PopTip::popTip();
//   tip->setShouldDismissOnTap(true);
//   tip->showAttributedTextWithDuration(text, kit::PopTip::Direction::Right, 120, view, from, 0);
#pragma once

#include "base/time/Timer.h"
#include "gfx/text/AttributedString.h"
#include "gfx/geometry/EdgeInsets.h"
#include "gfx/text/Font.h"
#include "ui/view/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class TapGestureRecognizer;
}

namespace kit {

class PopTip : public ui::View {
    struct Private {
        explicit Private() = default;
    };

public:
    // Where the bubble sits relative to the from frame; values outside 0 to 4 place it like None.
    enum Direction : int { Up = 0, Down = 1, Left = 2, Right = 3, None = 4 };
    using Handler = std::function<void()>;

    // A tip with the defaults and a zero frame; it places itself when shown.
    static std::shared_ptr<PopTip> popTip();
    explicit PopTip(Private);
    ~PopTip() override;

    // The font every tip takes when it enters a window (empty: tips keep their own).
    static void setAppearanceFont(std::optional<gfx::Font> font);
    static const std::optional<gfx::Font>& appearanceFont();

    // Clears the attributed text, sets the text and shows the tip at the from frame of `view`.
    void showText(const std::string& text, int direction, double maxWidth, const std::shared_ptr<ui::View>& view,
        const gfx::Rect& fromFrame);
    void showAttributedText(const gfx::AttributedString& text, int direction, double maxWidth,
        const std::shared_ptr<ui::View>& view, const gfx::Rect& fromFrame);
    // As above; then a duration above 0 hides the tip after that many seconds (any earlier timer is dropped).
    void showTextWithDuration(const std::string& text, int direction, double maxWidth,
        const std::shared_ptr<ui::View>& view, const gfx::Rect& fromFrame, double duration);
    void showAttributedTextWithDuration(const gfx::AttributedString& text, int direction, double maxWidth,
        const std::shared_ptr<ui::View>& view, const gfx::Rect& fromFrame, double duration);
    // Marks the layout for renewal, adds the tip to the container and springs it in from its arrow tip.
    void show();
    // Drops the timer and the container's tap recogniser, then scales the tip out of its superview.
    void hide();
    // New text, laid out on the next layout pass.
    void updateText(const std::string& text);

    // Computes the text bounds, frame, arrow position and anchor point from the settings and the from frame.
    void setup();
    void layoutSubviews() override;
    void drawRect(const gfx::Rect& rect) override;

    const gfx::Font& font() const { return m_font; }
    void setFont(gfx::Font font) { m_font = std::move(font); }
    const gfx::Color& textColor() const { return m_textColor; }
    void setTextColor(gfx::Color color) { m_textColor = color; }
    gfx::TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(gfx::TextAlignment alignment) { m_textAlignment = alignment; }
    const gfx::Color& popoverColor() const { return m_popoverColor; }
    void setPopoverColor(gfx::Color color) { m_popoverColor = color; }
    const gfx::Color& borderColor() const { return m_borderColor; }
    void setBorderColor(gfx::Color color) { m_borderColor = color; }
    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width) { m_borderWidth = width; }
    double radius() const { return m_radius; }
    void setRadius(double radius) { m_radius = radius; }
    bool isRounded() const { return m_rounded; }
    void setRounded(bool rounded) { m_rounded = rounded; }
    float offset() const { return m_offset; }
    void setOffset(float offset) { m_offset = offset; }
    double padding() const { return m_padding; }
    void setPadding(double padding) { m_padding = padding; }
    const gfx::EdgeInsets& edgeInsets() const { return m_edgeInsets; }
    void setEdgeInsets(gfx::EdgeInsets insets) { m_edgeInsets = insets; }
    gfx::Size arrowSize() const { return m_arrowSize; }
    void setArrowSize(gfx::Size size) { m_arrowSize = size; }
    double animationIn() const { return m_animationIn; }
    void setAnimationIn(double seconds) { m_animationIn = seconds; }
    double animationOut() const { return m_animationOut; }
    void setAnimationOut(double seconds) { m_animationOut = seconds; }
    double delayIn() const { return m_delayIn; }
    void setDelayIn(double seconds) { m_delayIn = seconds; }
    double delayOut() const { return m_delayOut; }
    void setDelayOut(double seconds) { m_delayOut = seconds; }
    const gfx::Rect& fromFrame() const { return m_fromFrame; }
    // Stores the frame and lays the tip out at once.
    void setFromFrame(const gfx::Rect& frame);
    bool isVisible() const { return m_isVisible; }
    double edgeMargin() const { return m_edgeMargin; }
    void setEdgeMargin(double margin) { m_edgeMargin = margin; }
    bool shouldDismissOnTap() const { return m_shouldDismissOnTap; }
    void setShouldDismissOnTap(bool dismiss) { m_shouldDismissOnTap = dismiss; }
    bool shouldDismissOnTapOutside() const { return m_shouldDismissOnTapOutside; }
    void setShouldDismissOnTapOutside(bool dismiss) { m_shouldDismissOnTapOutside = dismiss; }
    void setTapHandler(Handler handler) { m_tapHandler = std::move(handler); }
    void setAppearHandler(Handler handler) { m_appearHandler = std::move(handler); }
    void setDismissHandler(Handler handler) { m_dismissHandler = std::move(handler); }
    const std::optional<std::string>& text() const { return m_text; }
    void setText(std::optional<std::string> text) { m_text = std::move(text); }
    const std::optional<gfx::AttributedString>& attributedText() const { return m_attributedText; }
    void setAttributedText(std::optional<gfx::AttributedString> text) { m_attributedText = std::move(text); }
    const std::shared_ptr<ui::TapGestureRecognizer>& gestureRecognizer() const { return m_gestureRecognizer; }
    const std::shared_ptr<ui::TapGestureRecognizer>& removeGesture() const { return m_removeGesture; }
    const std::shared_ptr<base::Timer>& dismissTimer() const { return m_dismissTimer; }
    std::shared_ptr<ui::View> containerView() const { return m_containerView.lock(); }
    void setContainerView(std::weak_ptr<ui::View> view) { m_containerView = std::move(view); }
    int direction() const { return m_direction; }
    void setDirection(int direction) { m_direction = direction; }
    const gfx::Rect& textBounds() const { return m_textBounds; }
    gfx::Point arrowPosition() const { return m_arrowPosition; }
    double maxWidth() const { return m_maxWidth; }
    void setMaxWidth(double width) { m_maxWidth = width; }

    void didMoveToWindow() override;

private:
    void prepare(int direction, double maxWidth, const std::shared_ptr<ui::View>& view, const gfx::Rect& fromFrame);
    void scheduleHide(double duration);
    void handleTap();
    void removeGestureHandler();
    // The bubble's outline for the current direction, in the tip's coordinates.
    gfx::Path bubblePath(gfx::Size size) const;

    gfx::Font m_font { gfx::Font::system(gfx::Font::systemFontSize()) };
    gfx::Color m_textColor { gfx::Color::rgb(0.22, 0.72, 0.85) };
    gfx::TextAlignment m_textAlignment { gfx::TextAlignment::Center };
    gfx::Color m_popoverColor { gfx::Color::red() };
    gfx::Color m_borderColor { gfx::Color::fromWhite(0.182, 1) };
    double m_borderWidth { 0 };
    double m_radius { 4 };
    bool m_rounded { false };
    float m_offset { 0 };
    double m_padding { 6 };
    gfx::EdgeInsets m_edgeInsets;
    gfx::Size m_arrowSize { 8, 8 };
    double m_animationIn { 0.4 };
    double m_animationOut { 0.2 };
    double m_delayIn { 0 };
    double m_delayOut { 0 };
    gfx::Rect m_fromFrame;
    bool m_isVisible { false };
    double m_edgeMargin { 0 };
    bool m_shouldDismissOnTap { false };
    bool m_shouldDismissOnTapOutside { true };
    Handler m_tapHandler;
    Handler m_appearHandler;
    Handler m_dismissHandler;
    std::optional<std::string> m_text;
    std::optional<gfx::AttributedString> m_attributedText;
    std::shared_ptr<ui::TapGestureRecognizer> m_gestureRecognizer;
    std::shared_ptr<ui::TapGestureRecognizer> m_removeGesture;
    std::shared_ptr<base::Timer> m_dismissTimer;
    std::weak_ptr<ui::View> m_containerView;
    int m_direction { Up };
    gfx::Rect m_textBounds;
    gfx::Point m_arrowPosition;
    double m_maxWidth { 0 };
};

} // namespace kit
