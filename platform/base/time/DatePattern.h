// base::DatePattern: a date pattern ("yyyy-MM-dd HH:mm", "h:mm a", "'Day' d") split into fields and literal
// text. A run of one pattern letter is one field whose width is the run's length; text in single quotes is
// literal ("''" is a quote); any other character is literal. A plain value type.
//
//   base::DatePattern pattern("yyyyMMddHHmmss");
//   for (const auto& token : pattern.tokens()) if (token.isField()) use(token.letter, token.width);
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace base {

class DatePattern {
public:
    struct Token {
        char letter { 0 }; // 0 for literal text
        int width { 0 };
        std::string literal;

        bool isField() const { return letter != 0; }
        // Numeric fields are written with digits only (months and weekdays up to width 2).
        bool isNumeric() const;
    };

    explicit DatePattern(std::string_view pattern);

    const std::vector<Token>& tokens() const { return m_tokens; }

    // Whether the field letter is one the formatter understands (others are kept as literal text).
    static bool isFieldLetter(char letter);

private:
    void appendLiteral(std::string_view text);
    std::vector<Token> m_tokens;
};

} // namespace base
