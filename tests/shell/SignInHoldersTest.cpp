// Every piece of work that can answer after its sign-in has ended, as core/state/SignInHolders.md lists it, run
// as one table: the first parent starts it with its reply held by the service, signs out, a second parent signs
// in, and only then does the reply come, as the service gives it, as a refusal, as a refused session and as a
// dropped connection. Nothing of it shows on the second parent's screens or is announced to them, nothing changes
// the second parent's stored messages, current-device row or settings, nothing is written into the record the
// work held, and nothing more goes to the service in the second parent's session.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "base/values/Dictionary.h"
#include "chat/ChatVC.h"
#include "chat/SendSoundCommandVC.h"
#include "childcare/challenge/ChallengeEnding.h"
#include "childcare/device/TimeReceiveSettingVC.h"
#include "childcare/device/UploadInterval.h"
#include "core/helpers/PromptAlert.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/NotificationNames.h"
#include "settings/numbers/CenterNumberVC.h"
#include "settings/numbers/FamilyNumberVC.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/LumetNumbers.h"
#include "settings/numbers/NumberPanelParts.h"
#include "shell/screens/ScreenDirectory.h"
#include "tracking-service/Fault.h"
#include "ui/controllers/NavigationController.h"

#include <optional>
#include <tuple>

namespace {

using tracking_service::DemoData;
using tracking_service::Fault;

class SignInHolders;

// One holder: the request its work makes, and how the first parent starts it. `start` returns what the work
// would write into the record it holds, read when called ("" for work that writes none).
struct Holder {
    const char* name;
    const char* endpoint;
    std::function<std::function<std::string()>(SignInHolders&)> start;
};

// How the held reply comes at last: as the service gives it, or as a fault.
struct Answer {
    const char* name;
    std::optional<Fault> fault;
};

void PrintTo(const Holder& holder, std::ostream* out) { *out << holder.name; }
void PrintTo(const Answer& answer, std::ostream* out) { *out << answer.name; }

class SignInHolders : public test::ShellTest, public testing::WithParamInterface<std::tuple<Holder, Answer>> {
public:
    using ShellTest::account;
    using ShellTest::service;
    using ShellTest::watch;
    // The device's record as the service has it now; every device these cases use has one.
    std::shared_ptr<core::Device> detailOf(const std::string& serialNumber)
    {
        auto device = ShellTest::detailOf(serialNumber);
        EXPECT_TRUE(device) << serialNumber;
        return device;
    }

    std::shared_ptr<ui::ViewController> showPanel(const char* name, const std::shared_ptr<core::Device>& device)
    {
        auto panel = shell::ScreenDirectory::shared().showPanel(name, device);
        EXPECT_TRUE(pumpUntil(
            [&] { return panel && panel->appearanceState() == ui::ViewController::AppearanceState::Appeared; }));
        pass(0.5);
        return panel;
    }

    std::shared_ptr<chat::ChatVC> openChat()
    {
        tap(home()->voiceButton());
        clock->advance(1s);
        auto chat = std::dynamic_pointer_cast<chat::ChatVC>(home()->navigationController()->topViewController());
        EXPECT_TRUE(chat);
        awaitReplies();
        return chat;
    }

