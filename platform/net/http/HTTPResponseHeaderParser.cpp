#include "net/http/HTTPResponseHeaderParser.h"

#include <array>
#include <cstdint>
#include <string>

namespace net {

namespace {

    constexpr size_t TypicalFieldCount = 12;

    bool isBlank(char c) { return c == ' ' || c == '\t'; }

    std::string_view trimBlanks(std::string_view text)
    {
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && isBlank(text.back()))
            text.remove_suffix(1);
        return text;
    }

    // A field name's characters, looked up in one step per character.
    constexpr std::array<bool, 256> TokenCharacters = [] {
        std::array<bool, 256> table {};
        for (int c = '0'; c <= '9'; ++c)
            table[c] = true;
        for (int c = 'a'; c <= 'z'; ++c)
            table[c] = table[c - 'a' + 'A'] = true;
        for (char c : std::string_view("!#$%&'*+-.^_`|~"))
            table[static_cast<uint8_t>(c)] = true;
        return table;
    }();

    bool isTokenCharacter(char c) { return TokenCharacters[static_cast<uint8_t>(c)]; }

    // "HTTP/<version> <three digits>[ <reason>]"; nothing when the line is not a status line.
    std::optional<int> parseStatusLine(std::string_view line)
    {
        if (!line.starts_with("HTTP/"))
            return std::nullopt;
        size_t space = line.find(' ');
        if (space == std::string_view::npos)
            return std::nullopt;
        std::string_view rest = line.substr(space + 1);
        if (rest.size() < 3)
            return std::nullopt;
        int code = 0;
        for (size_t i = 0; i < 3; ++i) {
            if (rest[i] < '0' || rest[i] > '9')
                return std::nullopt;
            code = code * 10 + (rest[i] - '0');
        }
        if (rest.size() > 3 && rest[3] != ' ')
            return std::nullopt;
        if (code < 100)
            return std::nullopt;
        return code;
    }

} // namespace

bool HTTPResponseHeaderParser::feedLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (line.starts_with("HTTP/")) {
        startBlock(line);
        return false;
    }
    if (!m_inBlock)
        return false;
    if (line.empty()) {
        m_inBlock = false;
        m_complete = true;
        return true;
    }
    addField(line);
    return false;
}

void HTTPResponseHeaderParser::startBlock(std::string_view statusLine)
{
    m_statusCode = parseStatusLine(statusLine);
    // Room for a usual reply's fields, so that the block is read without growing the list.
    m_headers = HTTPHeaderFields();
    m_headers.reserve(TypicalFieldCount);
    m_lastFieldName.clear();
    m_inBlock = true;
    m_complete = false;
}

void HTTPResponseHeaderParser::addField(std::string_view line)
{
    if (isBlank(line.front())) {
        // A folded continuation of the previous field.
        if (m_lastFieldName.empty())
            return;
        std::string_view more = trimBlanks(line);
        if (const std::string* value = m_headers.value(m_lastFieldName); value && !more.empty())
            m_headers.set(m_lastFieldName, *value + " " + std::string(more));
        return;
    }
    size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        m_lastFieldName.clear();
        return;
    }
    std::string_view name = line.substr(0, colon);
    for (char c : name) {
        if (!isTokenCharacter(c)) {
            m_lastFieldName.clear();
            return;
        }
    }
    m_headers.add(name, trimBlanks(line.substr(colon + 1)));
    m_lastFieldName.assign(name);
}

} // namespace net
