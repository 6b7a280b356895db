// ui::ImagePickerControllerDelegate and ui::ImagePickerMedia: what an image picker tells its delegate (kept
// weakly): the picked image, or that the user cancelled. The delegate closes the picker (dismisses it).
// Main thread.
//
//   void imagePickerControllerDidFinishPickingMedia(ui::ImagePickerController& picker,
//       const ui::ImagePickerMedia& media) override
//   {
//       m_photo = media.originalImage;
//       picker.dismissViewController(true);
//   }
#pragma once

#include "gfx/images/Image.h"

#include <filesystem>
#include <memory>

namespace ui {

class ImagePickerController;

struct ImagePickerMedia {
    std::shared_ptr<gfx::Image> originalImage;
    // The picture as the user framed it when editing is allowed; the picker offers no framing, so it is the
    // original image then, and empty otherwise.
    std::shared_ptr<gfx::Image> editedImage;
    std::filesystem::path file;
};

class ImagePickerControllerDelegate {
public:
    virtual ~ImagePickerControllerDelegate() = default;
    virtual void imagePickerControllerDidFinishPickingMedia(ImagePickerController&, const ImagePickerMedia&) { }
    virtual void imagePickerControllerDidCancel(ImagePickerController&) { }
};

} // namespace ui
