// The home screen's family-number fan: where its buttons fly for each stored device type, folding (also by a
// tap on the home view, and a fold cut short by reopening), and the entry alert that sends a watch number.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "base/text/LocalizedFormat.h"
#include "core/state/NotificationNames.h"
#include "settings/numbers/BtnModel.h"
#include "settings/numbers/ImageAnimate.h"
#include "support/ScreenProbe.h"
#include "tracking-service/DemoData.h"
#include "ui/controls/Button.h"
#include "ui/controls/TextField.h"

#include <array>

namespace {

class HomeFan : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        launchAndSignIn();
        ASSERT_TRUE(pumpUntil([this] { return home() && home()->deviceDetail() && networkIdle(); }));
        fan = home()->familyNumberButton();
    }

    std::array<std::shared_ptr<settings::BtnModel>, 4> buttons() const
    {
        return { fan->btnone(), fan->btntwo(), fan->btnthree(), fan->btnfour() };
    }
    void storeDeviceType(int64_t type)
    {
        auto row = core::DBManager::readSingleMobileDevice();
        ASSERT_TRUE(row);
        row->deviceTypeID = type;
        ASSERT_TRUE(core::DBManager::saveOrUpdataMobileDeviceDB(*row));
    }
    bool folded() const
    {
        for (const auto& button : buttons()) {
            if (!button->isHidden() || button->frame() != fan->oldframe())
                return false;
        }
        return true;
    }
    // Opens the button's entry alert, types the number and presses "done".
    void enter(const std::shared_ptr<settings::BtnModel>& button, const std::string& typed)
    {
        tap(button);
        ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
        auto alert = shownAlert();
        alert->textFieldAtIndex(0)->setText(typed);
        tap(alert->buttonAtIndex(1));
    }
    std::string outcome()
    {
        pumpUntil([] { return shownAlert() != nullptr; });
        return takeAlertMessage();
    }

    std::shared_ptr<settings::ImageAnimate> fan;
};

TEST_F(HomeFan, AWatchFansOutFourButtonsAndFoldsThemBehindThePanel)
{
    ASSERT_TRUE(folded());
    tap(fan);
    EXPECT_EQ(fan->tag(), 1);
    pass(0.6);
    double H = ui::Screen::main().bounds().height();
    const gfx::Point centres[] = { { 90, H - 94 }, { 135, H - 124 }, { 185, H - 124 }, { 230, H - 94 } };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_FALSE(buttons()[i]->isHidden()) << i;
        EXPECT_EQ(buttons()[i]->alpha(), 1.0) << i;
        EXPECT_EQ(buttons()[i]->center(), centres[i]) << i;
    }
    // The father's button shows its blue disc on screen (its centre holds the white figure).
    gfx::Color dad = colourAt(fan->btnone(), { 5, 20 });
    EXPECT_GT(dad.b, dad.r + 0.3) << dad.r << " " << dad.g << " " << dad.b;

    tap(fan);
    EXPECT_EQ(fan->tag(), 0);
    pass(1);
    EXPECT_TRUE(folded());
}

TEST_F(HomeFan, AWatchOfType44FansOutThreeButtonsWithoutListen)
{
    storeDeviceType(44);
    tap(fan);
    pass(0.6);
    double W = ui::Screen::main().bounds().width();
    double H = ui::Screen::main().bounds().height();
    EXPECT_EQ(fan->btnone()->center(), (gfx::Point { W / 2 - 60, H - 124 }));
    EXPECT_EQ(fan->btntwo()->center(), (gfx::Point { W / 2, H - 144 }));
    EXPECT_EQ(fan->btnthree()->center(), (gfx::Point { W / 2 + 60, H - 124 }));
    EXPECT_TRUE(fan->btnfour()->isHidden());
}

TEST_F(HomeFan, AFanReopenedBeforeItHasFoldedStaysOpen)
{
    tap(fan);
    pass(0.6);
    tap(fan);
    pass(0.3);
    tap(fan);
    pass(1.5);
    EXPECT_EQ(fan->tag(), 1);
    for (const auto& button : buttons()) {
        EXPECT_FALSE(button->isHidden());
        EXPECT_EQ(button->alpha(), 1.0);
    }
}

TEST_F(HomeFan, ATapOnTheHomeViewAndEscapeFoldTheOpenFan)
{
    tap(fan);
    pass(0.6);
    EXPECT_EQ(fan->tag(), 1) << "the button's own tap does not count as a tap on the home view";
    ui::TouchDriver().tap({ 160, 250 });
    EXPECT_EQ(fan->tag(), 0);
    pass(1);
    EXPECT_TRUE(folded());

    tap(fan);
    pass(0.6);
    pressEscape();
    EXPECT_EQ(fan->tag(), 0);
    pass(1);
    EXPECT_TRUE(folded());
    EXPECT_TRUE(home()->view()->window()) << "the home screen stays";
    EXPECT_EQ(container()->openSide(), kit::DrawerSide::None);
}

