// settings::EditPhoneBookVC: the editor of one entry of the watch phone book: a round head-photo button, the
// contact's name and number. The phone book prepares it for a tapped row (filling both fields) and pushes
// it; "done" hands name, number and index to the delegate, which sends the book, and closes the editor once
// the delegate has taken the entry. The head photo is stored on the phone as soon as it is picked (camera or
// photo library, both offered by the platform's image picker), whether or not the entry is then saved. A
// name keeps at most 8 characters and a number 16, cut once no input method is composing. Main thread; made
// with std::make_shared.
//
//   auto editor = std::make_shared<settings::EditPhoneBookVC>();
//   editor->setDelegate(weak_from_this());
//   editor->prepare(serial, 3, "Grandma", "13700137000");
//   navigationController()->pushViewController(editor, true);
#pragma once

#include "settings/phonebook/EditPhoneBookVCDelegate.h"
#include "ui/alerts/ActionSheet.h"
#include "ui/controllers/ImagePickerController.h"
#include "ui/controls/TextFieldDelegate.h"
#include "ui/controllers/ViewController.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui {
class Button;
class TextField;
}

namespace settings {

class EditPhoneBookVC : public ui::ViewController,
                        public ui::TextFieldDelegate,
                        public ui::ActionSheetDelegate,
                        public ui::ImagePickerControllerDelegate {
public:
    // Characters (code points) a name and a number keep.
    static constexpr size_t NameLimit = 8;
    static constexpr size_t NumberLimit = 16;
    static constexpr int TakePhotoButton = 0;
    static constexpr int PhotoLibraryButton = 1;

    std::weak_ptr<EditPhoneBookVCDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<EditPhoneBookVCDelegate> delegate) { m_delegate = std::move(delegate); }

    // Shows the entry `index` of the watch `serialNumber`: both fields get the given texts.
    void prepare(std::string serialNumber, int64_t index, std::string name, std::string number);
    const std::string& serialNumber() const { return m_serialNumber; }
    int64_t index() const { return m_index; }
    const std::string& name() const { return m_name; }
    const std::string& number() const { return m_number; }

    const std::shared_ptr<ui::Button>& headImageView();
    const std::shared_ptr<ui::TextField>& nameTextField();
    const std::shared_ptr<ui::TextField>& numberTextField();
    // The camera picker while it is shown.
    const std::shared_ptr<ui::ImagePickerController>& imagePickerContrller() const { return m_imagePickerContrller; }

    // The "done" button's action.
    void clickSave();
    // The photo button's action: the sheet of the two photo sources.
    void editHead();
    // Without a camera the user is told so and nothing is shown.
    void takePhoto();
    void LocalPhoto();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    void actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int buttonIndex) override;
    void imagePickerControllerDidFinishPickingMedia(
        ui::ImagePickerController& picker, const ui::ImagePickerMedia& media) override;
    void imagePickerControllerDidCancel(ui::ImagePickerController& picker) override;

private:
    void buildDoneButton();
    void buildHeadButton();
    void buildCaption(double y, const char* key);
    std::shared_ptr<ui::TextField> buildField(double y, const char* placeholderKey);
    void showEntry();
    void textFieldDidChange(ui::TextField& field);
    std::shared_ptr<ui::ImagePickerController> makePicker(ui::ImagePickerSourceType source);
    void closePicker(ui::ImagePickerController& picker);

    std::weak_ptr<EditPhoneBookVCDelegate> m_delegate;
    std::string m_serialNumber;
    int64_t m_index { 0 };
    std::string m_name;
    std::string m_number;
    std::shared_ptr<ui::Button> m_headImageView;
    std::shared_ptr<ui::TextField> m_nameTextField;
    std::shared_ptr<ui::TextField> m_numberTextField;
    std::shared_ptr<ui::ImagePickerController> m_imagePickerContrller;
};

} // namespace settings
