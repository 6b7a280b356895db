// The upload-interval panel of the trackers against the local service: the request by device type and
// segment, the entries that are not sent, what an accepted or refused reply shows and stores, and the
// segment as drawn.
#include "ChallengeFixture.h"

#include "base/text/Localization.h"
#include "childcare/device/TimeReceiveSettingVC.h"
#include "childcare/device/UploadInterval.h"
#include "kit/modal/ModalPresenter.h"
#include "ui/controls/SegmentedControl.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"

namespace {

using childcare::TimeReceiveSettingVC;
using tracking_service::DemoData;
using tracking_service::Fault;

constexpr const char* parvoMethod = "ParvoSetTZENTARIntervalforContinuousTracking";

class ChallengeUploadInterval : public test::ChallengeTest {
protected:
    void SetUp() override
    {
        ChallengeTest::SetUp();
        signInWith(watch);
    }

    static std::shared_ptr<core::Device> tracker(const char* serialNumber, int64_t type, const char* interval = "60")
    {
        auto device = std::make_shared<core::Device>();
        device->serialNumber = serialNumber;
        device->deviceTypeID = type;
        device->parvoDeviceConfig = std::make_shared<core::ParvoDeviceConfig>();
        device->parvoDeviceConfig->intervalTime = core::ConfigText(interval);
        return device;
    }

    std::shared_ptr<TimeReceiveSettingVC> show(const std::shared_ptr<core::Device>& device)
    {
        auto panel = std::dynamic_pointer_cast<TimeReceiveSettingVC>(
            shell::ScreenDirectory::shared().showPanel(shell::ScreenDirectory::UploadInterval, device));
        EXPECT_TRUE(panel);
        EXPECT_TRUE(pumpUntil(
            [&] { return panel && panel->appearanceState() == ui::ViewController::AppearanceState::Appeared; }));
        // Past the presenter's pop-in.
        pass(0.5);
        return panel;
    }

    // Types the entry, taps "done" and waits for the outcome.
    void enter(const std::shared_ptr<TimeReceiveSettingVC>& panel, const std::string& entry)
    {
        panel->timeText()->setText(entry);
        tap(panel->doneButton());
        pumpUntil([this] { return networkIdle() && shownAlert(); }, 2);
    }

    static bool panelShown() { return shell::ScreenDirectory::shownPanel() != nullptr; }

