// The family-protection screen and the watch's four number panels against the local service: what each
// sends, what the shared record and the service hold afterwards, the three refusals, sends that overlap,
// and sends of an account that has signed out.
#include "NumberScreenFixture.h"

#include "net/http/URLRequest.h"
#include "settings/numbers/FamilyProtection.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/LumetNumbers.h"
#include "ui/controls/Button.h"
#include "ui/controls/TextField.h"
#include "ui/input/TouchDriver.h"
#include "ui/scroll/TableView.h"

#include <algorithm>

namespace {

using settings::LikeNumberVC;

class NumberWatchTest : public test::NumberScreenTest {
protected:
    void SetUp() override
    {
        NumberScreenTest::SetUp();
        // The menu's row opens the screen in the drawer's centre with the menu's record.
        container()->openDrawerSide(kit::DrawerSide::Left, true);
        ASSERT_TRUE(pumpUntil([this] { return menu()->device() && !container()->isAnimatingDrawer(); }));
        const auto& functions = menu()->functions();
        auto row = std::find(functions.begin(), functions.end(), "family_protect") - functions.begin();
        ASSERT_LT(row, static_cast<long>(functions.size()));
        auto table = menu()->tableView();
        gfx::Rect rect = table->rectForRowAtIndexPath({ 0, static_cast<int>(row) });
        ui::TouchDriver().tap(table->convertPointTo({ rect.midX(), rect.midY() }, nullptr));
        pumpUntil([this] {
            return std::dynamic_pointer_cast<settings::FamilyProtection>(centreRoot()) != nullptr
                && !container()->isAnimatingDrawer();
        });
        pass(1);
        screen = std::dynamic_pointer_cast<settings::FamilyProtection>(centreRoot());
        ASSERT_TRUE(screen);
        device = screen->deviceDetail();
        ASSERT_TRUE(device && device->lumetDeviceConfig);
        ASSERT_EQ(device->serialNumber, DemoData::WatchSerialNumber);
    }

    // Opens the slot through its button, types the number and taps done; the panel closes at once.
    void send(const std::shared_ptr<ui::Button>& slotButton, const std::string& typed)
    {
        screen->familybutton(*slotButton);
        pumpUntil([this] { return presenterShown(); });
        pass(0.5);
        auto numbers = screen->likeNumberVC();
        int bindWho = numbers->bindWho();
        auto field = settings::NumberPanelParts::fieldWithTag(
            numbers->lumetPanel(bindWho), LikeNumberVC::lumetFieldTagOf(bindWho));
        field->setText(typed);
        tap(numbers->lumetDoneButton(bindWho));
    }

    std::string shownInSlot(const std::shared_ptr<ui::Button>& slotButton)
    {
        screen->familybutton(*slotButton);
        auto numbers = screen->likeNumberVC();
        int bindWho = numbers->bindWho();
        auto field = settings::NumberPanelParts::fieldWithTag(
            numbers->lumetPanel(bindWho), LikeNumberVC::lumetFieldTagOf(bindWho));
        std::string shown = field->text();
        kit::ModalPresenter::sharedInstance()->hideAnimated(false);
        return shown;
    }

