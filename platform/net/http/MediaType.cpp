#include "net/http/MediaType.h"

#include "net/http/HTTPHeaderFields.h"

namespace net {

namespace {

    bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    std::string_view trim(std::string_view text)
    {
        while (!text.empty() && isSpace(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && isSpace(text.back()))
            text.remove_suffix(1);
        return text;
    }

    // Media types are ASCII tokens: only A-Z fold, whatever the process's locale.
    std::string lowerCased(std::string_view text)
    {
        std::string lower(text);
        for (char& c : lower) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + ('a' - 'A'));
        }
        return lower;
    }

    // Reads one parameter value, a token or a quoted string, from the front of `rest`.
    std::string readParameterValue(std::string_view& rest)
    {
        std::string value;
        if (!rest.empty() && rest.front() == '"') {
            rest.remove_prefix(1);
            while (!rest.empty() && rest.front() != '"') {
                if (rest.front() == '\\' && rest.size() > 1)
                    rest.remove_prefix(1);
                value += rest.front();
                rest.remove_prefix(1);
            }
            if (!rest.empty())
                rest.remove_prefix(1);
        }
        size_t end = rest.find(';');
        if (value.empty())
            value = std::string(trim(rest.substr(0, end)));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        return value;
    }

} // namespace

std::optional<MediaType> MediaType::parse(std::string_view fieldValue)
{
    std::string_view rest = fieldValue;
    size_t end = rest.find(';');
    std::string_view type = trim(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    size_t slash = type.find('/');
    if (slash == std::string_view::npos || slash == 0 || slash + 1 == type.size())
        return std::nullopt;

    MediaType result;
    result.mimeType = lowerCased(type);
    while (!rest.empty()) {
        rest.remove_prefix(1); // the ";"
        size_t equals = rest.find('=');
        size_t next = rest.find(';');
        if (equals == std::string_view::npos || (next != std::string_view::npos && next < equals)) {
            rest = next == std::string_view::npos ? std::string_view() : rest.substr(next);
            continue;
        }
        std::string_view name = trim(rest.substr(0, equals));
        rest = trim(rest.substr(equals + 1));
        std::string value = readParameterValue(rest);
        if (!HTTPHeaderFields::namesEqual(name, "charset"))
            continue;
        result.namesCharsetParameter = true;
        if (!result.charset && !value.empty())
            result.charset = std::move(value);
    }
    return result;
}

} // namespace net
