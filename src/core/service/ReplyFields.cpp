#include "core/service/ReplyFields.h"

#include "base/values/Array.h"
#include "base/system/Log.h"
#include "base/time/ServiceDateText.h"
#include "core/service/ServiceProtocol.h"
#include "json/JSONDecoder.h"

namespace core {

namespace {

    const base::Value* field(const base::DictionaryRef& fields, std::string_view key)
    {
        return fields ? fields->objectForKey(key) : nullptr;
    }

    const char* kindName(const base::Value& value)
    {
        switch (value.kind()) {
        case base::Value::Kind::Null:
            return "null";
        case base::Value::Kind::Bool:
        case base::Value::Kind::Integer:
        case base::Value::Kind::Unsigned:
        case base::Value::Kind::Double:
            return "a number";
        case base::Value::Kind::String:
            return "a text";
        case base::Value::Kind::Data:
            return "data";
        case base::Value::Kind::Date:
            return "a date";
        case base::Value::Kind::Array:
            return "an array";
        case base::Value::Kind::Dictionary:
            return "an object";
        }
        return "a value";
    }

} // namespace

bool ReplyFields::isBlank(std::string_view replyText)
{
    return replyText.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::optional<base::Value> ReplyFields::payload(
    std::string_view replyText, json::ParseOptions options, base::Error* error)
{
    if (isBlank(replyText))
        return std::nullopt;
    // With other options than strict the text is handed over as bytes, so that the decoder and its options judge
    // a text that is not well-formed UTF-8 (the text form refuses it whole before parsing).
    auto reply = options == json::JSONParseStrict
        ? json::objectFromJSONString(replyText, options, error)
        : json::objectFromJSONData(base::Data(replyText.begin(), replyText.end()), options, error);
    const auto& object = reply ? reply->dictionary() : nullptr;
    if (reply && !object)
        base::setError(error, unreadable(std::string("the reply is ") + kindName(*reply) + ", not an object"));
    const base::Value* d = object ? object->objectForKey(ServiceProtocol::PayloadKey) : nullptr;
    return d ? std::optional(*d) : std::nullopt;
}

base::Error ReplyFields::unreadable(std::string description)
{
    return base::Error(
        ErrorDomain, UnreadablePart, { { base::Error::LocalizedDescriptionKey, std::move(description) } });
}

void ReplyFields::noteConversion(std::string_view key, const base::Value& value, std::string_view readAs)
{
    base::log(std::string("reply: \"") + std::string(key) + "\" holds " + kindName(value) + ", read as "
        + std::string(readAs));
}

std::optional<std::string> ReplyFields::textOf(const base::Value& value, std::string_view key)
{
    if (const std::string* text = value.string())
        return *text;
    if (value.isNull())
        return std::nullopt;
    if (value.isNumber()) {
        noteConversion(key, value, "its decimal text");
        return value.stringValue();
    }
    noteConversion(key, value, "missing");
    return std::nullopt;
}

std::optional<int64_t> ReplyFields::integerOf(const base::Value& value, std::string_view key)
{
    if (value.isNull())
        return std::nullopt;
    if (value.isNumber())
        return value.longLongValue();
    if (value.isString()) {
        noteConversion(key, value, "its leading integer");
        return value.longLongValue();
    }
    noteConversion(key, value, "missing");
    return std::nullopt;
}

std::optional<std::string> ReplyFields::text(const base::DictionaryRef& fields, std::string_view key)
{
    const base::Value* value = field(fields, key);
    return value ? textOf(*value, key) : std::nullopt;
}

ConfigText ReplyFields::configText(const base::DictionaryRef& fields, std::string_view key)
{
    const base::Value* value = field(fields, key);
    if (!value)
        return ConfigText();
    if (value->isNull())
        return ConfigText::null();
    return ConfigText(textOf(*value, key).value_or(""));
}

std::optional<int64_t> ReplyFields::integer(const base::DictionaryRef& fields, std::string_view key)
{
    const base::Value* value = field(fields, key);
    return value ? integerOf(*value, key) : std::nullopt;
}

std::optional<base::Value> ReplyFields::asReceived(const base::DictionaryRef& fields, std::string_view key)
{
    const base::Value* value = field(fields, key);
    return value ? std::optional(*value) : std::nullopt;
}

std::optional<base::Date> ReplyFields::date(const base::DictionaryRef& fields, std::string_view key)
{
    auto dateText = text(fields, key);
    if (!dateText)
        return std::nullopt;
    auto date = base::parseServiceDateText(*dateText);
    if (!date && !dateText->empty())
        noteConversion(key, base::Value(*dateText), "missing (not a date text)");
    return date;
}

base::DictionaryRef ReplyFields::object(const base::DictionaryRef& fields, std::string_view key)
{
    const base::Value* value = field(fields, key);
    if (!value || value->isNull())
        return nullptr;
    if (!value->isDictionary())
        noteConversion(key, *value, "missing");
    return value->dictionary();
}

base::ArrayRef ReplyFields::array(const base::DictionaryRef& fields, std::string_view key)
{
    const base::Value* value = field(fields, key);
    if (!value || value->isNull())
        return nullptr;
    if (!value->isArray())
        noteConversion(key, *value, "missing");
    return value->array();
}

} // namespace core
