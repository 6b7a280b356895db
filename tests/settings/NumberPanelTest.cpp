// The number screen's Parvo, New Sorby and Quenn views and the listen and centre panels against the local
// service: which field each action reads, what it sends and what it writes back.
#include "NumberScreenFixture.h"

#include "settings/numbers/CenterNumberVC.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/ListenNumberVC.h"
#include "shell/screens/ScreenDirectory.h"
#include "ui/controls/Button.h"
#include "ui/controls/TextField.h"

namespace {

using settings::LikeNumberVC;
using settings::NumberPanelParts;

class NumberPanelTest : public test::NumberScreenTest {
protected:
    std::shared_ptr<LikeNumberVC> shown(const std::shared_ptr<core::Device>& device)
    {
        auto screen = LikeNumberVC::make();
        screen->setDeviceDetail(device);
        present(screen);
        return screen;
    }
    void type(const std::shared_ptr<ui::View>& view, int tag, const std::string& text)
    {
        NumberPanelParts::fieldWithTag(view, tag)->setText(text);
    }
};

TEST_F(NumberPanelTest, TheKeyNumberComesFromTheButtonsTagTruncatingTowardZero)
{
    auto device = detailOf(DemoData::ParvoSerialNumber);
    auto screen = shown(device);
    // Fields two below the tags 99, 100 and 104, with buttons of those tags.
    for (int tag : { 99, 100, 104 }) {
        auto keyField = NumberPanelParts::field({ 0, 0, 10, 10 }, tag - 2);
        keyField->setText("1380000" + std::to_string(tag));
        screen->likeNumberViewForParvo()->addSubview(keyField);
        auto button = std::make_shared<ui::Button>(gfx::Rect {});
        button->setTag(tag);
        screen->setPhoneNumberForParvo(*button);
        EXPECT_EQ(outcome(), text("success"));
        EXPECT_EQ(field(lastBody("ParvoSetAuthorizedPhoneNumber"), "ButtonNum"), tag == 104 ? "2" : "1") << tag;
    }
    EXPECT_EQ(device->parvoDeviceConfig->key1SMSNo.text(), "1380000104");
    EXPECT_EQ(device->parvoDeviceConfig->keySOSSMSNo.text(), "1380000100");
    EXPECT_EQ(device->parvoDeviceConfig->keySOSCallNo.text(), "1380000100");
}

TEST_F(NumberPanelTest, TheParvoSOSButtonWritesBothSOSNumbersTheTolvaOneOnlyTheCallNumber)
{
    auto parvo = detailOf(DemoData::ParvoSerialNumber);
    auto screen = shown(parvo);
    type(screen->likeNumberViewForParvo(), 101, "13811110000");
    tap(screen->parvoButtons()[0]);
    EXPECT_EQ(outcome(), text("success"));
    auto body = lastBody("ParvoSetAuthorizedPhoneNumber");
    EXPECT_EQ(field(body, "phonenumberforreceivingSMS"), "13811110000");
    EXPECT_EQ(field(body, "phonenumberforreceivingcall"), "13811110000");
    EXPECT_EQ(parvo->parvoDeviceConfig->keySOSSMSNo.text(), "13811110000");
    EXPECT_EQ(parvo->parvoDeviceConfig->keySOSCallNo.text(), "13811110000");

    auto tracker = detailOf(DemoData::Tracker13SerialNumber);
    std::string sms = tracker->parvoDeviceConfig->keySOSSMSNo.text();
    auto newSorby = shown(tracker);
    EXPECT_EQ(newSorby->shownModelView(), newSorby->likeNumberViewForNewSorby());
    type(newSorby->likeNumberViewForNewSorby(), 101, "13822220000");
    tap(newSorby->button1());
    EXPECT_EQ(outcome(), text("success"));
    EXPECT_EQ(tracker->parvoDeviceConfig->keySOSCallNo.text(), "13822220000");
    EXPECT_EQ(tracker->parvoDeviceConfig->keySOSSMSNo.text(), sms);
}

TEST_F(NumberPanelTest, Type16ReadsItsNumbersFromTheNewSorbyViewThroughTheParvoActions)
{
    auto tracker = detailOf(DemoData::Tracker16SerialNumber);
    auto screen = shown(tracker);
    type(screen->likeNumberViewForNewSorby(), 101, "13833330000");
    type(screen->likeNumberViewForParvo(), 101, "wrong view");
    tap(screen->button1());
    EXPECT_EQ(outcome(), text("success"));
    EXPECT_EQ(field(lastBody("ParvoSetAuthorizedPhoneNumber"), "phonenumberforreceivingcall"), "13833330000");
    // The Parvo action writes both SOS numbers.
    EXPECT_EQ(tracker->parvoDeviceConfig->keySOSSMSNo.text(), "13833330000");

    screen = shown(tracker);
    type(screen->likeNumberViewForNewSorby(), 117, "13833330003");
    tap(screen->button2());
    EXPECT_EQ(outcome(), text("success"));
    EXPECT_EQ(field(lastBody("ParvoSetTelephoneNumberforWiretapping"), "TelNumber"), "13833330003");
    EXPECT_EQ(tracker->parvoDeviceConfig->listenNum.text(), "13833330003");
}

TEST_F(NumberPanelTest, AQuennSendCarriesTheStoredListenNumberAndAFailedListenLeavesItAlone)
{
    auto quenn = detailOf(DemoData::Quenn6SerialNumber);
    std::string listen = quenn->quennDeviceConfig->sOSNum4.text();

    auto panel = settings::ListenNumberVC::make(quenn);
    present(panel);
    EXPECT_EQ(panel->phoneNumberText()->text(), listen);
    panel->phoneNumberText()->setText("13844440004");
    service.faults().set("QuennSetPhoneNumber", Fault::status(500));
    tap(panel->parts().done);
    EXPECT_EQ(outcome(), text("failure"));
    service.faults().clear();
    EXPECT_EQ(quenn->quennDeviceConfig->sOSNum4.text(), listen) << "written on the accepted text only";

    auto screen = shown(quenn);
    screen->quennFields()[0]->setText("13844440001");
    tap(screen->quennDoneButton());
    EXPECT_EQ(outcome(), text("success"));
    auto body = lastBody("QuennSetPhoneNumber");
    EXPECT_EQ(field(body, "Password"), "580317");
    EXPECT_EQ(field(body, "Opt"), "A");
    EXPECT_EQ(field(body, "Tel1"), "13844440001");
    EXPECT_EQ(field(body, "Tel4"), listen);
    EXPECT_EQ(quenn->quennDeviceConfig->sOSNum1.text(), "13844440001");

    // The centre number of type 6 sends nothing and closes.
    auto centre = settings::CenterNumberVC::make(quenn);
    present(centre);
    centre->centerNumberText()->setText("13844449999");
    tap(centre->parts().done);
    pass(1);
    EXPECT_FALSE(presenterShown());
    EXPECT_EQ(requestsTo("QuennSetCenter"), 0u);
    EXPECT_EQ(requestsTo("MorvikSetCenterNo"), 0u);
}

TEST_F(NumberPanelTest, TheMorvikListenPanelStartsEmptyAndSpellsItsKeyItsOwnWay)
{
    auto morvik = detailOf(DemoData::MorvikSerialNumber);
    auto panel = settings::ListenNumberVC::make(morvik);
    present(panel);
    EXPECT_EQ(panel->phoneNumberText()->text(), "");
    panel->phoneNumberText()->setText("13855550003");
    tap(panel->parts().done);
    EXPECT_EQ(outcome(), text("success"));
    auto body = lastBody("MorvikSetListen");
    EXPECT_EQ(field(body, "Serialumber"), DemoData::MorvikSerialNumber);
    EXPECT_EQ(field(body, "Serialnumber"), "<absent>");
    EXPECT_EQ(stored(DemoData::MorvikSerialNumber, "ParvoDevice_Config", "ListenNum"), "13855550003");

    auto again = settings::ListenNumberVC::make(morvik);
    present(again);
    EXPECT_EQ(again->phoneNumberText()->text(), "");
}

TEST_F(NumberPanelTest, TheQuennCentreShowsTheServicesOwnWords)
{
    auto quenn = detailOf(DemoData::Quenn3SerialNumber);
    auto centre = settings::CenterNumberVC::make(quenn);
    present(centre);
    EXPECT_TRUE(
        textInRegion(text("done"), test::ScreenProbe::toScreen(*centre->parts().done, centre->parts().done->bounds())));
    centre->centerNumberText()->setText("13866660000");
    tap(centre->parts().done);
    EXPECT_EQ(outcome(), "中心号码设置成功");
    EXPECT_EQ(field(lastBody("QuennSetCenter"), "CenterNum"), "13866660000");
}

TEST_F(NumberPanelTest, TheMenuRowsShowTheListenAndCentrePanelsForTheDevice)
{
    auto quenn = detailOf(DemoData::Quenn3SerialNumber);
    auto listen = std::dynamic_pointer_cast<settings::ListenNumberVC>(
        shell::ScreenDirectory::shared().showPanel(shell::ScreenDirectory::ListenNumber, quenn));
    ASSERT_TRUE(listen);
    pumpUntil([this] { return presenterShown(); });
    EXPECT_EQ(listen->phoneNumberText()->text(), quenn->quennDeviceConfig->sOSNum4.text());
    kit::ModalPresenter::sharedInstance()->hideAnimated(false);
    auto centre = std::dynamic_pointer_cast<settings::CenterNumberVC>(
        shell::ScreenDirectory::shared().showPanel(shell::ScreenDirectory::CenterNumber, quenn));
    ASSERT_TRUE(centre);
    EXPECT_EQ(centre->deviceDetail(), quenn);
}

} // namespace
