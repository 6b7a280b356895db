// ui::ImagePickerController: the stand-in for the phone's camera and photo library. Whatever the source, it
// offers the PNG and JPEG images of one folder under the data root, "Pictures" (a source is available when
// that folder exists), in a list under a navigation bar with a Cancel button; choosing one decodes it and
// hands it to the delegate. Tests pick a file directly with pickImageFile. It is presented like any other
// controller and the delegate dismisses it. Main thread; made with std::make_shared.
//
//   if (!ui::ImagePickerController::isSourceTypeAvailable(ui::ImagePickerSourceType::Camera)) return;
//   auto picker = std::make_shared<ui::ImagePickerController>();
//   picker->setSourceType(ui::ImagePickerSourceType::Camera);
//   picker->setPickerDelegate(weak_from_this());
//   presentViewController(picker, true);
#pragma once

#include "ui/controllers/ImagePickerControllerDelegate.h"
#include "ui/controllers/NavigationController.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace ui {

enum class ImagePickerSourceType { PhotoLibrary = 0, Camera = 1, SavedPhotosAlbum = 2 };

class ImagePickerController : public NavigationController {
public:
    ImagePickerController();

    // The folder whose images every source offers: <data root>/Pictures.
    static std::filesystem::path pictureFolder();
    static bool isSourceTypeAvailable(ImagePickerSourceType source);

    ImagePickerSourceType sourceType() const { return m_sourceType; }
    void setSourceType(ImagePickerSourceType source) { m_sourceType = source; }
    bool allowsEditing() const { return m_allowsEditing; }
    void setAllowsEditing(bool allows) { m_allowsEditing = allows; }
    std::shared_ptr<ImagePickerControllerDelegate> pickerDelegate() const { return m_delegate.lock(); }
    void setPickerDelegate(std::weak_ptr<ImagePickerControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    // The images the folder offers, sorted by name.
    static std::vector<std::filesystem::path> availableImageFiles();

    // Decodes `file` and tells the delegate; a file that is no readable image is refused (logged) and the
    // delegate hears nothing. Returns whether the image was handed over.
    [[nodiscard]] bool pickImageFile(const std::filesystem::path& file);
    // Tells the delegate that the user cancelled.
    void cancel();

    void loadView() override;

private:
    ImagePickerSourceType m_sourceType { ImagePickerSourceType::PhotoLibrary };
    bool m_allowsEditing { false };
    std::weak_ptr<ImagePickerControllerDelegate> m_delegate;
};

} // namespace ui
