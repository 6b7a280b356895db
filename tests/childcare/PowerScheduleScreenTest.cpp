// The power schedule screen against the local service: where its pickers start, that a choice lands in the
// shared schedule at once, what a save sends, and every way a save is refused or fails.
#include "childcare/device/DeviceOnAndOf.h"
#include "support/ScreenFixture.h"
#include "json/JSONDecoder.h"

#include "ui/controls/Button.h"
#include "ui/controllers/NavigationController.h"
#include "ui/render/ScreenRenderer.h"

namespace {

using childcare::DeviceOnAndOf;
using childcare::DeviceOnAndOfEntity;
using tracking_service::Fault;

class PowerScheduleScreen : public test::ScreenTest {
protected:
    void open(core::ConfigText on, core::ConfigText off, std::optional<int64_t> state)
    {
        launchAndSignIn();
        ASSERT_TRUE(homeDetailCame());
        auto device = std::make_shared<core::Device>(*home()->deviceDetail());
        device->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
        device->lumetDeviceConfig->powerOnTime = std::move(on);
        device->lumetDeviceConfig->powerOffTime = std::move(off);
        device->lumetDeviceConfig->powerState = state;
        entity = DeviceOnAndOfEntity::fromDevice(device.get());
        screen = DeviceOnAndOf::make(entity, device);
        home()->navigationController()->pushViewController(screen, false);
        pass(1);
    }
    void save()
    {
        tap(screen->saveButton());
        ASSERT_TRUE(pumpUntil([this] { return !screen->isSaving(); }));
    }
    bool onTop() { return home()->navigationController()->topViewController() == screen; }
    // Whether the rendered screen has a dark pixel (text) inside the region, in screen points.
    static bool hasInk(const gfx::Rect& region)
    {
        auto frame = ui::ScreenRenderer::renderImage();
        double scale = frame->pixelWidth() / frame->size().width;
        for (int y = int(region.minY() * scale); y < int(region.maxY() * scale); ++y)
            for (int x = int(region.minX() * scale); x < int(region.maxX() * scale); ++x) {
                uint32_t pixel = frame->pixel(x, y);
                if (((pixel >> 16) & 0xff) < 100 && ((pixel >> 8) & 0xff) < 100 && (pixel & 0xff) < 100)
                    return true;
            }
        return false;
    }

    std::shared_ptr<DeviceOnAndOfEntity> entity;
    std::shared_ptr<DeviceOnAndOf> screen;
};

TEST_F(PowerScheduleScreen, StartsAtTheScheduleAndWritesEveryChoiceIntoItAtOnce)
{
    open("07:05", "", 1);
    EXPECT_EQ(screen->bootTime()->selectedRowInComponent(0), 7);
    EXPECT_EQ(screen->bootTime()->selectedRowInComponent(1), 5);
    EXPECT_EQ(screen->offTime()->selectedRowInComponent(0), 0);
    EXPECT_EQ(screen->offTime()->selectedRowInComponent(1), 0);
    EXPECT_EQ(screen->bootTime()->numberOfRowsInComponent(0), 24u);
    EXPECT_EQ(screen->bootTime()->numberOfRowsInComponent(1), 60u);
    EXPECT_EQ(screen->bootTime()->titleForRow(5, 1), "05");
    // The selected rows are drawn on the centre line: ink there in both wheels.
    auto picker = screen->bootTime();
    for (size_t component : { 0u, 1u }) {
        gfx::Rect wheel = picker->componentRect(component);
        gfx::Rect centreRow { wheel.minX(), wheel.midY() - ui::PickerView::rowHeight / 2, wheel.width(),
            ui::PickerView::rowHeight };
        EXPECT_TRUE(hasInk(test::ScreenProbe::toScreen(*picker, centreRow))) << component;
    }

    // A tap one row below the centre of the power-off hours turns them to 01.
    auto off = screen->offTime();
    gfx::Rect hours = off->componentRect(0);
    ui::TouchDriver().tap(off->convertPointTo({ hours.midX(), hours.midY() + ui::PickerView::rowHeight }, nullptr));
    pass(1);
    EXPECT_EQ(entity->offHour, 1);
    EXPECT_EQ(entity->onHour, 7);

    // Leaving without saving sends nothing; the schedule keeps the choice.
    home()->navigationController()->popViewController(false);
    pass(1);
    EXPECT_EQ(requestsTo("LumetSetSleepTime"), 0u);
    EXPECT_EQ(entity->offHour, 1);
}

TEST_F(PowerScheduleScreen, SaveSendsTheScheduleAndCloseAfterTheSuccessAlert)
{
    open("21:30", "06:45", 0);
    save();
    auto requests = service.requestLog().requestsTo("LumetSetSleepTime");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body.find("{\"Serialnumber\""), 0u);
    auto body = json::objectFromJSONString(requests[0].body)->dictionary();
    EXPECT_EQ(body->objectForKey("Serialnumber")->stringValue(), watch);
    EXPECT_EQ(body->objectForKey("flag")->longLongValue(), 0);
    EXPECT_EQ(body->objectForKey("OpenHour")->longLongValue(), 21);
    EXPECT_EQ(body->objectForKey("OpenMin")->longLongValue(), 30);
    EXPECT_EQ(body->objectForKey("CloseHour")->longLongValue(), 6);
    EXPECT_EQ(body->objectForKey("CloseMin")->longLongValue(), 45);
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_FALSE(alert->title());
    EXPECT_EQ(alert->message(), base::localized("setting_success"));
    EXPECT_TRUE(onTop());
    tap(alert->buttonAtIndex(0));
    pass(1);
    EXPECT_FALSE(onTop());
}

TEST_F(PowerScheduleScreen, AFailedSaveKeepsTheScreenAndItsTimes)
{
    open("07:05", "22:00", 1);
    for (const auto& fault : { Fault::refusal(), Fault::nullPayload(), Fault::nonJsonBody(),
             Fault::payload(base::Value(1)), Fault::dropConnection(), Fault::status(500) }) {
        service.faults().set("LumetSetSleepTime", fault);
        save();
        EXPECT_EQ(takeAlertMessage(), base::localized("setting_failed"));
        pass(1);
        EXPECT_TRUE(onTop());
        EXPECT_EQ(entity->onHour, 7);
    }
}

TEST_F(PowerScheduleScreen, ASwitchedOffDeviceOrAScheduleWithoutStateSendsNothing)
{
    open("07:05", "22:00", std::nullopt);
    save();
    ASSERT_TRUE(shownAlert());
    EXPECT_FALSE(shownAlert()->title());
    EXPECT_EQ(takeAlertMessage(), base::localized("setting_failed"));
    screen->deviceDetail()->deviceState = core::Device::SwitchedOff;
    entity->powerState = 1;
    save();
    ASSERT_TRUE(shownAlert());
    EXPECT_EQ(shownAlert()->title(), base::localized("prompt"));
    EXPECT_EQ(takeAlertMessage(), base::localized("device_off_operation_failed"));
    EXPECT_EQ(requestsTo("LumetSetSleepTime"), 0u);
    EXPECT_TRUE(onTop());
}

} // namespace
