#include "settings/numbers/LikeNumberVC.h"

#include "base/loop/MainThread.h"
#include "kit/modal/PanelReturn.h"
#include "settings/numbers/LumetNumbers.h"
#include "settings/numbers/NumberPanelParts.h"
#include "settings/numbers/QuennNumbers.h"
#include "settings/numbers/SingleNumberCommand.h"
#include "ui/controls/Button.h"
#include "ui/controls/TextField.h"

#include <algorithm>

namespace settings {

namespace {

    constexpr int64_t parvoType = 2;
    constexpr int64_t quennTypes[] = { 3, 6 };
    constexpr int64_t newSorbyTypes[] = { 7, 13, 16, 18, 20, 21 };
    constexpr int64_t lumetTypes[] = { 27, 36 };
    constexpr int64_t parvoInNewSorbyType = 16;

    bool isOneOf(int64_t type, const auto& types)
    {
        return std::find(std::begin(types), std::end(types), type) != std::end(types);
    }

    LumetSlot lumetSlotOf(int bindWho)
    {
        switch (bindWho) {
        case LikeNumberVC::Father:
            return LumetSlot::Father;
        case LikeNumberVC::Mother:
            return LumetSlot::Mother;
        case LikeNumberVC::SOS:
            return LumetSlot::SOS;
        default:
            return LumetSlot::Listen;
        }
    }

} // namespace

std::shared_ptr<LikeNumberVC> LikeNumberVC::make() { return std::make_shared<LikeNumberVC>(); }

const std::shared_ptr<ui::View>& LikeNumberVC::likeNumberViewForParvo()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_parvoView;
}

const std::shared_ptr<ui::View>& LikeNumberVC::likeNumberViewForQuenn()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_quennView;
}

const std::shared_ptr<ui::View>& LikeNumberVC::likeNumberViewForNewSorby()
{
    view();
    return m_newSorbyView;
}

const std::shared_ptr<ui::View>& LikeNumberVC::lumetPanel(int bindWho)
{
    view();
    return m_lumetPanels.at(static_cast<size_t>(bindWho));
}

void LikeNumberVC::viewDidLoad()
{
    view()->setFrame({ 0, 0, NumberPanelParts::panelWidth, 160 });
    view()->setBackgroundColor(gfx::Color::white());
    buildParvoView();
    buildQuennView();
    buildNewSorbyView();
    buildLumetPanels();
}

int64_t LikeNumberVC::deviceType() const { return m_deviceDetail ? m_deviceDetail->deviceTypeID.value_or(0) : 0; }

std::string LikeNumberVC::serialNumber() const
{
    return m_deviceDetail ? m_deviceDetail->serialNumber.value_or("") : "";
}

void LikeNumberVC::viewWillAppear(bool)
{
    int64_t type = deviceType();
    if (type == parvoType) {
        fillParvo();
        internationalForParvo();
        showModelView(m_parvoView);
    } else if (isOneOf(type, quennTypes)) {
        fillQuenn();
        internationalForQuenn();
        showModelView(m_quennView);
    } else if (isOneOf(type, newSorbyTypes)) {
        fillNewSorby();
        internationalForNewSorby();
        showModelView(m_newSorbyView);
    } else if (isOneOf(type, lumetTypes) && m_bindWho >= Mother && m_bindWho <= Listen) {
        fillLumet();
        showModelView(m_lumetPanels[static_cast<size_t>(m_bindWho)]);
    }
}

void LikeNumberVC::showModelView(const std::shared_ptr<ui::View>& modelView)
{
    if (m_shown)
        m_shown->removeFromSuperview();
    m_shown = modelView;
    gfx::Rect frame = view()->frame();
    view()->setFrame({ frame.origin, modelView->frame().size });
    modelView->setFrame({ { 0, 0 }, modelView->frame().size });
    view()->addSubview(modelView);
}

