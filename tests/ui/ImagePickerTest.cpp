#include "TouchFixture.h"

#include "base/system/Log.h"
#include "gfx/images/ImageContext.h"
#include "support/TempDir.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controllers/ImagePickerController.h"
#include "ui/controllers/ImagePickerListController.h"
#include "ui/controls/NavigationItem.h"
#include "ui/scroll/TableView.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace {

using namespace std::chrono_literals;

class PickRecorder : public ui::ImagePickerControllerDelegate {
public:
    std::optional<ui::ImagePickerMedia> picked;
    int cancels = 0;
    void imagePickerControllerDidFinishPickingMedia(
        ui::ImagePickerController& picker, const ui::ImagePickerMedia& media) override
    {
        picked = media;
        picker.dismissViewController(false);
    }
    void imagePickerControllerDidCancel(ui::ImagePickerController& picker) override
    {
        ++cancels;
        picker.dismissViewController(false);
    }
};

class ImagePicker : public test::TouchFixture {
protected:
    void SetUp() override
    {
        test::TouchFixture::SetUp();
        if (const char* home = std::getenv("LUMET_HOME"))
            savedHome = home;
        setenv("LUMET_HOME", dir.path().c_str(), 1);
        host = std::make_shared<ui::ViewController>();
        window->setRootViewController(host);
        recorder = std::make_shared<PickRecorder>();
        picker = std::make_shared<ui::ImagePickerController>();
        picker->setPickerDelegate(recorder);
    }
    void TearDown() override
    {
        if (savedHome)
            setenv("LUMET_HOME", savedHome->c_str(), 1);
        else
            unsetenv("LUMET_HOME");
        test::TouchFixture::TearDown();
    }

    // Writes a plain PNG picture of `size` pixels into the picture folder.
    std::filesystem::path writePicture(const std::string& name, gfx::Size size)
    {
        std::filesystem::create_directories(ui::ImagePickerController::pictureFolder());
        gfx::Context* context = gfx::ImageContext::begin(size, true, 1);
        context->setFillColor(gfx::Color::red());
        context->fillRect({ {}, size });
        auto image = gfx::ImageContext::image();
        gfx::ImageContext::end();
        auto path = ui::ImagePickerController::pictureFolder() / name;
        image->writePNG(path);
        return path;
    }

    test::TempDir dir;
    std::optional<std::string> savedHome;
    std::shared_ptr<ui::ViewController> host;
    std::shared_ptr<PickRecorder> recorder;
    std::shared_ptr<ui::ImagePickerController> picker;
};

TEST_F(ImagePicker, SourcesAreAvailableOnlyWithThePictureFolder)
{
    EXPECT_FALSE(ui::ImagePickerController::isSourceTypeAvailable(ui::ImagePickerSourceType::Camera));
    writePicture("a.png", { 4, 4 });
    EXPECT_TRUE(ui::ImagePickerController::isSourceTypeAvailable(ui::ImagePickerSourceType::Camera));
    EXPECT_TRUE(ui::ImagePickerController::isSourceTypeAvailable(ui::ImagePickerSourceType::PhotoLibrary));
}

TEST_F(ImagePicker, PickedFileReachesTheDelegateDecoded)
{
    auto file = writePicture("photo.png", { 40, 30 });
    picker->setAllowsEditing(true);
    host->presentViewController(picker, false);
    EXPECT_TRUE(picker->pickImageFile(file));
    ASSERT_TRUE(recorder->picked);
    ASSERT_TRUE(recorder->picked->originalImage);
    EXPECT_EQ(recorder->picked->originalImage->size(), (gfx::Size { 40, 30 }));
    EXPECT_EQ(recorder->picked->editedImage, recorder->picked->originalImage);
    EXPECT_EQ(recorder->picked->file, file);
    EXPECT_FALSE(host->presentedViewController()) << "the delegate closed the picker";
}

TEST_F(ImagePicker, FileThatIsNoImageIsRefusedQuietlyForTheDelegate)
{
    std::filesystem::create_directories(ui::ImagePickerController::pictureFolder());
    auto bogus = ui::ImagePickerController::pictureFolder() / "broken.png";
    std::ofstream(bogus) << "not a picture";
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(picker->pickImageFile(bogus));
    EXPECT_FALSE(picker->pickImageFile(dir.path() / "missing.jpg"));
    EXPECT_FALSE(recorder->picked);
    EXPECT_TRUE(capture.contains("cannot read"));
}

TEST_F(ImagePicker, ListOffersTheFolderImagesAndATapPicksOne)
{
    writePicture("b.png", { 8, 8 });
    writePicture("a.png", { 6, 6 });
    std::ofstream(ui::ImagePickerController::pictureFolder() / "notes.txt") << "skip me";
    host->presentViewController(picker, false);
    finger.wait(0s);
    auto list = std::dynamic_pointer_cast<ui::ImagePickerListController>(picker->topViewController());
    ASSERT_TRUE(list);
    ASSERT_EQ(list->files().size(), 2u);
    EXPECT_EQ(list->files()[0].filename(), "a.png");

    gfx::Rect row = list->tableView()->rectForRowAtIndexPath({ 0, 1 });
    finger.tap(list->tableView()->convertPointTo(row.center(), nullptr));
    ASSERT_TRUE(recorder->picked);
    EXPECT_EQ(recorder->picked->file.filename(), "b.png");
    EXPECT_FALSE(recorder->picked->editedImage);
}

TEST_F(ImagePicker, CancelButtonTellsTheDelegate)
{
    host->presentViewController(picker, false);
    auto cancel = picker->topViewController()->navigationItem()->rightBarButtonItem();
    ASSERT_TRUE(cancel);
    cancel->sendAction();
    EXPECT_EQ(recorder->cancels, 1);
    EXPECT_FALSE(host->presentedViewController());
}

} // namespace