    // Everything of the second parent that a late answer could touch: its stored messages with each device the
    // table uses, its current-device row, the settings of the signed-in account and its device, the record of
    // the current device, and whether an alert or a panel shows.
    std::string secondParentsState()
    {
        std::string state;
        for (const char* serial : { watch, otherWatch, DemoData::ParvoSerialNumber, DemoData::Quenn3SerialNumber,
                 DemoData::MorvikSerialNumber, DemoData::Tracker13SerialNumber }) {
            for (const auto& message :
                core::DBManager::selectUserChatQueryByUserName(otherAccount, otherAccount, serial))
                state += "chat " + message->id_.value_or("") + "\n";
            for (const auto& message :
                core::DBManager::selectUserMessageQueryByUserName(otherAccount, serial, otherAccount))
                state += "message " + message->id_.value_or("") + "\n";
        }
        if (auto row = core::DBManager::readSingleMobileDevice())
            state += "device row " + row->serialNumber.value_or("") + " " + row->DeviceName.value_or("") + "\n";
        auto& defaults = base::UserDefaults::standard();
        for (const char* key : { core::SettingsKeys::Cookie, core::SettingsKeys::LoginName2,
                 core::SettingsKeys::LastSerialNumber, core::SettingsKeys::Receipt })
            state += std::string(key) + "=" + defaults.stringForKey(key).value_or("<none>") + "\n";
        for (const char* key : core::SettingsKeys::SignedInDeviceKeys)
            state += std::string(key) + "=" + (defaults.objectForKey(key) ? "set" : "<none>") + "\n";
        auto record = core::Singleton::shared().deviceDetail();
        state += "record " + (record ? record->serialNumber.value_or("") : std::string("<none>")) + "\n";
        state += shownAlert() ? "alert " + shownAlert()->message().value_or("") + "\n" : "";
        state += kit::ModalPresenter::sharedInstance()->window() ? "panel\n" : "";
        return state;
    }
};

std::shared_ptr<core::Device> bare(const char* serial, int64_t type)
{
    auto device = std::make_shared<core::Device>();
    device->serialNumber = serial;
    device->deviceTypeID = type;
    return device;
}

std::vector<Holder> holders()
{
    return {
        { "ChatText", "LumetSendTextMsg",
            [](SignInHolders& test) {
                test.openChat()->sendTxtMsg("for the watch", base::Date::now());
                return std::function<std::string()>();
            } },
        { "ChatVoiceUpload", tracking_service::TrackingService::UploadEndpoint,
            [](SignInHolders& test) {
                auto chat = test.openChat();
                base::Data voice { '#', '!', 'A', 'M', 'R', '\n', 0x3c, 0x48, 0xf5, 0x1f, 0x96, 0x66, 0x79, 0xe1 };
                chat->endRecord(voice, base::URL::fileURL(core::Singleton::shared().messagePath().string() + "held"));
                return std::function<std::string()>();
            } },
        { "AuthorisedNumber", "ParvoSetAuthorizedPhoneNumber",
            [](SignInHolders& test) {
                auto device = test.detailOf(DemoData::ParvoSerialNumber);
                auto screen = settings::LikeNumberVC::make();
                screen->setDeviceDetail(device);
                settings::NumberPanelParts::runAppearanceStep(*screen);
                settings::NumberPanelParts::fieldWithTag(screen->likeNumberViewForParvo(), 105)->setText("13900000001");
                screen->setPhoneNumberForParvo(*screen->parvoButtons()[1]);
                return std::function<std::string()>([device] { return device->parvoDeviceConfig->key1CallNo.text(); });
            } },
        { "MorvikCentreNumber", settings::CenterNumberVC::MorvikMethod,
            [](SignInHolders& test) {
                auto panel = std::dynamic_pointer_cast<settings::CenterNumberVC>(
                    test.showPanel(shell::ScreenDirectory::CenterNumber, test.detailOf(DemoData::MorvikSerialNumber)));
                panel->centerNumberText()->setText("13900000002");
                panel->setCenterNumberForQuenn();
                return std::function<std::string()>();
            } },
        { "QuennCentreNumber", settings::CenterNumberVC::QuennMethod,
            [](SignInHolders& test) {
                auto panel = std::dynamic_pointer_cast<settings::CenterNumberVC>(
                    test.showPanel(shell::ScreenDirectory::CenterNumber, test.detailOf(DemoData::Quenn3SerialNumber)));
                panel->centerNumberText()->setText("13900000003");
                panel->setCenterNumberForQuenn();
                return std::function<std::string()>();
            } },
        { "UploadInterval", childcare::UploadInterval::ParvoMethod,
            [](SignInHolders& test) {
                auto device = test.detailOf(DemoData::ParvoSerialNumber);
                auto panel = std::dynamic_pointer_cast<childcare::TimeReceiveSettingVC>(
                    test.showPanel(shell::ScreenDirectory::UploadInterval, device));
                panel->timeText()->setText("45");
                panel->setTimeForPassBack();
                return std::function<std::string()>(
                    [device] { return device->parvoDeviceConfig->intervalTime.text(); });
            } },
        { "NumberQueue", settings::LumetNumbers::ManyPhoneMethod,
            [](SignInHolders& test) {
                auto device = test.detailOf(SignInHolders::watch);
                settings::LumetNumbers::send(device, settings::LumetSlot::Father, "13900000004");
                return std::function<std::string()>(
                    [device] { return device->lumetDeviceConfig->numberForFather.text(); });
            } },
        { "FamilyKeyEditor", settings::FamilyNumberVC::Method,
            [](SignInHolders& test) {
                auto device = test.detailOf(SignInHolders::watch);
                auto editor = settings::FamilyNumberVC::make(device, 1);
                editor->txtNumber()->setText("13900000005");
                editor->clickListen();
                return std::function<std::string()>(
                    [device] { return device->lumetDeviceConfig->numberForFather.text(); });
            } },
        { "SoundCommand", chat::SendSoundCommandVC::SendSoundCommandMethod,
            [](SignInHolders& test) {
                auto tracker = bare(DemoData::Tracker13SerialNumber, 13);
                auto panel = std::dynamic_pointer_cast<chat::SendSoundCommandVC>(
                    test.showPanel(shell::ScreenDirectory::SoundCommand, tracker));
                panel->commandField()->setText("ring");
                panel->sendCommandForParvo();
                return std::function<std::string()>();
            } },
        { "ChallengeEnding", childcare::ChallengeEnding::Method,
            [](SignInHolders& test) {
                auto device = test.detailOf(SignInHolders::watch);
                // As the pedometer does: the outcome as an alert.
                childcare::ChallengeEnding::send(
                    device, [] { core::showPromptAlert("success"); }, [] { core::showPromptAlert("failure"); });
                return std::function<std::string()>([device] {
                    return std::to_string(device->lumetDeviceConfig->IsPerdometerFinish) + " "
                        + std::to_string(device->lumetDeviceConfig->TargetStepCount);
                });
            } },
        { "MessagePoll", core::ServiceProtocol::PopMessagesMethod,
            [](SignInHolders& test) {
                // The home screen's next poll is the one held; it carries a message for the first parent.
                (void)test.service.store().queueMessage(SignInHolders::account,
                    base::Value(
                        base::Dictionary::make({ { "_id", "for-the-first" }, { "Context", "hello" }, { "Desc", "" },
                            { "From", SignInHolders::watch }, { "To", SignInHolders::account }, { "MsgType", 3 } })));
                return std::function<std::string()>();
            } },
    };
}

std::vector<Answer> answers()
{
    return { { "AsGiven", std::nullopt }, { "Refused", Fault::refusal() }, { "SessionRefused", Fault::status(401) },
        { "ConnectionDropped", Fault::dropConnection() } };
}

TEST_P(SignInHolders, AnAnswerAfterAnotherAccountSignedInShowsWritesAndSendsNothing)
{
    const auto& [holder, answer] = GetParam();
    launchAndSignIn();
    ASSERT_TRUE(homeDetailCame());
    pass(0.5);
    size_t before = requestsTo(holder.endpoint);
    service.faults().set(holder.endpoint, Fault::held());
    auto recorded = holder.start(*this);
    ASSERT_TRUE(pumpUntil([&] { return requestsTo(holder.endpoint) > before; }, 60));
    std::string recordedBefore = recorded ? recorded() : "";

    signInAsOtherAccount();
    pass(1);
    std::string state = secondParentsState();
    size_t sent = requestsTo(holder.endpoint);
    size_t signIns = requestsTo("Login");
    size_t announced = 0;
    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::ReceiveRemoteNotification, nullptr, [&](const base::Notification&) { ++announced; },
        this);