void LikeNumberVC::fillParvo()
{
    const auto& parvo = m_deviceDetail->parvoDeviceConfig;
    core::ParvoDeviceConfig empty;
    const core::ParvoDeviceConfig& config = parvo ? *parvo : empty;
    const core::ConfigText* stored[]
        = { &config.keySOSSMSNo, &config.key1CallNo, &config.key2CallNo, &config.key3CallNo, &config.listenNum };
    for (size_t i = 0; i < parvoFieldTags.size(); ++i) {
        int tag = parvoFieldTags[i];
        NumberPanelParts::fieldWithTag(m_parvoView, tag)->setText(NumberPanelParts::shown(*stored[i]));
    }
}

void LikeNumberVC::fillQuenn()
{
    const auto& quenn = m_deviceDetail->quennDeviceConfig;
    for (size_t i = 0; i < m_quennFields.size(); ++i) {
        m_quennFields[i]->setText(quenn ? NumberPanelParts::shown(QuennNumbers::number(*quenn, i)) : "");
    }
}

void LikeNumberVC::fillNewSorby()
{
    const auto& parvo = m_deviceDetail->parvoDeviceConfig;
    auto fill = [&](int tag, const core::ConfigText* stored) {
        NumberPanelParts::fieldWithTag(m_newSorbyView, tag)->setText(stored ? NumberPanelParts::shown(*stored) : "");
    };
    fill(parvoFieldTags.front(), parvo ? &parvo->keySOSCallNo : nullptr);
    fill(listenFieldTag, parvo ? &parvo->listenNum : nullptr);
}

void LikeNumberVC::fillLumet()
{
    LumetSlot slot = lumetSlotOf(m_bindWho);
    const auto& lumet = m_deviceDetail->lumetDeviceConfig;
    NumberPanelParts::fieldWithTag(m_lumetPanels[static_cast<size_t>(m_bindWho)], lumetFieldTagOf(m_bindWho))
        ->setText(lumet ? NumberPanelParts::shown(LumetNumbers::number(*lumet, slot)) : "");
}

void LikeNumberVC::setPhoneNumberForParvo(const ui::Button& button)
{
    bool inNewSorby = deviceType() == parvoInNewSorbyType;
    sendAuthorised(inNewSorby ? m_newSorbyView : m_parvoView, button.tag(), false);
}

void LikeNumberVC::setPhoneNumberForTolva(const ui::Button& button)
{
    sendAuthorised(m_newSorbyView, button.tag(), true);
}

void LikeNumberVC::setListenNumberForParvo(const ui::Button&)
{
    bool inNewSorby = deviceType() == parvoInNewSorbyType;
    sendListen(inNewSorby ? m_newSorbyView : m_parvoView);
}

void LikeNumberVC::setListenNumberForTolva(const ui::Button&) { sendListen(m_newSorbyView); }

void LikeNumberVC::sendAuthorised(const std::shared_ptr<ui::View>& container, int tag, bool sosCallOnly)
{
    // Key 1 is the SOS number, 2 to 4 the key numbers; the division truncates toward zero.
    int key = (tag - 100) / 4 + 1;
    auto field = NumberPanelParts::fieldWithTag(container, tag - 2);
    if (!field)
        return;
    std::string typed = field->text();
    dismissView();
    auto device = m_deviceDetail;
    if (!device || !device->serialNumber) {
        SingleNumberCommand::settle({}, false);
        return;
    }
    auto body = base::Dictionary::make({ { "Serialnumber", base::Value(*device->serialNumber) },
        { "ButtonNum", base::Value(int64_t { key }) }, { "phonenumberforreceivingSMS", base::Value(typed) },
        { "phonenumberforreceivingcall", base::Value(typed) } });
    SingleNumberCommand::send("ParvoSetAuthorizedPhoneNumber", body, [device, key, typed, sosCallOnly] {
        auto& parvo = device->parvoDeviceConfig;
        if (!parvo)
            return;
        if (sosCallOnly) {
            parvo->keySOSCallNo = typed;
            return;
        }
        core::ConfigText* pairs[][2]
            = { { &parvo->keySOSSMSNo, &parvo->keySOSCallNo }, { &parvo->key1SMSNo, &parvo->key1CallNo },
                  { &parvo->key2SMSNo, &parvo->key2CallNo }, { &parvo->key3SMSNo, &parvo->key3CallNo } };
        if (key < 1 || key > 4)
            return;
        *pairs[key - 1][0] = typed;
        *pairs[key - 1][1] = typed;
    });
}

