#include "base/text/URL.h"

#include "base/text/PercentEncoding.h"

#include <algorithm>
#include <cctype>

namespace base {

namespace {

    using Allowed = PercentEncoding::AllowedCharacters;

    bool isAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
    bool isDigit(char c) { return c >= '0' && c <= '9'; }

    // Every character is allowed or part of a well-formed "%XX" escape.
    bool isWellFormed(std::string_view text, const Allowed& allowed)
    {
        for (char c : text)
            if (c != '%' && !allowed.contains(c))
                return false;
        return PercentEncoding::hasValidEscapes(text);
    }

    const Allowed& pathCharacters()
    {
        static const Allowed set = Allowed::pathAllowed().adding("[]");
        return set;
    }

    const Allowed& queryCharacters()
    {
        static const Allowed set = Allowed::queryAllowed().adding("[]");
        return set;
    }

    bool isScheme(std::string_view text)
    {
        if (text.empty() || !isAlpha(text.front()))
            return false;
        for (char c : text)
            if (!isAlpha(c) && !isDigit(c) && c != '+' && c != '-' && c != '.')
                return false;
        return true;
    }

    // RFC 3986 section 5.2.4.
    std::string removeDotSegments(std::string_view input)
    {
        std::string output;
        while (!input.empty()) {
            if (input.starts_with("../")) {
                input.remove_prefix(3);
            } else if (input.starts_with("./")) {
                input.remove_prefix(2);
            } else if (input.starts_with("/./")) {
                input.remove_prefix(2);
            } else if (input == "/.") {
                input = "/";
            } else if (input.starts_with("/../") || input == "/..") {
                input = input.size() == 3 ? std::string_view("/") : input.substr(3);
                size_t cut = output.rfind('/');
                output.erase(cut == std::string::npos ? 0 : cut);
            } else if (input == "." || input == "..") {
                input = {};
            } else {
                size_t end = input.find('/', input.front() == '/' ? 1 : 0);
                if (end == std::string_view::npos)
                    end = input.size();
                output.append(input.substr(0, end));
                input.remove_prefix(end);
            }
        }
        return output;
    }

    // RFC 3986 section 5.2.3.
    std::string mergePaths(const URL& base, std::string_view referencePath)
    {
        if (base.hasAuthority() && base.percentEncodedPath().empty())
            return "/" + std::string(referencePath);
        const std::string& basePath = base.percentEncodedPath();
        size_t slash = basePath.rfind('/');
        std::string merged = slash == std::string::npos ? std::string() : basePath.substr(0, slash + 1);
        return merged.append(referencePath);
    }

    std::string decodedOrRaw(const std::string& text)
    {
        auto decoded = PercentEncoding::unescape(text);
        return decoded ? *decoded : text;
    }

} // namespace

URL::URL(Parts parts)
{
    recompose(parts);
    m_parts = std::make_shared<const Parts>(std::move(parts));
}

std::optional<URL> URL::parse(std::string_view text)
{
    auto parts = parseParts(text);
    if (!parts)
        return std::nullopt;
    return URL(std::move(*parts));
}

std::optional<URL::Parts> URL::parseParts(std::string_view text)
{
    Parts url;
    size_t schemeEnd = text.find_first_of(":/?#");
    if (schemeEnd != std::string_view::npos && text[schemeEnd] == ':') {
        if (!isScheme(text.substr(0, schemeEnd)))
            return std::nullopt; // a relative path may not have ":" in its first segment
        url.scheme = text.substr(0, schemeEnd);
        text.remove_prefix(schemeEnd + 1);
    }
    if (text.starts_with("//")) {
        text.remove_prefix(2);
        size_t end = std::min(text.find_first_of("/?#"), text.size());
        if (!parseAuthority(url, text.substr(0, end)))
            return std::nullopt;
        text.remove_prefix(end);
    }
    size_t fragmentStart = text.find('#');
    if (fragmentStart != std::string_view::npos) {
        url.fragment = text.substr(fragmentStart + 1);
        text = text.substr(0, fragmentStart);
        if (!isWellFormed(*url.fragment, queryCharacters()))
            return std::nullopt;
    }
    size_t queryStart = text.find('?');
    if (queryStart != std::string_view::npos) {
        url.query = text.substr(queryStart + 1);
        text = text.substr(0, queryStart);
        if (!isWellFormed(*url.query, queryCharacters()))
            return std::nullopt;
    }
    if (!isWellFormed(text, pathCharacters()))
        return std::nullopt;
    url.path = text;
    return url;
}

bool URL::parseAuthority(Parts& url, std::string_view authority)
{
    url.hasAuthority = true;
    url.authority = authority;
    size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        url.userInfo = authority.substr(0, at);
        authority.remove_prefix(at + 1);
        if (!isWellFormed(url.userInfo, Allowed::userAllowed().adding(":")))
            return false;
    }
    std::string_view portText;
    if (authority.starts_with('[')) {
        size_t close = authority.find(']');
        if (close == std::string_view::npos)
            return false;
        url.host = authority.substr(0, close + 1);
        std::string_view rest = authority.substr(close + 1);
        if (!rest.empty() && rest.front() != ':')
            return false;
        portText = rest.empty() ? rest : rest.substr(1);
        if (!isWellFormed(url.host.substr(1, url.host.size() - 2), Allowed::unreserved().adding("!$&'()*+,;=:")))
            return false;
    } else {
        size_t colon = authority.rfind(':');
        url.host = authority.substr(0, colon == std::string_view::npos ? authority.size() : colon);
        portText = colon == std::string_view::npos ? std::string_view() : authority.substr(colon + 1);
        if (!isWellFormed(url.host, Allowed::userAllowed()))
            return false;
    }
    if (portText.empty())
        return true;
    if (portText.size() > 5)
        return false;
    int port = 0;
    for (char c : portText) {
        if (!isDigit(c))
            return false;
        port = port * 10 + (c - '0');
    }
    if (port > 65535)
        return false;
    url.port = port;
    return true;
}

