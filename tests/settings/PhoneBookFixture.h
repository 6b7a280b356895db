// Shared set-up of the phone-book tests: the screen tests' fixture, signed in to the demo account whose
// current device is the watch, with helpers that open the phone book from the drawer menu, open the entry
// editor on a row, read what the service received and stored, and offer the sample picture to the photo
// pickers. The photos, the offered picture and the refresh header's date are removed after each test.
#pragma once

#include "support/ScreenFixture.h"

#include "base/system/Files.h"
#include "base/system/Paths.h"
#include "kit/refresh/ScrollViewRefresh.h"
#include "settings/phonebook/EditPhoneBookVC.h"
#include "settings/phonebook/PhoneBookPhotos.h"
#include "settings/phonebook/PhoneBookVC.h"
#include "ui/alerts/ActionSheet.h"
#include "ui/controllers/ImagePickerController.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"
#include "json/JSONDecoder.h"

#include <algorithm>
#include <vector>

namespace test {

class PhoneBookTest : public ScreenTest {
protected:
    static constexpr const char* LoadMethod = "LumetGetPhoneBook_V2";
    static constexpr const char* SaveMethod = "LumetSetPhoneBook_V2";

    void TearDown() override
    {
        std::error_code ignored;
        for (const auto& file : std::filesystem::directory_iterator(base::Paths::documents(), ignored)) {
            if (file.path().filename().string().starts_with("phoneBook_"))
                std::filesystem::remove(file.path(), ignored);
        }
        std::filesystem::remove_all(ui::ImagePickerController::pictureFolder(), ignored);
        base::UserDefaults::standard().removeObjectForKey(settings::PhoneBookVC::RefreshDateKey);
        ScreenTest::TearDown();
    }

    std::shared_ptr<settings::PhoneBookVC> book() const
    {
        return std::dynamic_pointer_cast<settings::PhoneBookVC>(centreRoot());
    }
    std::shared_ptr<settings::EditPhoneBookVC> editor() const { return book() ? book()->editor() : nullptr; }

    // A new phone book from the menu's row, once its load has been answered.
    void openBook()
    {
        auto before = book();
        container()->openDrawerSide(kit::DrawerSide::Left, true);
        ASSERT_TRUE(pumpUntil([this] { return menu()->device() && !container()->isAnimatingDrawer(); }));
        const auto& functions = menu()->functions();
        auto row = std::find(functions.begin(), functions.end(), "phone_book") - functions.begin();
        ASSERT_LT(row, static_cast<long>(functions.size()));
        auto table = menu()->tableView();
        tap(table->cellForRowAtIndexPath({ 0, static_cast<int>(row) }));
        ASSERT_TRUE(pumpUntil([&] {
            auto opened = book();
            return opened && opened != before && !opened->isLoading() && !container()->isAnimatingDrawer()
                && container()->openSide() == kit::DrawerSide::None;
        }));
    }
    void signInAndOpenBook()
    {
        launchAndSignIn();
        openBook();
    }

    // The row's cell, the table scrolled (without animation) so that the row is on screen.
    std::shared_ptr<ui::TableViewCell> cell(int row)
    {
        auto table = book()->tableView();
        double top = -table->contentInset().top;
        double lowest = std::max(top, table->contentSize().height - table->bounds().height());
        double rowTop = table->rectForRowAtIndexPath({ 0, row }).minY() + top;
        table->setContentOffset({ 0, std::clamp(rowTop, top, lowest) });
        table->layoutIfNeeded();
        return table->cellForRowAtIndexPath({ 0, row });
    }
    std::string title(int row) { return cell(row)->textLabel()->text(); }
    std::string detail(int row) { return cell(row)->detailTextLabel()->text(); }

    // Taps the row, once the screen on top has slid in (a touch during the slide is not taken), and waits
    // until its editor has slid in.
    void openEditor(int row)
    {
        ASSERT_TRUE(pumpUntil([this] {
            auto top = centreRoot()->navigationController()->topViewController();
            return top->appearanceState() == ui::ViewController::AppearanceState::Appeared;
        }));
        tap(cell(row));
        ASSERT_TRUE(
            pumpUntil([this] { return editor()->appearanceState() == ui::ViewController::AppearanceState::Appeared; }));
    }
    // Types into a field as the keyboard does.
    void type(const std::shared_ptr<ui::TextField>& field, const std::string& text)
    {
        tap(field);
        field->insertText(text);
    }
    // "done", then the outcome's alert; its message ("" when none came).
    std::string saveAndTakeAlert()
    {
        editor()->clickSave();
        pumpUntil([] { return shownAlert() != nullptr; });
        return takeAlertMessage();
    }

    void storeBook(const base::Value& book)
    {
        service.store().setDocument(watch, tracking_service::ServiceStore::PhoneBookDocument, book);
    }
    std::vector<std::string> storedList(const char* key)
    {
        auto book = service.store().document(watch, tracking_service::ServiceStore::PhoneBookDocument);
        const base::Value* list = book && book->dictionary() ? book->dictionary()->objectForKey(key) : nullptr;
        return texts(list);
    }
    // The "entity" of the last save the service received.
    base::DictionaryRef lastSentEntity()
    {
        auto saves = service.requestLog().requestsTo(SaveMethod);
        if (saves.empty())
            return nullptr;
        auto body = json::objectFromJSONString(saves.back().body);
        const base::Value* entity = body && body->dictionary() ? body->dictionary()->objectForKey("entity") : nullptr;
        return entity ? entity->dictionary() : nullptr;
    }
    static std::vector<std::string> texts(const base::Value* list)
    {
        std::vector<std::string> result;
        if (list && list->array()) {
            for (const base::Value& entry : *list->array())
                result.push_back(entry.string() ? *entry.string() : "<not a text>");
        }
        return result;
    }

    // The sample picture in the folder both photo sources read.
    std::filesystem::path offerPicture()
    {
        auto file = ui::ImagePickerController::pictureFolder() / "sample.png";
        std::filesystem::create_directories(file.parent_path());
        EXPECT_TRUE(gfx::Image::named("phonebook_sample")->writePNG(file));
        return file;
    }
    static std::shared_ptr<ui::ActionSheet> shownSheet()
    {
        for (const auto& window : ui::Application::shared().windows()) {
            auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            if (auto sheet = alertWindow ? std::dynamic_pointer_cast<ui::ActionSheet>(alertWindow->panel()) : nullptr)
                return sheet;
        }
        return nullptr;
    }
    // Taps the photo button, then the sheet's button; the picker that comes up, if any.
    std::shared_ptr<ui::ImagePickerController> openPicker(int sheetButton)
    {
        tap(editor()->headImageView());
        auto sheet = shownSheet();
        EXPECT_TRUE(sheet);
        if (!sheet)
            return nullptr;
        tap(sheet->buttonAtIndex(sheetButton));
        pass(1);
        auto picker = std::dynamic_pointer_cast<ui::ImagePickerController>(editor()->presentedViewController());
        if (picker)
            pumpUntil([&] { return picker->appearanceState() == ui::ViewController::AppearanceState::Appeared; });
        return picker;
    }
    // Picks the file and waits until the editor shows again.
    void pick(const std::shared_ptr<ui::ImagePickerController>& picker, const std::filesystem::path& file)
    {
        ASSERT_TRUE(picker->pickImageFile(file));
        ASSERT_TRUE(pumpUntil([this] {
            return !editor()->presentedViewController()
                && editor()->appearanceState() == ui::ViewController::AppearanceState::Appeared;
        }));
    }
};

} // namespace test
