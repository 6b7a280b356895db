#include "json/UTF8.h"

#include <bit>

namespace json {

namespace {

    constexpr bool isContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

    // The number of continuation bytes a lead byte declares: its run of 1-bits from bit 6 down, 0 for ASCII.
    int declaredContinuations(uint8_t lead)
    {
        if (lead < 0x80)
            return 0;
        return std::countl_one(static_cast<uint8_t>(lead << 1));
    }

    UTF8Sequence badSequence(UTF8Status status, const uint8_t* p, const uint8_t* end, int declared)
    {
        const uint8_t* next = p + 1;
        for (int i = 0; i < declared && next < end && isContinuation(*next); ++i)
            ++next;
        return { status, ReplacementCharacter, next };
    }

} // namespace

UTF8Sequence decodeUTF8Sequence(const uint8_t* p, const uint8_t* end)
{
    uint8_t lead = *p;
    int declared = declaredContinuations(lead);
    if (lead < 0xC2 || lead > 0xF4)
        return badSequence(UTF8Status::IllFormed, p, end, declared);
    if (end - p <= declared) {
        for (const uint8_t* q = p + 1; q < end; ++q) {
            if (!isContinuation(*q))
                return badSequence(UTF8Status::IllFormed, p, end, declared);
        }
        return badSequence(UTF8Status::CutOff, p, end, declared);
    }
    for (int i = 1; i <= declared; ++i) {
        if (!isContinuation(p[i]))
            return badSequence(UTF8Status::IllFormed, p, end, declared);
    }
    uint8_t second = p[1];
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90)
        || (lead == 0xF4 && second >= 0x90))
        return badSequence(UTF8Status::IllFormed, p, end, declared);
    char32_t c = lead & (0x3F >> declared);
    for (int i = 1; i <= declared; ++i)
        c = (c << 6) | (p[i] & 0x3F);
    if (isIllegalCodePoint(c))
        return badSequence(UTF8Status::IllFormed, p, end, declared);
    return { UTF8Status::WellFormed, c, p + 1 + declared };
}

size_t wellFormedSequenceLength(const uint8_t* p, const uint8_t* end)
{
    uint8_t lead = *p;
    int declared = declaredContinuations(lead);
    if (lead < 0xC2 || lead > 0xF4 || end - p <= declared)
        return 0;
    for (int i = 1; i <= declared; ++i) {
        if (!isContinuation(p[i]))
            return 0;
    }
    uint8_t second = p[1];
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90)
        || (lead == 0xF4 && second >= 0x90))
        return 0;
    return static_cast<size_t>(declared) + 1;
}

} // namespace json
