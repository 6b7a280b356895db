#include "chat/MessageCell.h"

#include "base/loop/MainThread.h"
#include "base/system/Log.h"
#include "chat/VoiceFileCache.h"
#include "core/helpers/ImageHelpers.h"
#include "core/state/Singleton.h"
#include "gfx/geometry/EdgeInsets.h"
#include "gfx/images/Image.h"
#include "kit/media/MediaFocusViewController.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "voice/RecordAudio.h"

#include <numbers>

namespace chat {

namespace {

    constexpr gfx::EdgeInsets fromServerInsets { 10, 25, 15, 15 };
    constexpr gfx::EdgeInsets ownInsets { 10, 15, 15, 25 };
    constexpr double capWidthShare = 0.5;
    constexpr double capHeightShare = 0.7;
    constexpr int soundSteps = 3;

    std::shared_ptr<gfx::Image> stretchable(const char* name)
    {
        auto image = gfx::Image::named(name);
        if (!image)
            return nullptr;
        gfx::Size size = image->size();
        return image->stretchableImage(size.width * capWidthShare, size.height * capHeightShare);
    }

    // The size whose longer side is `side`, the other in proportion.
    gfx::Size thumbnailSize(gfx::Size size, double side)
    {
        if (size.width <= 0 || size.height <= 0)
            return { side, side };
        if (size.width >= size.height)
            return { side, size.height * side / size.width };
        return { size.width * side / size.height, side };
    }

} // namespace

MessageCell::MessageCell(std::string reuseIdentifier)
    : ui::TableViewCell(ui::TableViewCellStyle::Default, std::move(reuseIdentifier))
{
    BASE_ASSERT_MAIN_THREAD();
    setBackgroundColor(gfx::Color::clear());
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);

    m_timeBtn = std::make_shared<ui::Button>();
    m_timeBtn->setEnabled(false);
    m_timeBtn->setTitleColor(gfx::Color::black(), ui::ControlState::Normal);
    m_timeBtn->setTitleColor(gfx::Color::black(), ui::ControlState::Disabled);
    m_timeBtn->titleLabel()->setFont(gfx::Font::system(MessageFrame::timeFontSize));
    m_timeBtn->setBackgroundImage(gfx::Image::named("chat_timeline_bg"), ui::ControlState::Normal);
    m_iconView = std::make_shared<ui::ImageView>();
    m_contentBtn = std::make_shared<ui::Button>();
    m_contentBtn->setTitleColor(gfx::Color::black(), ui::ControlState::Normal);
    m_contentBtn->titleLabel()->setFont(gfx::Font::system(MessageFrame::textFontSize));
    m_contentBtn->titleLabel()->setNumberOfLines(0);

    contentView()->addSubview(m_timeBtn);
    contentView()->addSubview(m_iconView);
    contentView()->addSubview(m_contentBtn);
}

MessageCell::~MessageCell() { stopAnimation(); }

void MessageCell::setMessageFrame(std::shared_ptr<MessageFrame> frame)
{
    BASE_ASSERT_MAIN_THREAD();
    std::string previous = m_messageFrame ? messageId() : std::string();
    m_messageFrame = std::move(frame);
    if (m_animation && previous != messageId())
        stopAnimation();
    m_recoreStr.reset();
    m_image = nullptr;

    const auto& message = *m_messageFrame->message();
    bool own = !isFromServer(message);
    showTime();
    m_iconView->setImage(gfx::Image::named((own ? message.fromIconName : message.toIconName).value_or("")));
    m_iconView->setFrame(m_messageFrame->iconF());
    showContent();
    showBubble(!own);
}

void MessageCell::showTime()
{
    m_timeBtn->setHidden(!m_messageFrame->showTime());
    m_timeBtn->setTitle(
        messageTimeText(m_messageFrame->message()->createTime, base::Date::now()), ui::ControlState::Normal);
    m_timeBtn->setFrame(m_messageFrame->timeF());
}

void MessageCell::showContent()
{
    m_contentBtn->setImage(nullptr, ui::ControlState::Normal);
    m_contentBtn->setTitle(std::nullopt, ui::ControlState::Normal);
    m_contentBtn->removeActions(this);
    const auto& message = *m_messageFrame->message();
    auto tap = [this] {
        m_contentBtn->addAction(
            [weak = ui::weakFrom(this)](ui::Control&) {
                if (auto self = weak.lock())
                    self->doContentBtn();
            },
            ui::ControlEvent::TouchUpInside, this);
    };
    switch (kindOf(message)) {
    case MessageKind::OwnVoice:
        m_contentBtn->setImage(
            gfx::Image::named(soundImageName(fromServer(), soundSteps - 1)), ui::ControlState::Normal);
        tap();
        break;
    case MessageKind::Image:
        m_contentBtn->setImage(gfx::Image::named("AppShareimage"), ui::ControlState::Normal);
        loadThumbnail();
        tap();
        break;
    case MessageKind::WatchVoice:
        m_recoreStr = message.context;
        m_contentBtn->setImage(gfx::Image::named(soundImageName(true, soundSteps - 1)), ui::ControlState::Normal);
        tap();
        break;
    case MessageKind::Text:
        m_contentBtn->setTitle(message.context.value_or(""), ui::ControlState::Normal);
        break;
    case MessageKind::Nothing:
        break;
    }
    if (m_animation)
        m_contentBtn->setImage(
            gfx::Image::named(soundImageName(fromServer(), m_animationStep)), ui::ControlState::Normal);
}

