#include "core/service/SessionCookie.h"

#include <vector>

namespace core {

namespace {

    std::string_view trimmed(std::string_view text)
    {
        size_t first = text.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            return {};
        size_t last = text.find_last_not_of(" \t");
        return text.substr(first, last - first + 1);
    }

    // Whether a piece of the joined header begins a cookie: it opens with "name=" where the name is a token.
    // The comma inside an expiry date ("Expires=Wed, 09 Jun 2021 ...") leaves a piece that does not.
    bool beginsCookie(std::string_view piece)
    {
        piece = trimmed(piece);
        size_t equals = piece.find('=');
        if (equals == 0 || equals == std::string_view::npos)
            return false;
        for (char c : piece.substr(0, equals)) {
            if (c <= ' ' || c == ';' || c == ',' || c == '"' || c == '(' || c == ')' || c == '/' || c == '\\'
                || static_cast<unsigned char>(c) >= 0x7f)
                return false;
        }
        return true;
    }

} // namespace

std::string SessionCookie::fromSetCookie(std::string_view header)
{
    std::vector<std::string_view> pairs;
    size_t position = 0;
    while (position <= header.size()) {
        size_t comma = header.find(',', position);
        std::string_view piece
            = header.substr(position, comma == std::string_view::npos ? header.npos : comma - position);
        if (beginsCookie(piece))
            pairs.push_back(trimmed(piece.substr(0, piece.find(';'))));
        if (comma == std::string_view::npos)
            break;
        position = comma + 1;
    }
    std::string cookie;
    for (std::string_view pair : pairs) {
        if (!cookie.empty())
            cookie += "; ";
        cookie += pair;
    }
    return cookie;
}

} // namespace core
