#include "ui/controllers/ImagePickerController.h"

#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/system/Paths.h"
#include "ui/controllers/ImagePickerListController.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace ui {

namespace {

    bool hasImageExtension(const std::filesystem::path& file)
    {
        std::string extension = file.extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
            [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return extension == ".png" || extension == ".jpg" || extension == ".jpeg";
    }

} // namespace

ImagePickerController::ImagePickerController() = default;

std::filesystem::path ImagePickerController::pictureFolder() { return base::Paths::dataRoot() / "Pictures"; }

bool ImagePickerController::isSourceTypeAvailable(ImagePickerSourceType)
{
    BASE_ASSERT_MAIN_THREAD();
    std::error_code error;
    return std::filesystem::is_directory(pictureFolder(), error);
}

std::vector<std::filesystem::path> ImagePickerController::availableImageFiles()
{
    BASE_ASSERT_MAIN_THREAD();
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(pictureFolder(), error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error) && hasImageExtension(it->path()))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void ImagePickerController::loadView()
{
    BASE_ASSERT_MAIN_THREAD();
    if (viewControllers().empty()) {
        auto self = std::static_pointer_cast<ImagePickerController>(sharedFrom<ViewController>(this));
        setViewControllers({ std::make_shared<ImagePickerListController>(self) }, false);
    }
    NavigationController::loadView();
}

bool ImagePickerController::pickImageFile(const std::filesystem::path& file)
{
    BASE_ASSERT_MAIN_THREAD();
    std::error_code error;
    auto image = std::filesystem::is_regular_file(file, error) ? gfx::Image::fromFile(file) : nullptr;
    if (!image) {
        base::log("ui: the image picker cannot read " + file.string());
        return false;
    }
    ImagePickerMedia media { image, m_allowsEditing ? image : nullptr, file };
    auto keepAlive = sharedFrom<ViewController>(this);
    if (auto delegate = m_delegate.lock())
        delegate->imagePickerControllerDidFinishPickingMedia(*this, media);
    return true;
}

void ImagePickerController::cancel()
{
    BASE_ASSERT_MAIN_THREAD();
    auto keepAlive = sharedFrom<ViewController>(this);
    if (auto delegate = m_delegate.lock())
        delegate->imagePickerControllerDidCancel(*this);
}

} // namespace ui
