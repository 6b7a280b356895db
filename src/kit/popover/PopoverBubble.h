// kit::PopoverBubble: a bubble with a pointed arrow shown over the whole screen at a point of some view. It
// holds a content view, given by the caller or built from a text, a list of strings or a list of views
// (stacked, with thin dividers between them), optionally under a one-line title. The bubble goes above the
// point when there is room, else below, keeps inside the top view, scales in from the arrow tip, reports taps
// on list items to its delegate and dismisses itself on a tap outside the content. It can swap its items for
// a busy spinner, an image, or an error or success mark.
//
// The popover covers the top view (the last subview of the key window) while shown and is kept by it. A show
// while the popover is on screen is ignored; a dismissal runs once, and the delegate hears of it once. Main
// thread; made with std::make_shared.
//
//   auto popover = kit::PopoverBubble::showPopoverAtPointWithTitleWithContentView(
//       { 280, 52 }, screen->view(), "Play back", picker, picker);
//   ...
//   popover->dismiss();
#pragma once

#include "gfx/text/Font.h"
#include "gfx/images/Image.h"
#include "kit/popover/PopoverBubbleDelegate.h"
#include "ui/view/View.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class ActivityIndicatorView;
class TapGestureRecognizer;
}

namespace kit {

class PopoverBubble : public ui::View {
public:
    using Views = std::vector<std::shared_ptr<ui::View>>;
    using Strings = std::vector<std::string>;

    // Inset of the content from the bubble's edge; gap between stacked items; margins from the edges.
    static constexpr double contentInset = 10;
    // Gap between the arrow's tip and the bubble, and half the arrow's base.
    static constexpr double arrowLength = 12;
    static constexpr double cornerRadius = 4;
    // The least distance of the arrow tip from the top view's left and right edges.
    static constexpr double arrowEdgeDistance = 31;
    // Room above the point, besides the content and the arrow, that placing the bubble above requires.
    static constexpr double roomAbove = 50;
    static constexpr double fontSize = 20;
    static gfx::Font font() { return gfx::Font::named("HelveticaNeue", fontSize); }
    static constexpr gfx::Color textColor() { return gfx::Color::rgb(0.329, 0.341, 0.353); }

    explicit PopoverBubble(const gfx::Rect& frame = {});
    ~PopoverBubble() override;

    // Each makes a popover, shows it, then sets the delegate, and returns it (the top view keeps it on screen).
    static std::shared_ptr<PopoverBubble> showPopoverAtPointWithText(gfx::Point point,
        const std::shared_ptr<ui::View>& view, const std::string& text, std::weak_ptr<PopoverBubbleDelegate> delegate);
    static std::shared_ptr<PopoverBubble> showPopoverAtPointWithTitleWithText(gfx::Point point,
        const std::shared_ptr<ui::View>& view, const std::string& title, const std::string& text,
        std::weak_ptr<PopoverBubbleDelegate> delegate);
    static std::shared_ptr<PopoverBubble> showPopoverAtPointWithViewArray(gfx::Point point,
        const std::shared_ptr<ui::View>& view, const Views& views, std::weak_ptr<PopoverBubbleDelegate> delegate);
    static std::shared_ptr<PopoverBubble> showPopoverAtPointWithTitleWithViewArray(gfx::Point point,
        const std::shared_ptr<ui::View>& view, const std::string& title, const Views& views,
        std::weak_ptr<PopoverBubbleDelegate> delegate);
    static std::shared_ptr<PopoverBubble> showPopoverAtPointWithStringArray(gfx::Point point,
        const std::shared_ptr<ui::View>& view, const Strings& strings, std::weak_ptr<PopoverBubbleDelegate> delegate);
    static std::shared_ptr<PopoverBubble> showPopoverAtPointWithTitleWithStringArray(gfx::Point point,
        const std::shared_ptr<ui::View>& view, const std::string& title, const Strings& strings,
        std::weak_ptr<PopoverBubbleDelegate> delegate);
    static std::shared_ptr<PopoverBubble> showPopoverAtPointWithTitleWithContentView(gfx::Point point,
        const std::shared_ptr<ui::View>& view, const std::string& title, const std::shared_ptr<ui::View>& contentView,
        std::weak_ptr<PopoverBubbleDelegate> delegate);
    static std::shared_ptr<PopoverBubble> showPopoverAtPointWithContentView(gfx::Point point,
        const std::shared_ptr<ui::View>& view, const std::shared_ptr<ui::View>& contentView,
        std::weak_ptr<PopoverBubbleDelegate> delegate);

