// kit::RefreshHeaderView: the pull-down refresh view of a scroll view. It sits just above the content; a drag
// that pulls the content more than 64 points beyond the top turns its arrow, and lifting the finger there
// starts a refresh: the top inset grows by 64 points to hold the header open and the target and the block
// are called. endRefreshing closes it again 0.3 s later and records the time of the refresh, which the second
// line shows ("HH:mm" today, "MM-dd HH:mm" this year, else "yyyy-MM-dd HH:mm") and the user defaults keep
// under the date key. Main thread.
//
//   auto header = kit::RefreshHeaderView::header();
//   header->setDateKey("table");
//   tableView->addSubview(header);
#pragma once

#include "base/time/Date.h"
#include "kit/refresh/RefreshBaseView.h"

#include <optional>

namespace kit {

class RefreshHeaderView : public RefreshBaseView {
    struct Private {
        explicit Private() = default;
    };

public:
    // The user-defaults key of the last refresh time when no date key is set.
    static constexpr const char* defaultDateKey = "RefreshHeaderView";

    static std::shared_ptr<RefreshHeaderView> header();
    RefreshHeaderView(Private, const gfx::Rect& frame);

    std::shared_ptr<ui::Label> lastUpdateTimeLabel();
    const std::optional<std::string>& dateKey() const { return m_dateKey; }
    void setDateKey(std::optional<std::string> key) { m_dateKey = std::move(key); }
    const std::optional<base::Date>& lastUpdateTime() const { return m_lastUpdateTime; }
    // Keeps the time, stores it in the user defaults under the date key and shows it; with none, the line
    // and the stored time stay as they are.
    void setLastUpdateTime(std::optional<base::Date> time);

    void setState(int state) override;
    void layoutSubviews() override;
    void willMoveToSuperview(const std::shared_ptr<ui::View>& newSuperview) override;

private:
    std::string storageKey() const { return m_dateKey.value_or(defaultDateKey); }
    void updateTimeLabel();
    double pullBeyondEdge(const ui::ScrollView& scrollView) const override;

    std::optional<std::string> m_dateKey;
    std::optional<base::Date> m_lastUpdateTime;
    std::weak_ptr<ui::Label> m_lastUpdateTimeLabel;
};

} // namespace kit
