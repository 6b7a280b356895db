// kit::RefreshBaseView: what the refresh views that attach themselves to a scroll view share: a status text,
// an arrow and a grey spinner (made on first use), the state machine (1 pulling, 2 normal, 3 refreshing,
// 4 will refresh once the view is drawn in a window), the three texts, the target-action pair and the block
// called when a refresh starts, and the scroll view's content inset as it was before a refresh changed it.
// Added to a scroll view as a subview, it follows that scroll view's content offset and takes its width. Its
// edge's phase, the drag rule (more than 64 points beyond the edge pulls; the first change after the finger
// lifts refreshes) and the inset moves are a RefreshEngine's; the arrow turns with the phase. Main thread;
// see RefreshHeaderView and RefreshFooterView.
//
//   auto header = kit::RefreshHeaderView::header();
//   tableView->addSubview(header);
//   header->setBeginRefreshingCallback([weak] { if (auto self = weak.lock()) self->reload(); });
#pragma once

#include "gfx/geometry/EdgeInsets.h"
#include "kit/refresh/RefreshEngine.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/scroll/ScrollView.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kit {

class RefreshBaseView : public ui::View {
public:
    enum State : int { Pulling = 1, Normal = 2, Refreshing = 3, WillRefresh = 4 };

    static constexpr double height = 64;
    static constexpr const char* arrowImageName = "Refresh.bundle/arrow.png";

    ~RefreshBaseView() override;

    std::shared_ptr<ui::Label> statusLabel();
    std::shared_ptr<ui::ImageView> arrowImage();
    std::shared_ptr<ui::ActivityIndicatorView> activityView();

    int state() const;
    virtual void setState(int state);
    bool isRefreshing() const { return state() == Refreshing; }
    // Starts a refresh (or, while refreshing, calls the target and the block again). Out of a window, the
    // refresh starts when the view is next drawn.
    void beginRefreshing();
    // Goes back to normal 0.3 s later.
    void endRefreshing();

    std::shared_ptr<ui::ScrollView> scrollView() const { return m_scrollView.lock(); }
    const gfx::EdgeInsets& scrollViewOriginalInset() const { return m_scrollViewOriginalInset; }

    // The target is not kept; a refresh performs the action on it while it lives.
    template <typename Target>
    void setBeginRefreshingTarget(const std::shared_ptr<Target>& target, void (Target::*action)(RefreshBaseView&))
    {
        m_beginRefreshingTarget = target;
        m_beginRefreshingAction = nullptr;
        if (action)
            m_beginRefreshingAction
                = [action](void* object, RefreshBaseView& view) { (static_cast<Target*>(object)->*action)(view); };
    }
    const std::function<void()>& beginRefreshingCallback() const { return m_beginRefreshingCallback; }
    void setBeginRefreshingCallback(std::function<void()> callback) { m_beginRefreshingCallback = std::move(callback); }

    const std::string& pullToRefreshText() const { return m_pullToRefreshText; }
    void setPullToRefreshText(std::string text);
    const std::string& releaseToRefreshText() const { return m_releaseToRefreshText; }
    void setReleaseToRefreshText(std::string text);
    const std::string& refreshingText() const { return m_refreshingText; }
    void setRefreshingText(std::string text);

    void layoutSubviews() override;
    void willMoveToSuperview(const std::shared_ptr<ui::View>& newSuperview) override;
    // Turns a pending refresh (state 4) into a refresh; draws nothing.
    void drawRect(const gfx::Rect& rect) override;

protected:
    // `direction`: the edge it refreshes at (RefreshDirection::Top or Bottom).
    RefreshBaseView(const gfx::Rect& frame, int direction);
    // Puts a new view into the normal state (the views' factories call it once made).
    void finishMaking();

    // The view takes part only while it can be seen and touched.
    bool isActive() const;
    // The scroll view's content offset changed: a drag moves the state by the engine's rule.
    virtual void scrollViewContentOffsetDidChange();
    // How far the content is pulled beyond the view's edge.
    virtual double pullBeyondEdge(const ui::ScrollView& scrollView) const = 0;
    const RefreshEngine& engine() const { return m_engine; }
    // Sets the edge's side of the scroll view's inset, over 0.25 s when a refresh opens it (moving the content
    // to `offset` too, when given) and over 0.4 s when it closes.
    void openEdgeInset(ui::ScrollView& scrollView, double side, std::optional<gfx::Point> offset = std::nullopt);
    void closeEdgeInset(ui::ScrollView& scrollView, double side);

private:
    void settingLabelText();
    void callBeginRefreshing();
    void stopObservingScrollView();
    // The arrow points away from the edge while pulling, towards it otherwise.
    gfx::AffineTransform arrowTurn(bool pulling) const;

    std::weak_ptr<ui::Label> m_statusLabel;
    std::weak_ptr<ui::ImageView> m_arrowImage;
    std::weak_ptr<ui::ActivityIndicatorView> m_activityView;
    RefreshEngine m_engine;
    std::weak_ptr<ui::ScrollView> m_scrollView;
    ui::ScrollView::ObserverToken m_offsetObserver { 0 };
    std::weak_ptr<void> m_beginRefreshingTarget;
    std::function<void(void*, RefreshBaseView&)> m_beginRefreshingAction;
    std::function<void()> m_beginRefreshingCallback;
    std::string m_pullToRefreshText;
    std::string m_releaseToRefreshText;
    std::string m_refreshingText;
    gfx::EdgeInsets m_scrollViewOriginalInset;
};

} // namespace kit
