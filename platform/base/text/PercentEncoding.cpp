#include "base/text/PercentEncoding.h"

#include "base/text/UTF8.h"

namespace base {

namespace {

    constexpr std::string_view alphanumerics = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr std::string_view unreservedMarks = "-._~";
    constexpr std::string_view subDelimiters = "!$&'()*+,;=";

    int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    }

    PercentEncoding::AllowedCharacters unreservedAnd(std::string_view extra)
    {
        return PercentEncoding::AllowedCharacters::alphanumericsAnd(unreservedMarks).adding(extra);
    }

} // namespace

PercentEncoding::AllowedCharacters::AllowedCharacters(std::string_view characters)
{
    for (char c : characters)
        if (static_cast<unsigned char>(c) < 128)
            m_set.set(static_cast<unsigned char>(c));
}

PercentEncoding::AllowedCharacters PercentEncoding::AllowedCharacters::alphanumericsAnd(std::string_view extra)
{
    return AllowedCharacters(alphanumerics).adding(extra);
}

PercentEncoding::AllowedCharacters PercentEncoding::AllowedCharacters::adding(std::string_view characters) const
{
    AllowedCharacters result = *this;
    result.m_set |= AllowedCharacters(characters).m_set;
    return result;
}

PercentEncoding::AllowedCharacters PercentEncoding::AllowedCharacters::removing(std::string_view characters) const
{
    AllowedCharacters result = *this;
    result.m_set &= ~AllowedCharacters(characters).m_set;
    return result;
}

const PercentEncoding::AllowedCharacters& PercentEncoding::AllowedCharacters::unreserved()
{
    static const AllowedCharacters set = unreservedAnd("");
    return set;
}

const PercentEncoding::AllowedCharacters& PercentEncoding::AllowedCharacters::userAllowed()
{
    static const AllowedCharacters set = unreservedAnd(subDelimiters);
    return set;
}

const PercentEncoding::AllowedCharacters& PercentEncoding::AllowedCharacters::passwordAllowed()
{
    static const AllowedCharacters set = unreservedAnd(subDelimiters);
    return set;
}

const PercentEncoding::AllowedCharacters& PercentEncoding::AllowedCharacters::hostAllowed()
{
    static const AllowedCharacters set = unreservedAnd(subDelimiters).adding("[]:");
    return set;
}

const PercentEncoding::AllowedCharacters& PercentEncoding::AllowedCharacters::pathSegmentAllowed()
{
    static const AllowedCharacters set = unreservedAnd(subDelimiters).adding(":@");
    return set;
}

const PercentEncoding::AllowedCharacters& PercentEncoding::AllowedCharacters::pathAllowed()
{
    static const AllowedCharacters set = pathSegmentAllowed().adding("/");
    return set;
}

const PercentEncoding::AllowedCharacters& PercentEncoding::AllowedCharacters::queryAllowed()
{
    static const AllowedCharacters set = pathAllowed().adding("?");
    return set;
}

const PercentEncoding::AllowedCharacters& PercentEncoding::AllowedCharacters::fragmentAllowed()
{
    static const AllowedCharacters set = pathAllowed().adding("?");
    return set;
}

std::string PercentEncoding::escape(std::string_view bytes, const AllowedCharacters& allowed)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(bytes.size());
    for (char c : bytes) {
        if (allowed.contains(c)) {
            escaped += c;
            continue;
        }
        auto byte = static_cast<unsigned char>(c);
        escaped += '%';
        escaped += digits[byte >> 4];
        escaped += digits[byte & 0xF];
    }
    return escaped;
}

std::optional<std::string> PercentEncoding::escape(
    std::string_view text, const AllowedCharacters& allowed, TextEncoding::Code encoding)
{
    auto bytes = TextEncoding::encode(text, encoding);
    if (!bytes)
        return std::nullopt;
    return escape(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), allowed);
}

std::optional<std::string> PercentEncoding::unescapeBytes(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        int high = hexValue(text[i + 1]);
        int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

std::optional<std::string> PercentEncoding::unescape(std::string_view text)
{
    auto bytes = unescapeBytes(text);
    if (!bytes || !utf8::isValid(*bytes))
        return std::nullopt;
    return bytes;
}

bool PercentEncoding::hasValidEscapes(std::string_view text) { return unescapeBytes(text).has_value(); }

} // namespace base
