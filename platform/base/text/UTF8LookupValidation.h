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
// three places back tell. The bytes one, two and three places back are read from the text as vectors of their
// own. A chunk of ASCII only skips the tables; it is wrong then only if the bytes before it ended inside a
// sequence. The first chunk, which has nothing before it to read, and the text's last bytes are checked in a
// copy: zeros before the text act as ASCII, and zeros after it make a sequence cut off at the end followed by a
// byte that cannot continue it. The errors are gathered across the text and tested once at its end.
//
// A lanes type provides: Vector, Bytes (its width), load (unaligned), zero, splat, table (a 16-entry table,
// repeated in every 16-byte lane), bitOr, bitAnd, bitXor, subtractSaturated, lookUp (each byte of a vector
// whose bytes are below 16 replaced by that entry of a table), highNibbles, isAscii, anySet.
#pragma once

#include <algorithm>
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
        // Two vectors: enough to spread the test for ASCII over, few enough that text with a multibyte character
        // here and there has chunks of ASCII only between them.
        static constexpr size_t ChunkBytes = 2 * Lanes::Bytes;
        static constexpr size_t VectorsPerChunk = ChunkBytes / Lanes::Bytes;

        bool isValid(const char* bytes, size_t length)
        {
            const char* end = bytes + length;
            const char* lastWholeChunk = end - length % ChunkBytes;
            const char* chunk = bytes;
            // Nothing before the first chunk can be read: it is checked in a copy.
            if (chunk != lastWholeChunk) {
                checkCopied(bytes, chunk, ChunkBytes);
                chunk += ChunkBytes;
            }
            while (true) {
                chunk = afterMultibyteChunks(chunk, lastWholeChunk);
                if (chunk == lastWholeChunk)
                    break;
                checkOpenEnding(chunk);
                chunk = afterAsciiChunks(chunk + ChunkBytes, lastWholeChunk);
            }
            checkCopied(bytes, chunk, static_cast<size_t>(end - chunk));
            return !Lanes::anySet(m_errors);
        }

    private:
        // Each byte is judged with up to three bytes before it.
        static constexpr size_t BytesBefore = 3;

        // Whether the `Vectors` vectors at `bytes` hold ASCII only.
        template <size_t Vectors> static bool isAscii(const char* bytes)
        {
            Vector combined = Lanes::load(bytes);
#pragma GCC unroll 8
            for (size_t i = 1; i < Vectors; ++i)
                combined = Lanes::bitOr(combined, Lanes::load(bytes + i * Lanes::Bytes));
            return Lanes::isAscii(combined);
        }

        static bool isAsciiChunk(const char* chunk) { return isAscii<VectorsPerChunk>(chunk); }

        // The first chunk at or after `chunk` that is not ASCII only, or `last`: runs of ASCII, the bulk of a
        // server's reply, are passed over without the tables. A run as long as a chunk or more is likely to go
        // on, and is passed over four chunks at a time as long as it does.
        static const char* afterAsciiChunks(const char* chunk, const char* last)
        {
            while (chunk != last && isAsciiChunk(chunk)) {
                chunk += ChunkBytes;
                while (static_cast<size_t>(last - chunk) >= 4 * ChunkBytes && isAscii<4 * VectorsPerChunk>(chunk))
                    chunk += 4 * ChunkBytes;
            }
            return chunk;
        }

        // The first chunk at or after `chunk` that is ASCII only, or `last`, checking the chunks before it.
        const char* afterMultibyteChunks(const char* chunk, const char* last)
        {
            for (; chunk != last && !isAsciiChunk(chunk); chunk += ChunkBytes)
                checkChunk(chunk);
            return chunk;
        }

        // Before the ASCII chunk at `chunk`, the bytes so far must not have left a sequence open.
        void checkOpenEnding(const char* chunk)
        {
            m_errors = Lanes::bitOr(m_errors,
                Lanes::subtractSaturated(Lanes::load(chunk - Lanes::Bytes),
                    Lanes::load(reinterpret_cast<const char*>(OpenEndingBytes.highest))));
        }

        // Checks the `size` bytes at `chunk`, at most a chunk, in a copy that has the text's bytes before them
        // (zeros before the text's start, as if it followed ASCII) and zeros after them: at the text's end, a
        // sequence cut off is followed by a byte that cannot continue it.
        void checkCopied(const char* text, const char* chunk, size_t size)
        {
            char copy[BytesBefore + ChunkBytes] = {};
            size_t before = std::min(static_cast<size_t>(chunk - text), BytesBefore);
            // An empty text may come without memory at all.
            if (before)
                std::memcpy(copy + BytesBefore - before, chunk - before, before);
            if (size)
                std::memcpy(copy + BytesBefore, chunk, size);
            checkChunk(copy + BytesBefore);
        }

        // Checks a chunk whose three bytes before it can be read.
        void checkChunk(const char* chunk)
        {
#pragma GCC unroll 4
            for (size_t i = 0; i < VectorsPerChunk; ++i)
                m_errors = Lanes::bitOr(m_errors, errors(chunk + i * Lanes::Bytes));
        }

        // The errors of each byte of the vector at `at` with the bytes before it, nonzero where there is one.
        // Loading the bytes one, two and three places back costs fewer instructions than shifting them in from
        // the vector before, and keeps no vector alive from one to the next.
        static Vector errors(const char* at)
        {
            Vector input = Lanes::load(at);
            Vector earlier1 = Lanes::load(at - 1);
            Vector lowNibble = Lanes::splat(0x0F);
            Vector pairErrors = Lanes::bitAnd(
                Lanes::bitAnd(Lanes::lookUp(Lanes::table(pair::EarlierHigh), Lanes::highNibbles(earlier1)),
                    Lanes::lookUp(Lanes::table(pair::EarlierLow), Lanes::bitAnd(earlier1, lowNibble))),
                Lanes::lookUp(Lanes::table(pair::LaterHigh), Lanes::highNibbles(input)));
            // The top bit is set where a lead of three bytes or more is two places back, or one of four three
            // places back: there a continuation after a continuation is required. Subtracted with saturation,
            // E0 - 80 and F0 - 80 leave the top bit set on E0-FF and F0-FF alone.
            Vector thirdOrFourth
                = Lanes::bitOr(Lanes::subtractSaturated(Lanes::load(at - 2), Lanes::splat(0xE0 - 0x80)),
                    Lanes::subtractSaturated(Lanes::load(at - 3), Lanes::splat(0xF0 - 0x80)));
            return Lanes::bitXor(Lanes::bitAnd(thirdOrFourth, Lanes::splat(0x80)), pairErrors);
        }

        static constexpr OpenEnding<Lanes::Bytes> OpenEndingBytes {};

        Vector m_errors = Lanes::zero();
    };

} // namespace

} // namespace base::utf8::validation
