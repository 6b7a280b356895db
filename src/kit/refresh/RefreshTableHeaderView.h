// kit::RefreshTableHeaderView: the pull-down refresh header of a table. The owner places it above the first
// row (frame y = minus its height), forwards scrolling and the end of each drag to it and reports the end of
// loading. Pulled more than 65 points while dragging, its arrow turns; released 65 points or more down, it
// tells the delegate to refresh (with 0) and holds the table open by a 60-point top inset (following the
// content while it is pulled less) until the owner reports that loading finished. It shows no date. Main
// thread.
//
//   auto header = kit::RefreshTableHeaderView::make({ 0, -h, w, h }, "blueArrow.png", color, "AskForLeave");
//   header->setDelegate(self);
//   tableView->addSubview(header);
//   ...   // scrollViewDidScroll: header->refreshScrollViewDidScroll(scrollView);
#pragma once

#include "kit/refresh/RefreshTableEdgeView.h"

namespace kit {

class RefreshTableHeaderView : public RefreshTableEdgeView {
    struct Private {
        explicit Private() = default;
    };

public:
    // The inset that holds the header open while loading.
    static constexpr double loadingInset = 60;

    // An empty key means the default key.
    static std::shared_ptr<RefreshTableHeaderView> make(const gfx::Rect& frame, const std::string& arrowImageName,
        gfx::Color textColor, const std::optional<std::string>& key);
    // With "blueArrow.png", the default blue-grey text and the default key.
    static std::shared_ptr<RefreshTableHeaderView> make(const gfx::Rect& frame);
    RefreshTableHeaderView(Private, const gfx::Rect& frame, const std::optional<std::string>& key);

    void setState(int state) override;
    // Only asks whether the delegate answers: the header shows no date.
    void refreshLastUpdatedDate() override;
    void refreshScrollViewDidScroll(ui::ScrollView& scrollView) override;
    void refreshScrollViewDidEndDragging(ui::ScrollView& scrollView) override;
};

} // namespace kit
