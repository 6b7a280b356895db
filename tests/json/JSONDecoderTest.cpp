#include "JSONTestSupport.h"

#include "base/values/Exception.h"
#include "json/JSONArray.h"
#include "json/JSONDictionary.h"

#include <gtest/gtest.h>
#include <string>

using jsontest::decodeFailure;
using jsontest::errorMessage;

namespace {

const char* const UnexpectedToken
    = "Unexpected token, wanted '{', '}', '[', ']', ',', ':', 'true', 'false', 'null', '\"STRING\"', 'NUMBER'.";

} // namespace

TEST(JSONDecoder, DecodesEveryKindOfValue)
{
    auto root = json::objectFromJSONString(R"({"s":"text","i":-5,"u":18446744073709551615,"d":1.5,"t":true,)"
                                           R"("f":false,"n":null,"a":[1,[]],"o":{"k":{}},"e":""})");
    ASSERT_TRUE(root && root->isDictionary());
    const base::Dictionary& d = *root->dictionary();
    EXPECT_EQ(d.count(), 10u);
    EXPECT_EQ(*d.objectForKey("s")->string(), "text");
    EXPECT_EQ(*d.objectForKey("i")->integer(), -5);
    EXPECT_EQ(*d.objectForKey("u")->unsignedInteger(), 18446744073709551615ull);
    EXPECT_EQ(*d.objectForKey("d")->real(), 1.5);
    EXPECT_TRUE(*d.objectForKey("t")->boolean());
    EXPECT_FALSE(*d.objectForKey("f")->boolean());
    EXPECT_TRUE(d.objectForKey("n")->isNull());
    EXPECT_EQ(d.objectForKey("a")->array()->count(), 2u);
    EXPECT_EQ(d.objectForKey("a")->array()->className(), "JSONArray");
    EXPECT_EQ(d.objectForKey("o")->dictionary()->className(), "JSONDictionary");
    EXPECT_EQ(*d.objectForKey("e")->string(), "");
}

TEST(JSONDecoder, ReadsEmptyContainersAndWhiteSpace)
{
    EXPECT_EQ(json::objectFromJSONString("{}")->dictionary()->count(), 0u);
    EXPECT_EQ(json::objectFromJSONString("[]")->array()->count(), 0u);
    EXPECT_EQ(json::objectFromJSONString(" \t\r\n[ 1 ,\r 2 ]\n ")->array()->count(), 2u);
    EXPECT_TRUE(json::objectFromJSONString("[1] "));
}

TEST(JSONDecoder, RefusesARootThatIsNotAContainer)
{
    EXPECT_EQ(errorMessage("\"abc\""), "Expected either '[' or '{'.");
    EXPECT_EQ(errorMessage("true "), "Expected either '[' or '{'.");
    EXPECT_EQ(errorMessage("null "), "Expected either '[' or '{'.");
    // A number that runs to the end of the input never ends.
    EXPECT_EQ(errorMessage("123"), "Invalid number.");
    // A literal must be followed by at least one byte.
    EXPECT_EQ(errorMessage("true"), UnexpectedToken);
}

TEST(JSONDecoder, ReportsTheEndOfTheBufferAndWhiteSpaceOnly)
{
    EXPECT_EQ(errorMessage(""), "Reached the end of the buffer.");
    EXPECT_EQ(errorMessage("[1,"), "Reached the end of the buffer.");
    EXPECT_EQ(errorMessage("{\"a\":1"), "Invalid number.");
    EXPECT_EQ(errorMessage("{\"a\":1 "), UnexpectedToken);
    EXPECT_EQ(errorMessage("  \n "), UnexpectedToken);
    EXPECT_EQ(errorMessage("[1, "), UnexpectedToken);
}

TEST(JSONDecoder, ReportsMisplacedTokens)
{
    EXPECT_EQ(errorMessage("[1,]"), "Unexpected ']'.");
    EXPECT_EQ(errorMessage("{\"a\":1,}"), "Unexpected '}'.");
    EXPECT_EQ(errorMessage("[,1]"), "Unexpected ','.");
    EXPECT_EQ(errorMessage("{,}"), "Unexpected ','.");
    EXPECT_EQ(errorMessage("[1 2]"), "Unexpected value.");
    EXPECT_EQ(errorMessage("[01]"), "Unexpected value.");
    EXPECT_EQ(errorMessage("{\"a\":1 \"b\":2}"), "Unexpected string.");
    EXPECT_EQ(errorMessage("{\"a\" 1}"), "Expected ':'.");
    EXPECT_EQ(errorMessage("[1:2]"), "Expected a comma or a ']', not ':'");
    EXPECT_EQ(errorMessage("[}"), "Expected a value or a ']', not '}'");
    EXPECT_EQ(errorMessage("[1,:"), "Expected a value, not ':'");
    EXPECT_EQ(errorMessage("{\"a\":1 2}"), "Expected a comma or a '}', not '2'");
    EXPECT_EQ(errorMessage("{12:1}"), "Expected a \"STRING\" or a '}', not '12'");
    EXPECT_EQ(errorMessage("{\"a\":1,true:1}"), "Expected a \"STRING\", not 'true'");
    EXPECT_EQ(errorMessage("{\"a\":}"), "Expected a value or a '}', not '}'");
    EXPECT_EQ(errorMessage("{\"a\":1,\"b\":]"), "Expected a value, not ']'");
}

