#include "childcare/challenge/PedometerVC.h"

#include "base/values/Dictionary.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "childcare/challenge/ChallengeEnding.h"
#include "childcare/challenge/CompleteChallengeVC.h"
#include "childcare/challenge/StepProgress.h"
#include "core/helpers/Helper.h"
#include "core/helpers/PromptAlert.h"
#include "core/service/ReplyFields.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "kit/progress/CircularProgressView.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"

namespace childcare {

namespace {

    std::shared_ptr<ui::Label> makeLabel(const gfx::Rect& frame, const gfx::Font& font, gfx::Color colour)
    {
        auto label = std::make_shared<ui::Label>(frame);
        label->setFont(font);
        label->setTextColor(colour);
        label->setTextAlignment(gfx::TextAlignment::Center);
        return label;
    }

    int64_t finishedSteps(const core::Device* device)
    {
        auto config = device ? device->lumetDeviceConfig : nullptr;
        return config ? static_cast<int64_t>(config->FinishStepCount) : 0;
    }

} // namespace

std::shared_ptr<PedometerVC> PedometerVC::make(int32_t index, std::shared_ptr<core::Device> device, bool isStart)
{
    BASE_ASSERT_MAIN_THREAD();
    auto screen = std::make_shared<PedometerVC>();
    screen->m_index = index;
    screen->m_deviceDetail = std::move(device);
    screen->m_isStart = isStart;
    return screen;
}

PedometerVC::~PedometerVC() { base::RunLoop::main().cancelPerforms(this); }

const std::shared_ptr<kit::CircularProgressView>& PedometerVC::ring()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_ring;
}

const std::shared_ptr<ui::Label>& PedometerVC::percentLabel()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_percentLabel;
}

const std::shared_ptr<ui::Label>& PedometerVC::countLabel()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_countLabel;
}

void PedometerVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    std::string target = std::to_string(m_index);
    core::Helper::saveSettingValue(base::Value(target), core::SettingsKeys::CurrStepCount);
    view()->setBackgroundColor(gfx::Color::white());
    buildLabels();
    setTitle(base::localized("pedometer"));
    navigationItem()->setRightBarButtonItem(std::make_shared<ui::BarButtonItem>(
        base::localized("finish"), ui::BarButtonItemStyle::Done, [weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            if (auto self = weak.lock())
                self->cancelParentChildInteraction();
        }));
    m_countLabel->setText(base::LocalizedFormat::format(base::localized("count_step"), { m_index }));
    core::Helper::saveSettingValue(base::Value(target), core::SettingsKeys::CurrentStepCount);
    updateUI();
}

void PedometerVC::buildLabels()
{
    double width = view()->bounds().width();
    m_countLabel = makeLabel({ 20, 76, width - 40, 30 }, gfx::Font::boldSystem(18), gfx::Color::darkGray());
    m_taskProgress = makeLabel({ 20, 380, width - 40, 24 }, gfx::Font::system(16), gfx::Color::darkGray());
    m_taskProgress->setText(base::localized("task_progress"));
    m_targetTask = makeLabel({ 20, 410, width - 40, 24 }, gfx::Font::system(14), gfx::Color::gray());
    m_targetTask->setText(base::localized("target_task"));
    view()->addSubview(m_countLabel);
    view()->addSubview(m_taskProgress);
    view()->addSubview(m_targetTask);
}

void PedometerVC::updateUI()
{
    double width = view()->bounds().width();
    m_ring = std::make_shared<kit::CircularProgressView>(gfx::Rect { 20, 114, width - 40, 250 });
    m_ring->setBackColor(ringBackColor);
    m_ring->setProgressColor(progressColor);
    m_ring->setLineWidth(10);
    int64_t steps = finishedSteps(m_deviceDetail.get());
    m_ring->setProgress(static_cast<float>(StepProgress::fraction(steps, m_index)));
    view()->addSubview(m_ring);

    m_percentLabel = makeLabel({ 120, 200, 150, 80 }, gfx::Font::system(45), progressColor);
    m_percentLabel->setText(StepProgress::label(steps, m_index));
    view()->addSubview(m_percentLabel);
}

