// The home screen: the device detail it reads on each appearance and shares, the message polling while it
// is on screen (2 s after each reply or failure, stopped when it goes), where the messages are kept, and
// the places later screens plug into.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "base/values/Dictionary.h"
#include "core/messages/IncomingMessages.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Logout.h"
#include "core/state/NotificationNames.h"
#include "database/Database.h"
#include "database/ResultSet.h"
#include "kit/overlay/NoticeOverlay.h"
#include "shell/screens/ScreenDirectory.h"
#include "tracking-service/Fault.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/NavigationItem.h"

namespace {

class Home : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        auto& center = base::NotificationCenter::defaultCenter();
        center.addObserver(
            core::NotificationNames::PostDevice, nullptr,
            [this](const base::Notification& posted) { postedDevices.push_back(posted.objectAs<core::Device>()); },
            this);
        center.addObserver(
            core::NotificationNames::ReceiveRemoteNotification, nullptr,
            [this](const base::Notification& posted) {
                receivedMessages.push_back(posted.objectAs<core::UserMessageQuery>());
            },
            this);
    }
    void TearDown() override
    {
        base::NotificationCenter::defaultCenter().removeObservers(this);
        shell::ScreenDirectory::shared().remove(shell::ScreenDirectory::Attendance);
        ShellTest::TearDown();
    }

    // Rows of a table of the local store.
    static int rowsOf(const char* table)
    {
        auto database = database::Database::databaseWithPath(core::DBManager::databasePath().string());
        if (!database->open())
            return -1;
        auto rows = database->executeQuery(std::string("select count(*) from ") + table);
        int count = rows && rows->next() ? rows->intForColumnIndex(0) : -1;
        EXPECT_TRUE(database->close());
        return count;
    }

    // Pushes a screen over the home screen from its right-hand button, once the device detail it needs came.
    void pushOverHome()
    {
        ASSERT_TRUE(homeDetailCame());
        shell::ScreenDirectory::shared().add(shell::ScreenDirectory::Attendance,
            [this](const std::shared_ptr<core::Device>&, shell::ScreenDirectory::Opening opening) {
                openings.push_back(opening);
                return std::make_shared<ui::ViewController>();
            });
        auto item = home()->navigationItem()->rightBarButtonItem();
        item->action()(*item);
        clock->advance(1s);
        ASSERT_EQ(home()->navigationController()->viewControllers().size(), 2u);
        EXPECT_EQ(openings, std::vector<shell::ScreenDirectory::Opening> { shell::ScreenDirectory::Opening::Pushed });
    }

    // Taps the right-hand button (the attendance screen), which needs the device detail.
    void tapAttendance()
    {
        auto item = home()->navigationItem()->rightBarButtonItem();
        item->action()(*item);
        clock->advance(0s);
    }
    // The text of the short notice on the home view; "" when none shows.
    std::string noticeOnHome() const
    {
        std::string text;
        for (const auto& view : home()->view()->subviews()) {
            if (auto notice = std::dynamic_pointer_cast<kit::NoticeOverlay>(view))
                text = notice->text();
        }
        return text;
    }
    // Lets the notice shown go.
    void letNoticeGo()
    {
        pass(2.5);
        ASSERT_EQ(noticeOnHome(), "");
    }
    // Where the device card's state line stands on the screen.
    static constexpr gfx::Rect stateLine { 16, 260, 288, 44 };

    std::vector<shell::ScreenDirectory::Opening> openings;
    std::vector<std::shared_ptr<core::Device>> postedDevices;
    std::vector<std::shared_ptr<core::UserMessageQuery>> receivedMessages;
};

TEST_F(Home, EachAppearanceReadsTheDeviceDetailAndPostsTheSharedRecord)
{
    launchAndSignIn();
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }));
    auto detail = home()->deviceDetail();
    EXPECT_EQ(detail->serialNumber, watch);
    EXPECT_EQ(core::Singleton::shared().deviceDetail(), detail);
    ASSERT_EQ(postedDevices.size(), 1u);
    EXPECT_EQ(postedDevices[0], detail);
    EXPECT_EQ(home()->title(), "Lumet Watch");

    pushOverHome();
    home()->navigationController()->popViewController(false);
    ASSERT_TRUE(pumpUntil([this] { return postedDevices.size() == 2; }));
    EXPECT_NE(home()->deviceDetail(), detail) << "a new record for the new appearance";
}

