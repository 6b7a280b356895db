#include "networking/http/ContentTypeSet.h"

namespace networking {

namespace {

    bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

} // namespace

std::optional<ContentTypeSet> contentTypeSetFromHeader(const std::string* header)
{
    if (!header)
        return std::nullopt;
    ContentTypeSet types;
    std::string_view rest(*header);
    while (true) {
        size_t comma = rest.find(',');
        std::string_view piece = rest.substr(0, comma);
        piece = piece.substr(0, piece.find(';'));
        while (!piece.empty() && isSpace(piece.front()))
            piece.remove_prefix(1);
        while (!piece.empty() && isSpace(piece.back()))
            piece.remove_suffix(1);
        if (!piece.empty())
            types.emplace(piece);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return types;
}

} // namespace networking
