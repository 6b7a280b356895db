// The number screen's layout step: which model view each device type gets, which slot panel a watch gets,
// and what the fields show (stored numbers, blank and null as empty).
#include "base/ClockFixture.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/NumberPanelParts.h"
#include "ui/view/Screen.h"
#include "ui/controls/TextField.h"

#include <gtest/gtest.h>

namespace {

using settings::LikeNumberVC;
using settings::NumberPanelParts;

class NumberModelViewTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
    }

    static std::shared_ptr<core::Device> device(int64_t type)
    {
        auto record = std::make_shared<core::Device>();
        record->serialNumber = "DEVICE000001";
        record->deviceTypeID = type;
        record->parvoDeviceConfig = std::make_shared<core::ParvoDeviceConfig>();
        auto& parvo = *record->parvoDeviceConfig;
        parvo.keySOSCallNo = "100";
        parvo.keySOSSMSNo = "101";
        parvo.key1CallNo = "105";
        parvo.key2CallNo = core::ConfigText::null();
        parvo.key3CallNo = "   ";
        parvo.listenNum = "117";
        record->quennDeviceConfig = std::make_shared<core::SQuennConfig>();
        record->quennDeviceConfig->sOSNum1 = "q1";
        record->quennDeviceConfig->sOSNum3 = core::ConfigText::null();
        record->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
        record->lumetDeviceConfig->numberForFather = "dad";
        record->lumetDeviceConfig->numberForMother = "mum";
        return record;
    }

    static std::shared_ptr<LikeNumberVC> appeared(int64_t type, int bindWho = 0)
    {
        auto screen = LikeNumberVC::make();
        screen->setDeviceDetail(device(type));
        screen->setBindWho(bindWho);
        NumberPanelParts::runAppearanceStep(*screen);
        return screen;
    }

    static std::string textOf(const std::shared_ptr<ui::View>& view, int tag)
    {
        auto field = NumberPanelParts::fieldWithTag(view, tag);
        return field ? field->text() : "<no field>";
    }
};

TEST_F(NumberModelViewTest, EachFamilyOfTypesGetsItsOwnView)
{
    auto parvo = appeared(2);
    EXPECT_EQ(parvo->shownModelView(), parvo->likeNumberViewForParvo());
    for (int64_t type : { 3, 6 }) {
        auto screen = appeared(type);
        EXPECT_EQ(screen->shownModelView(), screen->likeNumberViewForQuenn()) << type;
    }
    for (int64_t type : { 7, 13, 16, 18, 20, 21 }) {
        auto screen = appeared(type);
        EXPECT_EQ(screen->shownModelView(), screen->likeNumberViewForNewSorby()) << type;
    }
    for (int64_t type : { 27, 36 }) {
        auto screen = appeared(type, LikeNumberVC::SOS);
        EXPECT_EQ(screen->shownModelView(), screen->lumetPanel(LikeNumberVC::SOS)) << type;
        EXPECT_EQ(screen->shownModelView()->superview(), screen->view());
    }
}

TEST_F(NumberModelViewTest, OtherTypesAndUnknownSlotsShowTheBareScreen)
{
    for (int64_t type : { 0, 1, 4, 5, 8, 14, 22, 35, 37, 43, -1 }) {
        auto screen = appeared(type);
        EXPECT_EQ(screen->shownModelView(), nullptr) << type;
        EXPECT_TRUE(screen->view()->subviews().empty()) << type;
    }
    for (int bindWho : { -1, 4, 7 }) {
        auto screen = appeared(27, bindWho);
        EXPECT_EQ(screen->shownModelView(), nullptr) << bindWho;
    }
}

TEST_F(NumberModelViewTest, FieldsShowTheStoredNumbersAndBlankOrNullAsEmpty)
{
    auto parvo = appeared(2);
    const auto& view = parvo->likeNumberViewForParvo();
    // The Parvo view's SOS field shows the SMS number, the key fields the call numbers.
    EXPECT_EQ(textOf(view, 101), "101");
    EXPECT_EQ(textOf(view, 105), "105");
    EXPECT_EQ(textOf(view, 109), "");
    EXPECT_EQ(textOf(view, 113), "");
    EXPECT_EQ(textOf(view, 117), "117");

    auto newSorby = appeared(16);
    EXPECT_EQ(textOf(newSorby->likeNumberViewForNewSorby(), 101), "100");
    EXPECT_EQ(textOf(newSorby->likeNumberViewForNewSorby(), 117), "117");

    auto quenn = appeared(3);
    EXPECT_EQ(quenn->quennFields()[0]->text(), "q1");
    EXPECT_EQ(quenn->quennFields()[2]->text(), "");

    auto father = appeared(36, LikeNumberVC::Father);
    EXPECT_EQ(textOf(father->lumetPanel(LikeNumberVC::Father), 201), "dad");
    auto mother = appeared(36, LikeNumberVC::Mother);
    EXPECT_EQ(textOf(mother->lumetPanel(LikeNumberVC::Mother), 202), "mum");
}

} // namespace