// However late the detail's reply comes, the fixture's push waits for it.
TEST_F(Home, PushingOverHomeWaitsForALateDetail)
{
    service.faults().set("GetDeviceDetial", tracking_service::Fault::delay(std::chrono::seconds(1)));
    launchAndSignIn();
    pushOverHome();
}

TEST_F(Home, AFailedDetailKeepsTheEarlierRecord)
{
    launchAndSignIn();
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }));
    auto detail = home()->deviceDetail();
    service.faults().set("GetDeviceDetial", tracking_service::Fault::nullPayload());
    pushOverHome();
    home()->navigationController()->popViewController(false);
    pass(1);
    EXPECT_EQ(home()->deviceDetail(), detail);
    EXPECT_EQ(core::Singleton::shared().deviceDetail(), detail);
}

// After a short outage, or a detail that could not be read, the home screen says why it has no record and
// gets it as soon as the service answers again, without the user leaving it.
TEST_F(Home, WithoutARecordTheHomeScreenSaysWhyAndAsksAgainWhenTheServiceAnswers)
{
    service.faults().set("GetDeviceDetial", tracking_service::Fault::dropConnection());
    launchAndSignIn();
    shell::ScreenDirectory::shared().add(shell::ScreenDirectory::Attendance,
        [this](const std::shared_ptr<core::Device>&, shell::ScreenDirectory::Opening opening) {
            openings.push_back(opening);
            return std::make_shared<ui::ViewController>();
        });
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("GetDeviceDetial") >= 1 && networkIdle(); }));
    clock->advance(0s);
    EXPECT_EQ(noticeOnHome(), base::localized("bad_netword"));
    letNoticeGo();
    EXPECT_FALSE(home()->deviceDetail());
    EXPECT_TRUE(textInRegion(base::localized("device_detail_not_loaded"), stateLine)) << "not a blank state line";

    for (const auto& [fault, said] : detailFailures()) {
        SCOPED_TRACE(said);
        service.faults().set("GetDeviceDetial", fault);
        // The tap says why there is no record, and asks again.
        size_t asked = requestsTo("GetDeviceDetial");
        tapAttendance();
        EXPECT_NE(noticeOnHome(), "");
        ASSERT_TRUE(pumpUntil([&] { return requestsTo("GetDeviceDetial") > asked && networkIdle(); }));
        letNoticeGo();
        tapAttendance();
        EXPECT_EQ(noticeOnHome(), base::localized(said));
        EXPECT_TRUE(openings.empty());
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        letNoticeGo();
    }

    // The service answers again: the next poll it answers brings the record, with home still on screen.
    service.faults().clear();
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }, 5));
    pass(0.1);
    EXPECT_EQ(noticeOnHome(), "");
    EXPECT_FALSE(textInRegion(base::localized("device_detail_not_loaded"), stateLine));
    EXPECT_TRUE(textInRegion(base::localized("device_state_on"), stateLine));
    tapAttendance();
    EXPECT_EQ(openings, std::vector<shell::ScreenDirectory::Opening> { shell::ScreenDirectory::Opening::Pushed });
}

// The failure of a request for a device picked away from is not said over the device picked next.
TEST_F(Home, AFailedDetailOfADevicePickedAwayFromIsNotSaid)
{
    service.faults().set("GetDeviceDetial", tracking_service::Fault::held());
    launchAndSignIn();
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("GetDeviceDetial") == 1; }));
    core::MobileDeviceAndLocation picked;
    picked.serialNumber = tracking_service::DemoData::Watch40SerialNumber;
    picked.deviceTypeID = 40;
    home()->deviceChosen(picked);
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("GetDeviceDetial") == 2; }));

    service.faults().letGo("GetDeviceDetial", 1);
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }));
    EXPECT_EQ(home()->deviceDetail()->serialNumber, tracking_service::DemoData::Watch40SerialNumber);
    service.faults().letGo("GetDeviceDetial", 0, tracking_service::Fault::dropConnection());
    ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
    clock->advance(0s);
    EXPECT_EQ(noticeOnHome(), "");
    EXPECT_EQ(home()->deviceDetail()->serialNumber, tracking_service::DemoData::Watch40SerialNumber);
}