TEST_F(HomeFan, TheEntryAlertSendsTheTypedNumberWithTheStoredOthers)
{
    auto device = core::Singleton::shared().deviceDetail();
    ASSERT_TRUE(device && device->lumetDeviceConfig);
    std::string father = device->lumetDeviceConfig->numberForFather.text();
    tap(fan);
    pass(0.6);
    tap(fan->btntwo());
    ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
    auto alert = shownAlert();
    EXPECT_EQ(alert->message(),
        base::LocalizedFormat::format(base::localized("please_set_number"), { base::localized("mother") }));
    EXPECT_EQ(alert->textFieldAtIndex(0)->text(), device->lumetDeviceConfig->numberForMother.text());
    alert->textFieldAtIndex(0)->setText("13877770002");
    tap(alert->buttonAtIndex(1));
    EXPECT_EQ(outcome(), base::localized("success"));
    auto requests = service.requestLog().requestsTo("LumetSetManyPhoneConfig");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].body.find(R"("ButtonNo1":")" + father + "\""), std::string::npos) << requests[0].body;
    EXPECT_NE(requests[0].body.find(R"("ButtonNo2":"13877770002")"), std::string::npos) << requests[0].body;
    EXPECT_EQ(device->lumetDeviceConfig->numberForMother.text(), "13877770002");
}

TEST_F(HomeFan, ReturnInTheEntryAlertSendsTheTypedNumberAsDoneDoes)
{
    tap(fan);
    pass(0.6);
    tap(fan->btntwo());
    ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
    shownAlert()->textFieldAtIndex(0)->setText("13877770002");
    EXPECT_TRUE(test::returnAnswersTheEmphasisedButton([this] { pressReturn(); }));
    EXPECT_EQ(outcome(), base::localized("success"));
    auto requests = service.requestLog().requestsTo("LumetSetManyPhoneConfig");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].body.find(R"("ButtonNo2":"13877770002")"), std::string::npos) << requests[0].body;
}

TEST_F(HomeFan, TheNumberStoredIsTheOneSentEvenWhenTheAlertIsOpenedAgainMeanwhile)
{
    auto device = core::Singleton::shared().deviceDetail();
    tap(fan);
    pass(0.6);
    service.faults().set("LumetSetManyPhoneConfig", tracking_service::Fault::delay(300ms));
    enter(fan->btnone(), "13800000001");
    fan->btnone()->clickbtn();
    fan->btnone()->newText()->setText("13800000009");
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("LumetSetManyPhoneConfig") == 1 && networkIdle(); }));
    pass(0.5);
    EXPECT_EQ(device->lumetDeviceConfig->numberForFather.text(), "13800000001");
}

TEST_F(HomeFan, WithoutAWatchRecordTheButtonsSendNothing)
{
    tap(fan);
    pass(0.6);
    fan->btnthree()->setDeviceDetail(nullptr);
    enter(fan->btnthree(), "13800000003");
    EXPECT_EQ(outcome(), base::localized("bad_netword"));
    EXPECT_EQ(requestsTo("LumetSetManyPhoneConfig"), 0u);
    // A posted record reaches the buttons.
    auto record = core::Singleton::shared().deviceDetail();
    base::NotificationCenter::defaultCenter().post(core::NotificationNames::PostDevice, record);
    EXPECT_EQ(fan->btnthree()->deviceDetail(), record);
    EXPECT_EQ(fan->btnthree()->name(), "SOS");
}

// Another watch picked whose record fails or has not come yet: the fan offers and sends nothing of the
// watch picked away from, and says why: the load failure when the service answered, else the network notice.
TEST_F(HomeFan, AfterAPickTheButtonsSendNothingUntilThePickedWatchsRecordHasLoaded)
{
    std::string pickedAway = core::Singleton::shared().lastSerialnumber();
    const std::pair<tracking_service::Fault, const char*> faults[] = {
        { tracking_service::Fault::status(500), "load_failed" },
        { tracking_service::Fault::nullPayload(), "load_failed" },
        { tracking_service::Fault::held(), "bad_netword" },
    };
    for (const auto& [fault, said] : faults) {
        SCOPED_TRACE(said);
        service.faults().set("GetDeviceDetial", fault);
        core::MobileDeviceAndLocation picked;
        picked.serialNumber = tracking_service::DemoData::Watch40SerialNumber;
        picked.deviceTypeID = 40;
        home()->deviceChosen(picked);
        pass(1);
        if (fan->tag() == 0) {
            tap(fan);
            pass(0.6);
        }
        tap(fan->btnone());
        ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
        EXPECT_EQ(shownAlert()->textFieldAtIndex(0)->text(), "") << "nothing of the watch picked away from";
        shownAlert()->textFieldAtIndex(0)->setText("13800000001");
        tap(shownAlert()->buttonAtIndex(1));
        EXPECT_EQ(outcome(), base::localized(said));
        EXPECT_EQ(requestsTo("LumetSetManyPhoneConfig"), 0u);
        // Back to the first watch, its record loaded, for the next probe.
        service.faults().remove("GetDeviceDetial");
        picked.serialNumber = pickedAway;
        picked.deviceTypeID = 36;
        home()->deviceChosen(picked);
        ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() && networkIdle(); }));
    }
}

} // namespace
