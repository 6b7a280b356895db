#include "base/text/UTF8Validation.h"
#include "base/text/UTF8.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct Sequence {
    const char* bytes;
    bool valid;
    const char* what;
};

const Sequence sequences[] = {
    { "a", true, "ASCII" },
    { "\xC2\x80", true, "U+0080, the first of two bytes" },
    { "\xDF\xBF", true, "U+07FF, the last of two bytes" },
    { "\xE0\xA0\x80", true, "U+0800, the first of three bytes" },
    { "\xED\x9F\xBF", true, "U+D7FF, below the surrogates" },
    { "\xEE\x80\x80", true, "U+E000, above the surrogates" },
    { "\xEF\xBF\xBF", true, "U+FFFF, the last of three bytes" },
    { "\xF0\x90\x80\x80", true, "U+10000, the first of four bytes" },
    { "\xF4\x8F\xBF\xBF", true, "U+10FFFF, the last code point" },
    { "中", true, "a Chinese character" },
    { "😀", true, "an emoji" },
    { "\xC0\x80", false, "overlong NUL" },
    { "\xC1\xBF", false, "overlong two bytes" },
    { "\xE0\x80\x80", false, "overlong three bytes, smallest" },
    { "\xE0\x9F\xBF", false, "overlong three bytes, largest" },
    { "\xF0\x80\x80\x80", false, "overlong four bytes, smallest" },
    { "\xF0\x8F\xBF\xBF", false, "overlong four bytes, largest" },
    { "\xED\xA0\x80", false, "the first surrogate" },
    { "\xED\xBF\xBF", false, "the last surrogate" },
    { "\xF4\x90\x80\x80", false, "U+110000" },
    { "\xF5\x80\x80\x80", false, "a lead past F4 with a small continuation" },
    { "\xF7\xBF\xBF\xBF", false, "a lead past F4 with a large continuation" },
    { "\xF8\x88\x80\x80\x80", false, "a five-byte form" },
    { "\xFE", false, "FE" },
    { "\xFF", false, "FF" },
    { "\xC2", false, "a lead of two bytes alone" },
    { "\xE4", false, "a lead of three bytes alone" },
    { "\xE4\xB8", false, "three bytes cut after two" },
    { "\xF0", false, "a lead of four bytes alone" },
    { "\xF0\x9F", false, "four bytes cut after two" },
    { "\xF0\x9F\x98", false, "four bytes cut after three" },
    { "\xF0\x9F\x98"
      "a",
        false, "ASCII in place of a fourth byte" },
    { "\xE4\xE4\xB8\xAD", false, "a lead in place of a continuation" },
    { "\x80", false, "a stray continuation" },
    { "\xBF", false, "the last continuation alone" },
    { "\xC2\x80\x80", false, "a continuation too many after two bytes" },
    { "中\x80", false, "a continuation too many after three bytes" },
    { "😀\x80", false, "a continuation too many after four bytes" },
};

// `length` bytes of ASCII, or of Chinese text with ASCII only where the length needs it: the check then runs
// on multibyte text around the sequence instead of passing over ASCII.
std::string filler(size_t length, bool chinese)
{
    if (!chinese)
        return std::string(length, 'a');
    std::string text(length % 3, 'a');
    for (size_t i = 0; i < length / 3; ++i)
        text += "中";
    return text;
}

// Every sequence at every offset across several vectors and chunks of the vector checks (16, 32 and 64 bytes),
// past the stretches of ASCII they pass over four chunks (128 or 256 bytes) at a time, and the scalar check's ASCII
// blocks (128 bytes), within ASCII or Chinese text, at the end of the text or followed by more: every validator the
// processor can run gives the sequence's own answer.
TEST(UTF8Validation, EverySequenceAtEveryOffsetInEveryValidator)
{
    for (const auto& validator : base::utf8::validation::validators()) {
        for (const Sequence& sequence : sequences) {
            bool failed = false;
            for (size_t offset = 0; offset < 600 && !failed; ++offset) {
                for (bool chineseBefore : { false, true }) {
                    for (const std::string& after : { std::string(), filler(70, false), filler(70, true) }) {
                        std::string text = filler(offset, chineseBefore) + sequence.bytes + after;
                        if (validator.check(text.data(), text.size()) != sequence.valid) {
                            ADD_FAILURE() << validator.name << ": " << sequence.what << " after " << offset
                                          << (chineseBefore ? " bytes of Chinese" : " bytes of ASCII") << ", "
                                          << after.size() << " bytes after";
                            failed = true;
                        }
                    }
                }
            }
        }
    }
}

// Texts without fault in every validator, of every length up to several chunks: the end of the text never
// reads as a sequence cut off, and a text of nothing is valid, even one without memory.
TEST(UTF8Validation, WholeTextsOfEveryLengthAreValid)
{
    std::string mixed;
    while (mixed.size() < 300)
        mixed += "ab中😀é";
    for (const auto& validator : base::utf8::validation::validators()) {
        EXPECT_TRUE(validator.check(nullptr, 0)) << validator.name;
        for (size_t length = 0; length <= mixed.size(); ++length) {
            std::string_view text = base::utf8::truncateToBytes(mixed, length);
            EXPECT_TRUE(validator.check(text.data(), text.size())) << validator.name << " " << text.size();
        }
    }
}

// The processors this runs on have SSSE3, so the vector check is what isValid uses, and the scalar check is
// still run by the tests above.
TEST(UTF8Validation, FastestValidatorComesFirst)
{
    auto validators = base::utf8::validation::validators();
    ASSERT_FALSE(validators.empty());
    EXPECT_STREQ(validators.back().name, "scalar");
#if defined(__x86_64__)
    EXPECT_GE(validators.size(), 2u);
#endif
}

} // namespace
