#include "settings/numbers/NumberPanelParts.h"

#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/loop/MainThread.h"
#include "kit/modal/ModalPresenter.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"
#include "ui/controllers/ViewController.h"

namespace settings {

namespace {

    constexpr gfx::Color actionColour = gfx::Color::rgb(0.52, 0.8, 0.05);
    constexpr gfx::Color cancelColour = gfx::Color::rgb(0.6, 0.62, 0.64);
    constexpr gfx::Color captionColour = gfx::Color::rgb(0.25, 0.27, 0.29);

    std::shared_ptr<ui::Button> roundedButton(const gfx::Rect& frame, gfx::Color colour)
    {
        auto button = std::make_shared<ui::Button>(frame);
        button->setBackgroundColor(colour);
        button->layer()->setCornerRadius(6);
        button->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
        return button;
    }

} // namespace

std::shared_ptr<ui::View> NumberPanelParts::panel(double height)
{
    BASE_ASSERT_MAIN_THREAD();
    auto view = std::make_shared<ui::View>(gfx::Rect { 0, 0, panelWidth, height });
    view->setBackgroundColor(gfx::Color::white());
    view->layer()->setCornerRadius(8);
    return view;
}

std::shared_ptr<ui::Label> NumberPanelParts::title(double width)
{
    BASE_ASSERT_MAIN_THREAD();
    auto label = std::make_shared<ui::Label>(gfx::Rect { 10, 8, width - 20, 28 });
    label->setFont(gfx::Font::boldSystem(17));
    label->setTextColor(gfx::Color::black());
    label->setTextAlignment(gfx::TextAlignment::Center);
    return label;
}

std::shared_ptr<ui::Label> NumberPanelParts::caption(const gfx::Rect& frame)
{
    auto label = std::make_shared<ui::Label>(frame);
    label->setFont(gfx::Font::system(14));
    label->setTextColor(captionColour);
    return label;
}

std::shared_ptr<ui::TextField> NumberPanelParts::field(const gfx::Rect& frame, int tag)
{
    auto field = std::make_shared<ui::TextField>(frame);
    field->setTag(tag);
    field->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    field->setKeyboardType(ui::KeyboardType::PhonePad);
    field->setFont(gfx::Font::system(15));
    return field;
}

std::shared_ptr<ui::Button> NumberPanelParts::actionButton(const gfx::Rect& frame, int tag)
{
    auto button = roundedButton(frame, actionColour);
    button->setTag(tag);
    return button;
}

std::shared_ptr<ui::Button> NumberPanelParts::cancelButton(const gfx::Rect& frame)
{
    return roundedButton(frame, cancelColour);
}

NumberPanelParts::SingleNumberPanel NumberPanelParts::singleNumberPanel(int fieldTag)
{
    SingleNumberPanel parts;
    parts.view = panel(160);
    parts.title = title(panelWidth);
    parts.view->addSubview(parts.title);
    parts.caption = caption({ 20, 42, panelWidth - 40, 20 });
    parts.view->addSubview(parts.caption);
    parts.field = field({ 20, 66, panelWidth - 40, 34 }, fieldTag);
    parts.view->addSubview(parts.field);
    parts.cancel = cancelButton({ 20, 112, 110, 36 });
    parts.view->addSubview(parts.cancel);
    parts.done = actionButton({ panelWidth - 130, 112, 110, 36 });
    parts.view->addSubview(parts.done);
    return parts;
}

NumberPanelParts::SingleNumberPanel NumberPanelParts::installSingleNumberPanel(ui::View& screenView,
    std::weak_ptr<ui::TextFieldDelegate> delegate, const std::string& numberKey, std::function<void()> done)
{
    SingleNumberPanel parts = singleNumberPanel(0);
    screenView.setFrame(parts.view->frame());
    screenView.setBackgroundColor(gfx::Color::clear());
    screenView.addSubview(parts.view);
    parts.field->setPlaceholder(base::localized("please_input_telNum"));
    parts.field->setDelegate(std::move(delegate));
    parts.cancel->setTitle(base::localized("cancel"), ui::ControlState::Normal);
    parts.done->setTitle(base::localized("done"), ui::ControlState::Normal);
    parts.title->setText(
        base::LocalizedFormat::format("%@%@", { base::localized(numberKey), base::localized("setting") }));
    parts.caption->setText(base::LocalizedFormat::format("%@:", { base::localized(numberKey) }));
    parts.cancel->addAction([](ui::Control&) { dismiss(); }, ui::ControlEvent::TouchUpInside);
    parts.done->addAction([done = std::move(done)](ui::Control&) { done(); }, ui::ControlEvent::TouchUpInside);
    return parts;
}

std::string NumberPanelParts::shown(const core::ConfigText& number)
{
    const std::string& text = number.text();
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        return "";
    return text;
}

std::shared_ptr<ui::TextField> NumberPanelParts::fieldWithTag(const std::shared_ptr<ui::View>& view, int tag)
{
    return view ? std::dynamic_pointer_cast<ui::TextField>(view->viewWithTag(tag)) : nullptr;
}

void NumberPanelParts::runAppearanceStep(ui::ViewController& screen)
{
    screen.view();
    screen.beginAppearanceTransition(true, false);
    screen.endAppearanceTransition();
}

void NumberPanelParts::present(const std::shared_ptr<ui::ViewController>& screen)
{
    runAppearanceStep(*screen);
    kit::ModalPresenter::sharedInstance()->showWithContentView(screen->view(), true);
}

void NumberPanelParts::dismiss() { kit::ModalPresenter::sharedInstance()->hideAnimated(true); }

} // namespace settings
