// The upload interval of each tracker family, entered in its panel, under every way the service can fail,
// answers held past the time-out included: each entry sends one request of the family's method, shows
// "failure", and leaves the record's interval as it was; once the service answers again it goes through.
#include "ChallengeFixture.h"

#include "base/text/Localization.h"
#include "childcare/device/TimeReceiveSettingVC.h"
#include "ui/controls/SegmentedControl.h"
#include "ui/controls/TextField.h"

namespace {

using childcare::TimeReceiveSettingVC;
using tracking_service::DemoData;
using tracking_service::Fault;

class UploadIntervalWriteFaults : public test::ChallengeTest {
protected:
    struct Family {
        const char* method;
        const char* serialNumber;
        int64_t type;
        // The segment picked for the trackers that offer two methods.
        int segment = 0;
    };

    std::shared_ptr<TimeReceiveSettingVC> show(const std::shared_ptr<core::Device>& device)
    {
        auto panel = std::dynamic_pointer_cast<TimeReceiveSettingVC>(
            shell::ScreenDirectory::shared().showPanel(shell::ScreenDirectory::UploadInterval, device));
        EXPECT_TRUE(panel);
        EXPECT_TRUE(pumpUntil(
            [&] { return panel && panel->appearanceState() == ui::ViewController::AppearanceState::Appeared; }));
        pass(0.5);
        return panel;
    }

    // Opens the panel, picks the family's segment, types the entry, taps "done"; the alert's message.
    std::string enter(const Family& family, const std::shared_ptr<core::Device>& device)
    {
        auto panel = show(device);
        if (!panel)
            return "<no panel>";
        if (!panel->segment()->isHidden())
            panel->segment()->setSelectedSegmentIndex(family.segment);
        panel->timeText()->setText("30");
        tap(panel->doneButton());
        pumpUntil([this] { return networkIdle() && shownAlert(); }, 2);
        std::string message = takeAlertMessage();
        pumpUntil([] { return shell::ScreenDirectory::shownPanel() == nullptr; }, 2);
        return message;
    }
};

TEST_F(UploadIntervalWriteFaults, EveryFamilysMethodFailsVisiblyAndKeepsTheInterval)
{
    signInWith(watch);
    const std::pair<const char*, Fault> faults[] = { { "status 500", Fault::status(500) },
        { "dropped connection", Fault::dropConnection() }, { "not JSON", Fault::nonJsonBody() },
        { "no payload", Fault::noPayload() }, { "null payload", Fault::nullPayload() }, { "refusal", Fault::refusal() },
        { "a number", Fault::payload(base::Value(0)) }, { "answer after the time-out", Fault::held() } };
    const Family families[] = { { "ParvoSetTZENTARIntervalforContinuousTracking", DemoData::ParvoSerialNumber, 2 },
        { "MorvikSetinterval", DemoData::MorvikSerialNumber, 4 },
        { "TolvaSetUploadTime", DemoData::Tracker13SerialNumber, 13, 1 } };
    for (const Family& family : families) {
        auto device = std::make_shared<core::Device>();
        device->serialNumber = family.serialNumber;
        device->deviceTypeID = family.type;
        device->parvoDeviceConfig = std::make_shared<core::ParvoDeviceConfig>();
        device->parvoDeviceConfig->intervalTime = core::ConfigText("60");
        for (const auto& [kind, fault] : faults) {
            SCOPED_TRACE(std::string(family.method) + " / " + kind);
            size_t sent = requestsTo(family.method);
            underFault(family.method, fault, [&] { EXPECT_EQ(enter(family, device), base::localized("failure")); });
            EXPECT_EQ(requestsTo(family.method), sent + 1);
            EXPECT_EQ(device->parvoDeviceConfig->intervalTime.text(), "60");
        }
        SCOPED_TRACE(std::string(family.method) + " answered");
        EXPECT_EQ(enter(family, device), base::localized("success"));
    }
}

} // namespace
