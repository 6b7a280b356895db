#include "childcare/device/TimeReceiveSettingVC.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "childcare/device/UploadInterval.h"
#include "core/helpers/Helper.h"
#include "core/helpers/KeyboardLift.h"
#include "core/helpers/PromptAlert.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/SignInSession.h"
#include "kit/modal/ModalPresenter.h"
#include "kit/modal/PanelReturn.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/SegmentedControl.h"
#include "ui/controls/TextField.h"
#include "ui/view/Window.h"

#include <algorithm>

namespace childcare {

namespace {

    constexpr gfx::Color buttonColour { 0.52, 0.8, 0.05, 1 };
    // Space kept between the field and the keyboard while it is up.
    constexpr double fieldClearance = 8;

    void closePanel() { kit::ModalPresenter::sharedInstance()->hideAnimated(true); }

    // The outcome of a sent interval, whether or not the panel is still there.
    void intervalReplied(const std::string& reply, const std::shared_ptr<core::Device>& device,
        const UploadInterval::Command& command, int32_t interval)
    {
        if (!core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply))) {
            core::showPromptAlert("failure");
            return;
        }
        if (command.storesInterval && device && device->parvoDeviceConfig)
            device->parvoDeviceConfig->intervalTime = core::ConfigText(std::to_string(interval));
        core::showPromptAlert("success");
    }

} // namespace

std::shared_ptr<TimeReceiveSettingVC> TimeReceiveSettingVC::make(std::shared_ptr<core::Device> device)
{
    auto panel = std::make_shared<TimeReceiveSettingVC>();
    panel->m_deviceDetail = std::move(device);
    return panel;
}

TimeReceiveSettingVC::~TimeReceiveSettingVC()
{
    if (m_lift)
        m_lift->stop();
}

const std::shared_ptr<ui::TextField>& TimeReceiveSettingVC::timeText()
{
    view();
    return m_timeText;
}

const std::shared_ptr<ui::SegmentedControl>& TimeReceiveSettingVC::segment()
{
    view();
    return m_segment;
}

const std::shared_ptr<ui::Button>& TimeReceiveSettingVC::doneButton()
{
    view();
    return m_doneBtn;
}

const std::shared_ptr<ui::Button>& TimeReceiveSettingVC::cancelButton()
{
    view();
    return m_cancelBtn;
}

void TimeReceiveSettingVC::loadView()
{
    auto panel = std::make_shared<ui::View>(gfx::Rect { { 0, 0 }, panelSize });
    panel->setBackgroundColor(gfx::Color::white());
    panel->layer()->setCornerRadius(8);
    setView(panel);
}

void TimeReceiveSettingVC::viewDidLoad()
{
    buildLabels();
    buildField();
    buildButtons();
    m_segment = std::make_shared<ui::SegmentedControl>(std::vector<std::string> { "GPS", "OBD" });
    m_segment->setFrame(segmentFrame);
    m_segment->setSelectedSegmentIndex(0);
    m_segment->setTintColor(segmentTint);
    m_segment->setHidden(true);
    view()->addSubview(m_segment);
}

void TimeReceiveSettingVC::buildLabels()
{
    double width = panelSize.width;
    m_titleLab = std::make_shared<ui::Label>(gfx::Rect { 10, 8, width - 20, 28 });
    m_titleLab->setFont(gfx::Font::boldSystem(17));
    m_titleLab->setTextAlignment(gfx::TextAlignment::Center);
    m_titleLab->setText(
        base::LocalizedFormat::format("%@%@", { base::localized("upload_interval"), base::localized("setting") }));
    view()->addSubview(m_titleLab);
    m_receiveLabel = std::make_shared<ui::Label>(gfx::Rect { 23, 82, width - 46, 22 });
    m_receiveLabel->setFont(gfx::Font::system(14));
    m_receiveLabel->setTextColor(gfx::Color::darkGray());
    m_receiveLabel->setText(base::localized("upload_travel_time"));
    view()->addSubview(m_receiveLabel);
}

