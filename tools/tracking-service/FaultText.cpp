#include "tracking-service/FaultText.h"

#include "base/values/Array.h"
#include "json/JSONDecoder.h"

#include <charconv>

namespace tracking_service {

namespace {

    std::optional<long long> number(std::string_view text, long long low, long long high)
    {
        long long value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
            return std::nullopt;
        return value;
    }

    // Any one JSON value, a number or a text as well as an object or an array (the decoder takes only the
    // latter at the top level, so the value is read as the one element of an array).
    std::optional<base::Value> jsonValue(std::string_view text)
    {
        auto array = json::objectFromJSONString("[" + std::string(text) + "]");
        if (!array || !array->array() || array->array()->count() != 1)
            return std::nullopt;
        return array->array()->objectAtIndex(0);
    }

    // The fault of one kind; an error text when the argument does not fit it.
    std::optional<Fault> faultOfKind(
        std::string_view kind, std::optional<std::string_view> argument, std::string& error)
    {
        const bool bare = !argument.has_value();
        if (kind == "drop" && bare)
            return Fault::dropConnection();
        if (kind == "non-json" && bare)
            return Fault::nonJsonBody();
        if (kind == "no-payload" && bare)
            return Fault::noPayload();
        if (kind == "null-payload" && bare)
            return Fault::nullPayload();
        if (kind == "refusal")
            return bare ? Fault::refusal() : Fault::refusal(std::string(*argument));
        if (kind == "status" && !bare) {
            if (auto code = number(*argument, 100, 599))
                return Fault::status(static_cast<int>(*code));
        } else if (kind == "delay" && !bare) {
            if (auto milliseconds = number(*argument, 0, 24LL * 3600 * 1000))
                return Fault::delay(std::chrono::milliseconds(*milliseconds));
        } else if (kind == "payload" && !bare) {
            if (auto value = jsonValue(*argument))
                return Fault::payload(std::move(*value));
        }
        error = "\"" + std::string(kind) + (bare ? "" : ":" + std::string(*argument))
            + "\" is not a fault kind with a valid argument";
        return std::nullopt;
    }

} // namespace

std::optional<FaultText> FaultText::parse(std::string_view text, std::string* error)
{
    std::string reason;
    size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        reason = "a fault is ENDPOINT=KIND[:ARG]";
    } else {
        std::string_view kind = text.substr(equals + 1);
        std::optional<std::string_view> argument;
        if (size_t colon = kind.find(':'); colon != std::string_view::npos) {
            argument = kind.substr(colon + 1);
            kind = kind.substr(0, colon);
        }
        if (auto parsed = faultOfKind(kind, argument, reason))
            return FaultText { std::string(text.substr(0, equals)), std::move(*parsed) };
    }
    if (error)
        *error = reason;
    return std::nullopt;
}

const char* FaultText::kinds()
{
    return "  status:CODE     answer that HTTP status\n"
           "  drop            close the connection after the head\n"
           "  non-json        answer a body that is not JSON\n"
           "  no-payload      answer JSON without \"d\"\n"
           "  null-payload    answer a null \"d\"\n"
           "  refusal[:TEXT]  answer a refusal text as \"d\"\n"
           "  delay:MS        hold the request MS milliseconds, then answer normally\n"
           "  payload:JSON    answer that JSON value as \"d\"\n";
}

} // namespace tracking_service
