#include "JSONTestSupport.h"

#include <gtest/gtest.h>
#include <string>

using jsontest::element;
using jsontest::errorMessage;

namespace {

const char* const Replaced = "\xEF\xBF\xBD";
const char* const IllegalUTF8 = "Illegal UTF8 sequence found in \"\" string.";
const char* const MissingLow
    = "Required a second \\u Unicode escape sequence following a surrogate \\u Unicode escape sequence.";
const char* const IllegalEscape = "Illegal \\u Unicode escape sequence.";

std::string text(const base::Value& value) { return value.string() ? *value.string() : "<not a string>"; }

} // namespace

TEST(JSONStringDecoding, DecodesEverySimpleEscape)
{
    EXPECT_EQ(text(element(R"(["\"\\\/\b\f\n\r\t"])")), "\"\\/\b\f\n\r\t");
    EXPECT_EQ(text(element(R"(["a\u00e9b\u00E9"])")),
        "a\xC3\xA9"
        "b\xC3\xA9");
    EXPECT_EQ(text(element(R"(["\u20AC\u0041"])")),
        "\xE2\x82\xAC"
        "A");
    EXPECT_EQ(errorMessage(R"(["\x"])"), "Invalid escape sequence found in \"\" string.");
    EXPECT_EQ(errorMessage(R"(["\u12G4"])"),
        "Unexpected character found in \\u Unicode escape sequence.  Found 'G', expected [0-9a-fA-F].");
}

TEST(JSONStringDecoding, KeepsPlainTextAndLongStringsExactly)
{
    std::string longText(5000, 'x');
    longText[4000] = '\x7F';
    EXPECT_EQ(text(element("[\"" + longText + "\"]")), longText);
    std::string mixed = "caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80 end";
    EXPECT_EQ(text(element("[\"" + mixed + "\"]")), mixed);
    EXPECT_EQ(text(element("[\"" + mixed + "\\n" + longText + "\"]")), mixed + "\n" + longText);
}

TEST(JSONStringDecoding, CombinesSurrogatePairs)
{
    EXPECT_EQ(text(element(R"(["\ud83d\ude00"])")), "\xF0\x9F\x98\x80");
    EXPECT_EQ(text(element(R"(["x\uDBFF\uDFFDy"])")), "x\xF4\x8F\xBF\xBDy");
}

TEST(JSONStringDecoding, ABrokenSurrogatePairFailsOrIsReplaced)
{
    const auto replace = json::JSONParseReplaceInvalidUnicode;
    EXPECT_EQ(errorMessage(R"(["\ud83d"])"), MissingLow);
    EXPECT_EQ(text(element(R"(["\ud83d"])", replace)), Replaced);
    // The byte after the lone high surrogate is read again as string text.
    EXPECT_EQ(errorMessage(R"(["\ud83dx"])"), MissingLow);
    EXPECT_EQ(text(element(R"(["\ud83dx"])", replace)), std::string(Replaced) + "x");
    EXPECT_EQ(errorMessage(R"(["\ud83d\n"])"), MissingLow);
    EXPECT_EQ(text(element(R"(["\ud83d\n"])", replace)), std::string(Replaced) + "\n");
    // A second escape that is not a low surrogate makes the pair illegal; replacing, only the lone surrogate goes
    // and what the second escape stands for is kept, a whole pair included.
    EXPECT_EQ(errorMessage(R"(["\ud83d\u0041"])"), IllegalEscape);
    EXPECT_EQ(text(element(R"(["\ud83d\u0041"])", replace)), std::string(Replaced) + "A");
    EXPECT_EQ(errorMessage(R"(["\ud83d\ud83d\ude00"])"), IllegalEscape);
    EXPECT_EQ(text(element(R"(["\ud83d\ud83d\ude00!"])", replace)), std::string(Replaced) + "\xF0\x9F\x98\x80!");
    EXPECT_EQ(text(element(R"(["\ud800\ud800\n"])", replace)), std::string(Replaced) + Replaced + "\n");
    EXPECT_EQ(errorMessage(R"(["\ude00"])"), IllegalEscape);
    EXPECT_EQ(text(element(R"(["\ude00z"])", replace)), std::string(Replaced) + "z");
}