void TimeReceiveSettingVC::buildField()
{
    m_timeText = std::make_shared<ui::TextField>(gfx::Rect { 23, 108, panelSize.width - 46, 32 });
    m_timeText->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    m_timeText->setPlaceholder(base::localized("please_input_time"));
    m_timeText->setKeyboardType(ui::KeyboardType::NumberPad);
    m_timeText->setDelegate(std::static_pointer_cast<ui::TextFieldDelegate>(ui::sharedFrom(this)));
    view()->addSubview(m_timeText);
}

void TimeReceiveSettingVC::buildButtons()
{
    double half = (panelSize.width - 46 - 12) / 2;
    m_cancelBtn = makeButton({ 23, 152, half, 36 }, "cancel");
    m_cancelBtn->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->dismissView();
        },
        ui::ControlEvent::TouchUpInside);
    m_doneBtn = makeButton({ 23 + half + 12, 152, half, 36 }, "done");
    m_doneBtn->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->setTimeForPassBack();
        },
        ui::ControlEvent::TouchUpInside);
}

std::shared_ptr<ui::Button> TimeReceiveSettingVC::makeButton(const gfx::Rect& frame, const char* titleKey)
{
    auto button = std::make_shared<ui::Button>(frame);
    button->setBackgroundColor(buttonColour);
    button->layer()->setCornerRadius(5);
    button->setTitle(base::localized(titleKey), ui::ControlState::Normal);
    button->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
    view()->addSubview(button);
    return button;
}

void TimeReceiveSettingVC::viewWillAppear(bool)
{
    auto parvo = m_deviceDetail ? m_deviceDetail->parvoDeviceConfig : nullptr;
    if (parvo && core::Helper::isNotNullString(parvo->intervalTime.value()))
        m_timeText->setText(parvo->intervalTime.text());
    if (UploadInterval::hasSegment(m_deviceDetail ? m_deviceDetail->deviceTypeID : std::nullopt))
        m_segment->setHidden(false);
    auto field = m_timeText;
    m_lift = core::KeyboardLift::make(view(), [field](const gfx::Rect& frame, double keyboardTop) {
        double fieldBottom = frame.minY() + field->frame().maxY() + fieldClearance;
        return std::min(frame.minY(), frame.minY() - (fieldBottom - keyboardTop));
    });
    m_lift->start();
}

void TimeReceiveSettingVC::viewWillDisappear(bool)
{
    if (m_lift)
        m_lift->stop();
}

void TimeReceiveSettingVC::dismissView() { closePanel(); }

void TimeReceiveSettingVC::setTimeForPassBack()
{
    auto segmentChoice
        = m_segment->selectedSegmentIndex() == 1 ? UploadInterval::Segment::OBD : UploadInterval::Segment::GPS;
    auto command
        = UploadInterval::commandFor(m_deviceDetail ? m_deviceDetail->deviceTypeID : std::nullopt, segmentChoice);
    if (!command) {
        closePanel();
        return;
    }
    auto interval = UploadInterval::parse(m_timeText->text());
    if (!interval) {
        core::showPromptAlert("please_input_time");
        return;
    }
    std::string serialNumber = m_deviceDetail->serialNumber.value_or("");
    // The panel closes at once; its outcome belongs to the sign-in it was sent under.
    core::WebCall::post(command->method, UploadInterval::body(*command, serialNumber, *interval),
        core::SignInSession::whileCurrent(
            [device = m_deviceDetail, command = *command, value = *interval](
                const std::string& reply) { intervalReplied(reply, device, command, value); }),
        core::SignInSession::whileCurrent([](const base::Error&) { core::showPromptAlert("failure"); }));
    closePanel();
}

void TimeReceiveSettingVC::textFieldDidBeginEditing(ui::TextField& field)
{
    auto window = field.window();
    if (window && !window->isKeyWindow())
        window->makeKeyAndVisible();
    field.setReturnKeyType(ui::ReturnKeyType::Done);
}

bool TimeReceiveSettingVC::textFieldShouldReturn(ui::TextField& field)
{
    BASE_ASSERT_MAIN_THREAD();
    return kit::returnInPanel(field, { m_timeText }, m_doneBtn);
}

} // namespace childcare