    std::shared_ptr<core::Device> device;
    std::shared_ptr<settings::FamilyProtection> screen;
};

TEST_F(NumberWatchTest, EachButtonOpensItsSlotAndOtherTagsOpenNothing)
{
    const std::pair<std::shared_ptr<ui::Button>, int> slots[]
        = { { screen->btnFather(), LikeNumberVC::Father }, { screen->btnMother(), LikeNumberVC::Mother },
              { screen->btnSOS(), LikeNumberVC::SOS }, { screen->btnListen(), LikeNumberVC::Listen } };
    for (const auto& [button, bindWho] : slots) {
        tap(button);
        pass(0.5);
        ASSERT_TRUE(screen->likeNumberVC());
        EXPECT_EQ(screen->likeNumberVC()->bindWho(), bindWho);
        EXPECT_EQ(screen->likeNumberVC()->deviceDetail(), device) << "the record itself, not a copy";
        EXPECT_EQ(screen->likeNumberVC()->shownModelView(), screen->likeNumberVC()->lumetPanel(bindWho));
        kit::ModalPresenter::sharedInstance()->hideAnimated(false);
    }
    auto last = screen->likeNumberVC();
    auto stray = std::make_shared<ui::Button>(gfx::Rect {});
    stray->setTag(5000);
    screen->familybutton(*stray);
    EXPECT_EQ(screen->likeNumberVC(), last);
}

TEST_F(NumberWatchTest, TheMothersNumberGoesWithTheStoredOthersAndIsShownNextTime)
{
    std::string father = device->lumetDeviceConfig->numberForFather.text();
    std::string sos = device->lumetDeviceConfig->numberForSOS.text();
    std::string listen = device->lumetDeviceConfig->numberForListen.text();
    send(screen->btnMother(), "13822223333");
    pass(1);
    EXPECT_FALSE(presenterShown()) << "a send closes the panel without waiting for the reply";
    EXPECT_EQ(outcome(), text("success"));

    auto body = lastBody("LumetSetManyPhoneConfig");
    EXPECT_EQ(field(body, "Serialnumber"), DemoData::WatchSerialNumber);
    EXPECT_EQ(field(body, "ButtonNo1"), father);
    EXPECT_EQ(field(body, "ButtonNo2"), "13822223333");
    EXPECT_EQ(field(body, "SOSNo"), sos);
    EXPECT_EQ(field(body, "ListenNo"), listen);
    EXPECT_EQ(device->lumetDeviceConfig->numberForMother.text(), "13822223333");
    EXPECT_EQ(stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ButtonNo2"), "13822223333");
    EXPECT_EQ(shownInSlot(screen->btnMother()), "13822223333");
}

TEST_F(NumberWatchTest, AClashWithTheListenNumberShowsItsOwnMessageAndTheNextPanelShowsTheWatchsNumber)
{
    auto& config = *device->lumetDeviceConfig;
    std::string listen = config.numberForListen.text();
    std::string father = config.numberForFather.text();
    const std::tuple<std::shared_ptr<ui::Button>, std::string, const char*> cases[] = { { screen->btnFather(), listen,
                                                                                            "listen_no_equal_father" },
        { screen->btnMother(), listen, "listen_no_equal_mother" }, { screen->btnSOS(), listen, "listen_no_equal_sos" },
        { screen->btnListen(), father, "listen_no_equal_father" } };
    for (const auto& [button, typed, message] : cases) {
        auto before = config;
        std::string shownBefore = shownInSlot(button);
        send(button, typed);
        EXPECT_EQ(outcome(), text(message)) << message;
        EXPECT_EQ(config.numberForFather, before.numberForFather);
        EXPECT_EQ(config.numberForMother, before.numberForMother);
        EXPECT_EQ(config.numberForSOS, before.numberForSOS);
        EXPECT_EQ(config.numberForListen, before.numberForListen);
        EXPECT_EQ(shownInSlot(button), shownBefore) << "the panel shows what the watch holds";
    }
    EXPECT_EQ(stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ListenNo"), listen);
}

TEST_F(NumberWatchTest, ASendMadeWhileAnotherIsOutIsBuiltWhenTheFirstHasBeenTaken)
{
    // Both panels send before any reply has come.
    for (const auto& [button, typed] :
        { std::pair { screen->btnFather(), "13000000001" }, std::pair { screen->btnMother(), "13000000002" } }) {
        screen->familybutton(*button);
        auto numbers = screen->likeNumberVC();
        settings::NumberPanelParts::fieldWithTag(
            numbers->lumetPanel(numbers->bindWho()), LikeNumberVC::lumetFieldTagOf(numbers->bindWho()))
            ->setText(typed);
        numbers->setLumetNumber(numbers->bindWho());
    }
    pumpUntil([this] { return requestsTo("LumetSetManyPhoneConfig") == 2 && networkIdle(); });
    pass(0.5);
    EXPECT_EQ(outcome(), text("success"));
    EXPECT_EQ(outcome(), text("success"));
    auto requests = service.requestLog().requestsTo("LumetSetManyPhoneConfig");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[1].body.find(R"("ButtonNo1":"13000000001")"), std::string::npos) << requests[1].body;
    EXPECT_EQ(stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ButtonNo1"), "13000000001");
    EXPECT_EQ(stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ButtonNo2"), "13000000002");
}

// The first parent signs out while one number is out and another waits behind it, and a second parent signs in
// before the answer: the waiting one is dropped unsent, and the answer shows nothing over the second parent's
// screens.
TEST_F(NumberWatchTest, SendsOfAnAccountThatSignedOutAreDroppedAndTheirAnswerShowsNothing)
{
    net::URLRequest::setDefaultTimeoutInterval(60s); // the answer is held as long as the test needs
    std::string mother = stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ButtonNo2");
    service.faults().set("LumetSetManyPhoneConfig", Fault::held());
    settings::LumetNumbers::send(device, settings::LumetSlot::Father, "13000000001");
    settings::LumetNumbers::send(device, settings::LumetSlot::Mother, "13000000002");
    ASSERT_TRUE(waitForRequests("LumetSetManyPhoneConfig", 1));
    signInAsOtherAccount();
    service.faults().remove("LumetSetManyPhoneConfig");
    ASSERT_TRUE(pumpUntil([] { return networkIdle(); }));
    pass(0.5);

    EXPECT_EQ(requestsTo("LumetSetManyPhoneConfig"), 1u) << "nothing in the second parent's session";
    EXPECT_EQ(stored(DemoData::WatchSerialNumber, "LumetDevice_Config", "ButtonNo2"), mother);
    EXPECT_EQ(shownAlert(), nullptr);
}

TEST_F(NumberWatchTest, WithoutTheWatchConfigurationNothingIsSent)
{
    device->lumetDeviceConfig = nullptr;
    screen->familybutton(*screen->btnSOS());
    screen->likeNumberVC()->setLumetNumber(LikeNumberVC::SOS);
    EXPECT_EQ(outcome(), text("failure"));
    EXPECT_EQ(requestsTo("LumetSetManyPhoneConfig"), 0u);
}

TEST_F(NumberWatchTest, TheShownPanelIsDrawnOverTheScreen)
{
    tap(screen->btnFather());
    pumpUntil([this] { return presenterShown(); });
    pass(1);
    auto numbers = screen->likeNumberVC();
    auto done = numbers->lumetDoneButton(LikeNumberVC::Father);
    gfx::Color colour = colourAt(done, { 8, done->bounds().height() / 2 });
    EXPECT_TRUE(test::ScreenProbe::near(colour, gfx::Color::rgb(0.52, 0.8, 0.05), 0.05))
        << colour.r << " " << colour.g << " " << colour.b;
    auto field = settings::NumberPanelParts::fieldWithTag(numbers->lumetPanel(LikeNumberVC::Father), 201);
    EXPECT_TRUE(textInRegion(field->text(), test::ScreenProbe::toScreen(*field, field->bounds())));
}

TEST_F(NumberWatchTest, ASendThatNeverReachesTheServiceSaysTheNetworkIsUnavailable)
{
    auto& config = *device->lumetDeviceConfig;
    auto before = config;
    for (auto [fault, message] :
        { std::pair { Fault::dropConnection(), "bad_netword" }, std::pair { Fault::status(500), "failure" } }) {
        service.faults().set(settings::LumetNumbers::ManyPhoneMethod, fault);
        send(screen->btnMother(), "13900000003");
        EXPECT_EQ(outcome(), text(message));
        EXPECT_EQ(config.numberForMother, before.numberForMother);
    }
}

} // namespace
