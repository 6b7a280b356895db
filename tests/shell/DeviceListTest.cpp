// The device list, pushed from the home screen: its rows from the account's "GetDeviceList", a picked device
// made current as the sign-in makes its choice (Singleton, the setting, the stored row) with its detail read
// and posted by the home screen, a reply for a device picked away from dropped, and a list that fails said.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "core/state/NotificationNames.h"
#include "kit/overlay/NoticeOverlay.h"
#include "shell/devices/DeviceListVC.h"
#include "tracking-service/Fault.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"

#include <algorithm>

namespace {

using tracking_service::DemoData;
using tracking_service::Fault;

class DeviceList : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        base::NotificationCenter::defaultCenter().addObserver(
            core::NotificationNames::PostDevice, nullptr,
            [this](const base::Notification& posted) { postedDevices.push_back(posted.objectAs<core::Device>()); },
            this);
    }
    void TearDown() override
    {
        base::NotificationCenter::defaultCenter().removeObservers(this);
        ShellTest::TearDown();
    }

    std::shared_ptr<shell::DeviceListVC> shownList() const
    {
        return std::dynamic_pointer_cast<shell::DeviceListVC>(home()->navigationController()->topViewController());
    }

    // Signs in, waits for the home screen's record and opens the list with the home screen's button.
    void openList()
    {
        launchAndSignIn();
        ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }));
        tap(home()->deviceListButton());
        clock->advance(1s);
        list = shownList();
        ASSERT_TRUE(list);
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        clock->advance(0s);
    }

    size_t rowOf(const std::string& serialNumber) const
    {
        const auto& devices = list->devices();
        return static_cast<size_t>(std::find_if(devices.begin(), devices.end(), [&](const auto& device) {
            return device->serialNumber == serialNumber;
        }) - devices.begin());
    }

    std::shared_ptr<ui::TableViewCell> cellAt(size_t row)
    {
        list->tableView()->layoutIfNeeded();
        return list->tableView()->cellForRowAtIndexPath({ 0, static_cast<int>(row) });
    }

    void tapRow(size_t row)
    {
        auto table = list->tableView();
        table->layoutIfNeeded();
        gfx::Rect rect = table->rectForRowAtIndexPath({ 0, static_cast<int>(row) });
        ui::TouchDriver().tap(table->convertPointTo({ rect.midX(), rect.midY() }, nullptr));
    }

    std::shared_ptr<shell::DeviceListVC> list;
    std::vector<std::shared_ptr<core::Device>> postedDevices;
};

TEST_F(DeviceList, ShowsTheAccountsDevicesWithTheirTypesAndMarksTheCurrentOne)
{
    openList();
    auto requests = service.requestLog().requestsTo("GetDeviceList");
    ASSERT_EQ(requests.size(), 2u) << "the sign-in's and the list's";
    EXPECT_EQ(requests.back().body, requests.front().body) << "the same question as the sign-in's";
    ASSERT_GT(list->devices().size(), 10u);

    size_t watchRow = rowOf(watch);
    size_t parvoRow = rowOf(DemoData::ParvoSerialNumber);
    ASSERT_LT(parvoRow, list->devices().size());
    auto watchCell = cellAt(watchRow);
    EXPECT_EQ(watchCell->textLabel()->text(), "Lumet Watch");
    EXPECT_EQ(watchCell->detailTextLabel()->text(), "Type 36");
    EXPECT_EQ(watchCell->accessoryType(), ui::TableViewCellAccessoryType::Checkmark);
    auto parvoCell = cellAt(parvoRow);
    EXPECT_EQ(parvoCell->textLabel()->text(), "Parvo tracker");
    EXPECT_EQ(parvoCell->accessoryType(), ui::TableViewCellAccessoryType::None);
    gfx::Rect rowRect = list->tableView()->convertRectTo(
        list->tableView()->rectForRowAtIndexPath({ 0, static_cast<int>(watchRow) }), nullptr);
    EXPECT_TRUE(textInRegion("Lumet Watch", rowRect)) << "the row is on screen";
}