TEST(JSONStringDecoding, IllegalEscapedCodePointsFailOrAreReplaced)
{
    for (const char* escape : { R"(\u0000)", R"(\uFDD0)", R"(\uFDEF)", R"(\uFFFE)", R"(\uffff)", R"(\ud83f\udffe)" }) {
        SCOPED_TRACE(escape);
        std::string document = std::string("[\"") + escape + "\"]";
        EXPECT_EQ(errorMessage(document), IllegalEscape);
        EXPECT_EQ(text(element(document, json::JSONParseReplaceInvalidUnicode)), Replaced);
    }
    EXPECT_EQ(text(element(R"(["\uFDCF\uFDF0\uFFFD"])")), "\xEF\xB7\x8F\xEF\xB7\xB0\xEF\xBF\xBD");
}

TEST(JSONStringDecoding, IllFormedUTF8FailsOrBecomesOneReplacementPerSequence)
{
    for (const char* bad : { "\xC0\xAF", "\xED\xA0\x80", "\xEF\xBF\xBF", "\xF5\x80\x80\x80", "\x80", "\xE0\x80\x80",
             "\xF4\x90\x80\x80", "\xF0\x80\x80\x80", "\xFF", "\xEF\xB7\x90" }) {
        SCOPED_TRACE(testing::PrintToString(std::string(bad)));
        std::string document = std::string("[\"a") + bad + "b\"]";
        EXPECT_EQ(errorMessage(document), IllegalUTF8);
        EXPECT_EQ(text(element(document, json::JSONParseReplaceInvalidUnicode)), std::string("a") + Replaced + "b");
        // Also within a run of other sequences, in a string read in place and in one with an escape.
        const std::string before = "\xE4\xB8\xAD\xC3\xA9";
        const std::string after = "\xC3\xA9\xE6\x96\x87";
        for (const std::string& lead : { std::string(), std::string("\\t") }) {
            std::string inRun = "[\"" + lead + before + bad + after + "\"]";
            EXPECT_EQ(errorMessage(inRun), IllegalUTF8);
            EXPECT_EQ(text(element(inRun, json::JSONParseReplaceInvalidUnicode)),
                (lead.empty() ? "" : "\t") + before + Replaced + after);
        }
    }
    // A broken-off sequence is replaced once: its lead byte and the continuation bytes that came with it.
    EXPECT_EQ(text(element("[\"\xE2\x82x\"]", json::JSONParseReplaceInvalidUnicode)), std::string(Replaced) + "x");
    EXPECT_EQ(text(element("[\"\xC3\"]", json::JSONParseReplaceInvalidUnicode)), Replaced);
}

TEST(JSONStringDecoding, ReplacementsMayMakeTextLongerThanItsInput)
{
    // Each lone byte becomes a three-byte replacement; several such strings share the decoding buffer.
    std::string bad(3000, '\xFF');
    std::string replaced;
    for (size_t i = 0; i < bad.size(); ++i)
        replaced += Replaced;
    std::string document = "[\"\\n" + bad + "\", \"x" + bad + "\\t\", \"\\u0041\"]";
    auto root
        = json::objectFromJSONData(base::Data(document.begin(), document.end()), json::JSONParseReplaceInvalidUnicode);
    ASSERT_TRUE(root && root->isArray());
    EXPECT_EQ(text(root->array()->objectAtIndex(0)), "\n" + replaced);
    EXPECT_EQ(text(root->array()->objectAtIndex(1)), "x" + replaced + "\t");
    EXPECT_EQ(text(root->array()->objectAtIndex(2)), "A");
}

