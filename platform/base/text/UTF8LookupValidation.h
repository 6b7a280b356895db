// The table look-up check of UTF-8 that the SSSE3 and AVX2 validators share, written once over a "lanes" type
// that supplies the vector and its operations (UTF8ValidationSSSE3.cpp, UTF8ValidationAVX2.cpp). Each of those
// files is compiled for its own instructions, so everything here has internal linkage: no function compiled for
// one processor can stand in for another's.
//
// Every byte is judged with the byte before it: three 16-entry tables, looked up by the high and low half of the
// earlier byte and the high half of the later one, give each pair the errors it may show, and the three results
// ANDed keep the errors all three agree on (a lead byte followed by something other than a continuation, a
// continuation after ASCII, an overlong form, a surrogate, a value past U+10FFFF, two continuations in a row).
// Two continuations in a row are right only as the third or fourth byte of a sequence, which the bytes two and
// three places back tell. A chunk of ASCII only skips the tables; it is wrong then only if the bytes before it
// ended inside a sequence. The text's last bytes are checked in a chunk padded with zeros, so a sequence cut
// off at the end is followed by a byte that cannot continue it.
//
// A lanes type provides: Vector, Bytes (its width), load, zero, splat, table (a 16-entry table, repeated in
// every 16-byte lane), bitOr, bitAnd, bitXor, subtractSaturated, lookUp (each byte of a vector whose bytes are
// below 16 replaced by that entry of a table), highNibbles, earlier<N> (each byte's Nth byte before it, the
// first ones taken from the previous vector), isAscii, anySet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace base::utf8::validation {

namespace {

    // The errors a pair of bytes may show, one bit each.
    namespace pair {
        // A lead byte followed by a byte that is not a continuation.
        constexpr uint8_t TooShort = 1 << 0;
        // ASCII followed by a continuation.
        constexpr uint8_t TooLong = 1 << 1;
        // E0 followed by 80-9F.
        constexpr uint8_t Overlong3 = 1 << 2;
        // F4 followed by 90-BF, or F5-FF followed by 90-BF.
        constexpr uint8_t TooLarge = 1 << 3;
        // ED followed by A0-BF.
        constexpr uint8_t Surrogate = 1 << 4;
        // C0 or C1 followed by a continuation.
        constexpr uint8_t Overlong2 = 1 << 5;
        // F0 followed by 80-8F (overlong), or F5-FF followed by 80-8F (too large): one bit serves both, the
        // earlier byte's low half tells them apart.
        constexpr uint8_t Overlong4OrTooLarge = 1 << 6;
        // A continuation followed by a continuation.
        constexpr uint8_t TwoContinuations = 1 << 7;
        // The errors the high halves alone decide: every low half lets them through.
        constexpr uint8_t ByHighHalves = TooShort | TooLong | TwoContinuations;

        // By the high half of the earlier byte.
        constexpr uint8_t EarlierHigh[16] = {
            TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, // ASCII
            TwoContinuations, TwoContinuations, TwoContinuations, TwoContinuations, // continuations
            TooShort | Overlong2, // C0-CF
            TooShort, // D0-DF
            TooShort | Overlong3 | Surrogate, // E0-EF
            TooShort | TooLarge | Overlong4OrTooLarge, // F0-FF
        };
        // By the low half of the earlier byte.
        constexpr uint8_t EarlierLow[16] = {
            ByHighHalves | Overlong2 | Overlong3 | Overlong4OrTooLarge, // C0, E0, F0
            ByHighHalves | Overlong2, // C1
            ByHighHalves,
            ByHighHalves,
            ByHighHalves | TooLarge, // F4
            ByHighHalves | TooLarge | Overlong4OrTooLarge, // F5 and above
            ByHighHalves | TooLarge | Overlong4OrTooLarge,
            ByHighHalves | TooLarge | Overlong4OrTooLarge,
            ByHighHalves | TooLarge | Overlong4OrTooLarge,
            ByHighHalves | TooLarge | Overlong4OrTooLarge,
            ByHighHalves | TooLarge | Overlong4OrTooLarge,
            ByHighHalves | TooLarge | Overlong4OrTooLarge,
            ByHighHalves | TooLarge | Overlong4OrTooLarge,
            ByHighHalves | TooLarge | Overlong4OrTooLarge | Surrogate, // ED
            ByHighHalves | TooLarge | Overlong4OrTooLarge,
            ByHighHalves | TooLarge | Overlong4OrTooLarge,
        };
        // By the high half of the later byte.
        constexpr uint8_t LaterHigh[16] = {
            TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, // ASCII
            TooLong | TwoContinuations | Overlong2 | Overlong3 | Overlong4OrTooLarge, // 80-8F
            TooLong | TwoContinuations | Overlong2 | Overlong3 | TooLarge, // 90-9F
            TooLong | TwoContinuations | Overlong2 | Surrogate | TooLarge, // A0-AF
            TooLong | TwoContinuations | Overlong2 | Surrogate | TooLarge, // B0-BF
            TooShort, TooShort, TooShort, TooShort, // lead bytes
        };
    } // namespace pair