TEST(JSONDecoder, RefusesWhatIsNotAToken)
{
    for (const char* text : { "[NaN]", "[Infinity]", "[+1]", "[.5]", "[truex]", "[nul ]", "\xEF\xBB\xBF[]" }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(errorMessage(text), UnexpectedToken);
    }
    EXPECT_EQ(errorMessage(std::string("[\0]", 3)), UnexpectedToken);
}

TEST(JSONDecoder, RefusesTrailingTextUnlessAllowed)
{
    EXPECT_EQ(errorMessage("[1] x"),
        "A valid JSON object was parsed but there were additional non-white-space characters remaining.");
    EXPECT_EQ(errorMessage("[1][2]"),
        "A valid JSON object was parsed but there were additional non-white-space characters remaining.");
    auto root = json::objectFromJSONString("[1] x", json::JSONParseAllowTrailingText);
    ASSERT_TRUE(root);
    EXPECT_EQ(*root, base::Value(base::Array::make({ base::Value(1) })));
}

TEST(JSONDecoder, CommentsAreWhiteSpaceOnlyWhenAllowed)
{
    const char* text = "[1 /* one\n */, 2] // two\n";
    EXPECT_EQ(errorMessage(text), UnexpectedToken);
    auto root = json::objectFromJSONString(text, json::JSONParseAllowComments);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->array()->count(), 2u);
    // A block comment left open runs to the end of the input.
    EXPECT_TRUE(json::objectFromJSONString("[1] /* open", json::JSONParseAllowComments));
    EXPECT_EQ(errorMessage("[1 / 2]", json::JSONParseAllowComments), UnexpectedToken);
}

TEST(JSONDecoder, CountsLinesAcrossEveryKindOfLineBreak)
{
    auto failure = decodeFailure("[1,\r\n2,\n]");
    EXPECT_EQ(failure.message, "Unexpected ']'.");
    EXPECT_EQ(failure.line, 3u);
    EXPECT_EQ(failure.index, 9u);

    EXPECT_EQ(decodeFailure("[\r\r\n\n x]").line, 4u);
    EXPECT_EQ(decodeFailure("[1, // c\r\n /* \n\n */ x]", json::JSONParseAllowComments).line, 4u);
}

TEST(JSONDecoder, UnicodeLineBreaksOnlyWithTheirOption)
{
    const std::string text = "[1,\xC2\x85 2,\xE2\x80\xA8 3,\xE2\x80\xA9 x]";
    EXPECT_EQ(decodeFailure(text).line, 1u);
    EXPECT_EQ(errorMessage(text), UnexpectedToken);
    auto failure = decodeFailure(text, json::JSONParseUnicodeLineBreaks);
    EXPECT_EQ(failure.message, UnexpectedToken);
    EXPECT_EQ(failure.line, 4u);
}

TEST(JSONDecoder, RefusesInvalidOptions)
{
    EXPECT_THROW(json::JSONDecoder(16), base::Exception);
    EXPECT_THROW(json::objectFromJSONString("[]", 0x100), base::Exception);
    try {
        json::JSONDecoder decoder(uint64_t(1) << 63);
        FAIL();
    } catch (const base::Exception& e) {
        EXPECT_EQ(e.name(), base::Exception::InvalidArgumentException);
        EXPECT_EQ(e.reason(), "Invalid parse options.");
    }
}

TEST(JSONDecoder, ErrorCarriesDomainCodeIndexAndLine)
{
    base::Error error;
    EXPECT_FALSE(json::objectFromJSONString("[1,\n  x]", 0, &error));
    EXPECT_EQ(error.domain(), "JSONErrorDomain");
    EXPECT_EQ(error.code(), -1);
    EXPECT_EQ(error.localizedDescription(), UnexpectedToken);
    EXPECT_EQ(error.userInfoValue(json::JSONAtIndexKey)->unsignedLongLongValue(), 6u);
    EXPECT_EQ(error.userInfoValue(json::JSONLineNumberKey)->unsignedLongLongValue(), 2u);
}

TEST(JSONDecoder, LeavesTheErrorSlotAloneOnSuccess)
{
    base::Error error;
    EXPECT_TRUE(json::objectFromJSONString("[]", 0, &error));
    EXPECT_TRUE(error.isEmpty());
}

TEST(JSONDecoder, TextThatIsNotUTF8FailsAsAConversionError)
{
    base::Error error;
    EXPECT_FALSE(json::objectFromJSONString("[\"\xC3\x28\"]", 0, &error));
    EXPECT_EQ(error.localizedDescription(), "An error occurred converting the contents of a NSString to UTF8.");
    EXPECT_EQ(error.domain(), "JSONErrorDomain");
    EXPECT_EQ(error.userInfoValue(json::JSONAtIndexKey), nullptr);
    // The same bytes as data reach the parser, which reports the bad sequence inside the string.
    EXPECT_EQ(errorMessage("[\"\xC3\x28\"]"), "Illegal UTF8 sequence found in \"\" string.");
}

