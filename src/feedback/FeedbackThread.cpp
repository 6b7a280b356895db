#include "feedback/FeedbackThread.h"

#include "base/loop/MainThread.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "networking/forms/QueryString.h"
#include "json/JSONDecoder.h"
#include "json/JSONSerializer.h"

#include <algorithm>

namespace feedback {

namespace {

    constexpr const char* messagesKey = "messages";

    std::optional<FeedbackMessage> messageFrom(const base::Value& value)
    {
        const auto& fields = value.dictionary();
        if (!fields)
            return std::nullopt;
        const base::Value* id = fields->objectForKey("id");
        const base::Value* text = fields->objectForKey("text");
        const base::Value* time = fields->objectForKey("time");
        const base::Value* sent = fields->objectForKey("sent");
        if (!id || !id->isNumber() || !text || !text->string() || !time || !time->isNumber())
            return std::nullopt;
        return FeedbackMessage { id->longLongValue(), *text->string(),
            base::Date::fromTimeIntervalSince1970(time->doubleValue()), sent && sent->boolValue() };
    }

    base::Value valueOf(const FeedbackMessage& message)
    {
        return base::Dictionary::make({ { "id", message.id }, { "text", message.text },
            { "time", message.time.timeIntervalSince1970() }, { "sent", message.sent } });
    }

} // namespace

std::filesystem::path FeedbackThread::pathForAccount(std::string_view account)
{
    // UTF-8 writes every text, so the escaping cannot fail.
    std::string name = networking::QueryString::percentEscapedQueryComponent(account, base::TextEncoding::UTF8)
                           .value_or(std::string());
    return base::Paths::dataRoot() / "feedback" / ("thread-" + name + ".json");
}

FeedbackThread::FeedbackThread(std::filesystem::path path)
    : m_path(std::move(path))
{
    BASE_ASSERT_MAIN_THREAD();
}

FeedbackThread FeedbackThread::load(std::filesystem::path path)
{
    BASE_ASSERT_MAIN_THREAD();
    FeedbackThread thread(std::move(path));
    auto text = base::Files::read(thread.m_path);
    if (!text)
        return thread;
    auto root = json::objectFromJSONString(*text);
    const auto& fields = root ? root->dictionary() : nullptr;
    const base::Value* list = fields ? fields->objectForKey(messagesKey) : nullptr;
    if (!list || !list->array()) {
        base::log("feedback: the thread file cannot be read; starting a new thread");
        return thread;
    }
    for (size_t i = 0; i < list->array()->count(); ++i) {
        if (auto message = messageFrom(list->array()->objectAtIndex(i)))
            thread.m_messages.push_back(std::move(*message));
    }
    return thread;
}

const FeedbackMessage* FeedbackThread::find(int64_t id) const
{
    auto found = std::find_if(
        m_messages.begin(), m_messages.end(), [id](const FeedbackMessage& message) { return message.id == id; });
    return found == m_messages.end() ? nullptr : &*found;
}

const FeedbackMessage& FeedbackThread::append(std::string text, base::Date time)
{
    BASE_ASSERT_MAIN_THREAD();
    int64_t id = m_messages.empty() ? 1 : m_messages.back().id + 1;
    m_messages.push_back({ id, std::move(text), time, false });
    if (!save())
        base::log("feedback: the thread file cannot be written");
    return m_messages.back();
}

bool FeedbackThread::markSent(int64_t id, bool sent)
{
    BASE_ASSERT_MAIN_THREAD();
    auto found = std::find_if(
        m_messages.begin(), m_messages.end(), [id](const FeedbackMessage& message) { return message.id == id; });
    if (found == m_messages.end())
        return false;
    found->sent = sent;
    return save();
}

bool FeedbackThread::save() const
{
    std::vector<base::Value> list;
    for (const auto& message : m_messages)
        list.push_back(valueOf(message));
    auto text = json::JSONString(base::Dictionary::make({ { messagesKey, base::Array::make(std::move(list)) } }));
    return text && base::Files::writeAtomically(m_path, *text, 0600);
}

} // namespace feedback
