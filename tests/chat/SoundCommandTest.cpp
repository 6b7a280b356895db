// The sound-command panel: opened from the directory for a tracker, it sends what was typed (Return in its field
// as "done"), closes at once
// and tells the outcome; what did not reach the device comes back in the next panel for it, until a sign-out.
#include "chat/SendSoundCommandVC.h"

#include "kit/modal/ModalPresenter.h"
#include "net/http/URLRequest.h"
#include "shell/screens/ScreenDirectory.h"
#include "support/ScreenFixture.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/Fault.h"
#include "ui/alerts/AlertView.h"
#include "ui/controls/Button.h"
#include "ui/input/Keyboard.h"

namespace {

using tracking_service::DemoData;
using tracking_service::Fault;

class SoundCommand : public test::ScreenTest {
protected:
    static std::shared_ptr<core::Device> device(const char* serial, int64_t type)
    {
        auto made = std::make_shared<core::Device>();
        made->serialNumber = serial;
        made->deviceTypeID = type;
        return made;
    }
    std::shared_ptr<chat::SendSoundCommandVC> open(const std::shared_ptr<core::Device>& target)
    {
        auto panel = std::dynamic_pointer_cast<chat::SendSoundCommandVC>(
            shell::ScreenDirectory::shared().showPanel(shell::ScreenDirectory::SoundCommand, target));
        clock->advance(1s);
        return panel;
    }
    // Types the command and presses Return, which sends it as "done" does.
    void type(const std::shared_ptr<chat::SendSoundCommandVC>& panel, const std::string& text)
    {
        panel->commandField()->becomeFirstResponder();
        ui::Keyboard::shared().insertText(text);
        ui::Keyboard::shared().insertText("\n");
        clock->advance(1s);
    }
    static bool panelShown() { return kit::ModalPresenter::sharedInstance()->window() != nullptr; }
};

TEST_F(SoundCommand, ATrackerTakesTheTypedCommandAndThePanelCloses)
{
    launchAndSignIn();
    auto tracker = device(DemoData::ParvoSerialNumber, 2);
    auto panel = open(tracker);
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panelShown());
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(panel->view(), { 30, 105 }), gfx::Color::white()));
    auto window = kit::ModalPresenter::sharedInstance()->window();
    auto dimmed = colourAt(window, { 3, 300 });
    EXPECT_LT(dimmed.r + dimmed.g + dimmed.b, 2.1);

    type(panel, "beep 3");
    ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
    auto request = service.requestLog().requestsTo("ParvoSendSoundCommand").front();
    EXPECT_EQ(request.body, R"({"Serialnumber":"PV0200000001","CommandText":"beep 3"})");
    EXPECT_EQ(shownAlert()->title(), base::localized("prompt"));
    EXPECT_EQ(takeAlertMessage(), base::localized("success"));
    pass(1);
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(open(tracker)->commandField()->text(), "");
}

TEST_F(SoundCommand, OtherDevicesSendNothingAndThePanelStays)
{
    launchAndSignIn();
    auto panel = open(device(DemoData::Tracker7SerialNumber, 7));
    type(panel, "beep");
    tap(panel->doneBtn());
    pass(1);
    EXPECT_EQ(requestsTo("ParvoSendSoundCommand"), 0u);
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(shownAlert(), nullptr);
}

TEST_F(SoundCommand, AnyBadOutcomeSaysFailureAndTheCommandComesBackForThatDevice)
{
    launchAndSignIn();
    auto tracker = device(DemoData::Tracker13SerialNumber, 13);
    std::vector<Fault> faults { Fault::status(500), Fault::dropConnection(), Fault::nonJsonBody(), Fault::noPayload(),
        Fault::nullPayload(), Fault::payload(base::Value(7)), Fault::refusal() };
    for (size_t i = 0; i < faults.size(); ++i) {
        service.faults().set("ParvoSendSoundCommand", faults[i]);
        auto panel = open(tracker);
        panel->commandField()->setText("cmd " + std::to_string(i));
        tap(panel->doneBtn());
        ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; })) << i;
        EXPECT_EQ(shownAlert()->title(), base::localized("prompt")) << i;
        EXPECT_EQ(takeAlertMessage(), base::localized("failure")) << i;
        pass(1);
        EXPECT_EQ(open(tracker)->commandField()->text(), "cmd " + std::to_string(i)) << i;
        EXPECT_EQ(open(device(DemoData::ParvoSerialNumber, 2))->commandField()->text(), "") << i;
        kit::ModalPresenter::sharedInstance()->hideAnimated(false);
    }
}

// A refused command is the first parent's: it is forgotten at its sign-out, and the refusal of one sent before the
// sign-out, which comes while a second parent is signed in, shows and keeps nothing.
TEST_F(SoundCommand, ARefusedCommandIsForgottenAtSignOutAndARefusalAfterItShowsNothing)
{
    launchAndSignIn();
    auto tracker = device(DemoData::Tracker13SerialNumber, 13);
    service.faults().set("ParvoSendSoundCommand", Fault::refusal());
    auto panel = open(tracker);
    panel->commandField()->setText("refused before");
    tap(panel->doneBtn());
    ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
    EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
    pass(1);
    net::URLRequest::setDefaultTimeoutInterval(60s); // the answer is held as long as the test needs
    service.faults().set("ParvoSendSoundCommand", Fault::held());
    panel = open(tracker);
    ASSERT_EQ(panel->commandField()->text(), "refused before");
    panel->commandField()->setText("refused after");
    tap(panel->doneBtn());
    ASSERT_TRUE(waitForRequests("ParvoSendSoundCommand", 2));
    signInAsOtherAccount();
    service.faults().letGo("ParvoSendSoundCommand", 0, Fault::refusal());
    ASSERT_TRUE(pumpUntil([] { return networkIdle(); }));
    pass(1);

    EXPECT_EQ(shownAlert(), nullptr);
    EXPECT_EQ(open(tracker)->commandField()->text(), "");
    kit::ModalPresenter::sharedInstance()->hideAnimated(false);
}

} // namespace
