// Shared set-up of the attendance screen tests: signed in to the local service as the demo account with the
// demo watch as the current device, helpers that open the attendance screen from the menu or the home
// screen, push its settings screen and open the alarm list, and readers of what the service received and
// stored.
#pragma once

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/text/Localization.h"
#include "base/time/ServiceDateText.h"
#include "childcare/alarms/AlarmClockDetailViewController.h"
#include "childcare/alarms/AlarmClockTableViewCell.h"
#include "childcare/attendance/AttendanceSettingVC.h"
#include "childcare/attendance/AttendanceVC.h"
#include "kit/folder/FolderTableView.h"
#include "shell/screens/ScreenDirectory.h"
#include "support/ScreenFixture.h"
#include "tracking-service/Fault.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/Switch.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"
#include "json/JSONDecoder.h"

#include <gtest/gtest.h>

namespace test {

class AttendanceTest : public ScreenTest {
protected:
    using AttendanceVC = childcare::AttendanceVC;
    using AttendanceSettingVC = childcare::AttendanceSettingVC;
    using Fault = tracking_service::Fault;
    using ServiceStore = tracking_service::ServiceStore;

    // Every way a reply can go wrong, by name.
    static std::vector<std::pair<std::string, Fault>> replyFaults()
    {
        return { { "status 500", Fault::status(500) }, { "dropped connection", Fault::dropConnection() },
            { "not JSON", Fault::nonJsonBody() }, { "no payload", Fault::noPayload() },
            { "null payload", Fault::nullPayload() }, { "number payload", Fault::payload(base::Value(1)) },
            { "refusal", Fault::refusal() } };
    }

    void SetUp() override
    {
        ScreenTest::SetUp();
        launchAndSignIn();
    }

    ServiceStore& store() { return service.store(); }

    // Opens the attendance screen from the drawer menu and waits for its first list.
    std::shared_ptr<AttendanceVC> openFromMenu()
    {
        showMenu();
        return openMenuRow();
    }
    // Opens the drawer and waits for the menu's device record.
    void showMenu()
    {
        container()->openDrawerSide(kit::DrawerSide::Left, true);
        pumpUntil([this] { return menu()->device() && !container()->isAnimatingDrawer() && networkIdle(); });
    }
    std::shared_ptr<AttendanceVC> openMenuRow()
    {
        size_t before = requestsTo("LumetSearchCOW");
        menu()->openRowTitled(base::localized("attendance"));
        return waitForList(before);
    }
    // Pushes the attendance screen from the home screen's right-hand button, once the home screen's device
    // detail came, and waits for its first list.
    std::shared_ptr<AttendanceVC> openFromHome()
    {
        if (!homeDetailCame())
            return nullptr;
        size_t before = requestsTo("LumetSearchCOW");
        home()->pushScreen(shell::ScreenDirectory::Attendance);
        return waitForList(before);
    }
    // Waits for a list request after the `before`th and its reply.
    std::shared_ptr<AttendanceVC> waitForList(size_t before)
    {
        std::shared_ptr<AttendanceVC> screen;
        pumpUntil([&] {
            screen = topAttendanceScreen();
            return screen && requestsTo("LumetSearchCOW") > before && !screen->isReloading();
        });
        pass(1);
        return screen;
    }
    std::shared_ptr<AttendanceVC> topAttendanceScreen()
    {
        auto navigation = container()
            ? std::dynamic_pointer_cast<ui::NavigationController>(container()->centerViewController())
            : nullptr;
        if (!navigation)
            return nullptr;
        for (const auto& controller : navigation->viewControllers())
            if (auto screen = std::dynamic_pointer_cast<AttendanceVC>(controller))
                return screen;
        return nullptr;
    }

    // Pushes the settings screen and waits until the alarm clocks have been asked for and answered.
    std::shared_ptr<AttendanceSettingVC> openSettings(const std::shared_ptr<AttendanceVC>& screen)
    {
        size_t before = requestsTo("LumetGetalarmclock");
        screen->clickRigthbtn();
        auto settings = screen->attendanceSettingVC();
        pumpUntil([&] { return requestsTo("LumetGetalarmclock") > before && networkIdle(); });
        pass(1);
        return settings;
    }

    // The bodies the service received for a method, oldest first.
    std::vector<std::string> bodiesOf(const std::string& method)
    {
        std::vector<std::string> bodies;
        for (const auto& request : service.requestLog().requestsTo(method))
            bodies.push_back(request.body);
        return bodies;
    }
    std::string lastBody(const std::string& method)
    {
        auto bodies = bodiesOf(method);
        return bodies.empty() ? std::string() : bodies.back();
    }

    // A field of the watch's stored configuration.
    std::optional<base::Value> storedConfigField(const char* key)
    {
        auto detail = store().document(watch, ServiceStore::DetailDocument);
        const base::Value* config
            = detail && detail->dictionary() ? detail->dictionary()->objectForKey("LumetDevice_Config") : nullptr;
        const base::Value* field = config && config->dictionary() ? config->dictionary()->objectForKey(key) : nullptr;
        return field ? std::optional<base::Value>(*field) : std::nullopt;
    }

    static std::string setting(const char* key)
    {
        auto value = base::UserDefaults::standard().objectForKey(key);
        const std::string* text = value ? value->string() : nullptr;
        return text ? *text : std::string("<none>");
    }

    // Waits for the reply to the latest call.
    void settle()
    {
        pumpUntil([] { return networkIdle(); });
        pass(0.5);
    }
};

} // namespace test
