// The family-number editor against the local service: opened from the "family_number" row's key sheet, it
// sends the thirteen fields with the edited key's number and state, stores both on success and stays open.
#include "NumberScreenFixture.h"

#include "base/text/LocalizedFormat.h"
#include "settings/numbers/FamilyNumberVC.h"
#include "shell/screens/ScreenDirectory.h"
#include "ui/alerts/ActionSheet.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"

namespace {

using settings::FamilyNumberVC;

class NumberEditorTest : public test::NumberScreenTest {
protected:
    void SetUp() override
    {
        NumberScreenTest::SetUp();
        device = detailOf(DemoData::Watch44SerialNumber);
        ASSERT_TRUE(device && device->lumetDeviceConfig);
    }
    std::shared_ptr<FamilyNumberVC> shown(int64_t index)
    {
        auto editor = FamilyNumberVC::make(device, index);
        present(editor);
        return editor;
    }
    std::shared_ptr<core::Device> device;
};

TEST_F(NumberEditorTest, TheRowsSheetOpensTheEditorOfTheChosenKey)
{
    auto sheet = FamilyNumberVC::chooseKeyAndOpen(device);
    pumpUntil([&] { return sheet->isVisible(); });
    EXPECT_EQ(sheet->buttonTitleAtIndex(2), text("SOS"));
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    tap(sheet->buttonAtIndex(2));
    pumpUntil([this] { return presenterShown(); });
    pass(0.5);
    auto editor = FamilyNumberVC::openedFromSheet();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->index(), 3);
    EXPECT_EQ(editor->lblTitle()->text(), base::LocalizedFormat::format(text("please_set_number"), { text("SOS") }));
    EXPECT_EQ(editor->txtNumber()->text(), device->lumetDeviceConfig->numberForSOS.text());
    EXPECT_TRUE(textInRegion(
        editor->txtNumber()->text(), test::ScreenProbe::toScreen(*editor->txtNumber(), editor->txtNumber()->bounds())));

    // The directory's panel of the menu row asks the same way.
    EXPECT_EQ(shell::ScreenDirectory::shared().showPanel(shell::ScreenDirectory::FamilyNumber, device), nullptr);
}

// The editor opened from the sheet holds the first parent's device record: a second parent's sign-in finds none.
TEST_F(NumberEditorTest, TheEditorOpenedFromTheSheetIsForgottenWithItsSignIn)
{
    auto sheet = FamilyNumberVC::chooseKeyAndOpen(device);
    pumpUntil([&] { return sheet->isVisible(); });
    tap(sheet->buttonAtIndex(0));
    pumpUntil([this] { return presenterShown(); });
    ASSERT_TRUE(FamilyNumberVC::openedFromSheet());
    kit::ModalPresenter::sharedInstance()->hideAnimated(false);
    pass(0.5);
    signInAsOtherAccount();
    EXPECT_EQ(FamilyNumberVC::openedFromSheet(), nullptr);
}

TEST_F(NumberEditorTest, ReturnAnswersTheKeySheetAsItsEmphasisedCancelDoes)
{
    auto sheet = FamilyNumberVC::chooseKeyAndOpen(device);
    pumpUntil([&] { return sheet->isVisible(); });
    EXPECT_TRUE(test::returnAnswersTheEmphasisedButton([this] { pressReturn(); }));
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(presenterShown()) << "no editor opened";
}

TEST_F(NumberEditorTest, CallSendsTheThirteenFieldsAndStoresTheNumberAndState)
{
    auto& config = *device->lumetDeviceConfig;
    auto fatherState = config.buttonNo1_State;
    std::string mother = config.numberForMother.text();
    auto editor = shown(3);
    editor->txtNumber()->setText("13899990003");
    tap(editor->btnCall());
    EXPECT_EQ(outcome(), text("success"));
    auto body = lastBody(FamilyNumberVC::Method);
    ASSERT_TRUE(body);
    EXPECT_EQ(body->count(), 13u);
    EXPECT_EQ(field(body, "SOSNo"), "13899990003");
    EXPECT_EQ(field(body, "SOSNo_State"), "2");
    EXPECT_EQ(field(body, "ButtonNo2"), mother);
    EXPECT_EQ(field(body, "ButtonNo1_Name"), config.buttonNo1_Name.isNull() ? "null" : config.buttonNo1_Name.text());
    EXPECT_EQ(config.numberForSOS.text(), "13899990003");
    EXPECT_EQ(config.sosNo_State, base::Value(int64_t { 2 }));
    EXPECT_EQ(config.buttonNo1_State, fatherState);
    EXPECT_EQ(stored(DemoData::Watch44SerialNumber, "LumetDevice_Config", "SOSNo_State"), "2");
    EXPECT_TRUE(presenterShown()) << "only cancel closes the editor";

    // Listen gives state 1; an empty number is sent and stored as it is.
    editor->txtNumber()->setText("");
    tap(editor->btnListen());
    EXPECT_EQ(outcome(), text("success"));
    EXPECT_EQ(field(lastBody(FamilyNumberVC::Method), "SOSNo_State"), "1");
    EXPECT_EQ(config.numberForSOS.text(), "");
    EXPECT_EQ(config.sosNo_State, base::Value(int64_t { 1 }));

    tap(editor->btnCancel());
    pass(1);
    EXPECT_FALSE(presenterShown());
}

TEST_F(NumberEditorTest, AnIndexThatNamesNoKeyShowsAnEmptyNameAndSendsNothing)
{
    auto editor = shown(7);
    EXPECT_EQ(editor->lblTitle()->text(), base::LocalizedFormat::format(text("please_set_number"), { "" }));
    EXPECT_EQ(editor->txtNumber()->text(), "");
    editor->txtNumber()->setText("13800000000");
    tap(editor->btnCall());
    EXPECT_EQ(outcome(), text("failure"));
    EXPECT_EQ(requestsTo(FamilyNumberVC::Method), 0u);
}

} // namespace
