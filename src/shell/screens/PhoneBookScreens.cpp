#include "shell/screens/FeatureScreens.h"

#include "base/system/Log.h"
#include "settings/phonebook/EditPhoneBookVC.h"
#include "settings/phonebook/PhoneBookVC.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/alerts/ActionSheet.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"
#include "ui/controllers/ImagePickerController.h"
#include "ui/controllers/NavigationController.h"

#include <filesystem>
#include <system_error>

namespace shell {

namespace {

    constexpr int EditedRow = 1;

    std::shared_ptr<settings::PhoneBookVC> phoneBook()
    {
        return std::dynamic_pointer_cast<settings::PhoneBookVC>(TourContext::centreRoot());
    }

    std::shared_ptr<settings::EditPhoneBookVC> shownEditor()
    {
        auto book = phoneBook();
        auto editor = book ? book->editor() : nullptr;
        return editor && TourContext::topOfCentre() == editor
                && editor->appearanceState() == ui::ViewController::AppearanceState::Appeared
            ? editor
            : nullptr;
    }

    std::shared_ptr<ui::ActionSheet> shownSheet()
    {
        for (const auto& window : ui::Application::shared().windows()) {
            auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            if (auto sheet = alertWindow ? std::dynamic_pointer_cast<ui::ActionSheet>(alertWindow->panel()) : nullptr)
                return sheet;
        }
        return nullptr;
    }

    std::shared_ptr<ui::ImagePickerController> shownPicker()
    {
        auto book = phoneBook();
        auto editor = book ? book->editor() : nullptr;
        auto picker = editor ? std::dynamic_pointer_cast<ui::ImagePickerController>(editor->presentedViewController())
                             : nullptr;
        return picker && picker->appearanceState() == ui::ViewController::AppearanceState::Appeared ? picker : nullptr;
    }

    // The photo pickers offer the pictures of one folder: the tour puts the sample picture there.
    void offerSamplePicture()
    {
        auto file = ui::ImagePickerController::pictureFolder() / "phonebook_sample.png";
        std::error_code error;
        if (std::filesystem::exists(file, error))
            return;
        std::filesystem::create_directories(file.parent_path(), error);
        auto sample = gfx::Image::named("phonebook_sample");
        if (!sample || !sample->writePNG(file))
            base::log("tour: the sample picture could not be offered");
    }

    void addTourSteps()
    {
        auto& steps = TourSteps::shared();
        steps.add({ "phone-book",
            [] {
                offerSamplePicture();
                TourContext::popToCentreRoot();
                TourContext::openMenuRow(ScreenDirectory::PhoneBook);
            },
            [] {
                auto book = phoneBook();
                return book && book->isLoaded() && TourContext::networkIdle()
                    && TourContext::drawerAtRest(kit::DrawerSide::None);
            },
            {} });
        steps.add({ "phone-book-editor",
            [] {
                if (auto book = phoneBook())
                    book->didSelectRowAtIndexPath(*book->tableView(), { 0, EditedRow });
            },
            [] { return shownEditor() != nullptr; }, {} });
        steps.add({ "phone-book-photo",
            [] {
                if (auto editor = shownEditor())
                    editor->editHead();
            },
            [] { return shownSheet() != nullptr; },
            [] {
                if (auto sheet = shownSheet())
                    sheet->dismissWithClickedButtonIndex(sheet->cancelButtonIndex(), false);
            } });
        steps.add({ "phone-book-picker",
            [] {
                if (auto editor = shownEditor())
                    editor->LocalPhoto();
            },
            [] { return shownPicker() != nullptr; },
            [] {
                if (auto picker = shownPicker())
                    picker->cancel();
                TourContext::popToCentreRoot();
            } });
    }

} // namespace

void registerPhoneBookScreens()
{
    ScreenDirectory::shared().add(ScreenDirectory::PhoneBook,
        [](const std::shared_ptr<core::Device>&, ScreenDirectory::Opening) { return settings::PhoneBookVC::make(); });
    addTourSteps();
}

} // namespace shell
