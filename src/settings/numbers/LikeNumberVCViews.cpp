// The model views of the number screen and their texts.
#include "settings/numbers/LikeNumberVC.h"

#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "settings/numbers/NumberPanelParts.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"

namespace settings {

namespace {

    constexpr double W = NumberPanelParts::panelWidth;
    constexpr double rowTop = NumberPanelParts::titleHeight;
    constexpr double rowH = NumberPanelParts::rowHeight;

    gfx::Rect captionFrame(int row) { return { 8, rowTop + row * rowH + 7, 66, 30 }; }
    gfx::Rect fieldFrame(int row) { return { 76, rowTop + row * rowH + 5, 130, 34 }; }
    gfx::Rect buttonFrame(int row) { return { 212, rowTop + row * rowH + 5, 60, 34 }; }

    std::string numbered(const char* key, int n)
    {
        return base::LocalizedFormat::format("%@ " + std::to_string(n), { base::localized(key) });
    }

} // namespace

void LikeNumberVC::wire(const std::shared_ptr<ui::Button>& button, void (LikeNumberVC::*action)(const ui::Button&))
{
    button->addAction(
        [weak = ui::weakFrom(this), action](ui::Control& control) {
            if (auto self = weak.lock())
                ((*self).*action)(static_cast<ui::Button&>(control));
        },
        ui::ControlEvent::TouchUpInside);
}

void LikeNumberVC::wireNewSorby(const std::shared_ptr<ui::Button>& button,
    void (LikeNumberVC::*parvo)(const ui::Button&), void (LikeNumberVC::*tolva)(const ui::Button&))
{
    button->addAction(
        [weak = ui::weakFrom(this), parvo, tolva](ui::Control& control) {
            auto self = weak.lock();
            if (!self)
                return;
            // Type 16 reads its numbers through the Parvo actions, which then look in this view.
            auto action = self->deviceType() == 16 ? parvo : tolva;
            ((*self).*action)(static_cast<ui::Button&>(control));
        },
        ui::ControlEvent::TouchUpInside);
}

void LikeNumberVC::buildParvoView()
{
    m_parvoView = NumberPanelParts::panel(rowTop + 5 * rowH + 10);
    m_titleLabelForParvo = NumberPanelParts::title(W);
    m_parvoView->addSubview(m_titleLabelForParvo);
    for (int row = 0; row < 5; ++row) {
        int tag = parvoFieldTags[static_cast<size_t>(row)];
        m_parvoLabels[static_cast<size_t>(row)] = NumberPanelParts::caption(captionFrame(row));
        m_parvoView->addSubview(m_parvoLabels[static_cast<size_t>(row)]);
        auto field = NumberPanelParts::field(fieldFrame(row), tag);
        field->setDelegate(std::weak_ptr<ui::TextFieldDelegate>(ui::sharedFrom(this)));
        m_parvoView->addSubview(field);
        auto button = NumberPanelParts::actionButton(buttonFrame(row), tag + 2);
        wire(button, row < 4 ? &LikeNumberVC::setPhoneNumberForParvo : &LikeNumberVC::setListenNumberForParvo);
        m_parvoButtons[static_cast<size_t>(row)] = button;
        m_parvoView->addSubview(button);
    }
}

void LikeNumberVC::buildQuennView()
{
    m_quennView = NumberPanelParts::panel(rowTop + 3 * rowH + 56);
    m_titleLabelForQuenn = NumberPanelParts::title(W);
    m_quennView->addSubview(m_titleLabelForQuenn);
    for (size_t row = 0; row < 3; ++row) {
        m_quennLabels[row] = NumberPanelParts::caption(captionFrame(static_cast<int>(row)));
        m_quennView->addSubview(m_quennLabels[row]);
        gfx::Rect frame = fieldFrame(static_cast<int>(row));
        m_quennFields[row] = NumberPanelParts::field({ frame.minX(), frame.minY(), W - 8 - frame.minX(), 34 }, 0);
        m_quennFields[row]->setDelegate(std::weak_ptr<ui::TextFieldDelegate>(ui::sharedFrom(this)));
        m_quennView->addSubview(m_quennFields[row]);
    }
    double y = rowTop + 3 * rowH + 10;
    m_quennCancel = NumberPanelParts::cancelButton({ 20, y, 110, 36 });
    m_quennCancel->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->dismissView();
        },
        ui::ControlEvent::TouchUpInside);
    m_quennView->addSubview(m_quennCancel);
    m_quennDone = NumberPanelParts::actionButton({ W - 130, y, 110, 36 });
    wire(m_quennDone, &LikeNumberVC::setPhoneNumberForQuenn);
    m_quennView->addSubview(m_quennDone);
}

