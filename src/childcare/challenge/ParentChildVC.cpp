#include "childcare/challenge/ParentChildVC.h"

#include "base/values/Dictionary.h"
#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "childcare/challenge/PedometerVC.h"
#include "childcare/challenge/StepProgress.h"
#include "core/helpers/Helper.h"
#include "core/helpers/PromptAlert.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "kit/drawer/DrawerBarButtonItem.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerLookup.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"
#include "ui/controls/TextField.h"

#include <cstdio>

namespace childcare {

namespace {

    constexpr gfx::Color background { 0.96, 0.97, 0.95, 1 };
    constexpr const char* captionKeys[] = { "simple_task", "medium_task", "difficult_task" };
    // The image of a target's button when it is the chosen one (or all are free), and when another is.
    constexpr const char* chosenImages[] = { "no_easy_tast1", "no_normal_test1", "no_hard_tast1" };
    constexpr const char* otherImages[] = { "h_easy_tast", "h_normal_nomal", "h_hard_tast" };
    // The start request's answer when the watch has taken the challenge on.
    constexpr const char* startAccepted = "0";
    constexpr double rowTop = 130;
    constexpr double rowHeight = 120;
    constexpr double buttonSide = 88;

    std::string sixDecimals(double value)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%f", value);
        return text;
    }

    std::shared_ptr<ui::Label> makeLabel(const gfx::Rect& frame, const gfx::Font& font, gfx::Color colour)
    {
        auto label = std::make_shared<ui::Label>(frame);
        label->setFont(font);
        label->setTextColor(colour);
        return label;
    }

} // namespace

std::shared_ptr<ParentChildVC> ParentChildVC::make(bool isShowRight)
{
    BASE_ASSERT_MAIN_THREAD();
    auto screen = std::make_shared<ParentChildVC>();
    screen->m_isShowRight = isShowRight;
    return screen;
}

ParentChildVC::~ParentChildVC()
{
    base::RunLoop::main().cancelPerforms(this);
    dismissAlerts();
}

const std::array<std::shared_ptr<ui::Button>, 3>& ParentChildVC::targetButtons()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_buttons;
}

void ParentChildVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    view()->setBackgroundColor(background);
    buildCaptions();
    buildTargetButtons();
    setTitle(base::localized("interaction"));
    if (!m_isShowRight)
        return;
    navigationItem()->setLeftBarButtonItem(
        kit::DrawerBarButtonItem::make([weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            auto self = weak.lock();
            if (auto drawer = self ? kit::drawerControllerOf(*self) : nullptr)
                drawer->toggleDrawerSide(kit::DrawerSide::Left, true);
        }));
}

void ParentChildVC::buildCaptions()
{
    double width = view()->bounds().width();
    m_challengingTask = makeLabel({ 20, 84, width - 40, 30 }, gfx::Font::boldSystem(18), gfx::Color::darkGray());
    m_challengingTask->setTextAlignment(gfx::TextAlignment::Center);
    m_challengingTask->setText(base::localized("chanllenging_task"));
    view()->addSubview(m_challengingTask);
    for (size_t row = 0; row < targets.size(); ++row) {
        double top = rowTop + rowHeight * static_cast<double>(row);
        auto caption = makeLabel({ 140, top + 18, width - 160, 26 }, gfx::Font::boldSystem(17), gfx::Color::black());
        caption->setText(base::localized(captionKeys[row]));
        view()->addSubview(caption);
        auto step = makeLabel({ 140, top + 48, width - 160, 22 }, gfx::Font::system(14), gfx::Color::gray());
        step->setText(std::to_string(targets[row]) + " " + base::localized("step"));
        view()->addSubview(step);
    }
}

void ParentChildVC::buildTargetButtons()
{
    for (size_t row = 0; row < targets.size(); ++row) {
        double top = rowTop + rowHeight * static_cast<double>(row);
        auto button = std::make_shared<ui::Button>(gfx::Rect { 30, top, buttonSide, buttonSide });
        button->setTag(targets[row]);
        button->setBackgroundImage(gfx::Image::named(chosenImages[row]), ui::ControlState::Normal);
        button->addAction(
            [weak = ui::weakFrom(this)](ui::Control& control) {
                if (auto self = weak.lock())
                    self->testAction(static_cast<ui::Button&>(control));
            },
            ui::ControlEvent::TouchUpInside);
        view()->addSubview(button);
        m_buttons[row] = button;
    }
}

void ParentChildVC::viewDidAppear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shown = true;
    getDeviceDetail();
}

void ParentChildVC::viewWillDisappear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shown = false;
    base::RunLoop::main().cancelPerforms(this);
    dismissAlerts();
}

void ParentChildVC::dismissAlerts()
{
    for (const auto& shown : { m_stateAlert.lock(), m_rewardAlert.lock() })
        if (shown && shown->isVisible())
            shown->dismissWithClickedButtonIndex(0, false);
}

void ParentChildVC::getDeviceDetail()
{
    BASE_ASSERT_MAIN_THREAD();
    core::WebCall::post(
        "GetDeviceDetial", base::Dictionary::make({ { "SerialNumber", core::Singleton::shared().lastSerialnumber() } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock(); self && self->m_shown)
                self->detailArrived(core::Tool::readDeviceDetailFromJson(reply));
        },
        [weak = ui::weakFrom(this)](const base::Error&) {
            if (auto self = weak.lock(); self && self->m_shown)
                core::Helper::showNotify(false, base::localized("bad_netword"), self->view(), {});
        });
}