// RFC 3986 section 5.3. A path that starts with "//" but has no authority before it would read back as
// one, so it is written with a leading "/." that changes nothing once dot segments are removed.
void URL::recompose(Parts& url)
{
    if (!url.hasAuthority && url.path.starts_with("//"))
        url.path.insert(0, "/.");
    url.string.clear();
    if (!url.scheme.empty())
        url.string.append(url.scheme).append(":");
    if (url.hasAuthority)
        url.string.append("//").append(url.authority);
    url.string.append(url.path);
    if (url.query)
        url.string.append("?").append(*url.query);
    if (url.fragment)
        url.string.append("#").append(*url.fragment);
}

// RFC 3986 section 5.2.2, strict: a reference with a scheme stands for itself even when it is the base's.
std::optional<URL> URL::parse(std::string_view referenceText, const URL& baseURL)
{
    auto reference = parseParts(referenceText);
    if (!reference)
        return std::nullopt;
    if (!reference->scheme.empty()) {
        reference->path = removeDotSegments(reference->path);
        return URL(std::move(*reference));
    }
    const Parts& base = *baseURL.m_parts;
    if (base.scheme.empty())
        return std::nullopt;
    Parts target = *reference;
    target.scheme = base.scheme;
    if (reference->hasAuthority) {
        target.path = removeDotSegments(reference->path);
    } else {
        target.hasAuthority = base.hasAuthority;
        target.authority = base.authority;
        target.userInfo = base.userInfo;
        target.host = base.host;
        target.port = base.port;
        if (reference->path.empty()) {
            target.path = base.path;
            if (!reference->query)
                target.query = base.query;
        } else if (reference->path.front() == '/') {
            target.path = removeDotSegments(reference->path);
        } else {
            target.path = removeDotSegments(mergePaths(baseURL, reference->path));
        }
    }
    return URL(std::move(target));
}

URL URL::fileURL(const std::filesystem::path& path, bool isDirectory)
{
    std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    if (isDirectory && !absolute.ends_with('/'))
        absolute += '/';
    Parts url;
    url.scheme = "file";
    url.hasAuthority = true;
    url.path = PercentEncoding::escape(absolute, Allowed::pathAllowed());
    return URL(std::move(url));
}

std::string URL::host() const
{
    const std::string& host = m_parts->host;
    if (host.starts_with('['))
        return host.substr(1, host.size() - 2);
    return decodedOrRaw(host);
}

std::string URL::user() const
{
    const std::string& userInfo = m_parts->userInfo;
    return decodedOrRaw(userInfo.substr(0, userInfo.find(':')));
}

std::string URL::password() const
{
    const std::string& userInfo = m_parts->userInfo;
    size_t colon = userInfo.find(':');
    return colon == std::string::npos ? std::string() : decodedOrRaw(userInfo.substr(colon + 1));
}

std::string URL::path() const
{
    std::string decoded = decodedOrRaw(m_parts->path);
    if (decoded.size() > 1 && decoded.ends_with('/'))
        decoded.pop_back();
    return decoded;
}

std::string URL::lastPathComponent() const
{
    std::string whole = path();
    if (whole.size() <= 1)
        return whole;
    return whole.substr(whole.rfind('/') + 1);
}

std::string URL::pathExtension() const
{
    std::string component = lastPathComponent();
    size_t dot = component.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return "";
    return component.substr(dot + 1);
}

URL URL::appendingPathComponent(std::string_view component) const
{
    Parts url = *m_parts;
    if (!url.path.ends_with('/'))
        url.path += '/';
    url.path += PercentEncoding::escape(component, Allowed::pathAllowed());
    return URL(std::move(url));
}

bool URL::isFileURL() const
{
    const std::string& scheme = m_parts->scheme;
    if (scheme.size() != 4)
        return false;
    for (size_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(scheme[i])) != "file"[i])
            return false;
    return true;
}

} // namespace base
