// chat::RecordButton: the hold-to-talk button. Touching down starts a recording (its own voice::RecordAudio)
// and shows the recording overlay; lifting the finger on the button stops it, converts the recording to AMR
// and hands it to the delegate, when it lasted more than 1 s; lifting elsewhere (or a cancelled touch)
// discards it. While recording, every metering tick shows the level image "mic_0" to "mic_5" and the
// elapsed seconds, and the recording stops by itself at maxTime seconds. Dragging off the button and back
// changes the overlay's hint. Each recording is named by the message folder's path followed directly by a
// new UUID. Main thread; made with std::make_shared, then initRecord.
//
//   m_speakBtn = std::make_shared<chat::RecordButton>(frame);
//   m_speakBtn->initRecord(weak_from_this(), 20, base::localized("cancel_record_slide"));
#pragma once

#include "base/text/URL.h"
#include "chat/RecordButtonDelegate.h"
#include "ui/controls/Button.h"
#include "voice/RecordAudioDelegate.h"

#include <memory>
#include <optional>
#include <string>

namespace voice {
class RecordAudio;
}

namespace chat {

class RecordButton : public ui::Button, public voice::RecordAudioDelegate {
public:
    static constexpr int maxLevelImage = 5;

    explicit RecordButton(const gfx::Rect& frame = {});
    ~RecordButton() override;

    // Keeps the delegate (weakly), the time limit and the overlay's hint (nothing: the default hint), makes
    // the recorder and wires the touch events.
    void initRecord(std::weak_ptr<RecordButtonDelegate> delegate, int maxTime, std::optional<std::string> title = {});

    void startRecord();
    void stopRecord();
    void cancelRecord();
    void RemindDragExit();
    void RemindDragEnter();
    void setHUDTitle();

    int maxTime() const { return m_maxTime; }
    const std::optional<base::URL>& recordedFile() const { return m_recordedFile; }
    const std::shared_ptr<voice::RecordAudio>& recorder() const { return m_amr; }
    std::weak_ptr<RecordButtonDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<RecordButtonDelegate> delegate) { m_delegate = std::move(delegate); }

    // The level image's name for a smoothed level from 0 to 1.
    static std::string levelImageName(float volume);

    void RecordStatus(int) override { }
    void recording(float seconds, float volume) override;

private:
    void wireTouches();

    int m_maxTime { 0 };
    std::shared_ptr<voice::RecordAudio> m_amr;
    std::optional<base::URL> m_recordedFile;
    std::optional<std::string> m_title;
    std::weak_ptr<RecordButtonDelegate> m_delegate;
};

} // namespace chat
