// Shared set-up of the settings centre's tests: signs in with the demo account (its watch of type 36 is the
// current device), can make another demo device the current one with its stored row, opens the settings
// centre as the drawer menu does, and finds its rows, switches and alert buttons.
#pragma once

#include "settings/personal/PersonalInfoVC.h"
#include "support/ScreenFixture.h"
#include "ui/controls/Switch.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"
#include "json/JSONDecoder.h"

#include <algorithm>

namespace test {

class SettingsTest : public ScreenTest {
protected:
    // Signs in and opens the settings centre from the menu's settings button, its detail read. The home screen's
    // detail comes first: once another device is current the home screen drops it, and the shared record stays
    // empty.
    void openSettings(const char* serialNumber = watch, std::optional<int64_t> storedType = 36)
    {
        launchAndSignIn();
        ASSERT_TRUE(homeDetailCame());
        makeCurrent(serialNumber, storedType);
        menu()->openSettings();
        ASSERT_TRUE(pumpUntil([this] { return settings() && !settings()->isLoadingDetail(); }));
        pass(1);
    }

    // Makes the device current: its serial number, and its stored row of that type (none for nothing).
    void makeCurrent(const char* serialNumber, std::optional<int64_t> storedType)
    {
        core::Singleton::shared().setLastSerialnumber(serialNumber);
        ASSERT_TRUE(core::DBManager::deleteAllMobileDevice());
        if (!storedType)
            return;
        core::MobileDeviceAndLocation row;
        row.serialNumber = serialNumber;
        row.DeviceName = "Stored name";
        row.deviceTypeID = *storedType;
        ASSERT_TRUE(core::DBManager::saveOrUpdataMobileDeviceDB(row));
    }

    std::shared_ptr<settings::PersonalInfoVC> settings() const
    {
        return std::dynamic_pointer_cast<settings::PersonalInfoVC>(centreRoot());
    }

    // The row's cell (the table scrolled so that it shows).
    std::shared_ptr<ui::TableViewCell> cellOf(settings::PersonalInfoRow row)
    {
        const auto& table = settings()->tableView();
        for (int section = 0; section < settings::PersonalInfoRows::sectionCount; ++section) {
            auto rows = settings()->rowsOfSection(section);
            auto found = std::find(rows.begin(), rows.end(), row);
            if (found == rows.end())
                continue;
            ui::IndexPath path { section, static_cast<int>(found - rows.begin()) };
            gfx::Rect rect = table->rectForRowAtIndexPath(path);
            table->setContentOffset({ 0,
                std::max(0.0, std::min(rect.minY() - 60, table->contentSize().height - table->bounds().height())) });
            table->layoutIfNeeded();
            return table->cellForRowAtIndexPath(path);
        }
        return nullptr;
    }
    void tapRow(settings::PersonalInfoRow row)
    {
        auto cell = cellOf(row);
        ASSERT_TRUE(cell);
        tap(cell);
        clock->advance(1s);
    }
    std::shared_ptr<ui::Switch> switchOf(settings::PersonalInfoRow row)
    {
        auto cell = cellOf(row);
        if (!cell)
            return nullptr;
        for (const auto& view : cell->contentView()->subviews())
            if (auto control = std::dynamic_pointer_cast<ui::Switch>(view))
                return control;
        return nullptr;
    }
    // Taps the switch and waits for what it sent to be answered.
    void flip(const std::shared_ptr<ui::Switch>& control)
    {
        ASSERT_TRUE(control);
        tap(control);
        ASSERT_TRUE(pumpUntil([this] { return settings()->commandsInFlight() == 0; }));
    }
    void waitForCommands()
    {
        ASSERT_TRUE(pumpUntil([this] { return settings()->commandsInFlight() == 0; }));
    }

    // Taps the alert's button of that index.
    void tapAlertButton(int index)
    {
        auto alert = shownAlert();
        ASSERT_TRUE(alert);
        tap(alert->buttonAtIndex(index));
        clock->advance(1s);
    }
    static std::optional<std::string> alertTitle()
    {
        auto alert = shownAlert();
        return alert ? alert->title() : std::nullopt;
    }

    // The JSON body of the last request to the method.
    base::DictionaryRef lastBody(const std::string& method)
    {
        auto requests = service.requestLog().requestsTo(method);
        if (requests.empty())
            return nullptr;
        auto body = json::objectFromJSONString(requests.back().body);
        return body ? body->dictionary() : nullptr;
    }

    // The service's stored detail configuration of the device.
    base::DictionaryRef storedConfig(const char* serialNumber)
    {
        auto detail = service.store().document(serialNumber, tracking_service::ServiceStore::DetailDocument);
        const base::Value* config
            = detail && detail->dictionary() ? detail->dictionary()->objectForKey("LumetDevice_Config") : nullptr;
        return config ? config->dictionary() : nullptr;
    }

    static std::string localized(const char* key) { return base::localized(key); }
};

} // namespace test