    // `point` is in `view`'s coordinates. An empty title has no title line.
    void showAtPointWithText(gfx::Point point, const std::shared_ptr<ui::View>& view, const std::string& text);
    void showAtPointWithTitleWithText(
        gfx::Point point, const std::shared_ptr<ui::View>& view, const std::string& title, const std::string& text);
    // The views keep their sizes, except labels, which widen to the widest item.
    void showAtPointWithViewArray(gfx::Point point, const std::shared_ptr<ui::View>& view, const Views& views);
    void showAtPointWithTitleWithViewArray(
        gfx::Point point, const std::shared_ptr<ui::View>& view, const std::string& title, const Views& views);
    void showAtPointWithStringArray(gfx::Point point, const std::shared_ptr<ui::View>& view, const Strings& strings);
    void showAtPointWithTitleWithStringArray(
        gfx::Point point, const std::shared_ptr<ui::View>& view, const std::string& title, const Strings& strings);
    // The content view becomes the only item, under the title.
    void showAtPointWithTitleWithContentView(gfx::Point point, const std::shared_ptr<ui::View>& view,
        const std::string& title, const std::shared_ptr<ui::View>& contentView);
    // Places the bubble for the content and shows it; the only call that puts the popover on screen.
    void showAtPointWithContentView(
        gfx::Point point, const std::shared_ptr<ui::View>& view, const std::shared_ptr<ui::View>& contentView);

    // Busy, image, error and success states: the items fade out and the dividers go; a message becomes the
    // title's text when there is a title label (an empty message for the first two clears it).
    void showActivityIndicatorWithMessage(const std::optional<std::string>& message);
    void hideActivityIndicatorWithMessage(const std::optional<std::string>& message);
    void showImageWithMessage(std::shared_ptr<gfx::Image> image, const std::optional<std::string>& message);
    void showError();
    void showSuccess();

    // Scales the popover out over 0.3 s, removes it and tells the delegate; nothing once a dismissal has
    // started, or when the popover is not on screen.
    void dismiss();
    // Hides the popover at once, then dismisses it as above.
    void dismiss2();

    void drawRect(const gfx::Rect& rect) override;

    const Views& subviewsArray() const { return m_subviewsArray; }
    void setSubviewsArray(Views views) { m_subviewsArray = std::move(views); }
    const std::shared_ptr<ui::View>& contentView() const { return m_contentView; }
    void setContentView(std::shared_ptr<ui::View> view) { m_contentView = std::move(view); }
    const std::shared_ptr<ui::View>& titleView() const { return m_titleView; }
    void setTitleView(std::shared_ptr<ui::View> view) { m_titleView = std::move(view); }
    std::shared_ptr<PopoverBubbleDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<PopoverBubbleDelegate> delegate) { m_delegate = std::move(delegate); }

    // Placement results, in the popover's coordinates.
    const gfx::Rect& boxFrame() const { return m_boxFrame; }
    gfx::Point arrowPoint() const { return m_arrowPoint; }
    bool isAbove() const { return m_above; }
    // One per gap between consecutive items, in the content view's coordinates.
    const std::vector<gfx::Rect>& dividerRects() const { return m_dividerRects; }
    bool showsDividerRects() const { return m_showDividerRects; }
    const std::shared_ptr<ui::ActivityIndicatorView>& activityIndicator() const { return m_activityIndicator; }
    bool isDismissing() const { return m_dismissing; }

private:
    // Whether a show may go ahead (the popover is not on screen); clears what an earlier showing left.
    [[nodiscard]] bool beginShow();
    // Places the bubble for the content, puts the popover on the top view and scales it in.
    void present(gfx::Point point, const std::shared_ptr<ui::View>& view, const std::shared_ptr<ui::View>& contentView);
    void tapped(ui::GestureRecognizer& recognizer);
    // Fades the items out over `duration` and switches the dividers off.
    void fadeItems(double duration);
    // An image view added to the content view at `frame`, transparent and scaled to a tenth.
    std::shared_ptr<ui::View> addStateImage(std::shared_ptr<gfx::Image> image, const gfx::Rect& frame);
    void setTitleText(const std::optional<std::string>& message);

    gfx::Rect m_boxFrame;
    gfx::Point m_arrowPoint;
    bool m_above { false };
    std::weak_ptr<PopoverBubbleDelegate> m_delegate;
    Views m_subviewsArray;
    std::vector<gfx::Rect> m_dividerRects;
    std::shared_ptr<ui::View> m_contentView;
    std::shared_ptr<ui::View> m_titleView;
    std::shared_ptr<ui::ActivityIndicatorView> m_activityIndicator;
    std::shared_ptr<ui::TapGestureRecognizer> m_tapRecognizer;
    bool m_showDividerRects { true };
    bool m_dismissing { false };
};

} // namespace kit
