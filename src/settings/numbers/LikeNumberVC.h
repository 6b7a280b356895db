// settings::LikeNumberVC: the number screen. It edits the phone numbers a device stores and sends each to
// the device through the service; the device's type, read when the screen is about to appear, picks the
// model view it shows: the Parvo view (type 2: SOS, three key numbers and the listen number), the Quenn view
// (types 3 and 6: three family numbers), the New Sorby view (7, 13, 16, 18, 20, 21: SOS and listen), or for
// the main watch model (27, 36) the one panel of the slot `bindWho` (0 mother, 1 father, 2 SOS, 3 listen).
// Any other type shows the bare screen.
//
// The screen is shown in the shared modal presenter (NumberPanelParts::present), not pushed. A send closes
// the presenter at once; the outcome comes later as an alert, and an accepted number is written into the
// device record, which is the opener's own, so later screens see it. Each field opens on the number the
// record holds, never one the service did not take. Fields are found by tag inside the model views: 101, 105,
// 109, 113, 117 (Parvo), 101, 117 (New Sorby), 201 to 204 (watch panels); an authorised-number button
// carries its field's tag plus 2. Return in a field presses the button that sends it (its row's own, or the
// view's done after the Quenn view's fields one by one). Main thread; made with make().
//
//   auto screen = settings::LikeNumberVC::make();
//   screen->setDeviceDetail(device);
//   screen->setBindWho(settings::LikeNumberVC::Father);
//   settings::NumberPanelParts::present(screen);
#pragma once

#include "core/records/Device.h"
#include "settings/numbers/NumberFieldLift.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"

#include <array>
#include <memory>

namespace ui {
class Button;
class Label;
class TextField;
}

namespace settings {

class LikeNumberVC : public ui::ViewController, public ui::TextFieldDelegate {
public:
    static constexpr int Mother = 0;
    static constexpr int Father = 1;
    static constexpr int SOS = 2;
    static constexpr int Listen = 3;
    // Field tags of the Parvo view (SOS, keys 1 to 3, listen); the New Sorby view uses the first and last.
    static constexpr std::array<int, 5> parvoFieldTags { 101, 105, 109, 113, 117 };
    static constexpr int listenFieldTag = 117;
    // The field tags of the watch panels: 201 father, 202 mother, 203 SOS, 204 listen.
    static constexpr int lumetFieldTagOf(int bindWho)
    {
        return bindWho == Father ? 201 : bindWho == Mother ? 202 : 200 + bindWho + 1;
    }
    static constexpr int liftOrigin = 130;

    static std::shared_ptr<LikeNumberVC> make();

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_deviceDetail = std::move(device); }
    int bindWho() const { return m_bindWho; }
    void setBindWho(int bindWho) { m_bindWho = bindWho; }

    const std::shared_ptr<ui::View>& likeNumberViewForParvo();
    const std::shared_ptr<ui::View>& likeNumberViewForQuenn();
    const std::shared_ptr<ui::View>& likeNumberViewForNewSorby();
    // The watch panel of a slot (Mother, Father, SOS, Listen).
    const std::shared_ptr<ui::View>& lumetPanel(int bindWho);
    // The model view the layout step added, or nullptr.
    const std::shared_ptr<ui::View>& shownModelView() const { return m_shown; }
    const std::array<std::shared_ptr<ui::TextField>, 3>& quennFields() const { return m_quennFields; }
    const std::shared_ptr<ui::Button>& quennDoneButton() const { return m_quennDone; }
    // The Parvo view's buttons: bind for SOS and keys 1 to 3, then listen.
    const std::array<std::shared_ptr<ui::Button>, 5>& parvoButtons() const { return m_parvoButtons; }
    // The New Sorby view's bind and listen buttons.
    const std::shared_ptr<ui::Button>& button1() const { return m_button1; }
    const std::shared_ptr<ui::Button>& button2() const { return m_button2; }
    // The done button of a slot's watch panel.
    const std::shared_ptr<ui::Button>& lumetDoneButton(int bindWho) const
    {
        return m_lumetDoneButtons.at(static_cast<size_t>(bindWho));
    }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // The send actions, each given the pressed button.
    void setPhoneNumberForParvo(const ui::Button& button);
    void setListenNumberForParvo(const ui::Button& button);
    void setPhoneNumberForTolva(const ui::Button& button);
    void setListenNumberForTolva(const ui::Button& button);
    void setPhoneNumberForQuenn(const ui::Button& button);
    // The four watch panels' done buttons (Mother, Father, SOS, Listen).
    void setLumetNumber(int bindWho);
    void dismissView();

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    void textFieldDidEndEditing(ui::TextField& field) override;

private:
    void buildParvoView();
    void buildQuennView();
    void buildNewSorbyView();
    void buildLumetPanels();
    void internationalForParvo();
    void internationalForQuenn();
    void internationalForNewSorby();
    void fillParvo();
    void fillQuenn();
    void fillNewSorby();
    void fillLumet();
    void showModelView(const std::shared_ptr<ui::View>& modelView);
    int64_t deviceType() const;
    std::string serialNumber() const;
    void sendAuthorised(const std::shared_ptr<ui::View>& container, int tag, bool sosCallOnly);
    void sendListen(const std::shared_ptr<ui::View>& container);
    void wire(const std::shared_ptr<ui::Button>& button, void (LikeNumberVC::*action)(const ui::Button&));
    void wireNewSorby(const std::shared_ptr<ui::Button>& button, void (LikeNumberVC::*parvo)(const ui::Button&),
        void (LikeNumberVC::*tolva)(const ui::Button&));

    std::shared_ptr<core::Device> m_deviceDetail;
    int m_bindWho { 0 };
    NumberFieldLift m_lift { NumberFieldLift::fixedAbove(liftOrigin) };

    std::shared_ptr<ui::View> m_parvoView;
    std::shared_ptr<ui::Label> m_titleLabelForParvo;
    std::array<std::shared_ptr<ui::Label>, 5> m_parvoLabels;
    std::array<std::shared_ptr<ui::Button>, 5> m_parvoButtons;

    std::shared_ptr<ui::View> m_quennView;
    std::shared_ptr<ui::Label> m_titleLabelForQuenn;
    std::array<std::shared_ptr<ui::Label>, 3> m_quennLabels;
    std::array<std::shared_ptr<ui::TextField>, 3> m_quennFields;
    std::shared_ptr<ui::Button> m_quennCancel;
    std::shared_ptr<ui::Button> m_quennDone;

    std::shared_ptr<ui::View> m_newSorbyView;
    std::shared_ptr<ui::Label> m_titleLabelForNewSorby;
    std::shared_ptr<ui::Label> m_label9;
    std::shared_ptr<ui::Label> m_label10;
    std::shared_ptr<ui::Button> m_button1;
    std::shared_ptr<ui::Button> m_button2;

    // Mother, Father, SOS, Listen.
    std::array<std::shared_ptr<ui::View>, 4> m_lumetPanels;
    std::array<std::shared_ptr<ui::Button>, 4> m_lumetDoneButtons;
    std::shared_ptr<ui::View> m_shown;
};

} // namespace settings
