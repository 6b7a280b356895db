// UTF-8 helpers shared by the decoder and the encoder: the strict sequence decoder (which also refuses the
// code point 0 and the noncharacters, as JSON text must not carry them) and the length of a standard
// well-formed sequence. A text handed in as std::string is checked whole by base::utf8::isValid.
//
//   auto seq = json::decodeUTF8Sequence(p, end);
//   if (seq.status == json::UTF8Status::WellFormed) p = seq.next;
#pragma once

#include <cstddef>
#include <cstdint>

namespace json {

enum class UTF8Status : uint8_t { WellFormed, CutOff, IllFormed };

struct UTF8Sequence {
    UTF8Status status;
    // The decoded code point, or U+FFFD when the sequence is cut off or ill-formed.
    char32_t codePoint;
    // The byte after the sequence; for a bad sequence, after the lead byte and the continuation bytes that
    // follow it, up to the length the lead byte declares.
    const uint8_t* next;
};

inline constexpr char32_t ReplacementCharacter = 0xFFFD;

// Decodes the sequence whose lead byte, at `p` (p < end), is 0x80 or more. A sequence that runs past `end` with nothing
// but continuation bytes before it is CutOff; every other fault is IllFormed.
UTF8Sequence decodeUTF8Sequence(const uint8_t* p, const uint8_t* end);

// The length of the well-formed sequence at `p` (p < end) when it is of the commonest kinds: two bytes, or
// three with a lead byte of E1-EC or EE (which can carry neither a surrogate nor a noncharacter). 0 for any
// other sequence, good or bad, which decodeUTF8Sequence then judges.
inline size_t commonSequenceLength(const uint8_t* p, const uint8_t* end)
{
    uint8_t lead = p[0];
    if (lead >= 0xC2 && lead <= 0xDF)
        return end - p >= 2 && (p[1] & 0xC0) == 0x80 ? 2 : 0;
    if (lead >= 0xE1 && lead <= 0xEE && lead != 0xED)
        return end - p >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80 ? 3 : 0;
    return 0;
}

// The end of the run of such sequences that starts at `p` (p < end): `p` itself when there is none. Text in
// another script is mostly one such run, taken here in one loop rather than sequence by sequence.
inline const char* skipCommonSequences(const char* p, const char* end)
{
    auto* bytes = reinterpret_cast<const uint8_t*>(p);
    auto* last = reinterpret_cast<const uint8_t*>(end);
    while (bytes < last && *bytes >= 0x80) {
        size_t length = commonSequenceLength(bytes, last);
        if (!length)
            break;
        bytes += length;
    }
    return reinterpret_cast<const char*>(bytes);
}

// True when the code point may not appear in JSON text: 0, a surrogate, U+FDD0-U+FDEF, or xFFFE/xFFFF.
constexpr bool isIllegalCodePoint(char32_t c)
{
    return c == 0 || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

// The length of the standard well-formed sequence whose lead byte, at `p` (p < end), is 0x80 or more; 0 when
// it is ill-formed or cut off.
size_t wellFormedSequenceLength(const uint8_t* p, const uint8_t* end);

} // namespace json
