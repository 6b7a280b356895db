#include "security/KeychainFile.h"

#include "base/text/PercentEncoding.h"
#include "base/text/UTF8.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>
#include <tuple>

namespace security {

namespace {

    constexpr std::string_view Header = "lumet-keychain 1";
    constexpr std::string_view ItemPrefix = "item ";
    constexpr std::string_view TrailerPrefix = "end ";

    void appendField(std::string& out, std::string_view key, std::string_view value)
    {
        out += ' ';
        out += key;
        out += '=';
        out += base::PercentEncoding::escape(value, base::PercentEncoding::AllowedCharacters::unreserved());
    }

    // Values are written with every byte outside the unreserved characters escaped, so anything else that
    // stands unescaped means the file was not written by us.
    std::optional<std::string> decodeValue(std::string_view encoded)
    {
        const auto& unreserved = base::PercentEncoding::AllowedCharacters::unreserved();
        if (!std::ranges::all_of(encoded, [&](char c) { return c == '%' || unreserved.contains(c); }))
            return std::nullopt;
        return base::PercentEncoding::unescapeBytes(encoded);
    }

    std::optional<std::map<std::string, std::string, std::less<>>> decodeFields(std::string_view line)
    {
        std::map<std::string, std::string, std::less<>> fields;
        while (!line.empty()) {
            size_t end = line.find(' ');
            std::string_view field = line.substr(0, end);
            line = end == std::string_view::npos ? std::string_view() : line.substr(end + 1);
            if (end != std::string_view::npos && line.empty())
                return std::nullopt;
            size_t equals = field.find('=');
            if (equals == std::string_view::npos || equals == 0)
                return std::nullopt;
            auto value = decodeValue(field.substr(equals + 1));
            if (!value || !fields.emplace(std::string(field.substr(0, equals)), std::move(*value)).second)
                return std::nullopt;
        }
        return fields;
    }

    std::optional<std::string> takeText(std::map<std::string, std::string, std::less<>>& fields, std::string_view key)
    {
        auto found = fields.find(key);
        if (found == fields.end() || !base::utf8::isValid(found->second))
            return std::nullopt;
        std::string text = std::move(found->second);
        fields.erase(found);
        return text;
    }

    std::optional<KeychainItem> decodeItem(std::string_view line)
    {
        auto fields = decodeFields(line);
        if (!fields)
            return std::nullopt;
        KeychainItem item;
        auto service = takeText(*fields, AttrService);
        auto account = takeText(*fields, AttrAccount);
        auto accessible = takeText(*fields, AttrAccessible);
        auto synchronizable = takeText(*fields, AttrSynchronizable);
        if (!service || !account || !accessible || !isAccessibilityValue(*accessible) || !synchronizable
            || (*synchronizable != "0" && *synchronizable != "1"))
            return std::nullopt;
        item.service = std::move(*service);
        item.account = std::move(*account);
        item.accessible = std::move(*accessible);
        item.synchronizable = *synchronizable == "1";
        if (fields->contains(AttrLabel) && !(item.label = takeText(*fields, AttrLabel)))
            return std::nullopt;
        if (fields->contains(AttrAccessGroup) && !(item.accessGroup = takeText(*fields, AttrAccessGroup)))
            return std::nullopt;
        auto data = fields->find(ValueData);
        if (data == fields->end())
            return std::nullopt;
        item.data.assign(data->second.begin(), data->second.end());
        fields->erase(data);
        if (!fields->empty())
            return std::nullopt;
        return item;
    }

    std::optional<size_t> decodeCount(std::string_view text)
    {
        size_t count = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
        if (error != std::errc() || end != text.data() + text.size() || text.empty()
            || (text[0] == '0' && text.size() > 1))
            return std::nullopt;
        return count;
    }

} // namespace

std::string KeychainFile::encode(const std::vector<KeychainItem>& items)
{
    std::string out(Header);
    out += '\n';
    for (const KeychainItem& item : items) {
        out += "item";
        appendField(out, AttrService, item.service);
        appendField(out, AttrAccount, item.account);
        if (item.label)
            appendField(out, AttrLabel, *item.label);
        if (item.accessGroup)
            appendField(out, AttrAccessGroup, *item.accessGroup);
        appendField(out, AttrAccessible, item.accessible);
        appendField(out, AttrSynchronizable, item.synchronizable ? "1" : "0");
        appendField(
            out, ValueData, std::string_view(reinterpret_cast<const char*>(item.data.data()), item.data.size()));
        out += '\n';
    }
    out += TrailerPrefix;
    out += std::to_string(items.size());
    out += '\n';
    return out;
}

std::optional<std::vector<KeychainItem>> KeychainFile::decode(std::string_view text)
{
    std::vector<KeychainItem> items;
    std::set<std::tuple<std::string, std::string, std::optional<std::string>, bool>> identities;
    size_t position = 0;
    bool sawHeader = false;
    while (position < text.size()) {
        size_t newline = text.find('\n', position);
        if (newline == std::string_view::npos)
            return std::nullopt;
        std::string_view line = text.substr(position, newline - position);
        position = newline + 1;
        if (!sawHeader) {
            if (line != Header)
                return std::nullopt;
            sawHeader = true;
        } else if (line.starts_with(ItemPrefix)) {
            auto item = decodeItem(line.substr(ItemPrefix.size()));
            if (!item)
                return std::nullopt;
            if (!identities.emplace(item->service, item->account, item->accessGroup, item->synchronizable).second)
                return std::nullopt;
            items.push_back(std::move(*item));
        } else if (line.starts_with(TrailerPrefix)) {
            auto count = decodeCount(line.substr(TrailerPrefix.size()));
            if (!count || *count != items.size() || position != text.size())
                return std::nullopt;
            return items;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace security
