// The attendance screen's loads: the pull-to-refresh cycle, the "LumetSearchCOW" request and the sorting of
// its rows into the three day sections.
#include "childcare/attendance/AttendanceVC.h"

#include "base/values/Dictionary.h"
#include "base/text/Localization.h"
#include "base/loop/RunLoop.h"
#include "core/helpers/Helper.h"
#include "core/helpers/LoadFailureNotice.h"
#include "core/service/ReplyFields.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "kit/overlay/ProgressOverlay.h"
#include "kit/refresh/RefreshTableHeaderView.h"
#include "kit/widgets/LoadFailureLine.h"
#include "ui/controls/ImageView.h"
#include "ui/scroll/TableView.h"

namespace childcare {

void AttendanceVC::beginToReloadData(int flag)
{
    m_reloading = true;
    if (flag != kit::RefreshTableDelegate::FromHeader)
        return;
    m_loadScheduled = true;
    base::RunLoop::main().performAfter(
        base::Duration::zero(),
        [weak = ui::weakFrom(this)] {
            if (auto self = weak.lock())
                self->refreshView();
        },
        this);
}

void AttendanceVC::viewDidDisappear(bool)
{
    base::RunLoop::main().cancelPerforms(this);
    // A load that was only scheduled will not come: the header must not wait for it.
    if (m_loadScheduled) {
        m_loadScheduled = false;
        finishReloadingData();
    }
}

// The rows shown stay until a readable reply replaces them, so that a failed load leaves them in place.
void AttendanceVC::refreshView()
{
    m_loadScheduled = false;
    getData();
}

void AttendanceVC::getData()
{
    m_hud = kit::ProgressOverlay::makeForView(view());
    core::Helper::showHUD(base::localized("loading"), view(), m_hud);

    // Every load is a refresh, which asks for the list anew from its first page.
    auto options = base::Dictionary::make({
        { "Serialnumber", core::Singleton::shared().lastSerialnumber() },
        { "PageSize", pageSize },
        { "PageIndex", int64_t { 1 } },
        { "Date", core::Tool::stringFromDate(base::Date::now()) },
    });
    core::WebCall::post(
        "LumetSearchCOW", base::Dictionary::make({ { "opt", options } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->listArrived(reply);
        },
        [weak = ui::weakFrom(this)](const base::Error& error) {
            if (auto self = weak.lock())
                self->listFailed(&error);
        });
}

void AttendanceVC::listArrived(const std::string& reply)
{
    // Only a list is the watch's attendance; anything else is a failed load, not a watch without records.
    auto payload = core::ReplyFields::payload(reply);
    if (!payload || !payload->array()) {
        listFailed(nullptr);
        return;
    }
    if (m_hud)
        m_hud->hide(true);
    auto grid = core::Tool::readCheckingLumetInHistoryFromJson(reply);
    showDays(AttendanceDays::sort(grid.get()));
    m_tableView->reloadData();
    if (m_reloading)
        finishReloadingData();
}

// Says so and keeps the rows shown; before any list has come, the failure stays said in place of the day
// sections, and the empty state is not shown as the watch's.
void AttendanceVC::listFailed(const base::Error* error)
{
    if (m_hud)
        m_hud->hide(true);
    if (!m_listShown)
        m_emptyStateView->setHidden(true);
    m_failureLine->loadFailed(core::LoadFailureNotice::show(view(), error));
    if (m_reloading)
        finishReloadingData();
}

// A reply without listable rows shows the empty state and keeps the day texts of the last reply with rows.
void AttendanceVC::showDays(const std::optional<AttendanceDays::Days>& days)
{
    m_listShown = true;
    m_failureLine->loadSucceeded();
    if (!days) {
        for (AttendanceDay& day : m_days)
            day.rows.clear();
        m_emptyStateView->setHidden(false);
        m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
        return;
    }
    m_days = *days;
    m_emptyStateView->setHidden(true);
}

void AttendanceVC::finishReloadingData()
{
    m_reloading = false;
    if (m_refreshHeaderView)
        m_refreshHeaderView->refreshScrollViewDataSourceDidFinishLoading(*m_tableView);
}

} // namespace childcare
