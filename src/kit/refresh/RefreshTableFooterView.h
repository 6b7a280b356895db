// kit::RefreshTableFooterView: the pull-up load-more footer of a table, twin of RefreshTableHeaderView. The
// owner places it below the content and forwards scrolling and the end of each drag to it. Pulled more than
// 65 points beyond the end of the content, its arrow turns; released there, it tells the delegate (with 1)
// and holds a 65-point bottom inset open until loading finishes. Each return to normal shows "Last
// Updated: " with the delegate's date and stores that text in the user defaults under the footer's key.
// Main thread.
//
//   auto footer = kit::RefreshTableFooterView::make({ 0, contentHeight, 320, 60 });
//   footer->setDelegate(self);
//   tableView->addSubview(footer);
#pragma once

#include "kit/refresh/RefreshTableEdgeView.h"

namespace kit {

class RefreshTableFooterView : public RefreshTableEdgeView {
    struct Private {
        explicit Private() = default;
    };

public:
    static constexpr double loadingInset = 65;

    static std::shared_ptr<RefreshTableFooterView> make(const gfx::Rect& frame, const std::string& arrowImageName,
        gfx::Color textColor, const std::optional<std::string>& key);
    static std::shared_ptr<RefreshTableFooterView> make(const gfx::Rect& frame);
    RefreshTableFooterView(Private, const gfx::Rect& frame, const std::optional<std::string>& key);

    void setState(int state) override;
    void refreshLastUpdatedDate() override;
    void refreshScrollViewDidScroll(ui::ScrollView& scrollView) override;
    void refreshScrollViewDidEndDragging(ui::ScrollView& scrollView) override;
};

} // namespace kit
