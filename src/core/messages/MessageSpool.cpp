#include "core/messages/MessageSpool.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "core/messages/KeptAside.h"
#include "json/JSONDecoder.h"
#include "json/JSONSerializer.h"

#include <system_error>

namespace core {

namespace {

    constexpr const char* ChatPlace = "chat";
    constexpr const char* MessageCentrePlace = "messages";
    // Far above any batch the service hands out; a larger file is not read into memory.
    constexpr uintmax_t MaxSpoolBytes = 256u << 20;

    void addText(base::Dictionary::Pairs& fields, const char* key, const std::optional<std::string>& text)
    {
        if (text)
            fields.emplace_back(base::Value(key), base::Value(*text));
    }

    base::Value encode(const PendingMessage& pending)
    {
        const UserMessageQuery& message = *pending.message;
        base::Dictionary::Pairs fields;
        fields.emplace_back(base::Value("place"),
            base::Value(pending.place == PendingMessage::Place::Chat ? ChatPlace : MessageCentrePlace));
        addText(fields, "id", message.id_);
        addText(fields, "context", message.context);
        addText(fields, "desc", message.desc);
        addText(fields, "from", message.from);
        addText(fields, "to", message.to);
        addText(fields, "fromIconName", message.fromIconName);
        addText(fields, "toIconName", message.toIconName);
        addText(fields, "url", message.url);
        addText(fields, "userName", message.userName);
        if (message.msgType)
            fields.emplace_back(base::Value("msgType"), base::Value(*message.msgType));
        if (message.createTime)
            fields.emplace_back(base::Value("createTime"), base::Value(message.createTime->timeIntervalSince1970()));
        return base::Value(base::Dictionary::make(std::move(fields)));
    }

    std::optional<std::string> textOf(const base::DictionaryRef& fields, const char* key)
    {
        const base::Value* value = fields->objectForStringKey(key);
        if (value && value->string())
            return *value->string();
        return std::nullopt;
    }

    std::optional<PendingMessage> decode(const base::Value& entry)
    {
        const auto& fields = entry.dictionary();
        if (!fields)
            return std::nullopt;
        auto message = std::make_shared<UserMessageQuery>();
        message->id_ = textOf(fields, "id");
        message->context = textOf(fields, "context");
        message->desc = textOf(fields, "desc");
        message->from = textOf(fields, "from");
        message->to = textOf(fields, "to");
        message->fromIconName = textOf(fields, "fromIconName");
        message->toIconName = textOf(fields, "toIconName");
        message->url = textOf(fields, "url");
        message->userName = textOf(fields, "userName");
        if (const base::Value* type = fields->objectForStringKey("msgType"); type && type->isNumber())
            message->msgType = type->longLongValue();
        if (const base::Value* time = fields->objectForStringKey("createTime"); time && time->isNumber())
            message->createTime = base::Date::fromTimeIntervalSince1970(time->doubleValue());
        auto place
            = textOf(fields, "place") == ChatPlace ? PendingMessage::Place::Chat : PendingMessage::Place::MessageCentre;
        return PendingMessage { std::move(message), place };
    }

    std::vector<PendingMessage> unreadable(const char* why)
    {
        base::log(std::string("message spool: ") + why + "; keeping it aside");
        keepAside(MessageSpool::path());
        return {};
    }

} // namespace

std::filesystem::path MessageSpool::path() { return base::Paths::dataRoot() / FileName; }

std::vector<PendingMessage> MessageSpool::read()
{
    std::error_code error;
    auto size = std::filesystem::file_size(path(), error);
    if (error)
        return {};
    if (size > MaxSpoolBytes)
        return unreadable("too large");
    auto text = base::Files::read(path());
    if (!text)
        return unreadable("cannot be read");
    auto value = json::objectFromJSONString(*text);
    if (!value || !value->array())
        return unreadable("not a list of messages");
    std::vector<PendingMessage> messages;
    for (const base::Value& entry : *value->array()) {
        auto pending = decode(entry);
        if (!pending)
            return unreadable("not a list of messages");
        messages.push_back(std::move(*pending));
    }
    return messages;
}

bool MessageSpool::write(const std::vector<PendingMessage>& messages)
{
    std::vector<base::Value> entries;
    entries.reserve(messages.size());
    for (const PendingMessage& pending : messages)
        entries.push_back(encode(pending));
    auto text = json::JSONString(base::Value(base::Array::make(std::move(entries))));
    return text && base::Files::writeAtomically(path(), *text, 0600);
}

void MessageSpool::clear()
{
    std::error_code error;
    std::filesystem::remove(path(), error);
}

} // namespace core
