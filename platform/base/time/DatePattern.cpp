#include "base/time/DatePattern.h"

namespace base {

bool DatePattern::isFieldLetter(char letter)
{
    return std::string_view("yMLdHhKkmsSaEZ").find(letter) != std::string_view::npos;
}

bool DatePattern::Token::isNumeric() const
{
    switch (letter) {
    case 'M':
    case 'L':
        return width <= 2;
    case 'a':
    case 'E':
    case 'Z':
    case 0:
        return false;
    default:
        return true;
    }
}

DatePattern::DatePattern(std::string_view pattern)
{
    size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if (c == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                appendLiteral("'");
                i += 2;
                continue;
            }
            std::string quoted;
            for (++i; i < pattern.size(); ++i) {
                if (pattern[i] != '\'') {
                    quoted += pattern[i];
                } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                    quoted += '\'';
                    ++i;
                } else {
                    break;
                }
            }
            ++i; // past the closing quote (or the end of an unterminated quote)
            appendLiteral(quoted);
            continue;
        }
        if (!isFieldLetter(c)) {
            appendLiteral(std::string_view(&c, 1));
            ++i;
            continue;
        }
        size_t end = i;
        while (end < pattern.size() && pattern[end] == c)
            ++end;
        m_tokens.push_back({ .letter = c, .width = static_cast<int>(end - i), .literal = {} });
        i = end;
    }
}

void DatePattern::appendLiteral(std::string_view text)
{
    if (text.empty())
        return;
    if (!m_tokens.empty() && !m_tokens.back().isField())
        m_tokens.back().literal += text;
    else
        m_tokens.push_back({ .letter = 0, .width = 0, .literal = std::string(text) });
}

} // namespace base
