#include "settings/phonebook/EditPhoneBookVC.h"

#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/loop/MainThread.h"
#include "base/text/UTF8.h"
#include "core/helpers/PromptAlert.h"
#include "settings/phonebook/PhoneBookPhotos.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"
#include "ui/controls/TextField.h"
#include "ui/view/Window.h"

namespace settings {

namespace {

    constexpr double fieldX = 148;
    constexpr double fieldWidth = 162;
    constexpr double fieldHeight = 30;
    constexpr double captionOffset = 5;

} // namespace

void EditPhoneBookVC::prepare(std::string serialNumber, int64_t index, std::string name, std::string number)
{
    BASE_ASSERT_MAIN_THREAD();
    m_serialNumber = std::move(serialNumber);
    m_index = index;
    m_name = std::move(name);
    m_number = std::move(number);
    view();
    showEntry();
}

const std::shared_ptr<ui::Button>& EditPhoneBookVC::headImageView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_headImageView;
}

const std::shared_ptr<ui::TextField>& EditPhoneBookVC::nameTextField()
{
    view();
    return m_nameTextField;
}

const std::shared_ptr<ui::TextField>& EditPhoneBookVC::numberTextField()
{
    view();
    return m_numberTextField;
}

void EditPhoneBookVC::viewDidLoad()
{
    view()->setBackgroundColor(gfx::Color::white());
    buildDoneButton();
    buildHeadButton();
    buildCaption(95, "name");
    buildCaption(130, "number");
    m_nameTextField = buildField(90, "please_input_name");
    m_numberTextField = buildField(125, "please_input_telNum");
    showEntry();
}

void EditPhoneBookVC::buildDoneButton()
{
    auto done = std::make_shared<ui::BarButtonItem>(
        base::localized("done"), ui::BarButtonItemStyle::Plain, [weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            if (auto self = weak.lock())
                self->clickSave();
        });
    done->setTintColor(gfx::Color::white());
    navigationItem()->setRightBarButtonItem(done);
}

void EditPhoneBookVC::buildHeadButton()
{
    m_headImageView = std::make_shared<ui::Button>(gfx::Rect { 10, 80, 80, 80 });
    m_headImageView->setClipsToBounds(true);
    m_headImageView->layer()->setCornerRadius(40);
    m_headImageView->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->editHead();
        },
        ui::ControlEvent::TouchUpInside);
    view()->addSubview(m_headImageView);
}

void EditPhoneBookVC::buildCaption(double y, const char* key)
{
    auto caption = std::make_shared<ui::Label>(gfx::Rect { 93, y, 52, 20 });
    caption->setTextAlignment(gfx::TextAlignment::Right);
    caption->setFont(gfx::Font::system(13));
    caption->setTextColor(gfx::Color::gray());
    caption->setAdjustsFontSizeToFitWidth(true);
    caption->setText(base::LocalizedFormat::format("%@:", { base::localized(key) }));
    view()->addSubview(caption);
}

std::shared_ptr<ui::TextField> EditPhoneBookVC::buildField(double y, const char* placeholderKey)
{
    auto field = std::make_shared<ui::TextField>(gfx::Rect { fieldX, y, fieldWidth, fieldHeight });
    field->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    field->setFont(gfx::Font::system(13));
    field->setPlaceholder(base::localized(placeholderKey));
    field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    field->setDelegate(ui::weakFrom(this));
    field->addAction(
        [weak = ui::weakFrom(this)](ui::Control& control) {
            if (auto self = weak.lock())
                self->textFieldDidChange(static_cast<ui::TextField&>(control));
        },
        ui::ControlEvent::EditingChanged);
    view()->addSubview(field);
    return field;
}

// The fields are filled when the editor is prepared for a row, not at every appearance: coming back from
// the photo picker must keep what the user typed before.
void EditPhoneBookVC::showEntry()
{
    if (!m_nameTextField)
        return;
    m_nameTextField->setText(m_name);
    m_numberTextField->setText(m_number);
}

void EditPhoneBookVC::viewWillAppear(bool)
{
    m_headImageView->setBackgroundImage(
        PhoneBookPhotos::photoOrDefault(m_serialNumber, m_index), ui::ControlState::Normal);
}

void EditPhoneBookVC::clickSave()
{
    auto delegate = m_delegate.lock();
    if (!delegate || !delegate->saveEdit(m_nameTextField->text(), m_numberTextField->text(), m_index))
        return;
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void EditPhoneBookVC::editHead()
{
    auto sheet
        = std::make_shared<ui::ActionSheet>(std::nullopt, ui::weakFrom(this), base::localized("cancel"), std::nullopt,
            std::vector<std::string> { base::localized("take_phone"), base::localized("frome_picture_book") });
    sheet->showInView(view());
}

void EditPhoneBookVC::actionSheetClickedButtonAtIndex(ui::ActionSheet&, int buttonIndex)
{
    if (buttonIndex == TakePhotoButton)
        takePhoto();
    else if (buttonIndex == PhotoLibraryButton)
        LocalPhoto();
}

std::shared_ptr<ui::ImagePickerController> EditPhoneBookVC::makePicker(ui::ImagePickerSourceType source)
{
    auto picker = std::make_shared<ui::ImagePickerController>();
    picker->setSourceType(source);
    picker->setAllowsEditing(true);
    picker->setPickerDelegate(ui::weakFrom(this));
    return picker;
}

void EditPhoneBookVC::takePhoto()
{
    if (!ui::ImagePickerController::isSourceTypeAvailable(ui::ImagePickerSourceType::Camera)) {
        core::showPromptAlert("no_camera");
        return;
    }
    m_imagePickerContrller = makePicker(ui::ImagePickerSourceType::Camera);
    presentViewController(m_imagePickerContrller, true);
}

void EditPhoneBookVC::LocalPhoto() { presentViewController(makePicker(ui::ImagePickerSourceType::PhotoLibrary), true); }

void EditPhoneBookVC::imagePickerControllerDidFinishPickingMedia(
    ui::ImagePickerController& picker, const ui::ImagePickerMedia& media)
{
    // The whole picture, not the framed part: the list draws it round at its own size.
    if (media.originalImage)
        (void)PhoneBookPhotos::store(m_serialNumber, m_index, *media.originalImage);
    closePicker(picker);
}

void EditPhoneBookVC::imagePickerControllerDidCancel(ui::ImagePickerController& picker) { closePicker(picker); }

void EditPhoneBookVC::closePicker(ui::ImagePickerController& picker)
{
    picker.dismissViewController(true);
    m_imagePickerContrller.reset();
}

void EditPhoneBookVC::textFieldDidBeginEditing(ui::TextField& field)
{
    if (auto window = field.window(); window && !window->isKeyWindow())
        window->makeKeyAndVisible();
    field.setReturnKeyType(ui::ReturnKeyType::Done);
}

bool EditPhoneBookVC::textFieldShouldReturn(ui::TextField& field)
{
    field.resignFirstResponder();
    return true;
}

// Cuts at whole characters, never inside one, and leaves a composition alone until it is committed.
void EditPhoneBookVC::textFieldDidChange(ui::TextField& field)
{
    if (field.hasMarkedText())
        return;
    size_t limit = &field == m_nameTextField.get() ? NameLimit : NumberLimit;
    if (base::utf8::countCodePoints(field.text()) > limit)
        field.setText(std::string(base::utf8::prefix(field.text(), limit)));
}

} // namespace settings
