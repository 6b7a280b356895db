#include "base/text/UTF8.h"

#include "base/text/UTF8Validation.h"

#include <cstdint>

namespace base::utf8 {

namespace {

    // Length of the sequence a lead byte announces, 0 for a byte that cannot start one.
    size_t sequenceLength(uint8_t lead)
    {
        if (lead < 0x80)
            return 1;
        if (lead >= 0xC2 && lead <= 0xDF)
            return 2;
        if (lead >= 0xE0 && lead <= 0xEF)
            return 3;
        if (lead >= 0xF0 && lead <= 0xF4)
            return 4;
        return 0;
    }

    bool isContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

} // namespace

std::optional<char32_t> decodeNext(std::string_view text, size_t& position)
{
    const auto byteAt = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    uint8_t lead = byteAt(position);
    size_t length = sequenceLength(lead);
    if (length == 0 || position + length > text.size()) {
        ++position;
        return std::nullopt;
    }
    if (length == 1) {
        ++position;
        return lead;
    }
    char32_t codePoint = lead & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i) {
        uint8_t byte = byteAt(position + i);
        if (!isContinuation(byte)) {
            ++position;
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    // Overlong three- and four-byte forms, surrogates and values past U+10FFFF are ill-formed.
    bool wellFormed = (length != 3 || (codePoint >= 0x800 && (codePoint < 0xD800 || codePoint > 0xDFFF)))
        && (length != 4 || (codePoint >= 0x10000 && codePoint <= 0x10FFFF));
    if (!wellFormed) {
        ++position;
        return std::nullopt;
    }
    position += length;
    return codePoint;
}

bool isValid(std::string_view text)
{
    static const auto check = validation::validators().front().check;
    return check(text.data(), text.size());
}

void append(std::string& text, char32_t codePoint)
{
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

size_t countCodePoints(std::string_view text)
{
    size_t count = 0;
    // Only the steps count: an ill-formed byte is one code point, as everywhere in this file.
    for (size_t position = 0; position < text.size(); ++count)
        (void)decodeNext(text, position);
    return count;
}

std::string_view prefix(std::string_view text, size_t count)
{
    size_t position = 0;
    for (size_t taken = 0; taken < count && position < text.size(); ++taken)
        (void)decodeNext(text, position); // only the position matters
    return text.substr(0, position);
}

std::string_view truncateToBytes(std::string_view text, size_t maxBytes)
{
    size_t position = 0;
    while (position < text.size()) {
        size_t next = position;
        (void)decodeNext(text, next); // only the position matters
        if (next > maxBytes)
            break;
        position = next;
    }
    return text.substr(0, position);
}

} // namespace base::utf8
