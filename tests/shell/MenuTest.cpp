// The drawer menu: its rows by the current device's type, opening and closing with the home screen's bar
// button, what a row opens (a registered screen as the root of a new navigation controller in the centre,
// given the menu's device record; nothing for a screen not built yet), and the logout row.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "core/state/NotificationNames.h"
#include "core/state/RememberedAccount.h"
#include "kit/drawer/DrawerTypes.h"
#include "kit/modal/ModalPresenter.h"
#include "kit/overlay/NoticeOverlay.h"
#include "settings/numbers/CenterNumberVC.h"
#include "settings/numbers/FamilyProtection.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/ListenNumberVC.h"
#include "shell/devices/DeviceListVC.h"
#include "shell/menu/MenuFunctions.h"
#include "shell/screens/ScreenDirectory.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/Fault.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/NavigationBar.h"
#include "ui/input/TouchDriver.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"

namespace {

// A feature screen as the directory would make it, keeping the record it was given.
class FeatureScreen : public ui::ViewController {
public:
    explicit FeatureScreen(std::shared_ptr<core::Device> device)
        : device(std::move(device))
    {
    }
    std::shared_ptr<core::Device> device;
};

class Menu : public test::ShellTest {
protected:
    void TearDown() override
    {
        shell::ScreenDirectory::shared().remove(shell::ScreenDirectory::Attendance);
        shell::ScreenDirectory::shared().remove(shell::ScreenDirectory::Settings);
        ShellTest::TearDown();
    }

    void registerScreen(const char* name)
    {
        shell::ScreenDirectory::shared().add(
            name, [this](const std::shared_ptr<core::Device>& device, shell::ScreenDirectory::Opening opening) {
                auto screen = std::make_shared<FeatureScreen>(device);
                opened.push_back(screen);
                openings.push_back(opening);
                return screen;
            });
    }

    void openMenu()
    {
        container()->openDrawerSide(kit::DrawerSide::Left, true);
        ASSERT_TRUE(pumpUntil([this] { return menu()->device() && !container()->isAnimatingDrawer(); }));
    }

    // Taps the menu's row of that function.
    void tapRow(const std::string& key)
    {
        auto table = menu()->tableView();
        const auto& functions = menu()->functions();
        auto row = std::find(functions.begin(), functions.end(), key) - functions.begin();
        ASSERT_LT(row, static_cast<long>(functions.size()));
        gfx::Rect rect = table->rectForRowAtIndexPath({ 0, static_cast<int>(row) });
        gfx::Point centre = table->convertPointTo({ rect.midX(), rect.midY() }, nullptr);
        finger.tap(centre);
    }

    // Makes the demo device current as the device list does, and waits for the home screen's record of it.
    void chooseDevice(const char* serialNumber)
    {
        home()->navigationController()->popToRootViewController(false);
        home()->openDeviceList();
        auto list = std::dynamic_pointer_cast<shell::DeviceListVC>(home()->navigationController()->topViewController());
        ASSERT_TRUE(list);
        ASSERT_TRUE(pumpUntil([&] { return !list->devices().empty(); }));
        const auto& devices = list->devices();
        auto found = std::find_if(
            devices.begin(), devices.end(), [&](const auto& device) { return device->serialNumber == serialNumber; });
        ASSERT_NE(found, devices.end());
        list->chooseDevice(static_cast<size_t>(found - devices.begin()));
        ASSERT_TRUE(pumpUntil([this, serialNumber] {
            return home()->deviceDetail() && home()->deviceDetail()->serialNumber == serialNumber && networkIdle();
        }));
    }

