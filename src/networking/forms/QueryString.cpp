#include "networking/forms/QueryString.h"

#include "base/values/Array.h"
#include "base/text/PercentEncoding.h"
#include "networking/http/NetworkingErrors.h"

#include <algorithm>
#include <cctype>

namespace networking {

namespace {

    std::string lowerCased(const std::string& text)
    {
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(),
            [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return lower;
    }

    void flatten(const std::optional<std::string>& key, const base::Value& value, std::vector<QueryStringPair>& pairs)
    {
        std::string keyText = key.value_or(QueryString::AbsentKeyDescription);
        if (const auto& dictionary = value.dictionary()) {
            std::vector<std::pair<std::string, const base::Value*>> entries;
            for (auto [entryKey, entryValue] : *dictionary)
                entries.emplace_back(entryKey->description(), entryValue);
            std::stable_sort(entries.begin(), entries.end(),
                [](const auto& a, const auto& b) { return lowerCased(a.first) < lowerCased(b.first); });
            for (auto& [name, entryValue] : entries)
                flatten(key ? keyText + "[" + name + "]" : name, *entryValue, pairs);
            return;
        }
        if (const auto& array = value.array()) {
            for (const base::Value& member : *array)
                flatten(keyText + "[]", member, pairs);
            return;
        }
        pairs.emplace_back(keyText, value);
    }

} // namespace

std::optional<std::string> QueryString::percentEscapedQueryComponent(
    std::string_view text, base::TextEncoding::Code encoding)
{
    static const auto allowed = base::PercentEncoding::AllowedCharacters::alphanumericsAnd("-_.[]");
    return base::PercentEncoding::escape(text, allowed, encoding);
}

std::vector<QueryStringPair> QueryString::flattenedQueryStringPairs(
    const std::optional<std::string>& key, const base::Value& value)
{
    std::vector<QueryStringPair> pairs;
    flatten(key, value, pairs);
    return pairs;
}

std::optional<std::string> QueryString::joinedQueryStringFromParameters(
    const base::Dictionary& parameters, base::TextEncoding::Code encoding, base::Error* error)
{
    std::string joined;
    for (const QueryStringPair& pair : flattenedQueryStringPairs(std::nullopt, base::Value(parameters.copy()))) {
        auto text = pair.URLEncodedStringValueWithEncoding(encoding);
        if (!text) {
            base::setError(error,
                base::Error(NetworkingErrors::Domain, NetworkingErrors::InapplicableStringEncoding,
                    { { base::Error::LocalizedDescriptionKey,
                          "The parameter \"" + pair.field() + "\" cannot be written in the chosen text encoding." },
                        { base::Error::StringEncodingKey, encoding } }));
            return std::nullopt;
        }
        if (!joined.empty())
            joined += '&';
        joined += *text;
    }
    return joined;
}

std::optional<std::string> QueryStringPair::URLEncodedStringValueWithEncoding(base::TextEncoding::Code encoding) const
{
    auto field = QueryString::percentEscapedQueryComponent(m_field, encoding);
    if (!field)
        return std::nullopt;
    if (m_value.isNull())
        return field;
    auto value = QueryString::percentEscapedQueryComponent(m_value.description(), encoding);
    if (!value)
        return std::nullopt;
    return *field + "=" + *value;
}

} // namespace networking
