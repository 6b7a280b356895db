#include "base/text/StringTable.h"

#include "base/system/Files.h"
#include "base/text/TextEncoding.h"
#include "base/text/UTF8.h"

#include <algorithm>
#include <cctype>

namespace base {

namespace {

    bool isUnquotedKeyCharacter(char c)
    {
        return std::isalnum(static_cast<unsigned char>(c))
            || std::string_view("_$+/:.-").find(c) != std::string_view::npos;
    }

    int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    }

    class Reader {
    public:
        explicit Reader(std::string_view text)
            : m_text(text)
        {
        }

        bool atEnd()
        {
            skipSpaceAndComments();
            return m_position >= m_text.size();
        }

        // One entry; nothing for a malformed one, after which the reader stands past the next ";".
        std::optional<std::pair<std::string, std::string>> entry()
        {
            auto key = token();
            skipSpaceAndComments();
            if (key && consume(';'))
                return std::pair(*key, *key);
            if (key && consume('=')) {
                skipSpaceAndComments();
                auto value = token();
                skipSpaceAndComments();
                if (value && consume(';'))
                    return std::pair(std::move(*key), std::move(*value));
            }
            skipPast(';');
            return std::nullopt;
        }

    private:
        void skipSpaceAndComments()
        {
            while (m_position < m_text.size()) {
                std::string_view rest = m_text.substr(m_position);
                if (std::isspace(static_cast<unsigned char>(rest.front()))) {
                    ++m_position;
                } else if (rest.starts_with("//")) {
                    size_t end = rest.find('\n');
                    m_position += end == std::string_view::npos ? rest.size() : end + 1;
                } else if (rest.starts_with("/*")) {
                    size_t end = rest.find("*/", 2);
                    m_position += end == std::string_view::npos ? rest.size() : end + 2;
                } else {
                    return;
                }
            }
        }

        bool consume(char c)
        {
            if (m_position < m_text.size() && m_text[m_position] == c) {
                ++m_position;
                return true;
            }
            return false;
        }

        void skipPast(char c)
        {
            size_t found = m_text.find(c, m_position);
            m_position = found == std::string_view::npos ? m_text.size() : found + 1;
        }

        std::optional<std::string> token()
        {
            skipSpaceAndComments();
            if (consume('"'))
                return quoted();
            size_t start = m_position;
            while (m_position < m_text.size() && isUnquotedKeyCharacter(m_text[m_position]))
                ++m_position;
            if (m_position == start)
                return std::nullopt;
            return std::string(m_text.substr(start, m_position - start));
        }

        std::optional<std::string> quoted()
        {
            std::string text;
            while (m_position < m_text.size()) {
                char c = m_text[m_position++];
                if (c == '"')
                    return text;
                if (c != '\\') {
                    text += c;
                    continue;
                }
                if (m_position >= m_text.size())
                    break;
                escape(text);
            }
            return std::nullopt;
        }

        void escape(std::string& text)
        {
            char c = m_text[m_position++];
            switch (c) {
            case 'n':
                text += '\n';
                return;
            case 't':
                text += '\t';
                return;
            case 'r':
                text += '\r';
                return;
            case 'a':
                text += '\a';
                return;
            case 'b':
                text += '\b';
                return;
            case 'f':
                text += '\f';
                return;
            case 'v':
                text += '\v';
                return;
            case 'U':
            case 'u':
                utf8::append(text, unicodeEscape());
                return;
            }
            if (c >= '0' && c <= '7') {
                int value = c - '0';
                for (int digits = 1;
                     digits < 3 && m_position < m_text.size() && m_text[m_position] >= '0' && m_text[m_position] <= '7';
                     ++digits)
                    value = value * 8 + (m_text[m_position++] - '0');
                utf8::append(text, static_cast<char32_t>(value));
                return;
            }
            text += c; // \" \\ \' and any other escaped character stand for themselves
        }

        // Up to four hexadecimal digits; a high surrogate joins a following "\Uxxxx" low surrogate.
        char32_t unicodeEscape()
        {
            char32_t unit = hexDigits();
            if (unit >= 0xD800 && unit <= 0xDBFF && m_text.substr(m_position).starts_with("\\U")) {
                size_t saved = m_position;
                m_position += 2;
                char32_t low = hexDigits();
                if (low >= 0xDC00 && low <= 0xDFFF)
                    return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                m_position = saved;
            }
            return unit;
        }

        char32_t hexDigits()
        {
            char32_t value = 0;
            for (int digits = 0; digits < 4 && m_position < m_text.size(); ++digits) {
                int digit = hexValue(m_text[m_position]);
                if (digit < 0)
                    break;
                value = value * 16 + static_cast<char32_t>(digit);
                ++m_position;
            }
            return value;
        }

        std::string_view m_text;
        size_t m_position { 0 };
    };

    std::optional<std::string> decodeFile(std::string_view bytes)
    {
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.remove_prefix(3);
        else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
            return TextEncoding::decode(bytes, TextEncoding::Unicode);
        if (!utf8::isValid(bytes))
            return std::nullopt;
        return std::string(bytes);
    }

} // namespace

StringTable StringTable::parse(std::string_view text)
{
    StringTable table;
    Reader reader(text);
    while (!reader.atEnd())
        if (auto entry = reader.entry())
            table.m_entries[std::move(entry->first)] = std::move(entry->second);
    return table;
}

std::optional<StringTable> StringTable::load(const std::filesystem::path& path)
{
    auto bytes = Files::read(path);
    if (!bytes)
        return std::nullopt;
    auto text = decodeFile(*bytes);
    if (!text)
        return std::nullopt;
    return parse(*text);
}

StringTable StringTable::loadFolder(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".strings")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    StringTable table;
    for (const auto& file : files) {
        if (auto loaded = load(file))
            table.m_entries.merge(loaded->m_entries);
    }
    return table;
}

std::vector<std::string> StringTable::keys() const
{
    std::vector<std::string> keys;
    keys.reserve(m_entries.size());
    for (const auto& [key, text] : m_entries)
        keys.push_back(key);
    return keys;
}

std::optional<std::string> StringTable::lookup(std::string_view key) const
{
    auto found = m_entries.find(std::string(key));
    if (found == m_entries.end())
        return std::nullopt;
    return found->second;
}

} // namespace base
