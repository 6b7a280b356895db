// The attendance screen's uploads of the school times picked on its settings screen, and their alerts,
// whose button closes the settings screen's time picker.
#include "childcare/attendance/AttendanceVC.h"

#include "base/values/Dictionary.h"
#include "base/text/Localization.h"
#include "childcare/attendance/AttendanceSchoolTime.h"
#include "core/helpers/Helper.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "kit/modal/ModalPresenter.h"

namespace childcare {

struct AttendanceVC::SchoolTimeUpload {
    const char* method;
    const char* field;
    std::optional<std::string> AttendanceVC::*time;
    const char* settingsKey;
    const char* successKey;
    const char* failureKey;
};

void AttendanceVC::uploadInTime(const std::string& time)
{
    static const SchoolTimeUpload upload { "LumetUpdateEnterCampusTime", "EnterTime", &AttendanceVC::m_inTime,
        AttendanceSchoolTime::InTimeKey, "set_into_school_success", "set_into_school_failed" };
    uploadSchoolTime(upload, time);
}

void AttendanceVC::uploadOutTime(const std::string& time)
{
    static const SchoolTimeUpload upload { "LumetUpdateLeaveCampusTime", "LeaveTime", &AttendanceVC::m_outTime,
        AttendanceSchoolTime::OutTimeKey, "set_out_school_success", "set_out_school_failed" };
    uploadSchoolTime(upload, time);
}

void AttendanceVC::uploadSchoolTime(const SchoolTimeUpload& upload, const std::string& time)
{
    auto parameters = base::Dictionary::make({
        { "Serialnumber", core::Singleton::shared().lastSerialnumber() },
        { upload.field, AttendanceSchoolTime::uploadText(m_YMD, time) },
    });
    core::WebCall::post(
        upload.method, parameters,
        [weak = ui::weakFrom(this), &upload, time](const std::string& reply) {
            if (auto self = weak.lock())
                self->schoolTimeAnswered(
                    upload, time, core::ServiceProtocol::isSettingAccepted(core::Tool::getDeciveStyleFrom(reply)));
        },
        [weak = ui::weakFrom(this), &upload, time](const base::Error&) {
            if (auto self = weak.lock())
                self->schoolTimeAnswered(upload, time, false);
        });
}

void AttendanceVC::schoolTimeAnswered(const SchoolTimeUpload& upload, const std::string& time, bool accepted)
{
    if (!accepted) {
        showUploadAlert(upload.failureKey);
        return;
    }
    this->*upload.time = time;
    core::Helper::saveSettingValue(base::Value(time), upload.settingsKey);
    showUploadAlert(upload.successKey);
}

void AttendanceVC::showUploadAlert(const char* messageKey)
{
    auto alert = std::make_shared<ui::AlertView>(
        base::localized("prompt"), base::localized(messageKey), ui::weakFrom(this), base::localized("done"));
    alert->show();
}

void AttendanceVC::alertViewClickedButtonAtIndex(ui::AlertView&, int)
{
    kit::ModalPresenter::sharedInstance()->hideAnimated(true);
}

} // namespace childcare