    std::vector<std::shared_ptr<FeatureScreen>> opened;
    std::vector<shell::ScreenDirectory::Opening> openings;
    ui::TouchDriver finger;
};

TEST_F(Menu, TheRowsFollowTheDeviceTypeFromTheConfig)
{
    launch();
    EXPECT_EQ(shell::MenuFunctions::forDeviceType(36),
        (std::vector<std::string> {
            "home_page", "attendance", "phone_book", "family_protect", "class_schedule", "interaction", "logout" }));
    EXPECT_EQ(shell::MenuFunctions::forDeviceType(41), (std::vector<std::string> { "home_page", "logout" }));
    EXPECT_EQ(shell::MenuFunctions::forDeviceType(std::nullopt), (std::vector<std::string> { "home_page", "logout" }));
}

TEST_F(Menu, TheRowsOfScreensWithoutAnOpenerOfTheirOwnServeTheirDeviceTypes)
{
    launch();
    auto has = [](int64_t type, const std::string& key) {
        auto keys = shell::MenuFunctions::forDeviceType(type);
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    };
    for (int64_t type : { 2, 13, 18, 20 })
        EXPECT_TRUE(has(type, "sound_command")) << type;
    for (int64_t type : { 2, 4, 7, 13, 16, 18, 20 })
        EXPECT_TRUE(has(type, "upload_interval")) << type;
    for (int64_t type : { 3, 4, 6 })
        EXPECT_TRUE(has(type, "listen_number")) << type;
    for (int64_t type : { 3, 4 })
        EXPECT_TRUE(has(type, "center_number")) << type;
    for (int64_t type : { 43, 44 })
        EXPECT_TRUE(has(type, "family_number")) << type;
    // The number screen serves these types from the family-protection screen, and no watch but 27 and 36.
    for (int64_t type : { 2, 3, 6, 7, 13, 16, 18, 20, 21, 27, 36 })
        EXPECT_TRUE(has(type, "family_protect")) << type;
    for (int64_t type : { 40, 41, 43, 44 })
        EXPECT_FALSE(has(type, "family_protect")) << type;
    for (const char* key : { "sound_command", "upload_interval", "listen_number", "center_number", "family_number" }) {
        EXPECT_FALSE(has(36, key)) << key;
        EXPECT_FALSE(has(41, key)) << key;
    }
    for (int64_t type : { 2, 3, 4, 6, 7, 13, 16, 18, 20, 21, 43, 44 }) {
        auto keys = shell::MenuFunctions::forDeviceType(type);
        EXPECT_EQ(keys.front(), "home_page") << type;
        EXPECT_EQ(keys.back(), "logout") << type;
    }
}

// No type has a number-panel row whose panel sends nothing and says nothing: what is typed goes out for the
// device of every type that lists the row.
TEST_F(Menu, EveryNumberPanelRowSendsForTheTypesThatListIt)
{
    launchAndSignIn();
    const auto& byType = core::Singleton::shared().config()->objectForKey("FunctionsByDeviceType")->dictionary();
    ASSERT_TRUE(byType);
    auto sentFor = [this](const std::string& serialNumber) {
        auto requests = service.requestLog().requests();
        return std::count_if(requests.begin(), requests.end(),
            [&](const auto& request) { return request.body.find(serialNumber) != std::string::npos; });
    };
    for (auto [key, rows] : *byType) {
        int64_t type = std::stoll(key->stringValue());
        auto keys = shell::MenuFunctions::forDeviceType(type);
        for (const char* panel : { shell::ScreenDirectory::ListenNumber, shell::ScreenDirectory::CenterNumber }) {
            if (std::find(keys.begin(), keys.end(), panel) == keys.end())
                continue;
            auto device = std::make_shared<core::Device>();
            device->serialNumber = "PANEL" + std::to_string(type) + panel;
            device->deviceTypeID = type;
            device->quennDeviceConfig = std::make_shared<core::SQuennConfig>();
            auto shown = shell::ScreenDirectory::shared().showPanel(panel, device);
            const settings::NumberPanelParts::SingleNumberPanel* parts = nullptr;
            if (auto centre = std::dynamic_pointer_cast<settings::CenterNumberVC>(shown))
                parts = &centre->parts();
            else if (auto listen = std::dynamic_pointer_cast<settings::ListenNumberVC>(shown))
                parts = &listen->parts();
            ASSERT_TRUE(parts) << panel;
            pass(1);
            parts->field->setText("13800000000");
            tap(parts->done);
            pass(1);
            EXPECT_EQ(sentFor(*device->serialNumber), 1) << "type " << type << ", " << panel;
            while (auto alert = shownAlert())
                alert->dismissWithClickedButtonIndex(0, false);
            kit::ModalPresenter::sharedInstance()->hideAnimated(false);
        }
    }
}

TEST_F(Menu, ARowThatNamesAPanelShowsItInTheModalPresenterAndKeepsItWhileShown)
{
    launchAndSignIn();
    shell::ScreenDirectory::shared().remove(shell::ScreenDirectory::Attendance);
    std::weak_ptr<ui::ViewController> made;
    std::shared_ptr<core::Device> given;
    shell::ScreenDirectory::shared().addPanel(
        shell::ScreenDirectory::Attendance, [&](const std::shared_ptr<core::Device>& device) {
            auto panel = std::make_shared<ui::ViewController>();
            panel->view()->setFrame({ 0, 0, 200, 120 });
            panel->view()->setBackgroundColor(gfx::Color::red());
            made = panel;
            given = device;
            return panel;
        });
    openMenu();
    tapRow("attendance");
    clock->advance(1s);
    shell::ScreenDirectory::shared().removePanel(shell::ScreenDirectory::Attendance);

    auto panel = made.lock();
    ASSERT_TRUE(panel) << "kept alive by the presenter while shown";
    EXPECT_EQ(given, menu()->device());
    EXPECT_EQ(shell::ScreenDirectory::shownPanel(), panel);
    EXPECT_EQ(kit::ModalPresenter::sharedInstance()->containerView().get(), panel->view()->superview().get());
    EXPECT_EQ(colourAt(panel->view(), { 100, 60 }), gfx::Color::red()) << "the panel is what the screen shows";
    EXPECT_EQ(container()->openSide(), kit::DrawerSide::None) << "the drawer closed under it";

    kit::ModalPresenter::sharedInstance()->hideAnimated(false);
    EXPECT_FALSE(shell::ScreenDirectory::shownPanel());
}

// Each row of a real panel, for a device whose type lists it: the drawer closes, as for a row of a screen, and
// the panel (or the family numbers' sheet that leads to it) shows over the centre screen.
TEST_F(Menu, EveryRowThatOpensAPanelClosesTheDrawerFirst)
{
    launchAndSignIn();
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }));
    struct Row {
        const char* key;
        const char* serialNumber;
    };
    using tracking_service::DemoData;
    for (const Row& row :
        { Row { "sound_command", DemoData::ParvoSerialNumber }, Row { "upload_interval", DemoData::ParvoSerialNumber },
            Row { "listen_number", DemoData::Quenn3SerialNumber },
            Row { "center_number", DemoData::Quenn3SerialNumber },
            Row { "family_number", DemoData::Watch44SerialNumber } }) {
        SCOPED_TRACE(row.key);
        chooseDevice(row.serialNumber);
        openMenu();
        ASSERT_EQ(container()->openSide(), kit::DrawerSide::Left);
        auto centre = container()->centerViewController();
        tapRow(row.key);
        ASSERT_TRUE(pumpUntil([this] { return !container()->isAnimatingDrawer() && networkIdle(); }));
        EXPECT_EQ(container()->openSide(), kit::DrawerSide::None);
        EXPECT_EQ(container()->centerViewController(), centre) << "the screen it serves stays";
        bool sheet = false;
        for (const auto& window : ui::Application::shared().windows()) {
            auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            if (alertWindow && alertWindow->isShown()) {
                sheet = true;
                (void)alertWindow->performEscape();
            }
        }
        EXPECT_TRUE(kit::ModalPresenter::sharedInstance()->window() || sheet) << "the panel shows";
        kit::ModalPresenter::sharedInstance()->hideAnimated(false);
        pass(1);
    }
}

