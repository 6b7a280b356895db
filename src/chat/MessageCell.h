// chat::MessageCell: one row of a chat list: the time line, the sender's icon and the bubble, placed by the
// row's MessageFrame. The bubble shows a text, a voice symbol or an image thumbnail on a stretchable
// background (from the server on the left, own on the right). A tap on a voice bubble fetches the voice file
// once (VoiceFileCache) and plays it with a voice::RecordAudio of the cell's own, while the symbol cycles
// through its three sound images every 0.2 s on the main loop; the animation belongs to the message, so a
// reused cell that shows another message stops it. A tap on an image bubble opens the image full-screen.
// A cell given a watch-voice player hands a watch voice message's file name to it instead of playing it
// itself (the message detail plays through the home screen's player), with itself as the listener of that
// playback: the symbol animates from the status that says the sound started to the one that says it ended or
// failed, as for its own. Main thread; made with std::make_shared.
//
//   auto cell = std::dynamic_pointer_cast<chat::MessageCell>(table.dequeueReusableCellWithIdentifier("Cell"));
//   if (!cell) cell = std::make_shared<chat::MessageCell>();
//   cell->setMessageFrame(frames[row]);
#pragma once

#include "base/time/Timer.h"
#include "chat/MessageFrame.h"
#include "kit/media/MediaFocusViewControllerDelegate.h"
#include "ui/scroll/TableViewCell.h"
#include "voice/RecordAudioDelegate.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace gfx {
class Image;
}
namespace kit {
class MediaFocusViewController;
}
namespace ui {
class Button;
class ImageView;
}
namespace voice {
class RecordAudio;
}

namespace chat {

class MessageCell : public ui::TableViewCell,
                    public voice::RecordAudioDelegate,
                    public kit::MediaFocusViewControllerDelegate {
public:
    static constexpr const char* ReuseIdentifier = "Cell";
    static constexpr base::Duration animationStep { 0.2 };
    static constexpr double thumbnailSideCached = 80;
    static constexpr double thumbnailSideDownloaded = 40;

    explicit MessageCell(std::string reuseIdentifier = ReuseIdentifier);
    ~MessageCell() override;

    const std::shared_ptr<MessageFrame>& messageFrame() const { return m_messageFrame; }
    void setMessageFrame(std::shared_ptr<MessageFrame> frame);

    const std::shared_ptr<ui::Button>& timeBtn() const { return m_timeBtn; }
    const std::shared_ptr<ui::ImageView>& iconView() const { return m_iconView; }
    const std::shared_ptr<ui::Button>& contentBtn() const { return m_contentBtn; }
    const std::shared_ptr<gfx::Image>& image() const { return m_image; }
    const std::optional<std::string>& recoreStr() const { return m_recoreStr; }
    const std::shared_ptr<voice::RecordAudio>& recordAudio() const { return m_recordAudio; }
    bool isPlaying() const { return m_isplay; }
    bool isAnimating() const { return m_animation != nullptr; }
    const std::shared_ptr<kit::MediaFocusViewController>& focusViewController() const { return m_focusViewController; }

    using WatchVoicePlayer
        = std::function<void(const std::string& fileName, std::weak_ptr<voice::RecordAudioDelegate> listener)>;
    void setWatchVoicePlayer(WatchVoicePlayer player) { m_watchVoicePlayer = std::move(player); }

    // The bubble's tap: plays a voice message, opens an image.
    void doContentBtn();
    // Shows the image full-screen from the bubble, when there is one.
    void clickImage();
    // The sound image of an animation step: "sound1" to "sound3" from the server, "sound4" to "sound6" own.
    static std::string soundImageName(bool fromServer, int step);

    void RecordStatus(int status) override;

private:
    void showTime();
    void showContent();
    void showBubble(bool fromServer);
    void loadThumbnail();
    void thumbnailArrived(const base::Data& bytes, bool wasCached, const std::string& messageId);
    void playRecord();
    void playRecordWithData(const base::Data& data, const std::string& messageId);
    void startAnimation(const std::string& messageId);
    void stopAnimation();
    bool shows(const std::string& messageId) const;
    std::string messageId() const;
    bool fromServer() const;

    std::shared_ptr<ui::Button> m_timeBtn;
    std::shared_ptr<ui::ImageView> m_iconView;
    std::shared_ptr<ui::Button> m_contentBtn;
    std::shared_ptr<gfx::Image> m_image;
    std::optional<std::string> m_recoreStr;
    std::shared_ptr<voice::RecordAudio> m_recordAudio;
    bool m_isplay { false };
    std::shared_ptr<MessageFrame> m_messageFrame;
    std::shared_ptr<kit::MediaFocusViewController> m_focusViewController;
    std::shared_ptr<base::Timer> m_animation;
    std::string m_animatedMessage;
    int m_animationStep { 0 };
    // The message handed to the watch-voice player, until its playback has ended.
    std::optional<std::string> m_handedOverMessage;
    WatchVoicePlayer m_watchVoicePlayer;
};

} // namespace chat