TEST(JSONStringDecoding, AcceptsTheEdgesOfEachSequenceLength)
{
    for (const char* good : { "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xE1\x80\x80", "\xEC\xBF\xBF", "\xED\x9F\xBF",
             "\xEE\x80\x80", "\xEF\xBF\xBD", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBD" }) {
        SCOPED_TRACE(testing::PrintToString(std::string(good)));
        EXPECT_EQ(text(element(std::string("[\"") + good + "\"]")), good);
        EXPECT_EQ(text(element(std::string("[\"\\n") + good + "\"]")), std::string("\n") + good);
    }
}

TEST(JSONStringDecoding, ASequenceCutOffByTheEndFailsEvenWhenReplacing)
{
    const char* const cutOff = "End of buffer reached while parsing UTF8 in \"\" string.";
    EXPECT_EQ(errorMessage("[\"\xE2\x82"), cutOff);
    EXPECT_EQ(errorMessage("[\"\xE2\x82", json::JSONParseReplaceInvalidUnicode), cutOff);
    EXPECT_EQ(errorMessage("[\"\\n\xF0\x9F\x98"), cutOff);
}

TEST(JSONStringDecoding, RawControlCharactersFailOrAreReplacedAndDeleteIsAccepted)
{
    EXPECT_EQ(errorMessage("[\"a\tb\"]"), "Invalid character < 0x20 found in string: 0x09.");
    EXPECT_EQ(errorMessage("[\"a\\n\x1f\"]"), "Invalid character < 0x20 found in string: 0x1f.");
    EXPECT_EQ(errorMessage(std::string("[\"\0\"]", 5)), "Invalid character < 0x20 found in string: 0x00.");
    EXPECT_EQ(text(element("[\"\x7F\"]")), "\x7F");
    // Replacing: in a string read in place, after an escape, and many in a row (each longer once replaced).
    const auto replace = json::JSONParseReplaceInvalidUnicode;
    EXPECT_EQ(text(element("[\"a\tb\"]", replace)), std::string("a") + Replaced + "b");
    EXPECT_EQ(text(element("[\"\\n\x01\x1f\"]", replace)), std::string("\n") + Replaced + Replaced);
    EXPECT_EQ(text(element(std::string("[\"\0\"]", 5), replace)), Replaced);
    std::string many;
    for (int i = 0; i < 2000; ++i)
        many += Replaced;
    EXPECT_EQ(text(element("[\"" + std::string(2000, '\x02') + "\"]", replace)), many);
}

TEST(JSONStringDecoding, AnUnterminatedStringIsInvalid)
{
    EXPECT_EQ(errorMessage("[\"abc"), "Invalid string.");
    EXPECT_EQ(errorMessage("[\"abc\\"), "Invalid string.");
    EXPECT_EQ(errorMessage("[\"\\u12"), "Invalid string.");
    EXPECT_EQ(errorMessage("[\"\\ud83d\\"), "Invalid string.");
    EXPECT_EQ(errorMessage("{\"abcdefghijklmnopqrstuvwxyz"), "Invalid string.");
}

TEST(JSONStringDecoding, MessagesStayValidUTF8)
{
    std::string message = errorMessage("[\"\\u12\xC3\xA9\"]");
    EXPECT_EQ(message,
        std::string("Unexpected character found in \\u Unicode escape sequence.  Found '") + Replaced
            + "', expected [0-9a-fA-F].");
}

TEST(JSONStringDecoding, EscapedKeysAreFoundByTheirDecodedText)
{
    auto root = json::objectFromJSONString(R"({"k\u00e9y":1,"a\/b":2,"\u0041":3})");
    ASSERT_TRUE(root);
    EXPECT_EQ(*root->dictionary()->objectForKey("k\xC3\xA9y"), base::Value(1));
    EXPECT_EQ(*root->dictionary()->objectForKey("a/b"), base::Value(2));
    EXPECT_EQ(*root->dictionary()->objectForKey("A"), base::Value(3));
}

// Strings are scanned sixteen bytes at a time and a run of one-character escapes is taken without a new scan:
// every escape, sequence and end must decode the same at any offset from the start of a block.
TEST(JSONStringDecoding, EscapesDecodeAtEveryOffsetOfAScanBlock)
{
    const std::string nested = R"({\"Start\":\"08:00\",\"S\":\"\\u79d1\"}\n\t\/)";
    const std::string nestedDecoded = "{\"Start\":\"08:00\",\"S\":\"\\u79d1\"}\n\t/";
    for (size_t shift = 0; shift < 34; ++shift) {
        SCOPED_TRACE(shift);
        std::string pad(shift, 'p');
        EXPECT_EQ(text(element("[\"" + pad + nested + nested + "\"]")), pad + nestedDecoded + nestedDecoded);
        EXPECT_EQ(text(element("[\"" + pad + "\\\"\xC3\xA9\\u00e9\xE4\xB8\xAD\\\\\\ud83d\\ude00\\\"\"]")),
            pad + "\"\xC3\xA9\xC3\xA9\xE4\xB8\xAD\\\xF0\x9F\x98\x80\"");
        EXPECT_EQ(
            text(element("[\"" + pad + "\\\"\xC3\"]", json::JSONParseReplaceInvalidUnicode)), pad + "\"" + Replaced);
        EXPECT_EQ(errorMessage("[\"\\\"" + pad + "\\\""), "Invalid string.");
        EXPECT_EQ(errorMessage("[\"\\\"" + pad + "\\"), "Invalid string.");
        EXPECT_EQ(errorMessage("[\"\\\"" + pad + "\\\"\x01\"]"), "Invalid character < 0x20 found in string: 0x01.");
        EXPECT_EQ(errorMessage("[\"\\\"" + pad + "\\q\"]"), "Invalid escape sequence found in \"\" string.");
    }
}