void MessageCell::showBubble(bool fromServer)
{
    m_contentBtn->setContentEdgeInsets(fromServer ? fromServerInsets : ownInsets);
    m_contentBtn->setFrame(m_messageFrame->contentF());
    m_contentBtn->setBackgroundImage(
        stretchable(fromServer ? "chatfrom_bg_normal" : "chatto_bg_normal"), ui::ControlState::Normal);
    m_contentBtn->setBackgroundImage(
        stretchable(fromServer ? "chatfrom_bg_focused" : "chatto_bg_focused"), ui::ControlState::Highlighted);
}

void MessageCell::loadThumbnail()
{
    std::string url = m_messageFrame->message()->url.value_or("");
    bool cached = core::Singleton::shared().fileExist(VoiceFileCache::lastPathPart(url));
    VoiceFileCache::fetchOwnFile(url, VoiceFileCache::Content::Image,
        [weak = ui::weakFrom(this), cached, id = messageId()](const base::Data& bytes) {
            if (auto self = weak.lock())
                self->thumbnailArrived(bytes, cached, id);
        },
        {});
}

void MessageCell::thumbnailArrived(const base::Data& bytes, bool wasCached, const std::string& id)
{
    auto image = gfx::Image::decode(bytes);
    if (!image || !shows(id))
        return;
    if (wasCached)
        image = core::rotateImageWithRadian(*image, std::numbers::pi / 2, true);
    m_image = image;
    gfx::Size size = thumbnailSize(image->size(), wasCached ? thumbnailSideCached : thumbnailSideDownloaded);
    m_contentBtn->setImage(core::imageByScalingAndCroppingForSize(*image, size), ui::ControlState::Normal);
}

void MessageCell::doContentBtn()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_messageFrame)
        return;
    if (kindOf(*m_messageFrame->message()) == MessageKind::Image)
        clickImage();
    else
        playRecord();
}

void MessageCell::clickImage()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_image)
        return;
    m_focusViewController = std::make_shared<kit::MediaFocusViewController>();
    m_focusViewController->setDelegate(
        std::static_pointer_cast<kit::MediaFocusViewControllerDelegate>(ui::sharedFrom(this)));
    m_focusViewController->showImage(m_image, m_contentBtn);
}

void MessageCell::playRecord()
{
    const auto& message = *m_messageFrame->message();
    auto play = [weak = ui::weakFrom(this), id = messageId()](const base::Data& bytes) {
        if (auto self = weak.lock())
            self->playRecordWithData(bytes, id);
    };
    if (message.msgType == core::UserMessageQuery::VoiceType || !isFromServer(message))
        VoiceFileCache::fetchOwnFile(message.url.value_or(""), VoiceFileCache::Content::Voice, play, {});
    else if (m_recoreStr && m_watchVoicePlayer) {
        m_handedOverMessage = messageId();
        m_watchVoicePlayer(*m_recoreStr, std::static_pointer_cast<voice::RecordAudioDelegate>(ui::sharedFrom(this)));
    } else if (m_recoreStr)
        VoiceFileCache::fetchWatchVoice(*m_recoreStr, play, {});
}

void MessageCell::playRecordWithData(const base::Data& data, const std::string& id)
{
    if (!shows(id))
        return;
    stopAnimation();
    m_recordAudio = std::make_shared<voice::RecordAudio>();
    m_recordAudio->setDelegate(std::static_pointer_cast<voice::RecordAudioDelegate>(ui::sharedFrom(this)));
    m_isplay = true;
    startAnimation(id);
    m_recordAudio->play(data);
}

void MessageCell::startAnimation(const std::string& id)
{
    m_animatedMessage = id;
    m_animationStep = 0;
    m_contentBtn->setImage(gfx::Image::named(soundImageName(fromServer(), 0)), ui::ControlState::Normal);
    m_animation = base::Timer::scheduled(animationStep, true, [weak = ui::weakFrom(this)](base::Timer&) {
        auto self = weak.lock();
        if (!self)
            return;
        self->m_animationStep = (self->m_animationStep + 1) % soundSteps;
        self->m_contentBtn->setImage(
            gfx::Image::named(soundImageName(self->fromServer(), self->m_animationStep)), ui::ControlState::Normal);
    });
}

void MessageCell::stopAnimation()
{
    if (m_animation)
        m_animation->invalidate();
    m_animation = nullptr;
    m_animatedMessage.clear();
}

void MessageCell::RecordStatus(int status)
{
    BASE_ASSERT_MAIN_THREAD();
    if (status == voice::RecordAudio::StatusStarted) {
        // The player the message was handed to has started it; the cell's own playback animates already.
        if (!m_animation && m_handedOverMessage && shows(*m_handedOverMessage))
            startAnimation(*m_handedOverMessage);
        return;
    }
    m_handedOverMessage.reset();
    m_isplay = false;
    bool ownAnimation = m_animation && shows(m_animatedMessage);
    stopAnimation();
    if (ownAnimation)
        m_contentBtn->setImage(
            gfx::Image::named(soundImageName(fromServer(), soundSteps - 1)), ui::ControlState::Normal);
}

std::string MessageCell::soundImageName(bool fromServer, int step)
{
    BASE_ASSERT_MAIN_THREAD();
    return "sound" + std::to_string((fromServer ? 1 : 4) + step % soundSteps);
}

bool MessageCell::shows(const std::string& id) const { return m_messageFrame && messageId() == id; }

std::string MessageCell::messageId() const { return m_messageFrame->message()->id_.value_or(""); }

bool MessageCell::fromServer() const { return m_messageFrame && isFromServer(*m_messageFrame->message()); }

} // namespace chat
