// The chat screen's sending: texts by web method, voice messages by the multipart upload.
#include "chat/ChatVC.h"

#include "base/loop/RunLoop.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "base/text/UUID.h"
#include "chat/VoiceFileCache.h"
#include "chat/VoiceUploadBody.h"
#include "core/helpers/PromptAlert.h"
#include "core/messages/DBManager.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "core/state/SignInSession.h"
#include "networking/http/HTTPRequestOperation.h"
#include "ui/controls/TextField.h"
#include "ui/scroll/TableView.h"

namespace chat {

namespace {

    constexpr const char* sendTextMethod = "LumetSendTextMsg";
    constexpr const char* ownIcon = "icon01.png";
    constexpr const char* deviceIcon = "icon02.png";

    void showFailure() { core::showUntitledAlert("failure"); }

} // namespace

bool ChatVC::textFieldShouldReturn(ui::TextField& field)
{
    std::string text = field.text();
    // Emptied before the reply can come back, so that a refused text finds the field empty and returns to it.
    field.setText("");
    sendTxtMsg(text, base::Date::now());
    base::RunLoop::main().post([weak = ui::weakFrom(this)] {
        if (auto self = weak.lock()) {
            self->m_tableView->reloadData();
            self->scrollToLastRow();
        }
    });
    return true;
}

std::shared_ptr<core::UserMessageQuery> ChatVC::newMessage(int64_t type) const
{
    auto account = base::UserDefaults::standard().stringForKey(core::SettingsKeys::LoginName2);
    auto message = std::make_shared<core::UserMessageQuery>();
    std::string uuid = base::makeUUID();
    base::trace("chat", "uuid:" + uuid);
    message->id_ = uuid;
    message->createTime = base::Date::now();
    message->from = account;
    message->fromIconName = ownIcon;
    message->to = core::Singleton::shared().lastSerialnumber();
    message->toIconName = deviceIcon;
    message->userName = account;
    message->msgType = type;
    return message;
}

void ChatVC::appendAndStore(const std::shared_ptr<core::UserMessageQuery>& message)
{
    bool stored = core::DBManager::saveOrUpdataUserChatQuery(*message);
    stored = core::DBManager::saveOrUpdataUserChatList(*message) && stored;
    if (!stored)
        base::log("chat: a message could not be stored; it shows until the screen closes");
    auto frame = std::make_shared<MessageFrame>();
    frame->setMessage(message);
    m_history.append(frame);
}

void ChatVC::sendTxtMsg(const std::string& text, base::Date time)
{
    auto message = newMessage(core::UserMessageQuery::TextType);
    message->context = text;
    message->createTime = time;
    appendAndStore(message);
    // The outcome outlives the screen; after a sign-out it would show over another account's screens.
    core::WebCall::post(sendTextMethod,
        base::Dictionary::make({ { "Serialnumber", core::Singleton::shared().lastSerialnumber() }, { "text", text } }),
        core::SignInSession::whileCurrent([weak = ui::weakFrom(this), text](const std::string& reply) {
            if (core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply)))
                return;
            showFailure();
            if (auto self = weak.lock())
                self->textRefused(text);
        }),
        core::SignInSession::whileCurrent([weak = ui::weakFrom(this), text](const base::Error&) {
            showFailure();
            if (auto self = weak.lock())
                self->textRefused(text);
        }));
}

void ChatVC::textRefused(const std::string& text)
{
    if (m_messageField->text().empty())
        m_messageField->setText(text);
}

void ChatVC::endRecord(const std::optional<base::Data>& amr, const base::URL& recordedFile)
{
    if (!amr || amr->size() <= amrMagicSize) {
        base::log("chat: the recording gave no voice; nothing is sent");
        showFailure();
        return;
    }
    auto message = newMessage(core::UserMessageQuery::VoiceType);
    message->url = recordedFile.absoluteString();
    appendAndStore(message);
    if (!core::Singleton::shared().writeMessageFileName(VoiceFileCache::lastPathPart(*message->url), *amr))
        base::log("chat: the voice message could not be kept");
    uploadFile(*message, amr);
    m_tableView->reloadData();
    scrollToLastRow();
}

void ChatVC::uploadFile(const core::UserMessageQuery& message, const std::optional<base::Data>& file)
{
    auto operation = std::make_shared<networking::HTTPRequestOperation>(VoiceUploadBody::request(message, file));
    operation->setCompletionBlockWithSuccess(
        [](const std::shared_ptr<networking::HTTPRequestOperation>& done, const networking::ResponseObject&) {
            base::trace("chat",
                "voice upload answered with " + std::to_string(done->responseString().value_or("").size()) + " bytes");
        },
        core::SignInSession::whileCurrent(
            [](const std::shared_ptr<networking::HTTPRequestOperation>&, const base::Error& error) {
                base::log("chat: pushError:" + error.description());
                showFailure();
            }));
    m_operationQueue->addOperation(operation);
}

} // namespace chat