void ParentChildVC::detailArrived(std::shared_ptr<core::Device> device)
{
    m_deviceDetail = device;
    auto config = device ? device->lumetDeviceConfig : nullptr;
    double target = config ? config->TargetStepCount : 0;
    core::Helper::saveSettingValue(base::Value(sixDecimals(target)), core::SettingsKeys::StepCount);
    core::Helper::saveSettingValue(base::Value(sixDecimals(config ? config->FinishStepCount : 0)), core::SettingsKeys::StepNum);

    if (target == 0) {
        showFreeState();
        showStateAlert(base::localized("new_tasks_can_released"), std::nullopt, base::localized("done"), {});
    } else {
        for (int chosen : targets)
            if (target == chosen)
                showChosenState(chosen);
        if (config->IsPerdometerRunning)
            showStateAlert(
                base::localized("prompt"), base::localized("tasks_in_progress"), base::localized("done"), {});
        else
            showStateAlert(base::localized("prompt"),
                base::localized(config->IsPerdometerFinish ? "tasks_finish" : "unfinished_tasks"),
                base::localized("cancel"), { base::localized("done") });
    }

    if (!device || !device->deviceState)
        base::RunLoop::main().performAfter(
            detailRetryDelay,
            [weak = ui::weakFrom(this)] {
                if (auto self = weak.lock(); self && self->m_shown)
                    self->getDeviceDetail();
            },
            this);
}

void ParentChildVC::showStateAlert(std::optional<std::string> title, std::optional<std::string> message,
    std::optional<std::string> cancel, std::vector<std::string> others)
{
    if (auto shown = m_stateAlert.lock();
        shown && shown->isVisible() && shown->title() == title && shown->message() == message)
        return;
    auto alert = std::make_shared<ui::AlertView>(std::move(title), std::move(message),
        std::weak_ptr<ui::AlertViewDelegate>(), std::move(cancel), std::move(others));
    alert->show();
    m_stateAlert = alert;
}

void ParentChildVC::showFreeState()
{
    for (size_t row = 0; row < targets.size(); ++row) {
        m_buttons[row]->setEnabled(true);
        m_buttons[row]->setBackgroundImage(gfx::Image::named(chosenImages[row]), ui::ControlState::Normal);
    }
}

void ParentChildVC::showChosenState(int target)
{
    for (size_t row = 0; row < targets.size(); ++row) {
        bool chosen = targets[row] == target;
        m_buttons[row]->setEnabled(chosen);
        m_buttons[row]->setBackgroundImage(
            gfx::Image::named(chosen ? chosenImages[row] : otherImages[row]), ui::ControlState::Normal);
    }
}

void ParentChildVC::testAction(ui::Button& button)
{
    BASE_ASSERT_MAIN_THREAD();
    auto config = m_deviceDetail ? m_deviceDetail->lumetDeviceConfig : nullptr;
    if (config && config->TargetStepCount != 0) {
        openProgress(StepProgress::targetFrom(config->TargetStepCount));
        return;
    }
    int tag = button.tag();
    for (int target : targets)
        if (tag == target)
            showChosenState(target);
    auto alert = std::make_shared<ui::AlertView>(base::localized("rewards"), std::nullopt,
        std::static_pointer_cast<ui::AlertViewDelegate>(ui::sharedFrom(this)), base::localized("cancel"),
        std::vector<std::string> { base::localized("done") });
    alert->setAlertViewStyle(ui::AlertViewStyle::PlainTextInput);
    alert->setTag(tag);
    m_rewardField = alert->textFieldAtIndex(0);
    alert->show();
    m_rewardAlert = alert;
}

void ParentChildVC::openProgress(int target)
{
    // A target that is not a positive step count cannot be followed: nothing to show progress against.
    auto navigation = navigationController();
    if (target <= 0 || !navigation)
        return;
    navigation->pushViewController(PedometerVC::make(target, m_deviceDetail, true), true);
}

void ParentChildVC::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex)
{
    BASE_ASSERT_MAIN_THREAD();
    if (buttonIndex == 0)
        showFreeState();
    else if (buttonIndex == 1)
        notiDeviceStartWithCount(alert.tag());
}

void ParentChildVC::notiDeviceStartWithCount(int target)
{
    BASE_ASSERT_MAIN_THREAD();
    std::string reward = m_rewardField ? m_rewardField->text() : base::localized("no_reward");
    m_rewardField = nullptr;
    core::WebCall::post(
        "LumetParentChildInteraction",
        base::Dictionary::make({ { "Serialnumber", core::Singleton::shared().lastSerialnumber() }, { "reward", reward },
            { "Value", target } }),
        [weak = ui::weakFrom(this), target](const std::string& reply) {
            if (auto self = weak.lock())
                self->startReplied(core::Tool::CheckDeciveISonlineFrom(reply), target);
        },
        [weak = ui::weakFrom(this)](const base::Error&) {
            if (auto self = weak.lock())
                core::Helper::showNotify(false, base::localized("bad_netword"), self->view(), {});
        });
}

void ParentChildVC::startReplied(const std::optional<base::Value>& payload, int target)
{
    const std::string* text = payload ? payload->string() : nullptr;
    if (text && *text == startAccepted)
        openProgress(target);
    else
        core::showPromptAlert("device_offline_posted_failed");
}

} // namespace childcare
