// core::ReplyFields: reading the service's replies in one place. payload() takes a reply text to the value
// under "d"; the field readers take one field of a reply object in the kind a record expects. Where a reply
// holds another kind than expected, the field is converted as the platform converts values (a number gives
// its decimal text, a numeric text its number), or, when no conversion makes sense, read as missing; each
// such case is logged with the field's key, so a changed service shows in the log. Pure functions, any
// thread.
//
//   auto d = core::ReplyFields::payload(responseString);
//   const base::DictionaryRef& fields = d ? d->dictionary() : nullptr;
//   device->deviceName = core::ReplyFields::text(fields, "DeviceName");
#pragma once

#include "base/time/Date.h"
#include "base/values/Dictionary.h"
#include "base/values/Error.h"
#include "base/values/Value.h"
#include "core/records/ConfigText.h"
#include "json/JSONParseOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

class ReplyFields {
public:
    // Errors of a reply that holds something that cannot be read (a part of another kind than the reader takes).
    static constexpr const char* ErrorDomain = "org.lumet.core.reply";
    static constexpr long UnreadablePart = 1;

    // A reply text with nothing but white space (or nothing at all): the readers answer nothing for it.
    static bool isBlank(std::string_view replyText);
    // The value under "d" of a reply text; nothing for a blank text, a text that is not a JSON object, and an
    // object without "d". The text is decoded with `options`; `error` tells why a text that is not blank is not a
    // JSON object.
    [[nodiscard]] static std::optional<base::Value> payload(
        std::string_view replyText, json::ParseOptions options = json::JSONParseStrict, base::Error* error = nullptr);
    // An error of ErrorDomain saying what could not be read.
    static base::Error unreadable(std::string description);

    // A text: a text as it is, a number's decimal text; nothing when absent, null or of another kind.
    [[nodiscard]] static std::optional<std::string> text(const base::DictionaryRef& fields, std::string_view key);
    // A configuration text: absent gives the empty text, null stays null, a number gives its decimal text.
    static ConfigText configText(const base::DictionaryRef& fields, std::string_view key);
    // An integer: a number's integer value, a text's leading integer; nothing when absent, null or of another
    // kind.
    [[nodiscard]] static std::optional<int64_t> integer(const base::DictionaryRef& fields, std::string_view key);
    // The value as the reply had it (a number, a text or null); nothing when absent.
    [[nodiscard]] static std::optional<base::Value> asReceived(const base::DictionaryRef& fields, std::string_view key);
    // A service date text ("/Date(<milliseconds>)/"); nothing when absent, null, not such a text.
    [[nodiscard]] static std::optional<base::Date> date(const base::DictionaryRef& fields, std::string_view key);
    // A nested object; empty when absent, null or of another kind.
    static base::DictionaryRef object(const base::DictionaryRef& fields, std::string_view key);
    // A nested array; empty when absent, null or of another kind.
    static base::ArrayRef array(const base::DictionaryRef& fields, std::string_view key);

    // The text of a value met where a text is expected: see text().
    [[nodiscard]] static std::optional<std::string> textOf(const base::Value& value, std::string_view key);
    // The integer of a value met where an integer is expected: see integer().
    [[nodiscard]] static std::optional<int64_t> integerOf(const base::Value& value, std::string_view key);

    // Logs that a field held another kind than expected, and how it was read.
    static void noteConversion(std::string_view key, const base::Value& value, std::string_view readAs);
};

} // namespace core
