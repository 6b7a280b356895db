// networking::QueryString: parameters, possibly nested, as the text of a URL query or of a form body
// ("application/x-www-form-urlencoded"), and as flat field/value pairs for multipart forms. Dictionary keys
// come out sorted without regard to case; nested keys read "a[x]", array members "a[]". Fields and values are
// escaped alike: letters, digits and "-_.[]" stay, every other byte of the text in the chosen encoding
// becomes "%XX". Pure; any thread.
//
//   auto query = networking::QueryString::joinedQueryStringFromParameters(*parameters, base::TextEncoding::UTF8);
//   // b=1 and a={x: "1 2", y: [p, q]} give "a[x]=1%202&a[y][]=p&a[y][]=q&b=1"
#pragma once

#include "base/text/TextEncoding.h"
#include "base/values/Dictionary.h"
#include "base/values/Error.h"
#include "networking/forms/QueryStringPair.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace networking {

class QueryString {
public:
    // What a field built without a key starts with (an array or scalar given at the top level).
    static constexpr const char* AbsentKeyDescription = "(null)";

    // The escaped text; nothing when a character cannot be written in `encoding`.
    [[nodiscard]] static std::optional<std::string> percentEscapedQueryComponent(
        std::string_view text, base::TextEncoding::Code encoding);

    static std::vector<QueryStringPair> flattenedQueryStringPairs(
        const std::optional<std::string>& key, const base::Value& value);

    // The joined text; nothing, with an error naming the field, when a field or value cannot be written in
    // `encoding` (it is never silently left out).
    [[nodiscard]] static std::optional<std::string> joinedQueryStringFromParameters(
        const base::Dictionary& parameters, base::TextEncoding::Code encoding, base::Error* error = nullptr);
};

} // namespace networking
