// The phone-book entry editor: its layout, the length limits of name and number (whole characters, never
// while an input method composes), the head photo from the two pickers, and what "done" hands back.
#include "PhoneBookFixture.h"

#include "ui/controls/BarButtonItem.h"
#include "ui/controls/NavigationItem.h"

namespace {

class PhoneBookEditor : public test::PhoneBookTest { };

TEST_F(PhoneBookEditor, ShowsTheRowsEntryBesideARoundPhotoButton)
{
    signInAndOpenBook();
    openEditor(1);
    auto screen = editor();
    EXPECT_EQ(screen->index(), 1);
    EXPECT_EQ(screen->nameTextField()->text(), "Mum");
    EXPECT_EQ(screen->numberTextField()->text(), "13800138002");
    EXPECT_EQ(screen->headImageView()->frame(), (gfx::Rect { 10, 80, 80, 80 }));
    EXPECT_EQ(screen->nameTextField()->frame(), (gfx::Rect { 148, 90, 162, 30 }));
    EXPECT_EQ(screen->numberTextField()->frame(), (gfx::Rect { 148, 125, 162, 30 }));
    EXPECT_EQ(screen->nameTextField()->placeholder(), base::localized("please_input_name"));
    EXPECT_EQ(screen->navigationItem()->rightBarButtonItem()->title(), base::localized("done"));
    EXPECT_TRUE(textInRegion(base::localized("name") + ":", { 93, 95, 52, 20 }));

    // The photo button: the default head, cut to a circle of 80 points.
    auto button = screen->headImageView();
    EXPECT_TRUE(
        test::ScreenProbe::near(colourAt(button, { 40, 6 }), gfx::Color::rgb(142 / 255.0, 178 / 255.0, 214 / 255.0)));
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(button, { 3, 3 }), gfx::Color::white()));
}

TEST_F(PhoneBookEditor, NameAndNumberAreCutAtWholeCharactersOnceComposingEnds)
{
    signInAndOpenBook();
    openEditor(3);
    auto name = editor()->nameTextField();
    type(name, "abcdefg😀xyz");
    EXPECT_EQ(name->text(), "abcdefg😀") << "eight characters, the emoji kept whole";

    auto number = editor()->numberTextField();
    type(number, "012345678901234😀56789");
    EXPECT_EQ(number->text(), "012345678901234😀");

    // A composition may run past the limit; the cut comes when it is committed.
    name->setText("");
    tap(name);
    name->insertText("abcdef");
    name->setMarkedText("ni hao ma");
    EXPECT_EQ(name->text(), "abcdefni hao ma");
    name->unmarkText();
    EXPECT_EQ(name->text(), "abcdefni");

    editor()->clickSave();
    pumpUntil([] { return shownAlert() != nullptr; });
    takeAlertMessage();
    EXPECT_EQ(storedList("Name")[3], "abcdefni");
    EXPECT_EQ(storedList("PL")[3], "012345678901234😀");
}

TEST_F(PhoneBookEditor, TextTypedBeforePickingAPhotoSurvivesThePick)
{
    auto picture = offerPicture();
    signInAndOpenBook();
    openEditor(0);
    editor()->nameTextField()->setText("Papa");
    editor()->numberTextField()->setText("111");
    auto picker = openPicker(settings::EditPhoneBookVC::TakePhotoButton);
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->sourceType(), ui::ImagePickerSourceType::Camera);
    EXPECT_TRUE(picker->allowsEditing());
    pick(picker, picture);

    EXPECT_EQ(editor()->nameTextField()->text(), "Papa");
    EXPECT_EQ(editor()->numberTextField()->text(), "111");
    gfx::Color sky = gfx::Color::rgb(120 / 255.0, 190 / 255.0, 240 / 255.0);
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(editor()->headImageView(), { 40, 6 }), sky, 6.0 / 255));
    EXPECT_EQ(requestsTo(SaveMethod), 0u) << "picking a photo sends nothing";

    EXPECT_EQ(saveAndTakeAlert(), base::localized("setting_success"));
    EXPECT_EQ(storedList("Name")[0], "Papa");
}

TEST_F(PhoneBookEditor, APickedPhotoReplacesOnlyItsOwnEntrysFile)
{
    auto picture = offerPicture();
    signInAndOpenBook();
    auto other = base::Paths::documents() / "phoneBook_LW3600000001_5.png";
    auto own = base::Paths::documents() / "phoneBook_LW3600000001_4.png";
    ASSERT_TRUE(base::Files::writeAtomically(other, "five"));
    ASSERT_TRUE(base::Files::writeAtomically(own, "old"));

    openEditor(4);
    pick(openPicker(settings::EditPhoneBookVC::PhotoLibraryButton), picture);
    auto stored = gfx::Image::fromFile(own);
    ASSERT_TRUE(stored) << "the picked picture, as PNG";
    EXPECT_EQ(stored->pixelWidth(), gfx::Image::fromFile(picture)->pixelWidth());
    EXPECT_EQ(base::Files::read(other), "five");
}

TEST_F(PhoneBookEditor, ReturnAnswersThePhotoSheetAsItsEmphasisedCancelDoes)
{
    signInAndOpenBook();
    openEditor(6);
    tap(editor()->headImageView());
    ASSERT_TRUE(shownSheet());
    EXPECT_TRUE(test::returnAnswersTheEmphasisedButton([this] { pressReturn(); }));
    EXPECT_FALSE(shownSheet());
    EXPECT_FALSE(editor()->presentedViewController());
    EXPECT_FALSE(shownAlert()) << "no notice of a missing camera either";
}

TEST_F(PhoneBookEditor, WithoutPicturesTheCameraSaysSoAndDoneHandsBackEmptyTexts)
{
    signInAndOpenBook();
    openEditor(6);
    EXPECT_FALSE(openPicker(settings::EditPhoneBookVC::TakePhotoButton));
    EXPECT_FALSE(shownSheet()) << "the sheet closed";
    ASSERT_TRUE(shownAlert());
    EXPECT_EQ(shownAlert()->title(), base::localized("prompt"));
    EXPECT_EQ(takeAlertMessage(), base::localized("no_camera"));

    EXPECT_EQ(saveAndTakeAlert(), base::localized("setting_success"));
    EXPECT_EQ(storedList("Name")[6], "");
    EXPECT_EQ(storedList("PL")[6], "");
    EXPECT_EQ(lastSentEntity()->objectForKey("Name")->array()->count(), 10u);
}

} // namespace
