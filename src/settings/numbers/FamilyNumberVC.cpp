#include "settings/numbers/FamilyNumberVC.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/SignInSession.h"
#include "kit/modal/PanelReturn.h"
#include "settings/numbers/NumberAlerts.h"
#include "settings/numbers/NumberPanelParts.h"
#include "settings/numbers/NumberSendQueue.h"
#include "ui/alerts/ActionSheet.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"

namespace settings {

namespace {

    // One key of the watch: its number, state, name and icon.
    struct Key {
        core::ConfigText* number;
        std::optional<base::Value>* state;
        const core::ConfigText* name;
        const core::ConfigText* icon;
    };

    Key keyOf(core::LumetDeviceConfig& config, int64_t index)
    {
        switch (index) {
        case 1:
            return { &config.numberForFather, &config.buttonNo1_State, &config.buttonNo1_Name, &config.buttonNo1_Icon };
        case 2:
            return { &config.numberForMother, &config.buttonNo2_State, &config.buttonNo2_Name, &config.buttonNo2_Icon };
        default:
            return { &config.numberForSOS, &config.sosNo_State, &config.sosNo_Name, &config.sosNo_Icon };
        }
    }

    bool namesKey(int64_t index) { return index >= 1 && index <= 3; }

    const char* nameKeyOf(int64_t index) { return index == 1 ? "father" : index == 2 ? "mother" : "SOS"; }

    // Answers the key sheet: the first three buttons are the keys 1 to 3, the last is cancel. Keeps the
    // editor it opens while the editor's view is shown. It holds the signed-in account's device record, so it
    // belongs to the sign-in it was made under: once that has ended it opens nothing.
    class KeyChooser : public ui::ActionSheetDelegate {
    public:
        explicit KeyChooser(std::shared_ptr<core::Device> device)
            : m_device(std::move(device))
        {
        }
        void actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int buttonIndex) override
        {
            if (buttonIndex < 0 || buttonIndex == sheet.cancelButtonIndex() || buttonIndex > 2 || !signIn.isCurrent())
                return;
            editor = FamilyNumberVC::make(m_device, buttonIndex + 1);
            NumberPanelParts::present(editor);
        }
        const core::SignInSession signIn = core::SignInSession::current();
        std::shared_ptr<FamilyNumberVC> editor;

    private:
        std::shared_ptr<core::Device> m_device;
    };

    // The chooser of the sheet shown last, forgotten (with the device record it holds) once its sign-in has
    // ended.
    std::shared_ptr<KeyChooser>& lastChooser()
    {
        static std::shared_ptr<KeyChooser> chooser;
        if (chooser && !chooser->signIn.isCurrent())
            chooser.reset();
        return chooser;
    }

} // namespace

std::shared_ptr<ui::ActionSheet> FamilyNumberVC::chooseKeyAndOpen(std::shared_ptr<core::Device> device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto chooser = std::make_shared<KeyChooser>(std::move(device));
    lastChooser() = chooser;
    auto sheet = std::make_shared<ui::ActionSheet>(std::nullopt, std::weak_ptr<ui::ActionSheetDelegate>(chooser),
        base::localized("cancel"), std::nullopt,
        std::vector<std::string> { base::localized("father"), base::localized("mother"), base::localized("SOS") });
    sheet->showInView(nullptr);
    return sheet;
}

std::shared_ptr<FamilyNumberVC> FamilyNumberVC::openedFromSheet()
{
    BASE_ASSERT_MAIN_THREAD();
    return lastChooser() ? lastChooser()->editor : nullptr;
}

std::shared_ptr<FamilyNumberVC> FamilyNumberVC::make(std::shared_ptr<core::Device> device, int64_t index)
{
    auto editor = std::make_shared<FamilyNumberVC>();
    editor->setDeviceDetail(std::move(device));
    editor->setIndex(index);
    return editor;
}

const std::shared_ptr<ui::Label>& FamilyNumberVC::lblTitle()
{
    view();
    return m_lblTitle;
}

const std::shared_ptr<ui::TextField>& FamilyNumberVC::txtNumber()
{
    view();
    return m_txtNumber;
}

const std::shared_ptr<ui::Button>& FamilyNumberVC::btnListen()
{
    view();
    return m_btnListen;
}

const std::shared_ptr<ui::Button>& FamilyNumberVC::btnCall()
{
    view();
    return m_btnCall;
}

const std::shared_ptr<ui::Button>& FamilyNumberVC::btnCancel()
{
    view();
    return m_btnCancel;
}