void PedometerVC::viewDidAppear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_isStart) {
        if (auto navigation = navigationController())
            navigation->popViewController(true);
        return;
    }
    m_polling = true;
    getCountFromOnline();
}

void PedometerVC::viewWillDisappear(bool) { stopPolling(); }

void PedometerVC::viewDidDisappear(bool) { m_isStart = false; }

void PedometerVC::stopPolling()
{
    m_polling = false;
    // Both the next poll and a pending push of the completion screen.
    base::RunLoop::main().cancelPerforms(this);
}

void PedometerVC::getCountFromOnline()
{
    BASE_ASSERT_MAIN_THREAD();
    core::WebCall::post(
        "LumetGetStepCount",
        base::Dictionary::make({ { "Serialnumber", core::Singleton::shared().lastSerialnumber() } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->stepsArrived(core::Tool::readLumetPedometerCurFromJson(reply));
        },
        [](const base::Error& error) { base::log("pedometer: step count failed: " + error.localizedDescription()); });
}

void PedometerVC::stepsArrived(const std::optional<base::Value>& value)
{
    // A reply that comes back after the screen has gone or the challenge ended starts nothing new.
    if (!m_polling)
        return;
    std::optional<int64_t> read = value ? core::ReplyFields::integerOf(*value, "d") : std::nullopt;
    int64_t steps = read.value_or(0);
    bool storable = value && (value->isNumber() || value->string());
    core::Helper::saveSettingValue(storable ? value : std::nullopt, core::SettingsKeys::CurrentStepNum);

    m_ring->setProgress(static_cast<float>(StepProgress::fraction(steps, m_index)));
    m_percentLabel->setText(StepProgress::label(steps, m_index));
    m_currentPer = static_cast<float>(StepProgress::fraction(steps, m_index));
    if (StepProgress::reached(steps, m_index)) {
        stopPolling();
        m_currentPer = 1.0f;
        base::RunLoop::main().performAfter(
            completionDelay,
            [weak = ui::weakFrom(this)] {
                if (auto self = weak.lock())
                    self->goToCompletion();
            },
            this);
        return;
    }
    base::RunLoop::main().performAfter(
        pollDelay,
        [weak = ui::weakFrom(this)] {
            if (auto self = weak.lock(); self && self->m_polling)
                self->getCountFromOnline();
        },
        this);
}

void PedometerVC::goToCompletion()
{
    if (auto navigation = navigationController())
        navigation->pushViewController(CompleteChallengeVC::make(m_deviceDetail), true);
}

void PedometerVC::cancelParentChildInteraction()
{
    BASE_ASSERT_MAIN_THREAD();
    stopPolling();
    ChallengeEnding::send(
        m_deviceDetail,
        [weak = ui::weakFrom(this)] {
            auto self = weak.lock();
            if (!self)
                return;
            auto alert = std::make_shared<ui::AlertView>(base::localized("prompt"), base::localized("success"),
                std::static_pointer_cast<ui::AlertViewDelegate>(self), base::localized("done"));
            alert->setTag(endedAlertTag);
            alert->show();
        },
        [weak = ui::weakFrom(this)] {
            if (auto self = weak.lock())
                self->endingFailed();
        });
}

void PedometerVC::endingFailed()
{
    core::showPromptAlert("failure");
    // The challenge goes on, and so does the ring, while the screen is still shown.
    if (m_isStart && view()->window() && !m_polling) {
        m_polling = true;
        getCountFromOnline();
    }
}

void PedometerVC::alertViewClickedButtonAtIndex(ui::AlertView& alert, int)
{
    BASE_ASSERT_MAIN_THREAD();
    if (alert.tag() != endedAlertTag)
        return;
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

} // namespace childcare