TEST_F(Home, MessagesArePolledTwoSecondsAfterEachReplyAndKeptByTheMessageRule)
{
    launchAndSignIn();
    ASSERT_TRUE(pumpUntil([this] { return receivedMessages.size() == 5; }));
    EXPECT_EQ(rowsOf("UserChatQuery"), 2) << "the type-36 watch's voice messages";
    EXPECT_EQ(rowsOf("UserMessageQuery"), 3) << "the other messages, the type-27 watch's voice among them";
    auto chat = core::DBManager::selectUserChatQueryByUserName(account, account, watch);
    ASSERT_EQ(chat.size(), 2u);
    EXPECT_EQ(chat[0]->desc, core::ServiceProtocol::VoiceMarker);
    EXPECT_EQ(chat[0]->userName, account);

    // A new message: the reply that brings it sets the next question 2 s later.
    service.store().queueMessage(account,
        base::Value(base::Dictionary::make({ { "_id", "later" }, { "Context", "hello" }, { "Desc", "" },
            { "From", watch }, { "To", account }, { "MsgType", 3 } })));
    // The reply sets the timer and hands its message to the store in one turn; the store's announcement
    // comes later, so wait for it without moving virtual time.
    ASSERT_TRUE(
        pumpUntil([this] { return core::IncomingMessages::storesInFlight() > 0 || receivedMessages.size() == 6; }));
    ASSERT_TRUE(base::RunLoop::main().runUntil([this] { return receivedMessages.size() == 6; }, 30s));
    size_t polls = requestsTo("PopManyQueryMessage");
    pass(1.85);
    EXPECT_EQ(requestsTo("PopManyQueryMessage"), polls);
    EXPECT_TRUE(pumpUntil([&] { return requestsTo("PopManyQueryMessage") == polls + 1; }, 0.3));
}

TEST_F(Home, PollingGoesOnAfterAFailure)
{
    service.faults().set("PopManyQueryMessage", tracking_service::Fault::status(500));
    launchAndSignIn();
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("PopManyQueryMessage") >= 1; }));
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("PopManyQueryMessage") >= 3; }, 5));
    EXPECT_TRUE(receivedMessages.empty());
}

TEST_F(Home, PollingStopsWhileTheHomeScreenIsCoveredAndWhenItGoes)
{
    launchAndSignIn();
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("PopManyQueryMessage") >= 1; }));
    pushOverHome();
    EXPECT_FALSE(home()->isPollingMessages());
    pass(0.5);
    size_t polls = requestsTo("PopManyQueryMessage");
    pass(10);
    EXPECT_EQ(requestsTo("PopManyQueryMessage"), polls);

    home()->navigationController()->popViewController(false);
    ASSERT_TRUE(pumpUntil([&] { return requestsTo("PopManyQueryMessage") > polls; }, 1));

    // Gone with the container: a reply still in flight is stored, and nothing asks again.
    std::weak_ptr<shell::MainMenuVC> gone = home();
    core::Logout::logOutKeepingPushToken();
    ASSERT_TRUE(pumpUntil([this] { return !container(); }));
    pass(1);
    polls = requestsTo("PopManyQueryMessage");
    pass(10);
    EXPECT_EQ(requestsTo("PopManyQueryMessage"), polls);
    EXPECT_TRUE(gone.expired());
}

TEST_F(Home, ThePlacesForLaterScreensFollowTheStoredDevicesType)
{
    launchAndSignIn();
    EXPECT_FALSE(home()->voiceButton()->isHidden());
    EXPECT_FALSE(home()->familyNumberButton()->isHidden());
    EXPECT_EQ(home()->familyNumberButton()->frame(), shell::MainMenuVC::familyNumberFrame);
    EXPECT_EQ(home()->functionButton()->tag(), 13);

    core::MobileDeviceAndLocation car;
    car.serialNumber = tracking_service::DemoData::CarTrackerSerialNumber;
    car.deviceTypeID = 41;
    ASSERT_TRUE(core::DBManager::saveOrUpdataMobileDeviceDB(car));
    pushOverHome();
    home()->navigationController()->popViewController(false);
    clock->advance(0s);
    EXPECT_TRUE(home()->voiceButton()->isHidden());
    EXPECT_TRUE(home()->familyNumberButton()->isHidden());
}

} // namespace