TEST_F(DeviceList, APickedDeviceBecomesCurrentAndTheHomeScreenReadsAndPostsItsDetail)
{
    openList();
    size_t detailRequests = requestsTo("GetDeviceDetial");
    postedDevices.clear();
    tapRow(rowOf(DemoData::ParvoSerialNumber));
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr && networkIdle(); }));
    clock->advance(1s);

    EXPECT_EQ(home()->navigationController()->topViewController(), home()) << "the list closes";
    auto& state = core::Singleton::shared();
    EXPECT_EQ(state.lastSerialnumber(), DemoData::ParvoSerialNumber);
    EXPECT_EQ(state.deviceTypeID(), 2);
    EXPECT_EQ(
        base::UserDefaults::standard().stringForKey(core::SettingsKeys::LastSerialNumber), DemoData::ParvoSerialNumber);
    auto stored = core::DBManager::readSingleMobileDevice();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->serialNumber, DemoData::ParvoSerialNumber);

    EXPECT_EQ(requestsTo("GetDeviceDetial"), detailRequests + 1) << "one question, not one more for the appearance";
    EXPECT_NE(service.requestLog().requestsTo("GetDeviceDetial").back().body.find(DemoData::ParvoSerialNumber),
        std::string::npos);
    auto detail = home()->deviceDetail();
    EXPECT_EQ(detail->serialNumber, DemoData::ParvoSerialNumber);
    EXPECT_EQ(state.deviceDetail(), detail);
    ASSERT_EQ(postedDevices.size(), 1u);
    EXPECT_EQ(postedDevices[0], detail);
    EXPECT_TRUE(home()->voiceButton()->isHidden()) << "a tracker has no voice";
    EXPECT_TRUE(textInRegion("Parvo tracker", { 0, 200, 320, 60 }));
}

TEST_F(DeviceList, TheDetailOfADevicePickedAwayFromIsDropped)
{
    openList();
    service.faults().set("GetDeviceDetial", Fault::delay(300ms));
    postedDevices.clear();
    list->chooseDevice(rowOf(DemoData::ParvoSerialNumber));
    home()->deviceChosen(*list->devices().at(rowOf(DemoData::Quenn3SerialNumber)));
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }));
    pass(1);
    EXPECT_EQ(home()->deviceDetail()->serialNumber, DemoData::Quenn3SerialNumber);
    ASSERT_EQ(postedDevices.size(), 1u);
    EXPECT_EQ(postedDevices[0]->serialNumber, DemoData::Quenn3SerialNumber);
}

TEST_F(DeviceList, AListThatDoesNotComeIsSaidAndNotShownAsAnAccountWithoutDevices)
{
    // Under the bars, where the first row would be.
    const gfx::Rect failureLineBand { 0, 64, 320, 60 };
    launchAndSignIn();
    const std::pair<Fault, const char*> faults[] = {
        { Fault::status(500), "get_device_failed" },
        { Fault::nullPayload(), "get_device_failed" },
        { Fault::nonJsonBody(), "get_device_failed" },
        { Fault::dropConnection(), "bad_netword" },
    };
    for (const auto& [fault, said] : faults) {
        SCOPED_TRACE(said);
        service.faults().set("GetDeviceList", fault);
        home()->openDeviceList();
        clock->advance(1s);
        list = shownList();
        ASSERT_TRUE(list);
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        clock->advance(0s);
        EXPECT_TRUE(list->devices().empty());
        std::string notice;
        for (const auto& view : list->view()->subviews()) {
            if (auto overlay = std::dynamic_pointer_cast<kit::NoticeOverlay>(view))
                notice = overlay->text();
        }
        EXPECT_EQ(notice, base::localized(said));
        pass(2.1);
        EXPECT_TRUE(textInRegion(base::localized(said), failureLineBand)) << "said after the notice has gone";
        // The last list stays open for the reload below.
        if (&fault != &faults[std::size(faults) - 1].first) {
            home()->navigationController()->popViewController(false);
            clock->advance(5s);
        }
    }

    // The list that then comes takes the failure's place.
    service.faults().clear();
    list->viewWillAppear(false);
    ASSERT_TRUE(pumpUntil([this] { return !list->devices().empty(); }));
    pass(0.1);
    EXPECT_FALSE(textInRegion(base::localized(faults[std::size(faults) - 1].second), failureLineBand));
}

// The voice, attendance and challenge buttons do nothing without the picked device's record, so the home
// screen says why it has none: the load failure for a reply that came, the network notice for none.
TEST_F(DeviceList, APickedDevicesDetailThatDoesNotReadIsSaid)
{
    launchAndSignIn();
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() && networkIdle(); }));
    const std::pair<Fault, const char*> faults[] = {
        { Fault::nullPayload(), "load_failed" },
        { Fault::nonJsonBody(), "load_failed" },
        { Fault::status(500), "load_failed" },
        { Fault::dropConnection(), "bad_netword" },
    };
    core::MobileDeviceAndLocation picked;
    picked.serialNumber = DemoData::Watch40SerialNumber;
    picked.deviceTypeID = 40;
    for (const auto& [fault, said] : faults) {
        SCOPED_TRACE(said);
        service.faults().set("GetDeviceDetial", fault);
        home()->deviceChosen(picked);
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        clock->advance(0s);
        std::string notice;
        for (const auto& view : home()->view()->subviews()) {
            if (auto overlay = std::dynamic_pointer_cast<kit::NoticeOverlay>(view))
                notice = overlay->text();
        }
        EXPECT_EQ(notice, base::localized(said));
        EXPECT_FALSE(home()->deviceDetail());
        clock->advance(5s);
    }
}

} // namespace
