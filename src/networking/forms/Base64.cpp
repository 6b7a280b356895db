#include "networking/forms/Base64.h"

#include <cstdint>

namespace networking {

namespace {

    constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

    int valueOf(char c)
    {
        if (c >= 'A' && c <= 'Z')
            return c - 'A';
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 26;
        if (c >= '0' && c <= '9')
            return c - '0' + 52;
        if (c == '+')
            return 62;
        if (c == '/')
            return 63;
        return -1;
    }

} // namespace

std::string Base64::encode(std::string_view bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        uint32_t group = (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) | uint8_t(bytes[i + 2]);
        text += Alphabet[(group >> 18) & 63];
        text += Alphabet[(group >> 12) & 63];
        text += Alphabet[(group >> 6) & 63];
        text += Alphabet[group & 63];
    }
    size_t left = bytes.size() - i;
    if (left > 0) {
        uint32_t group = uint8_t(bytes[i]) << 16;
        if (left == 2)
            group |= uint8_t(bytes[i + 1]) << 8;
        text += Alphabet[(group >> 18) & 63];
        text += Alphabet[(group >> 12) & 63];
        text += left == 2 ? Alphabet[(group >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}

std::optional<std::string> Base64::decode(std::string_view text)
{
    std::string bytes;
    uint32_t group = 0;
    int count = 0;
    int padding = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        int value = valueOf(c);
        if (value < 0 || padding > 0)
            return std::nullopt;
        group = (group << 6) | static_cast<uint32_t>(value);
        if (++count == 4) {
            bytes += static_cast<char>((group >> 16) & 0xFF);
            bytes += static_cast<char>((group >> 8) & 0xFF);
            bytes += static_cast<char>(group & 0xFF);
            group = 0;
            count = 0;
        }
    }
    if (count == 1 || padding > 2)
        return std::nullopt;
    if (count == 2)
        bytes += static_cast<char>((group >> 4) & 0xFF);
    else if (count == 3) {
        bytes += static_cast<char>((group >> 10) & 0xFF);
        bytes += static_cast<char>((group >> 2) & 0xFF);
    }
    return bytes;
}

} // namespace networking
