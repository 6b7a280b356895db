#include "chat/RecordButton.h"

#include "base/system/Files.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/text/UUID.h"
#include "chat/RecordHUD.h"
#include "core/helpers/PromptAlert.h"
#include "core/state/Singleton.h"
#include "voice/PcmToAmr.h"
#include "voice/RecordAudio.h"

#include <algorithm>
#include <cstdio>

namespace chat {

namespace {

    // A number rounded to a whole one as "%.0f" prints it.
    std::string wholeText(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }

} // namespace

RecordButton::RecordButton(const gfx::Rect& frame)
    : ui::Button(frame)
{
    BASE_ASSERT_MAIN_THREAD();
}

RecordButton::~RecordButton()
{
    // A button that goes while the finger is still down (its screen closed) takes its overlay with it.
    if (m_amr && m_amr->isRecording()) {
        m_amr->cancelRecord();
        RecordHUD::dismiss();
    }
}

void RecordButton::initRecord(
    std::weak_ptr<RecordButtonDelegate> delegate, int maxTime, std::optional<std::string> title)
{
    BASE_ASSERT_MAIN_THREAD();
    m_delegate = std::move(delegate);
    m_maxTime = maxTime;
    m_title = std::move(title);
    m_amr = std::make_shared<voice::RecordAudio>();
    m_amr->setDelegate(std::static_pointer_cast<voice::RecordAudioDelegate>(ui::sharedFrom(this)));
    wireTouches();
}

void RecordButton::wireTouches()
{
    removeActions(this);
    auto on = [this](ui::ControlEvents events, void (RecordButton::*action)()) {
        addAction(
            [weak = ui::weakFrom(this), action](ui::Control&) {
                if (auto self = weak.lock())
                    (self.get()->*action)();
            },
            events, this);
    };
    on(ui::ControlEvent::TouchDown, &RecordButton::startRecord);
    on(ui::ControlEvent::TouchUpInside, &RecordButton::stopRecord);
    on(ui::ControlEvent::TouchUpOutside | ui::ControlEvent::TouchCancel, &RecordButton::cancelRecord);
    on(ui::ControlEvent::TouchDragExit, &RecordButton::RemindDragExit);
    on(ui::ControlEvent::TouchDragEnter, &RecordButton::RemindDragEnter);
}

void RecordButton::startRecord()
{
    BASE_ASSERT_MAIN_THREAD();
    std::string uuid = base::makeUUID();
    base::trace("chat", "uuid:" + uuid);
    m_recordedFile = base::URL::fileURL(core::Singleton::shared().messagePath().string() + uuid);
    if (!m_amr->startRecord()) {
        // Without a microphone nothing would be recorded, and the release would send nothing without a word.
        m_amr->cancelRecord();
        core::showPromptAlert("no_microphone");
        return;
    }
    RecordHUD::show();
    setHUDTitle();
}

void RecordButton::stopRecord()
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto file = m_amr->stopRecord()) {
        auto bytes = base::Files::read(*file);
        std::optional<base::Data> amr;
        if (bytes)
            amr = voice::ConvertCafToAmr(
                std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()), 1, 16);
        if (auto delegate = m_delegate.lock(); delegate && m_recordedFile)
            delegate->endRecord(amr, *m_recordedFile);
    }
    RecordHUD::setTitle(base::localized("recor_success"));
    RecordHUD::dismiss();
}

void RecordButton::cancelRecord()
{
    BASE_ASSERT_MAIN_THREAD();
    m_amr->cancelRecord();
    RecordHUD::dismiss();
    RecordHUD::setTitle(base::localized("cancel_record"));
}

void RecordButton::RemindDragExit()
{
    BASE_ASSERT_MAIN_THREAD();
    RecordHUD::setTitle(base::localized("let_go_cancel_record"));
    if (auto delegate = m_delegate.lock())
        delegate->dragExit();
}

void RecordButton::RemindDragEnter()
{
    BASE_ASSERT_MAIN_THREAD();
    setHUDTitle();
    if (auto delegate = m_delegate.lock())
        delegate->dragEnter();
}

void RecordButton::setHUDTitle() { RecordHUD::setTitle(m_title.value_or(base::localized("leave_btn_cancel_record"))); }

std::string RecordButton::levelImageName(float volume)
{
    BASE_ASSERT_MAIN_THREAD();
    return "mic_" + wholeText(std::min<double>(volume * 10, maxLevelImage));
}

void RecordButton::recording(float seconds, float volume)
{
    BASE_ASSERT_MAIN_THREAD();
    if (static_cast<float>(m_maxTime) <= seconds) {
        stopRecord();
        return;
    }
    RecordHUD::setImage(levelImageName(volume));
    RecordHUD::setTimeTitle(
        base::LocalizedFormat::format("%@: ", { base::localized("record") }) + wholeText(seconds) + "\"");
}

} // namespace chat