void FamilyNumberVC::viewDidLoad()
{
    constexpr double W = NumberPanelParts::panelWidth;
    auto panel = NumberPanelParts::panel(160);
    view()->setFrame(panel->frame());
    view()->setBackgroundColor(gfx::Color::clear());
    view()->addSubview(panel);
    m_lblTitle = NumberPanelParts::title(W);
    panel->addSubview(m_lblTitle);
    m_txtNumber = NumberPanelParts::field({ 20, 52, W - 40, 36 }, 0);
    m_txtNumber->setPlaceholder(base::localized("please_input_telNum"));
    m_txtNumber->setDelegate(std::weak_ptr<ui::TextFieldDelegate>(ui::sharedFrom(this)));
    panel->addSubview(m_txtNumber);
    const double buttonWidth = (W - 40 - 16) / 3;
    m_btnListen = NumberPanelParts::actionButton({ 20, 106, buttonWidth, 36 });
    m_btnCall = NumberPanelParts::actionButton({ 20 + buttonWidth + 8, 106, buttonWidth, 36 });
    m_btnCancel = NumberPanelParts::cancelButton({ 20 + 2 * (buttonWidth + 8), 106, buttonWidth, 36 });
    const std::pair<std::shared_ptr<ui::Button>, void (FamilyNumberVC::*)()> buttons[]
        = { { m_btnListen, &FamilyNumberVC::clickListen }, { m_btnCall, &FamilyNumberVC::clickCall },
              { m_btnCancel, &FamilyNumberVC::clickCancel } };
    const char* titles[] = { "listen", "call", "cancel" };
    for (size_t i = 0; i < 3; ++i) {
        buttons[i].first->setTitle(base::localized(titles[i]), ui::ControlState::Normal);
        buttons[i].first->addAction(
            [weak = ui::weakFrom(this), action = buttons[i].second](ui::Control&) {
                if (auto self = weak.lock())
                    ((*self).*action)();
            },
            ui::ControlEvent::TouchUpInside);
        panel->addSubview(buttons[i].first);
    }
}

void FamilyNumberVC::viewWillAppear(bool)
{
    std::string name = namesKey(m_index) ? base::localized(nameKeyOf(m_index)) : "";
    m_lblTitle->setText(base::LocalizedFormat::format(base::localized("please_set_number"), { name }));
    const auto& config = m_deviceDetail ? m_deviceDetail->lumetDeviceConfig : nullptr;
    if (!namesKey(m_index) || !config) {
        m_txtNumber->setText("");
        return;
    }
    m_txtNumber->setText(NumberPanelParts::shown(*keyOf(*config, m_index).number));
}

base::DictionaryRef FamilyNumberVC::requestFor(
    const core::Device& device, int64_t index, const std::string& typed, int64_t state)
{
    auto& config = *device.lumetDeviceConfig;
    auto body = base::MutableDictionary::make();
    body->setObject(base::Value(device.serialNumber.value_or("")), "Serialnumber");
    const char* prefixes[] = { "ButtonNo1", "ButtonNo2", "SOSNo" };
    for (int64_t key = 1; key <= 3; ++key) {
        Key stored = keyOf(config, key);
        std::string prefix = prefixes[key - 1];
        bool edited = key == index;
        body->setObject(edited ? base::Value(typed) : stored.number->value(), prefix);
        body->setObject(edited ? base::Value(state) : stored.state->value_or(base::Value::null()), prefix + "_State");
        body->setObject(stored.name->value(), prefix + "_Name");
        body->setObject(stored.icon->value(), prefix + "_Icon");
    }
    return body;
}

void FamilyNumberVC::clickListen() { send(ListenState); }

void FamilyNumberVC::clickCall() { send(CallState); }

void FamilyNumberVC::clickCancel() { NumberPanelParts::dismiss(); }

void FamilyNumberVC::send(int64_t state)
{
    std::string typed = m_txtNumber->text();
    auto device = m_deviceDetail;
    int64_t index = m_index;
    if (!device || !device->serialNumber || !device->lumetDeviceConfig || !namesKey(index)) {
        showNumberAlert("failure");
        return;
    }
    // Kept as the request stood when this press built it; the one that goes is built in the device's turn.
    (state == ListenState ? m_dic : m_dicCall) = requestFor(*device, index, typed, state);
    NumberSendQueue::shared().enqueue(
        *device->serialNumber, [device, index, typed, state](NumberSendQueue::Finished finished) {
            if (!device->lumetDeviceConfig) {
                finished([=] { settle(device, index, typed, state, false); });
                return;
            }
            core::WebCall::post(
                Method, requestFor(*device, index, typed, state),
                [device, index, typed, state, finished](const std::string& reply) {
                    bool accepted = core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply));
                    finished([=] { settle(device, index, typed, state, accepted); });
                },
                [device, index, typed, state, finished](
                    const base::Error&) { finished([=] { settle(device, index, typed, state, false); }); });
        });
}

void FamilyNumberVC::settle(
    const std::shared_ptr<core::Device>& device, int64_t index, const std::string& typed, int64_t state, bool accepted)
{
    if (accepted && device->lumetDeviceConfig) {
        Key key = keyOf(*device->lumetDeviceConfig, index);
        *key.number = core::ConfigText(typed);
        // Made in place: moving a temporary value in makes GCC 12 at -O2 report a false -Wmaybe-uninitialized.
        key.state->emplace(state);
    }
    showNumberAlert(accepted ? "success" : "failure");
}

void FamilyNumberVC::textFieldDidBeginEditing(ui::TextField& field) { m_lift.begin(*view(), field); }

// Return sends the number with the state the key already has, as that state's button does: it never turns a
// listening key into a calling one or back. A key whose state the record lacks leaves the choice to the buttons.
bool FamilyNumberVC::textFieldShouldReturn(ui::TextField& field)
{
    const auto& config = m_deviceDetail ? m_deviceDetail->lumetDeviceConfig : nullptr;
    const std::optional<base::Value>* state = config && namesKey(m_index) ? keyOf(*config, m_index).state : nullptr;
    long long kept = state && *state ? (*state)->longLongValue() : 0;
    if (kept != ListenState && kept != CallState) {
        field.resignFirstResponder();
        return true;
    }
    return kit::returnInPanel(field, { m_txtNumber }, kept == CallState ? m_btnCall : m_btnListen);
}

void FamilyNumberVC::textFieldDidEndEditing(ui::TextField&) { m_lift.end(*view()); }

} // namespace settings