    service.faults().letGo(holder.endpoint, 0, answer.fault);
    pass(3);
    base::NotificationCenter::defaultCenter().removeObservers(this);

    EXPECT_EQ(secondParentsState(), state);
    EXPECT_EQ(announced, 0u);
    EXPECT_EQ(requestsTo("Login"), signIns) << "no session renewed for the first parent";
    if (holder.endpoint != std::string(core::ServiceProtocol::PopMessagesMethod)) {
        EXPECT_EQ(requestsTo(holder.endpoint), sent) << "nothing more in the second parent's session";
    }
    if (recorded) {
        EXPECT_EQ(recorded(), recordedBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryHolder, SignInHolders,
    testing::Combine(testing::ValuesIn(holders()), testing::ValuesIn(answers())),
    [](const testing::TestParamInfo<SignInHolders::ParamType>& info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

// The screen tests wait for replies on their way: a poll the service holds is a held call like any other, not a
// reply on its way, so that a test that holds one goes on at once instead of waiting out the transfer time-out.
class HeldPoll : public test::ShellTest { };

TEST_F(HeldPoll, IsNoReplyOnItsWayUntilItIsLetGo)
{
    launchAndSignIn();
    ASSERT_TRUE(homeDetailCame());
    pass(0.5);
    size_t polls = requestsTo(core::ServiceProtocol::PopMessagesMethod);
    service.faults().set(core::ServiceProtocol::PopMessagesMethod, Fault::held());
    ASSERT_TRUE(pumpUntil([&] { return requestsTo(core::ServiceProtocol::PopMessagesMethod) > polls; }, 60));
    EXPECT_EQ(core::IncomingMessages::pollsInFlight(), 1u);
    EXPECT_FALSE(replyOnItsWay());

    service.faults().remove(core::ServiceProtocol::PopMessagesMethod);
    EXPECT_TRUE(pumpUntil([] { return core::IncomingMessages::storesInFlight() == 0; }));
}

} // namespace