TEST_F(Menu, TheHomeScreensBarButtonOpensAndClosesTheMenuWhichReadsTheDevice)
{
    launchAndSignIn();
    size_t detailRequests = requestsTo("GetDeviceDetial");
    auto toggle = home()->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(toggle);
    toggle->action()(*toggle);
    ASSERT_TRUE(pumpUntil([this] { return menu()->device() && !container()->isAnimatingDrawer(); }));
    EXPECT_EQ(container()->openSide(), kit::DrawerSide::Left);
    EXPECT_EQ(menu()->device()->serialNumber, watch);
    EXPECT_EQ(menu()->functions().size(), 7u);
    EXPECT_GT(requestsTo("GetDeviceDetial"), detailRequests);
    EXPECT_EQ(menu()->tableView()->cellForRowAtIndexPath({ 0, 1 })->textLabel()->text(), base::localized("attendance"));

    toggle->action()(*toggle);
    clock->advance(1s);
    EXPECT_EQ(container()->openSide(), kit::DrawerSide::None);
}

TEST_F(Menu, ARowOpensItsScreenWithTheMenusRecordInANewNavigationControllerAndCloses)
{
    launchAndSignIn();
    registerScreen(shell::ScreenDirectory::Attendance);
    openMenu();
    tapRow("attendance");
    ASSERT_TRUE(pumpUntil([this] { return !container()->isAnimatingDrawer(); }));

    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]->device, menu()->device()) << "the menu's own record";
    EXPECT_EQ(centreRoot(), opened[0]);
    EXPECT_EQ(openings[0], shell::ScreenDirectory::Opening::DrawerCentre);
    auto navigation = std::dynamic_pointer_cast<shell::NavViewController>(container()->centerViewController());
    ASSERT_TRUE(navigation);
    EXPECT_EQ(navigation->navigationBar()->barTintColor(), shell::NavViewController::barTint);
    EXPECT_EQ(container()->openSide(), kit::DrawerSide::None);

    // The home row brings a home screen back.
    openMenu();
    tapRow("home_page");
    ASSERT_TRUE(pumpUntil([this] { return home() && !container()->isAnimatingDrawer(); }));
    EXPECT_EQ(container()->openSide(), kit::DrawerSide::None);
}