    size_t intervalRequests()
    {
        return requestsTo(parvoMethod) + requestsTo("MorvikSetinterval") + requestsTo("TolvaSetUploadTime");
    }
};

TEST_F(ChallengeUploadInterval, TheSegmentShowsForTypes13And18AndPicksTheMethod)
{
    auto device = tracker(DemoData::Tracker13SerialNumber, 13);
    auto panel = show(device);
    EXPECT_FALSE(panel->segment()->isHidden());
    EXPECT_EQ(panel->timeText()->text(), "60");
    // The chosen segment is filled with the tint.
    gfx::Rect segment = panel->segment()->bounds();
    gfx::Color chosen = colourAt(panel->segment(), { 12, segment.height() / 2 });
    EXPECT_TRUE(test::ScreenProbe::near(chosen, TimeReceiveSettingVC::segmentTint, 0.05))
        << chosen.r << " " << chosen.g << " " << chosen.b;

    panel->segment()->setSelectedSegmentIndex(1);
    enter(panel, "30");
    EXPECT_EQ(takeAlertMessage(), base::localized("success"));
    auto bodies = bodiesTo("TolvaSetUploadTime");
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(field(bodies[0], "Serialnumber"), base::Value(DemoData::Tracker13SerialNumber));
    EXPECT_EQ(field(bodies[0], "time"), base::Value(30));
    EXPECT_EQ(device->parvoDeviceConfig->intervalTime.text(), "60");
    EXPECT_TRUE(pumpUntil([] { return !panelShown(); }, 2));

    auto gps = tracker(DemoData::Tracker18SerialNumber, 18);
    enter(show(gps), " 45 ");
    EXPECT_EQ(takeAlertMessage(), base::localized("success"));
    ASSERT_EQ(bodiesTo(parvoMethod).size(), 1u);
    EXPECT_EQ(field(bodiesTo(parvoMethod)[0], "ConTimeSpan"), base::Value(45));
    EXPECT_EQ(gps->parvoDeviceConfig->intervalTime.text(), "45");
}

TEST_F(ChallengeUploadInterval, EachFamilySendsItsOwnMethod)
{
    auto parvo = tracker(DemoData::ParvoSerialNumber, 2);
    auto panel = show(parvo);
    EXPECT_TRUE(panel->segment()->isHidden());
    enter(panel, "90");
    EXPECT_EQ(takeAlertMessage(), base::localized("success"));
    EXPECT_EQ(parvo->parvoDeviceConfig->intervalTime.text(), "90");

    enter(show(tracker(DemoData::MorvikSerialNumber, 4)), "60");
    EXPECT_EQ(takeAlertMessage(), base::localized("success"));
    auto bodies = bodiesTo("MorvikSetinterval");
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(field(bodies[0], "interval"), base::Value(60));
    EXPECT_EQ(field(bodies[0], "count"), base::Value(65535));

    // A type outside the tracker families sends nothing and closes.
    show(tracker(DemoData::WatchSerialNumber, 1));
    tap(shell::ScreenDirectory::shownPanel()
            ? std::dynamic_pointer_cast<TimeReceiveSettingVC>(shell::ScreenDirectory::shownPanel())->doneButton()
            : nullptr);
    EXPECT_TRUE(pumpUntil([] { return !panelShown(); }, 2));
    EXPECT_EQ(intervalRequests(), 2u);
}

TEST_F(ChallengeUploadInterval, AnEntryThatIsNotAPositiveWholeNumberIsNotSentAndStays)
{
    auto device = tracker(DemoData::Tracker13SerialNumber, 13);
    auto panel = show(device);
    for (const char* entry : { "12abc", "", "-5", "0", "99999999999", "1.5" }) {
        enter(panel, entry);
        EXPECT_EQ(takeAlertMessage(), base::localized("please_input_time")) << entry;
        EXPECT_TRUE(panelShown()) << entry;
        EXPECT_EQ(panel->timeText()->text(), entry);
    }
    EXPECT_EQ(intervalRequests(), 0u);
    EXPECT_EQ(device->parvoDeviceConfig->intervalTime.text(), "60");
}

TEST_F(ChallengeUploadInterval, OnlyTheAcceptedTextIsASuccessAndStoresTheInterval)
{
    auto device = tracker(DemoData::ParvoSerialNumber, 2);
    for (const Fault& fault : { Fault::status(500), Fault::dropConnection(), Fault::nonJsonBody(), Fault::noPayload(),
             Fault::nullPayload(), Fault::refusal(), Fault::payload(base::Value(0)) }) {
        service.faults().set(parvoMethod, fault);
        enter(show(device), "30");
        EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
        EXPECT_EQ(device->parvoDeviceConfig->intervalTime.text(), "60");
    }
}

TEST_F(ChallengeUploadInterval, ABlankStoredIntervalLeavesTheFieldEmptyAndCancelSendsNothing)
{
    auto panel = show(tracker(DemoData::ParvoSerialNumber, 2, "  "));
    EXPECT_EQ(panel->timeText()->text(), "");
    EXPECT_EQ(panel->timeText()->placeholder(), base::localized("please_input_time"));
    tap(panel->cancelButton());
    EXPECT_TRUE(pumpUntil([] { return !panelShown(); }, 2));
    EXPECT_EQ(intervalRequests(), 0u);
}

TEST(ChallengeUploadIntervalEntry, OnlyPositiveDecimalWholeNumbersWithin32BitsAreRead)
{
    using childcare::UploadInterval;
    EXPECT_EQ(UploadInterval::parse("30"), 30);
    EXPECT_EQ(UploadInterval::parse(" 2147483647\t"), 2147483647);
    for (const char* entry : { "", " ", "0", "-5", "+5", "12abc", "2147483648", "99999999999", "1e3", "١٢" })
        EXPECT_FALSE(UploadInterval::parse(entry)) << entry;
}

// Return in the entry field sends the interval as "done" does, and closes the panel.
TEST_F(ChallengeUploadInterval, ReturnInTheEntrySendsAsDoneDoes)
{
    auto panel = show(tracker(DemoData::ParvoSerialNumber, 2));
    ASSERT_TRUE(panel->timeText()->becomeFirstResponder());
    panel->timeText()->setText("");
    ui::Keyboard::shared().insertText("45");
    ui::Keyboard::shared().insertText("\n");
    pumpUntil([this] { return networkIdle() && shownAlert(); }, 2);
    EXPECT_EQ(requestsTo(parvoMethod), 1u);
    EXPECT_TRUE(pumpUntil([] { return !panelShown(); }, 2));
    takeAlertMessage();
}

} // namespace
