#include "net/auth/AuthenticationChallengeHeader.h"

#include "net/http/HTTPHeaderFields.h"
#include "net/auth/URLProtectionSpace.h"

#include <vector>

namespace net {

namespace {

    std::string_view trim(std::string_view text)
    {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        return text;
    }

    std::vector<std::string_view> splitAtCommas(std::string_view value)
    {
        std::vector<std::string_view> pieces;
        bool quoted = false;
        size_t start = 0;
        for (size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '"')
                quoted = !quoted;
            else if (value[i] == ',' && !quoted) {
                pieces.push_back(trim(value.substr(start, i - start)));
                start = i + 1;
            }
        }
        pieces.push_back(trim(value.substr(start)));
        return pieces;
    }

    std::string unquote(std::string_view text)
    {
        text = trim(text);
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
            text = text.substr(1, text.size() - 2);
        std::string result;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\' && i + 1 < text.size())
                ++i;
            result += text[i];
        }
        return result;
    }

    // A piece that opens a challenge starts with a scheme name: a token not followed by "=".
    std::optional<std::string_view> schemeOf(std::string_view piece)
    {
        size_t end = piece.find_first_of(" \t=");
        if (end == 0 || (end != std::string_view::npos && piece[end] == '='))
            return std::nullopt;
        return piece.substr(0, end);
    }

    // The realm parameter of a piece, if the piece is "realm=...".
    std::optional<std::string> realmOf(std::string_view piece)
    {
        size_t equals = piece.find('=');
        if (equals == std::string_view::npos || !HTTPHeaderFields::namesEqual(trim(piece.substr(0, equals)), "realm"))
            return std::nullopt;
        return unquote(piece.substr(equals + 1));
    }

} // namespace

std::optional<AuthenticationChallengeHeader> AuthenticationChallengeHeader::parse(std::string_view value)
{
    std::optional<AuthenticationChallengeHeader> found;
    bool inFoundChallenge = false;
    for (std::string_view piece : splitAtCommas(value)) {
        if (piece.empty())
            continue;
        if (auto scheme = schemeOf(piece)) {
            if (found)
                break;
            std::string method;
            if (HTTPHeaderFields::namesEqual(*scheme, "Basic"))
                method = URLProtectionSpace::HTTPBasic;
            else if (HTTPHeaderFields::namesEqual(*scheme, "Digest"))
                method = URLProtectionSpace::HTTPDigest;
            inFoundChallenge = !method.empty();
            if (inFoundChallenge)
                found = AuthenticationChallengeHeader { method, {} };
            piece = trim(piece.substr(scheme->size()));
            if (piece.empty())
                continue;
        }
        if (inFoundChallenge && found->realm.empty()) {
            if (auto realm = realmOf(piece))
                found->realm = *realm;
        }
    }
    return found;
}

} // namespace net