TEST_F(Menu, ARowWhoseScreenIsNotBuiltDoesNothing)
{
    launchAndSignIn();
    shell::ScreenDirectory::shared().remove(shell::ScreenDirectory::PhoneBook);
    shell::ScreenDirectory::shared().removePanel(shell::ScreenDirectory::PhoneBook);
    openMenu();
    auto centre = container()->centerViewController();
    tapRow("phone_book");
    clock->advance(1s);
    EXPECT_EQ(container()->centerViewController(), centre);
    EXPECT_EQ(container()->openSide(), kit::DrawerSide::Left);
}

TEST_F(Menu, TheSettingsButtonOpensTheSettingsScreen)
{
    launchAndSignIn();
    registerScreen(shell::ScreenDirectory::Settings);
    openMenu();
    EXPECT_EQ(menu()->settingsButton()->tag(), 0);
    tap(menu()->settingsButton());
    ASSERT_TRUE(pumpUntil([this] { return !opened.empty() && !container()->isAnimatingDrawer(); }));
    EXPECT_EQ(centreRoot(), opened[0]);
}

TEST_F(Menu, ARowTappedBeforeTheRecordCameOpensWhenItComesUnlessTheMenuClosed)
{
    launchAndSignIn();
    registerScreen(shell::ScreenDirectory::Attendance);
    service.faults().set("GetDeviceDetial", tracking_service::Fault::delay(300ms));
    container()->openDrawerSide(kit::DrawerSide::Left, false);
    menu()->openRowTitled(base::localized("attendance"));
    EXPECT_TRUE(opened.empty());
    ASSERT_TRUE(pumpUntil([this] { return !opened.empty(); }));
    EXPECT_EQ(opened[0]->device, menu()->device());
}

// A row whose record cannot be had says why: the network notice when the service was not reached, the load
// failure when it answered.
TEST_F(Menu, ARowWhoseRecordCannotBeHadSaysWhy)
{
    launchAndSignIn();
    registerScreen(shell::ScreenDirectory::Attendance);
    for (const auto& [fault, said] : detailFailures()) {
        SCOPED_TRACE(said);
        service.faults().set("GetDeviceDetial", fault);
        container()->openDrawerSide(kit::DrawerSide::Left, false);
        menu()->openRowTitled(base::localized("attendance"));
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        clock->advance(0s);
        std::string notice;
        for (const auto& view : menu()->view()->subviews()) {
            if (auto overlay = std::dynamic_pointer_cast<kit::NoticeOverlay>(view))
                notice = overlay->text();
        }
        EXPECT_EQ(notice, base::localized(said));
        EXPECT_TRUE(opened.empty());
        container()->closeDrawer(false);
        pass(2.5);
    }
}