void LikeNumberVC::sendListen(const std::shared_ptr<ui::View>& container)
{
    auto field = NumberPanelParts::fieldWithTag(container, listenFieldTag);
    if (!field)
        return;
    std::string typed = field->text();
    dismissView();
    auto device = m_deviceDetail;
    if (!device || !device->serialNumber) {
        SingleNumberCommand::settle({}, false);
        return;
    }
    auto body = base::Dictionary::make(
        { { "Serialnumber", base::Value(*device->serialNumber) }, { "TelNumber", base::Value(typed) } });
    SingleNumberCommand::send("ParvoSetTelephoneNumberforWiretapping", body, [device, typed] {
        if (device->parvoDeviceConfig)
            device->parvoDeviceConfig->listenNum = typed;
    });
}

void LikeNumberVC::setPhoneNumberForQuenn(const ui::Button&)
{
    QuennNumbers::Changes changes { m_quennFields[0]->text(), m_quennFields[1]->text(), m_quennFields[2]->text(),
        std::nullopt };
    dismissView();
    QuennNumbers::send(m_deviceDetail, changes);
}

void LikeNumberVC::setLumetNumber(int bindWho)
{
    auto field
        = NumberPanelParts::fieldWithTag(m_lumetPanels.at(static_cast<size_t>(bindWho)), lumetFieldTagOf(bindWho));
    std::string typed = field ? field->text() : "";
    dismissView();
    LumetNumbers::send(m_deviceDetail, lumetSlotOf(bindWho), typed);
}

void LikeNumberVC::dismissView() { NumberPanelParts::dismiss(); }

void LikeNumberVC::textFieldDidBeginEditing(ui::TextField& field) { m_lift.begin(*view(), field); }

// Return sends what the field's own button sends: the Parvo and New Sorby rows each have theirs, the Quenn
// view and each watch panel one done button for all their fields.
bool LikeNumberVC::textFieldShouldReturn(ui::TextField& field)
{
    auto within = [&](const std::shared_ptr<ui::View>& view) { return view && field.isDescendantOfView(view.get()); };
    if (within(m_quennView))
        return kit::returnInPanel(field, { m_quennFields.begin(), m_quennFields.end() }, m_quennDone);
    if (within(m_parvoView)) {
        auto row = std::find(parvoFieldTags.begin(), parvoFieldTags.end(), field.tag()) - parvoFieldTags.begin();
        if (row < static_cast<long>(parvoFieldTags.size()))
            return kit::returnInPanel(field, { NumberPanelParts::fieldWithTag(m_parvoView, field.tag()) },
                m_parvoButtons[static_cast<size_t>(row)]);
    }
    if (within(m_newSorbyView)) {
        return kit::returnInPanel(field, { NumberPanelParts::fieldWithTag(m_newSorbyView, field.tag()) },
            field.tag() == listenFieldTag ? m_button2 : m_button1);
    }
    for (int slot = 0; slot < 4; ++slot) {
        const auto& panel = m_lumetPanels[static_cast<size_t>(slot)];
        if (within(panel)) {
            return kit::returnInPanel(
                field, { NumberPanelParts::fieldWithTag(panel, lumetFieldTagOf(slot)) }, lumetDoneButton(slot));
        }
    }
    field.resignFirstResponder();
    return true;
}

void LikeNumberVC::textFieldDidEndEditing(ui::TextField&) { m_lift.end(*view()); }

} // namespace settings