    // The last three bytes of a vector that leave a sequence open: a lead of four bytes third from the end, of
    // three or more second from the end, any lead last. Each byte above its entry here is one of them.
    template <size_t Bytes> struct OpenEnding {
        uint8_t highest[Bytes];
        constexpr OpenEnding()
            : highest {}
        {
            for (size_t i = 0; i < Bytes - 3; ++i)
                highest[i] = 0xFF;
            highest[Bytes - 3] = 0xF0 - 1;
            highest[Bytes - 2] = 0xE0 - 1;
            highest[Bytes - 1] = 0xC0 - 1;
        }
    };

    template <typename Lanes> class LookupValidation {
    public:
        using Vector = typename Lanes::Vector;
        static constexpr size_t ChunkBytes = 64;
        static constexpr size_t VectorsPerChunk = ChunkBytes / Lanes::Bytes;

        bool isValid(const char* bytes, size_t length)
        {
            const char* lastWholeChunk = bytes + (length - length % ChunkBytes);
            while (bytes != lastWholeChunk) {
                if (!isAsciiChunk(bytes)) {
                    checkChunk(bytes);
                    bytes += ChunkBytes;
                    continue;
                }
                checkOpenEnding();
                bytes = afterAsciiChunks(bytes + ChunkBytes, lastWholeChunk);
                m_prior = Lanes::load(bytes - Lanes::Bytes);
            }
            // An empty text may come without memory at all.
            char last[ChunkBytes] = {};
            if (size_t rest = length % ChunkBytes)
                std::memcpy(last, bytes, rest);
            if (isAsciiChunk(last))
                checkOpenEnding();
            else
                checkChunk(last);
            return !Lanes::anySet(m_errors);
        }

    private:
        static bool isAsciiChunk(const char* chunk)
        {
            Vector combined = Lanes::load(chunk);
#pragma GCC unroll 4
            for (size_t i = 1; i < VectorsPerChunk; ++i)
                combined = Lanes::bitOr(combined, Lanes::load(chunk + i * Lanes::Bytes));
            return Lanes::isAscii(combined);
        }

        // The first chunk at or after `chunk` that is not ASCII only, or `last`: runs of ASCII, the bulk of a
        // server's reply, are passed over without the tables.
        static const char* afterAsciiChunks(const char* chunk, const char* last)
        {
            while (chunk != last && isAsciiChunk(chunk))
                chunk += ChunkBytes;
            return chunk;
        }

        // Before ASCII, the bytes so far must not have left a sequence open.
        void checkOpenEnding() { m_errors = Lanes::bitOr(m_errors, Lanes::subtractSaturated(m_prior, m_openEnding)); }

        void checkChunk(const char* chunk)
        {
#pragma GCC unroll 4
            for (size_t i = 0; i < VectorsPerChunk; ++i) {
                Vector input = Lanes::load(chunk + i * Lanes::Bytes);
                m_errors = Lanes::bitOr(m_errors, errors(input, m_prior));
                m_prior = input;
            }
        }

        // The errors of each byte of `input` with the bytes before it, nonzero where there is one.
        Vector errors(Vector input, Vector prior) const
        {
            Vector earlier1 = Lanes::template earlier<1>(input, prior);
            Vector pairErrors = Lanes::bitAnd(Lanes::bitAnd(Lanes::lookUp(m_earlierHigh, Lanes::highNibbles(earlier1)),
                                                  Lanes::lookUp(m_earlierLow, Lanes::bitAnd(earlier1, m_lowNibble))),
                Lanes::lookUp(m_laterHigh, Lanes::highNibbles(input)));
            // The top bit is set where a lead of three bytes or more is two places back, or one of four three
            // places back: there a continuation after a continuation is required.
            Vector thirdOrFourth
                = Lanes::bitOr(Lanes::subtractSaturated(Lanes::template earlier<2>(input, prior), m_thirdBelow),
                    Lanes::subtractSaturated(Lanes::template earlier<3>(input, prior), m_fourthBelow));
            return Lanes::bitXor(Lanes::bitAnd(thirdOrFourth, m_topBit), pairErrors);
        }

        static constexpr OpenEnding<Lanes::Bytes> OpenEndingBytes {};

        const Vector m_earlierHigh = Lanes::table(pair::EarlierHigh);
        const Vector m_earlierLow = Lanes::table(pair::EarlierLow);
        const Vector m_laterHigh = Lanes::table(pair::LaterHigh);
        const Vector m_lowNibble = Lanes::splat(0x0F);
        const Vector m_topBit = Lanes::splat(0x80);
        // Subtracted with saturation, they leave the top bit set on E0-FF and F0-FF alone.
        const Vector m_thirdBelow = Lanes::splat(0xE0 - 0x80);
        const Vector m_fourthBelow = Lanes::splat(0xF0 - 0x80);
        const Vector m_openEnding = Lanes::load(reinterpret_cast<const char*>(OpenEndingBytes.highest));
        Vector m_prior = Lanes::zero();
        Vector m_errors = Lanes::zero();
    };

} // namespace

} // namespace base::utf8::validation