TEST_F(Menu, ARowTappedWhileTheRecordIsReadAgainOpensWithTheNewRecord)
{
    launchAndSignIn();
    registerScreen(shell::ScreenDirectory::Attendance);
    openMenu();
    auto older = menu()->device();
    container()->closeDrawer(false);
    clock->advance(1s);

    service.faults().set("GetDeviceDetial", tracking_service::Fault::delay(300ms));
    container()->openDrawerSide(kit::DrawerSide::Left, false);
    menu()->openRowTitled(base::localized("attendance"));
    EXPECT_TRUE(opened.empty()) << "not with the record the menu read before";
    ASSERT_TRUE(pumpUntil([this] { return !opened.empty(); }));
    EXPECT_NE(opened[0]->device, older);
    EXPECT_EQ(opened[0]->device, menu()->device());
}

TEST_F(Menu, AParvoTrackerPickedFromTheDeviceListReachesItsNumberViewFromItsRows)
{
    launchAndSignIn();
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }));
    home()->openDeviceList();
    auto list = std::dynamic_pointer_cast<shell::DeviceListVC>(home()->navigationController()->topViewController());
    ASSERT_TRUE(list);
    ASSERT_TRUE(pumpUntil([&] { return !list->devices().empty(); }));
    const auto& devices = list->devices();
    auto parvo = std::find_if(devices.begin(), devices.end(),
        [](const auto& device) { return device->serialNumber == tracking_service::DemoData::ParvoSerialNumber; });
    ASSERT_NE(parvo, devices.end());
    list->chooseDevice(static_cast<size_t>(parvo - devices.begin()));
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }));

    openMenu();
    EXPECT_EQ(menu()->device()->serialNumber, tracking_service::DemoData::ParvoSerialNumber);
    EXPECT_EQ(menu()->functions(),
        (std::vector<std::string> { "home_page", "family_protect", "sound_command", "upload_interval", "logout" }));
    tapRow("family_protect");
    ASSERT_TRUE(pumpUntil([this] { return !container()->isAnimatingDrawer(); }));
    auto protection = std::dynamic_pointer_cast<settings::FamilyProtection>(centreRoot());
    ASSERT_TRUE(protection);
    EXPECT_EQ(protection->deviceDetail(), menu()->device());

    tap(protection->btnFather());
    clock->advance(1s);
    auto numbers = protection->likeNumberVC();
    ASSERT_TRUE(numbers);
    EXPECT_EQ(numbers->shownModelView(), numbers->likeNumberViewForParvo());
    EXPECT_TRUE(kit::ModalPresenter::sharedInstance()->window());
}

TEST_F(Menu, TheLogoutRowClosesTheContainerAndTheLoginScreenShows)
{
    launchAndSignIn();
    bool loggedOut = false;
    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::DidLogOut, nullptr, [&](const base::Notification&) { loggedOut = true; }, this);
    openMenu();
    tapRow("logout");
    ASSERT_TRUE(pumpUntil([this] { return !container(); }));
    clock->advance(1s);
    base::NotificationCenter::defaultCenter().removeObservers(this);

    EXPECT_TRUE(loggedOut);
    EXPECT_EQ(login()->appearanceState(), ui::ViewController::AppearanceState::Appeared);
    EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::AutoLogin), "0");
    EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::Cookie), "");
    EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), "");
    EXPECT_FALSE(core::Singleton::shared().deviceDetail());
    EXPECT_FALSE(core::RememberedAccount::reLoginAccount()) << "no silent sign-in after a logout";
    EXPECT_EQ(login()->accountField()->text(), account) << "the account stays remembered";
    pumpUntil([this] { return requestsTo("SaveAppleToken") > 0; });
    EXPECT_EQ(requestsTo("SaveAppleToken"), 1u);
}

} // namespace
