// Every number method under every way the service can fail: the user sees "failure" (the centre number
// shows a refusal's own words, the watch's numbers the network text when the service was not reached),
// nothing stored changes, and the next panel shows what the watch holds.
#include "NumberScreenFixture.h"

#include "settings/numbers/CenterNumberVC.h"
#include "settings/numbers/FamilyNumberVC.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/ListenNumberVC.h"
#include "settings/numbers/QuennNumbers.h"
#include "ui/controls/Button.h"
#include "ui/controls/TextField.h"

#include <functional>

namespace {

using settings::LikeNumberVC;
using settings::NumberPanelParts;

struct Method {
    const char* name;
    const char* serialNumber;
    // Shows the panel, types `typed` and sends.
    std::function<void(test::NumberScreenTest&, const std::shared_ptr<core::Device>&, const std::string&)> send;
    // What the panel for the same slot shows when opened again.
    std::function<std::string(const std::shared_ptr<core::Device>&)> shownNext;
    // The record's field the method would change.
    std::function<std::string(const core::Device&)> recorded;
};

std::shared_ptr<LikeNumberVC> numberScreen(const std::shared_ptr<core::Device>& device, int bindWho = 0)
{
    auto screen = LikeNumberVC::make();
    screen->setDeviceDetail(device);
    screen->setBindWho(bindWho);
    NumberPanelParts::runAppearanceStep(*screen);
    return screen;
}

std::string fieldText(const std::shared_ptr<ui::View>& view, int tag)
{
    auto field = NumberPanelParts::fieldWithTag(view, tag);
    return field ? field->text() : "<no field>";
}

Method parvoKey()
{
    return { "ParvoSetAuthorizedPhoneNumber", tracking_service::DemoData::ParvoSerialNumber,
        [](auto&, const auto& device, const std::string& typed) {
            auto screen = numberScreen(device);
            NumberPanelParts::fieldWithTag(screen->likeNumberViewForParvo(), 105)->setText(typed);
            screen->setPhoneNumberForParvo(*screen->parvoButtons()[1]);
        },
        [](const auto& device) { return fieldText(numberScreen(device)->likeNumberViewForParvo(), 105); },
        [](const core::Device& device) { return device.parvoDeviceConfig->key1CallNo.text(); } };
}

Method parvoListen()
{
    return { "ParvoSetTelephoneNumberforWiretapping", tracking_service::DemoData::ParvoSerialNumber,
        [](auto&, const auto& device, const std::string& typed) {
            auto screen = numberScreen(device);
            NumberPanelParts::fieldWithTag(screen->likeNumberViewForParvo(), 117)->setText(typed);
            screen->setListenNumberForParvo(*screen->parvoButtons()[4]);
        },
        [](const auto& device) { return fieldText(numberScreen(device)->likeNumberViewForParvo(), 117); },
        [](const core::Device& device) { return device.parvoDeviceConfig->listenNum.text(); } };
}

Method quennNumbers()
{
    return { "QuennSetPhoneNumber", tracking_service::DemoData::Quenn3SerialNumber,
        [](auto&, const auto& device, const std::string& typed) {
            auto screen = numberScreen(device);
            screen->quennFields()[1]->setText(typed);
            screen->setPhoneNumberForQuenn(*screen->quennDoneButton());
        },
        [](const auto& device) { return numberScreen(device)->quennFields()[1]->text(); },
        [](const core::Device& device) { return device.quennDeviceConfig->sOSNum2.text(); } };
}

Method watchSlot(const char* name, int bindWho)
{
    return { name, tracking_service::DemoData::WatchSerialNumber,
        [bindWho](auto&, const auto& device, const std::string& typed) {
            auto screen = numberScreen(device, bindWho);
            NumberPanelParts::fieldWithTag(screen->lumetPanel(bindWho), LikeNumberVC::lumetFieldTagOf(bindWho))
                ->setText(typed);
            screen->setLumetNumber(bindWho);
        },
        [bindWho](const auto& device) {
            return fieldText(
                numberScreen(device, bindWho)->lumetPanel(bindWho), LikeNumberVC::lumetFieldTagOf(bindWho));
        },
        [bindWho](const core::Device& device) {
            return bindWho == LikeNumberVC::Listen ? device.lumetDeviceConfig->numberForListen.text()
                                                   : device.lumetDeviceConfig->numberForMother.text();
        } };
}

Method quennListen()
{
    return { "QuennSetPhoneNumber (listen)", tracking_service::DemoData::Quenn3SerialNumber,
        [](auto&, const auto& device, const std::string& typed) {
            auto panel = settings::ListenNumberVC::make(device);
            NumberPanelParts::runAppearanceStep(*panel);
            panel->phoneNumberText()->setText(typed);
            panel->setListenPhoneNumber();
        },
        [](const auto& device) {
            auto panel = settings::ListenNumberVC::make(device);
            NumberPanelParts::runAppearanceStep(*panel);
            return panel->phoneNumberText()->text();
        },
        [](const core::Device& device) { return device.quennDeviceConfig->sOSNum4.text(); } };
}

Method morvik(const char* name, bool centre)
{
    return { name, tracking_service::DemoData::MorvikSerialNumber,
        [centre](auto&, const auto& device, const std::string& typed) {
            if (centre) {
                auto panel = settings::CenterNumberVC::make(device);
                panel->centerNumberText()->setText(typed);
                panel->setCenterNumberForQuenn();
            } else {
                auto panel = settings::ListenNumberVC::make(device);
                NumberPanelParts::runAppearanceStep(*panel);
                panel->phoneNumberText()->setText(typed);
                panel->setListenPhoneNumber();
            }
        },
        [centre](const auto& device) {
            if (centre)
                return settings::CenterNumberVC::make(device)->centerNumberText()->text();
            auto panel = settings::ListenNumberVC::make(device);
            NumberPanelParts::runAppearanceStep(*panel);
            return panel->phoneNumberText()->text();
        },
        [](const core::Device&) { return std::string(); } };
}

Method quennCentre()
{
    return { "QuennSetCenter", tracking_service::DemoData::Quenn3SerialNumber,
        [](auto&, const auto& device, const std::string& typed) {
            auto panel = settings::CenterNumberVC::make(device);
            panel->centerNumberText()->setText(typed);
            panel->setCenterNumberForQuenn();
        },
        [](const auto& device) { return settings::CenterNumberVC::make(device)->centerNumberText()->text(); },
        [](const core::Device&) { return std::string(); } };
}

Method editor()
{
    return { "LumetSetManyPhoneConfig_V2", tracking_service::DemoData::Watch44SerialNumber,
        [](auto&, const auto& device, const std::string& typed) {
            auto screen = settings::FamilyNumberVC::make(device, 2);
            NumberPanelParts::runAppearanceStep(*screen);
            screen->txtNumber()->setText(typed);
            screen->clickCall();
        },
        [](const auto& device) {
            auto screen = settings::FamilyNumberVC::make(device, 2);
            NumberPanelParts::runAppearanceStep(*screen);
            return screen->txtNumber()->text();
        },
        [](const core::Device& device) { return device.lumetDeviceConfig->numberForMother.text(); } };
}

class NumberFaultTest : public test::NumberScreenTest { };

TEST_F(NumberFaultTest, EveryMethodUnderEveryFaultShowsFailureAndTheNextPanelShowsTheWatchsNumber)
{
    const std::pair<const char*, Fault> faults[] = { { "status 500", Fault::status(500) },
        { "dropped connection", Fault::dropConnection() }, { "not JSON", Fault::nonJsonBody() },
        { "no payload", Fault::noPayload() }, { "null payload", Fault::nullPayload() },
        { "a number", Fault::payload(base::Value(int64_t { 0 })) }, { "refusal", Fault::refusal() } };
    const Method methods[] = { parvoKey(), parvoListen(), quennNumbers(), watchSlot("LumetSetManyPhoneConfig", 0),
        watchSlot("LumetSetListenNo", LikeNumberVC::Listen), quennListen(), morvik("MorvikSetListen", false),
        morvik("MorvikSetCenterNo", true), quennCentre(), editor() };
    int serial = 0;
    for (const auto& method : methods) {
        auto device = detailOf(method.serialNumber);
        ASSERT_TRUE(device) << method.name;
        std::string wire = std::string(method.name).substr(0, std::string(method.name).find(' '));
        for (const auto& [faultName, fault] : faults) {
            SCOPED_TRACE(std::string(method.name) + " / " + faultName);
            std::string before = method.recorded(*device);
            std::string typed = "1390000" + std::to_string(1000 + ++serial);
            service.faults().set(wire, fault);
            size_t sent = requestsTo(wire);
            method.send(*this, device, typed);
            std::string message = outcome();
            service.faults().clear();
            EXPECT_EQ(requestsTo(wire), sent + 1);
            bool centreWords = wire == "QuennSetCenter" && fault.kind == Fault::Kind::Refusal;
            // The watch's own numbers say when the service could not be reached at all.
            bool unreachable = (wire == "LumetSetManyPhoneConfig" || wire == "LumetSetListenNo")
                && fault.kind == Fault::Kind::DropConnection;
            EXPECT_EQ(message,
                centreWords ? std::string(Fault::DefaultRefusal) : text(unreachable ? "bad_netword" : "failure"));
            EXPECT_EQ(method.recorded(*device), before);
            EXPECT_EQ(method.shownNext(device), before);
            kit::ModalPresenter::sharedInstance()->hideAnimated(false);
        }
    }
}

TEST_F(NumberFaultTest, ARefusedQuennNumberIsNotSentAgainWithAnotherField)
{
    auto device = detailOf(tracking_service::DemoData::Quenn3SerialNumber);
    ASSERT_TRUE(device);
    std::string second = device->quennDeviceConfig->sOSNum2.text();
    service.faults().set(settings::QuennNumbers::Method, Fault::refusal());
    quennNumbers().send(*this, device, "13900000001");
    EXPECT_EQ(outcome(), text("failure"));
    service.faults().clear();
    kit::ModalPresenter::sharedInstance()->hideAnimated(false);

    auto screen = numberScreen(device);
    screen->quennFields()[0]->setText("13900000002");
    screen->setPhoneNumberForQuenn(*screen->quennDoneButton());
    EXPECT_EQ(outcome(), text("success"));
    auto body = lastBody(settings::QuennNumbers::Method);
    EXPECT_EQ(field(body, "Tel1"), "13900000002");
    EXPECT_EQ(field(body, "Tel2"), second);
}

} // namespace
