// The class schedule's web calls: reading the timetable and sending it back whole.
#include "childcare/schedule/ClassScheduleVC.h"

#include "base/text/Localization.h"
#include "base/system/Log.h"
#include "core/messages/DBManager.h"
#include "core/helpers/Helper.h"
#include "core/helpers/LoadFailureNotice.h"
#include "core/helpers/PromptAlert.h"
#include "core/service/ReplyFields.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "kit/overlay/ProgressOverlay.h"
#include "kit/widgets/LoadFailureLine.h"
#include "ui/controls/Switch.h"

namespace childcare {

namespace {

    // A reply whose "d" is an object (or null, the service's empty timetable) holds a timetable; anything
    // else (no JSON, no "d", another kind) is a failed load, so no save can send an empty one in its stead.
    bool holdsReadableTimetable(const std::string& reply)
    {
        auto d = core::ReplyFields::payload(reply);
        return d && (d->isNull() || d->isDictionary());
    }

} // namespace

void ClassScheduleVC::showSpinner()
{
    auto hud = kit::ProgressOverlay::makeForView(view());
    core::Helper::showHUD(base::localized("loading"), view(), hud);
    m_spinners.push_back(hud);
}

void ClassScheduleVC::hideSpinner()
{
    if (m_spinners.empty())
        return;
    m_spinners.front()->hide(true);
    m_spinners.erase(m_spinners.begin());
}

void ClassScheduleVC::loadNetData()
{
    showSpinner();
    core::WebCall::post(
        "LumetGetClassInfo",
        base::Dictionary::make({ { "Serialnumber", core::Singleton::shared().lastSerialnumber() } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->loadReply(reply);
        },
        [weak = ui::weakFrom(this)](const base::Error& error) {
            base::log("class schedule: timetable not read: " + error.localizedDescription());
            if (auto self = weak.lock()) {
                self->hideSpinner();
                self->m_failureLine->loadFailed(core::LoadFailureNotice::show(self->view(), &error));
            }
        });
}

void ClassScheduleVC::loadReply(const std::string& reply)
{
    hideSpinner();
    // A failed load is said; the grid, the lock and the timetable a save would send stay as they were.
    if (!holdsReadableTimetable(reply)) {
        m_failureLine->loadFailed(core::LoadFailureNotice::show(view(), nullptr));
        return;
    }
    m_failureLine->loadSucceeded();
    m_classInfo = core::Tool::getClassInfoFromJson(reply);
    int64_t state = m_classInfo ? m_classInfo->state : 0;
    if (state == 0 || state == 1)
        m_classLock->setOn(state == 1);
    if (m_classInfo)
        loadLoacalData();
}

void ClassScheduleVC::showLockFromTimetable()
{
    if (!m_classInfo || m_classInfo->state == 0 || m_classInfo->state == 1)
        m_classLock->setOn(m_classInfo && m_classInfo->state == 1);
}

void ClassScheduleVC::switchStateChange()
{
    if (!holdsTimetable()) {
        showLockFromTimetable();
        return;
    }
    auto stored = core::DBManager::readSingleMobileDevice();
    if (stored && stored->deviceOnlineState) {
        core::showUntitledAlert("device_offline");
        return;
    }
    save();
}

void ClassScheduleVC::save()
{
    if (holdsTimetable())
        setClassInfo(core::Tool::getSubmitArr(m_classInfo.get()));
}

void ClassScheduleVC::setClassInfo(base::ArrayRef lessons)
{
    showSpinner();
    auto entity = base::Dictionary::make({
        { "_id", core::Singleton::shared().lastSerialnumber() },
        { "Data", "" },
        { "Lumet_ClassInfoEntity", std::move(lessons) },
        { "State", m_classLock->isOn() ? 1 : 0 },
    });
    core::WebCall::post(
        "LumetSetClassInfo", base::Dictionary::make({ { "entity", entity } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->saveFinished(
                    core::ServiceProtocol::isCommandAccepted(core::Tool::CheckDeciveISonlineFrom(reply)));
        },
        [weak = ui::weakFrom(this)](const base::Error& error) {
            base::log("class schedule: timetable not sent: " + error.localizedDescription());
            if (auto self = weak.lock())
                self->saveFinished(false);
        });
}

void ClassScheduleVC::saveFinished(bool accepted)
{
    hideSpinner();
    if (accepted) {
        core::showUntitledAlert("setting_success");
        loadNetData();
        return;
    }
    core::showUntitledAlert("setting_failed");
    showLockFromTimetable();
}

} // namespace childcare