TEST(JSONDecoder, RejectsDeepNesting)
{
    std::string deep(200000, '[');
    base::Error error;
    EXPECT_FALSE(json::objectFromJSONString(deep, 0, &error));
    EXPECT_EQ(error.localizedDescription(), "Arrays and objects are nested more than 512 levels deep.");

    std::string objects;
    for (int i = 0; i < 600; ++i)
        objects += "{\"a\":";
    EXPECT_EQ(errorMessage(objects), "Arrays and objects are nested more than 512 levels deep.");

    std::string limit = std::string(512, '[') + std::string(512, ']');
    EXPECT_TRUE(json::objectFromJSONString(limit));
    EXPECT_FALSE(json::objectFromJSONString("[" + limit + "]"));
}

TEST(JSONDecoder, LaterDuplicateKeysReplaceEarlierOnes)
{
    auto root = json::objectFromJSONString(R"({"a":1,"b":2,"a":3})");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->dictionary()->count(), 2u);
    EXPECT_EQ(*root->dictionary()->objectForKey("a"), base::Value(3));
}

TEST(JSONDecoder, ImmutableResultsRefuseMutationAndMutableOnesAcceptIt)
{
    auto frozen = json::objectFromJSONString(R"({"list":[1]})");
    ASSERT_TRUE(frozen);
    EXPECT_FALSE(frozen->dictionary()->isMutable());
    ASSERT_TRUE(frozen->mutableDictionary());
    EXPECT_THROW(frozen->mutableDictionary()->setObject(base::Value(1), "k"), base::Exception);
    EXPECT_THROW(
        frozen->dictionary()->objectForKey("list")->mutableArray()->addObject(base::Value(2)), base::Exception);

    auto open = json::mutableObjectFromJSONString(R"({"list":[1]})");
    ASSERT_TRUE(open);
    open->mutableDictionary()->setObject(base::Value(1), "k");
    open->dictionary()->objectForKey("list")->mutableArray()->addObject(base::Value(2));
    EXPECT_EQ(*open, *json::objectFromJSONString(R"({"list":[1,2],"k":1})"));

    base::Data data { '[', ']' };
    EXPECT_TRUE(json::mutableObjectFromJSONData(data)->array()->isMutable());
    EXPECT_FALSE(json::objectFromJSONData(data)->array()->isMutable());
}

TEST(JSONDecoder, EmptyDataParsesAsAnEmptyBuffer)
{
    base::Error error;
    EXPECT_FALSE(json::objectFromJSONData(base::Data(), 0, &error));
    EXPECT_EQ(error.localizedDescription(), "Reached the end of the buffer.");
}

TEST(JSONDecoder, ADecoderIsReusableAcrossParsesAndCacheClears)
{
    json::JSONDecoder decoder;
    std::string first = R"({"key":"value","n":12,"x":1.5})";
    for (int round = 0; round < 3; ++round) {
        auto root = decoder.objectWithUTF8String(first.data(), first.size());
        ASSERT_TRUE(root);
        EXPECT_EQ(*root->dictionary()->objectForKey("key"), base::Value("value"));
        EXPECT_EQ(*root->dictionary()->objectForKey("x"), base::Value(1.5));
        if (round == 1)
            decoder.clearCache();
    }
    base::Error error;
    EXPECT_FALSE(decoder.objectWithUTF8String("[", 1, &error));
    EXPECT_FALSE(error.isEmpty());
    auto mutableRoot = decoder.mutableObjectWithData(base::Data { '[', '1', ']' });
    ASSERT_TRUE(mutableRoot);
    EXPECT_TRUE(mutableRoot->array()->isMutable());
    EXPECT_THROW(decoder.objectWithUTF8String(nullptr, 0), base::Exception);
}

TEST(JSONDecoder, ValuesThatShareBytesKeepTheirKinds)
{
    // The same bytes as a key, a value and numbers of different kinds stay what they are.
    json::JSONDecoder decoder;
    std::string text = R"([1, "1", 1.0, -1, {"1":1}, 18446744073709551615, -0, 0])";
    for (int round = 0; round < 2; ++round) {
        auto root = decoder.objectWithUTF8String(text.data(), text.size());
        ASSERT_TRUE(root);
        const base::Array& a = *root->array();
        EXPECT_TRUE(a.objectAtIndex(0).integer());
        EXPECT_EQ(*a.objectAtIndex(1).string(), "1");
        EXPECT_TRUE(a.objectAtIndex(2).real());
        EXPECT_EQ(*a.objectAtIndex(3).integer(), -1);
        EXPECT_TRUE(a.objectAtIndex(5).unsignedInteger());
        EXPECT_TRUE(a.objectAtIndex(6).real());
        EXPECT_TRUE(a.objectAtIndex(7).integer());
    }
}
