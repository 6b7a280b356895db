// kit::RefreshTableEdgeView: what the table refresh header and footer share: a status text, an arrow layer
// that turns when a pull can be released, a grey spinner while loading, the delegate, the state (0 pulling,
// 1 normal, 2 loading) and the user-defaults key of the last-update text. The owner forwards its scroll
// view's scrolling, end of drag and end of loading to it. The state's phase, the pull measured beyond the
// edge against the 65-point trigger distance and the inset moves are a RefreshEngine's; the header and the
// footer give their texts, arrow turns and insets. Main thread; see RefreshTableHeaderView and
// RefreshTableFooterView.
#pragma once

#include "gfx/drawing/Color.h"
#include "kit/refresh/RefreshEngine.h"
#include "kit/refresh/RefreshTableDelegate.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/Label.h"
#include "ui/layer/Layer.h"
#include "ui/scroll/ScrollView.h"

#include <memory>
#include <optional>
#include <string>

namespace kit {

class RefreshTableEdgeView : public ui::View {
public:
    enum State : int { Pulling = 0, Normal = 1, Loading = 2 };

    // How far beyond the edge a release triggers a refresh.
    static constexpr double triggerDistance = 65;
    static constexpr const char* defaultArrowImageName = "blueArrow.png";
    static constexpr const char* defaultKey = "RefreshTableView_LastRefresh";
    static gfx::Color defaultTextColor() { return gfx::Color::rgb(87 / 255.0, 108 / 255.0, 137 / 255.0); }

    int state() const;
    virtual void setState(int state) = 0;
    virtual void refreshLastUpdatedDate() = 0;
    virtual void refreshScrollViewDidScroll(ui::ScrollView& scrollView) = 0;
    virtual void refreshScrollViewDidEndDragging(ui::ScrollView& scrollView) = 0;
    // Closes the inset (over 0.3 s) and goes back to normal.
    void refreshScrollViewDataSourceDidFinishLoading(ui::ScrollView& scrollView);

    std::shared_ptr<RefreshTableDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<RefreshTableDelegate> delegate) { m_delegate = std::move(delegate); }

    const std::string& key() const { return m_key; }
    const std::shared_ptr<ui::Label>& statusLabel() const { return m_statusLabel; }
    const std::shared_ptr<ui::Label>& lastUpdatedLabel() const { return m_lastUpdatedLabel; }
    const std::shared_ptr<ui::Layer>& arrowImage() const { return m_arrowImage; }
    const std::shared_ptr<ui::ActivityIndicatorView>& activityView() const { return m_activityView; }

protected:
    // Where the parts go, in the view's coordinates.
    struct Layout {
        gfx::Rect lastUpdatedLabel;
        gfx::Rect statusLabel;
        double statusFontSize;
        gfx::Rect arrow;
        gfx::Rect spinner;
        bool showsLastUpdatedLabel;
    };

    // What the state looks like: the status texts (localisation keys) and the arrow's turn while pulling and
    // otherwise.
    struct Look {
        const char* pullingText;
        const char* normalText;
        const char* loadingText;
        gfx::Transform3D pullingTurn;
        gfx::Transform3D normalTurn;
    };

    // `direction`: the edge it refreshes at (RefreshDirection::Top or Bottom).
    RefreshTableEdgeView(const gfx::Rect& frame, const std::optional<std::string>& key, int direction);
    void build(const Layout& layout, const std::string& arrowImageName, gfx::Color textColor);

    [[nodiscard]] bool delegateIsLoading();
    // Puts the view into `state`, drawn as `look` says (other states are only stored).
    void showState(int state, const Look& look);
    // A scroll while dragging, the owner not loading: beyond the trigger distance pulls, back inside goes
    // normal where `mayGoBack` allows; a top inset left from loading is dropped.
    void followDrag(ui::ScrollView& scrollView, bool mayGoBack);
    // The finger lifted: beyond the trigger distance (`itself`: whether exactly at it counts) and the owner
    // not loading, the delegate is told (`which`), the view loads and the inset opens to `loadingInset`.
    void releaseBeyond(ui::ScrollView& scrollView, RefreshEngine::ThresholdItself itself, int which,
        const gfx::EdgeInsets& loadingInset);
    double pullBeyondEdge(const ui::ScrollView& scrollView) const;

private:
    // Turns the arrow over 0.18 s.
    void turnArrow(const gfx::Transform3D& transform);
    // Shows the arrow at a turn, or hides it, at once.
    void showArrow(const gfx::Transform3D& transform);
    void hideArrow();

    std::weak_ptr<RefreshTableDelegate> m_delegate;
    RefreshEngine m_engine;
    std::string m_key;
    std::shared_ptr<ui::Label> m_lastUpdatedLabel;
    std::shared_ptr<ui::Label> m_statusLabel;
    std::shared_ptr<ui::Layer> m_arrowImage;
    std::shared_ptr<ui::ActivityIndicatorView> m_activityView;
};

} // namespace kit