void LikeNumberVC::buildNewSorbyView()
{
    m_newSorbyView = NumberPanelParts::panel(rowTop + 2 * rowH + 10);
    m_titleLabelForNewSorby = NumberPanelParts::title(W);
    m_newSorbyView->addSubview(m_titleLabelForNewSorby);
    m_label9 = NumberPanelParts::caption(captionFrame(0));
    m_newSorbyView->addSubview(m_label9);
    m_label10 = NumberPanelParts::caption(captionFrame(1));
    m_newSorbyView->addSubview(m_label10);
    int tags[] = { parvoFieldTags.front(), listenFieldTag };
    for (int row = 0; row < 2; ++row) {
        auto field = NumberPanelParts::field(fieldFrame(row), tags[row]);
        field->setDelegate(std::weak_ptr<ui::TextFieldDelegate>(ui::sharedFrom(this)));
        m_newSorbyView->addSubview(field);
    }
    m_button1 = NumberPanelParts::actionButton(buttonFrame(0), tags[0] + 2);
    wireNewSorby(m_button1, &LikeNumberVC::setPhoneNumberForParvo, &LikeNumberVC::setPhoneNumberForTolva);
    m_newSorbyView->addSubview(m_button1);
    m_button2 = NumberPanelParts::actionButton(buttonFrame(1), tags[1] + 2);
    wireNewSorby(m_button2, &LikeNumberVC::setListenNumberForParvo, &LikeNumberVC::setListenNumberForTolva);
    m_newSorbyView->addSubview(m_button2);
}

void LikeNumberVC::buildLumetPanels()
{
    const char* titles[] = { "mon_num", "dad_num", "sos_num", "listen_numb" };
    for (int slot = 0; slot < 4; ++slot) {
        auto parts = NumberPanelParts::singleNumberPanel(lumetFieldTagOf(slot));
        parts.title->setText(base::localized(titles[slot]));
        parts.field->setPlaceholder(base::localized("please_input_telNum"));
        parts.field->setDelegate(std::weak_ptr<ui::TextFieldDelegate>(ui::sharedFrom(this)));
        parts.cancel->setTitle(base::localized("cancel"), ui::ControlState::Normal);
        parts.done->setTitle(base::localized("done"), ui::ControlState::Normal);
        parts.cancel->addAction(
            [weak = ui::weakFrom(this)](ui::Control&) {
                if (auto self = weak.lock())
                    self->dismissView();
            },
            ui::ControlEvent::TouchUpInside);
        parts.done->addAction(
            [weak = ui::weakFrom(this), slot](ui::Control&) {
                if (auto self = weak.lock())
                    self->setLumetNumber(slot);
            },
            ui::ControlEvent::TouchUpInside);
        m_lumetPanels[static_cast<size_t>(slot)] = parts.view;
        m_lumetDoneButtons[static_cast<size_t>(slot)] = parts.done;
    }
}

void LikeNumberVC::internationalForParvo()
{
    m_titleLabelForParvo->setText(base::localized("binding_phone"));
    for (size_t i = 0; i < 5; ++i) {
        m_parvoButtons[i]->setTitle(base::localized(i < 4 ? "bind" : "listen"), ui::ControlState::Normal);
        NumberPanelParts::fieldWithTag(m_parvoView, parvoFieldTags[i])
            ->setPlaceholder(base::localized("please_input_telNum"));
    }
    // The rows are SOS, keys 1 to 3 and listen; "SOS" is the same in every language.
    m_parvoLabels[0]->setText("SOS");
    for (int key = 1; key <= 3; ++key)
        m_parvoLabels[static_cast<size_t>(key)]->setText(numbered("button", key));
    m_parvoLabels[4]->setText(base::localized("listen_number"));
}

void LikeNumberVC::internationalForQuenn()
{
    for (size_t i = 0; i < 3; ++i) {
        m_quennFields[i]->setPlaceholder(base::localized("please_input_telNum"));
        m_quennLabels[i]->setText(numbered("number", static_cast<int>(i) + 1));
    }
    m_titleLabelForQuenn->setText(
        base::LocalizedFormat::format("%@%@", { base::localized("kinship_number"), base::localized("setting") }));
    m_quennCancel->setTitle(base::localized("cancel"), ui::ControlState::Normal);
    m_quennDone->setTitle(base::localized("done"), ui::ControlState::Normal);
}

void LikeNumberVC::internationalForNewSorby()
{
    m_titleLabelForNewSorby->setText(base::localized("binding_phone"));
    m_label10->setText(base::localized("listen_number"));
    m_button1->setTitle(base::localized("bind"), ui::ControlState::Normal);
    m_button2->setTitle(base::localized("listen"), ui::ControlState::Normal);
    for (int tag : { parvoFieldTags.front(), listenFieldTag })
        NumberPanelParts::fieldWithTag(m_newSorbyView, tag)->setPlaceholder(base::localized("please_input_telNum"));
}

} // namespace settings
