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

std::optional<URL> URL::parse(std::string_view text) { return parseParts(text); }

std::optional<URL> URL::parseParts(std::string_view text)
{
    URL url;
    size_t schemeEnd = text.find_first_of(":/?#");
    if (schemeEnd != std::string_view::npos && text[schemeEnd] == ':') {
        if (!isScheme(text.substr(0, schemeEnd)))
            return std::nullopt; // a relative path may not have ":" in its first segment
        url.m_scheme = text.substr(0, schemeEnd);
        text.remove_prefix(schemeEnd + 1);
    }
    if (text.starts_with("//")) {
        text.remove_prefix(2);
        size_t end = std::min(text.find_first_of("/?#"), text.size());
        if (!url.parseAuthority(text.substr(0, end)))
            return std::nullopt;
        text.remove_prefix(end);
    }
    size_t fragmentStart = text.find('#');
    if (fragmentStart != std::string_view::npos) {
        url.m_fragment = text.substr(fragmentStart + 1);
        text = text.substr(0, fragmentStart);
        if (!isWellFormed(*url.m_fragment, queryCharacters()))
            return std::nullopt;
    }
    size_t queryStart = text.find('?');
    if (queryStart != std::string_view::npos) {
        url.m_query = text.substr(queryStart + 1);
        text = text.substr(0, queryStart);
        if (!isWellFormed(*url.m_query, queryCharacters()))
            return std::nullopt;
    }
    if (!isWellFormed(text, pathCharacters()))
        return std::nullopt;
    url.m_path = text;
    url.recompose();
    return url;
}

bool URL::parseAuthority(std::string_view authority)
{
    m_hasAuthority = true;
    m_authority = authority;
    size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        m_userInfo = authority.substr(0, at);
        authority.remove_prefix(at + 1);
        if (!isWellFormed(m_userInfo, Allowed::userAllowed().adding(":")))
            return false;
    }
    std::string_view portText;
    if (authority.starts_with('[')) {
        size_t close = authority.find(']');
        if (close == std::string_view::npos)
            return false;
        m_host = authority.substr(0, close + 1);
        std::string_view rest = authority.substr(close + 1);
        if (!rest.empty() && rest.front() != ':')
            return false;
        portText = rest.empty() ? rest : rest.substr(1);
        if (!isWellFormed(m_host.substr(1, m_host.size() - 2), Allowed::unreserved().adding("!$&'()*+,;=:")))
            return false;
    } else {
        size_t colon = authority.rfind(':');
        m_host = authority.substr(0, colon == std::string_view::npos ? authority.size() : colon);
        portText = colon == std::string_view::npos ? std::string_view() : authority.substr(colon + 1);
        if (!isWellFormed(m_host, Allowed::userAllowed()))
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
    m_port = port;
    return true;
}

// RFC 3986 section 5.3. A path that starts with "//" but has no authority before it would read back as
// one, so it is written with a leading "/." that changes nothing once dot segments are removed.
void URL::recompose()
{
    if (!m_hasAuthority && m_path.starts_with("//"))
        m_path.insert(0, "/.");
    m_string.clear();
    if (!m_scheme.empty())
        m_string.append(m_scheme).append(":");
    if (m_hasAuthority)
        m_string.append("//").append(m_authority);
    m_string.append(m_path);
    if (m_query)
        m_string.append("?").append(*m_query);
    if (m_fragment)
        m_string.append("#").append(*m_fragment);
}

// RFC 3986 section 5.2.2, strict: a reference with a scheme stands for itself even when it is the base's.
std::optional<URL> URL::parse(std::string_view referenceText, const URL& base)
{
    auto reference = parseParts(referenceText);
    if (!reference)
        return std::nullopt;
    if (!reference->m_scheme.empty()) {
        reference->m_path = removeDotSegments(reference->m_path);
        reference->recompose();
        return reference;
    }
    if (base.m_scheme.empty())
        return std::nullopt;
    URL target = *reference;
    target.m_scheme = base.m_scheme;
    if (reference->m_hasAuthority) {
        target.m_path = removeDotSegments(reference->m_path);
    } else {
        target.m_hasAuthority = base.m_hasAuthority;
        target.m_authority = base.m_authority;
        target.m_userInfo = base.m_userInfo;
        target.m_host = base.m_host;
        target.m_port = base.m_port;
        if (reference->m_path.empty()) {
            target.m_path = base.m_path;
            if (!reference->m_query)
                target.m_query = base.m_query;
        } else if (reference->m_path.front() == '/') {
            target.m_path = removeDotSegments(reference->m_path);
        } else {
            target.m_path = removeDotSegments(mergePaths(base, reference->m_path));
        }
    }
    target.recompose();
    return target;
}

URL URL::fileURL(const std::filesystem::path& path, bool isDirectory)
{
    std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    if (isDirectory && !absolute.ends_with('/'))
        absolute += '/';
    URL url;
    url.m_scheme = "file";
    url.m_hasAuthority = true;
    url.m_path = PercentEncoding::escape(absolute, Allowed::pathAllowed());
    url.recompose();
    return url;
}

std::string URL::host() const
{
    if (m_host.starts_with('['))
        return m_host.substr(1, m_host.size() - 2);
    return decodedOrRaw(m_host);
}

std::string URL::user() const { return decodedOrRaw(m_userInfo.substr(0, m_userInfo.find(':'))); }

std::string URL::password() const
{
    size_t colon = m_userInfo.find(':');
    return colon == std::string::npos ? std::string() : decodedOrRaw(m_userInfo.substr(colon + 1));
}

std::string URL::path() const
{
    std::string decoded = decodedOrRaw(m_path);
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
    URL url = *this;
    if (!url.m_path.ends_with('/'))
        url.m_path += '/';
    url.m_path += PercentEncoding::escape(component, Allowed::pathAllowed());
    url.recompose();
    return url;
}

bool URL::isFileURL() const
{
    if (m_scheme.size() != 4)
        return false;
    for (size_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(m_scheme[i])) != "file"[i])
            return false;
    return true;
}

} // namespace base
