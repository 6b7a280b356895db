#include "json/JSONSerializer.h"

#include "base/time/Date.h"
#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "json/JSONDecoder.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

base::Value list(std::initializer_list<base::Value> values) { return base::Value(base::Array::make(values)); }

std::string encoded(const base::Value& value, json::SerializeOptions options = 0)
{
    base::Error error;
    auto text = json::JSONString(value, options, {}, &error);
    return text ? *text : "<failed: " + error.localizedDescription() + ">";
}

std::string failure(const base::Value& value, const json::UnsupportedValueFormatter& formatter = {})
{
    base::Error error;
    EXPECT_FALSE(json::JSONString(value, 0, formatter, &error));
    EXPECT_EQ(error.domain(), "JSONErrorDomain");
    EXPECT_EQ(error.code(), -1);
    return error.localizedDescription();
}

} // namespace

TEST(JSONSerializer, WritesScalarsInsideContainers)
{
    EXPECT_EQ(
        encoded(list({ base::Value(), base::Value(true), base::Value(false), base::Value(-5), base::Value(0),
            base::Value(std::numeric_limits<uint64_t>::max()), base::Value(std::numeric_limits<int64_t>::min()) })),
        "[null,true,false,-5,0,18446744073709551615,-9223372036854775808]");
    EXPECT_EQ(encoded(list(
                  { base::Value(0.1), base::Value(100.0), base::Value(-0.0), base::Value(1e21), base::Value(5e-324) })),
        "[0.10000000000000001,100,-0,1e+21,4.9406564584124654e-324]");
    EXPECT_EQ(encoded(base::Value(base::Dictionary::make({ { base::Value("k"), base::Value("v") } }))), R"({"k":"v"})");
}

TEST(JSONSerializer, DoublesAreWrittenAsPrintfWritesThemWithSeventeenDigits)
{
    // Exact integer arithmetic covers 1e-11 up to 1e17 (an 18th digit sends a value one scale down; ties round
    // to even); the rest go the general way.
    const std::pair<double, const char*> rows[] = {
        { 15.5, "15.5" },
        { 24.959285, "24.959285000000001" },
        { -47.049981, "-47.049981000000002" },
        { 8.0, "8" },
        { 0.0001, "0.0001" },
        { 1e-5, "1.0000000000000001e-05" },
        { 1.5e-11, "1.5e-11" },
        { 9.9999999999999995e-12, "9.9999999999999994e-12" },
        { 1e16, "10000000000000000" },
        { 12345678901234567.0, "12345678901234568" },
        { 1e17, "1e+17" },
        { std::ldexp(1.0, -25), "2.9802322387695312e-08" },
        { 3 * std::ldexp(1.0, -25), "8.9406967163085938e-08" },
    };
    for (auto [value, text] : rows)
        EXPECT_EQ(encoded(list({ base::Value(value) })), std::string("[") + text + "]") << text;

    // Across the whole range, against the C library.
    std::mt19937_64 random(20140513);
    std::vector<base::Value> values;
    for (int i = 0; i < 20000; ++i) {
        double value = std::bit_cast<double>(random());
        if (i % 2)
            value = static_cast<double>(static_cast<int64_t>(random() % 2000001) - 1000000) / std::pow(10.0, i % 14);
        if (std::isfinite(value))
            values.emplace_back(value);
    }
    std::string text = encoded(base::Value(base::Array::make(values)));
    size_t start = 1;
    for (const base::Value& value : values) {
        size_t end = text.find_first_of(",]", start);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.17g", *value.real());
        ASSERT_EQ(text.substr(start, end - start), expected);
        start = end + 1;
    }
    EXPECT_EQ(start, text.size());
}

TEST(JSONSerializer, EscapesControlCharactersQuotesAndBackslashes)
{
    std::string raw = std::string("\"\\\b\t\n\f\r\x01\x1f\x7f", 10) + std::string(1, '\0');
    EXPECT_EQ(encoded(list({ base::Value(raw) })), "[\"\\\"\\\\\\b\\t\\n\\f\\r\\u0001\\u001f\x7f\\u0000\"]");
    // Strings are scanned sixteen bytes at a time, the last few through a block of their own: a special byte
    // is found and an ill-formed one refused wherever it falls.
    for (size_t length = 0; length < 40; ++length) {
        std::string plain(length, 'a');
        EXPECT_EQ(
            encoded(list({ base::Value(plain + "\"" + plain + "\n") })), "[\"" + plain + "\\\"" + plain + "\\n\"]")
            << length;
        EXPECT_EQ(
            encoded(list({ base::Value(plain + "\xC3\xA9" + plain) })), "[\"" + plain + "\xC3\xA9" + plain + "\"]")
            << length;
        EXPECT_EQ(failure(list({ base::Value(plain + "\xC3") })),
            "An error occurred converting the contents of a NSString to UTF8.")
            << length;
    }
}

TEST(JSONSerializer, LongStringsAndLargeTextsAreWrittenWhole)
{
    // Strings take room in chunks of a few hundred bytes and the text grows as it goes: escapes and sequences
    // of several bytes fall across every boundary.
    std::string raw;
    std::string plain;
    std::string ascii;
    for (int i = 0; i < 3000; ++i) {
        const char* piece = i % 7 == 0 ? "\"" : i % 5 == 0 ? "\xE4\xB8\xAD" : i % 11 == 0 ? "/" : "a";
        const char* escaped = i % 7 == 0 ? "\\\"" : piece;
        raw += piece;
        plain += escaped;
        ascii += i % 7 == 0 ? "\\\"" : i % 5 == 0 ? "\\u4e2d" : i % 11 == 0 ? "\\/" : "a";
    }
    EXPECT_EQ(encoded(list({ base::Value(raw) })), "[\"" + plain + "\"]");
    std::string unescaped;
    for (int i = 0; i < 3000; ++i)
        unescaped += i % 5 == 0 ? "\xE4\xB8\xAD" : "a";
    EXPECT_EQ(encoded(list({ base::Value(unescaped) })), "[\"" + unescaped + "\"]");
    EXPECT_EQ(encoded(list({ base::Value(raw) }), json::JSONSerializeEscapeNonASCII | json::JSONSerializeEscapeSlash),
        "[\"" + ascii + "\"]");
    std::vector<base::Value> many(200, base::Value(raw));
    std::string text = encoded(base::Value(base::Array::make(many)));
    EXPECT_EQ(text.size(), 2 + 200 * (plain.size() + 3) - 1);
    EXPECT_EQ(text.substr(text.size() - plain.size() - 2), plain + "\"]");
    // A fault far into a long string fails the whole text.
    EXPECT_EQ(failure(list({ base::Value(raw + "\xC3" + raw) })),
        "An error occurred converting the contents of a NSString to UTF8.");
}

TEST(JSONSerializer, EscapesTheSlashOnlyWithItsOption)
{
    EXPECT_EQ(encoded(list({ base::Value("a/b") })), R"(["a/b"])");
    EXPECT_EQ(encoded(list({ base::Value("a/b") }), json::JSONSerializeEscapeSlash), R"(["a\/b"])");
}

TEST(JSONSerializer, EscapesNonASCIIOnlyWithItsOption)
{
    base::Value text = list({ base::Value("\xC3\xA9 \xF0\x9F\x98\x80 \xE4\xB8\xAD") });
    EXPECT_EQ(encoded(text), "[\"\xC3\xA9 \xF0\x9F\x98\x80 \xE4\xB8\xAD\"]");
    EXPECT_EQ(encoded(text, json::JSONSerializeEscapeNonASCII), R"(["\u00e9 \ud83d\ude00 \u4e2d"])");
}

TEST(JSONSerializer, RefusesTextThatIsNotUTF8OrNotJSONText)
{
    EXPECT_EQ(
        failure(list({ base::Value("\xC3\x28") })), "An error occurred converting the contents of a NSString to UTF8.");
    // A noncharacter is valid UTF-8 but cannot be escaped as JSON text.
    EXPECT_EQ(encoded(list({ base::Value("\xEF\xBF\xBE") })), "[\"\xEF\xBF\xBE\"]");
    base::Error error;
    EXPECT_FALSE(
        json::JSONString(list({ base::Value("\xEF\xBF\xBE") }), json::JSONSerializeEscapeNonASCII, {}, &error));
    EXPECT_EQ(error.localizedDescription(), "Error converting UTF8.");
}

TEST(JSONSerializer, ContainersThatTakeChangesAreWrittenLikeOthers)
{
    auto values = base::MutableArray::make({ base::Value(1), base::Value("x") });
    auto object = base::MutableDictionary::make({ { base::Value("a"), base::Value(values) } });
    EXPECT_EQ(encoded(base::Value(object)), R"({"a":[1,"x"]})");
    // One key each: a table that takes changes enumerates in the order of its slots.
    auto decoded = json::mutableObjectFromJSONString(R"({"b":[true,null,{"d":2.5}]})");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(encoded(*decoded), R"({"b":[true,null,{"d":2.5}]})");
}

TEST(JSONSerializer, PrettyOutputIndentsAndSortsKeys)
{
    base::Value tree(base::Dictionary::make({ { base::Value("b"), list({ base::Value(1), base::Value(2) }) },
        { base::Value("a"), base::Value(base::Dictionary::make()) } }));
    EXPECT_EQ(encoded(tree, json::JSONSerializePretty), "{\n  \"a\": {\n    \n  },\n  \"b\": [\n    1,\n    2\n  ]\n}");
    EXPECT_EQ(encoded(list({}), json::JSONSerializePretty), "[\n  \n]");
}

TEST(JSONSerializer, RootMustBeAnArrayOrDictionary)
{
    EXPECT_EQ(
        failure(base::Value("text")), "Unable to serialize object class String, expected a NSArray or NSDictionary.");
    EXPECT_EQ(failure(base::Value(1)), "Unable to serialize object class Number, expected a NSArray or NSDictionary.");
}

TEST(JSONSerializer, KeysMustBeStrings)
{
    base::Value numberKey(base::Dictionary::make({ { base::Value(1), base::Value(2) } }));
    EXPECT_EQ(failure(numberKey), "Key must be a string object.");
    base::Error error;
    EXPECT_FALSE(json::JSONString(numberKey, json::JSONSerializePretty, {}, &error));
    EXPECT_EQ(error.localizedDescription(), "Key must be a string object.");
}

TEST(JSONSerializer, NonFiniteDoublesFail)
{
    const char* message = "Floating point values must be finite.  JSON does not support NaN or Infinity.";
    EXPECT_EQ(failure(list({ base::Value(std::numeric_limits<double>::quiet_NaN()) })), message);
    EXPECT_EQ(failure(list({ base::Value(-std::numeric_limits<double>::infinity()) })), message);
}

TEST(JSONSerializer, UnsupportedValuesGoThroughTheFormatter)
{
    base::Value withDate = list({ base::Value(base::Date::fromTimeIntervalSince1970(86400)) });
    EXPECT_EQ(failure(withDate), "Unable to serialize object class Date.");
    auto asSeconds = [](const base::Value& value) -> std::optional<base::Value> {
        if (const base::Date* date = value.date())
            return base::Value(date->timeIntervalSince1970());
        return std::nullopt;
    };
    EXPECT_EQ(*json::JSONString(withDate, 0, asSeconds), "[86400]");
    EXPECT_EQ(failure(list({ base::Value(base::Data { 1, 2 }) }), asSeconds), "Unable to serialize object class Data.");
    auto intoData = [](const base::Value&) -> std::optional<base::Value> { return base::Value(base::Data { 1 }); };
    EXPECT_EQ(failure(withDate, intoData),
        "Unable to serialize object class Data that was returned by the unsupported class formatter.  Original "
        "object class was Date.");
}

TEST(JSONSerializer, StringFormsWriteWithOrWithoutQuotes)
{
    EXPECT_EQ(*json::JSONStringOfString("a\"b"), R"("a\"b")");
    EXPECT_EQ(*json::JSONStringOfString("a/b", json::JSONSerializeEscapeSlash, false), R"(a\/b)");
    EXPECT_EQ(*json::JSONDataOfString("x"), (base::Data { '"', 'x', '"' }));
    base::Error error;
    EXPECT_FALSE(json::JSONStringOfString("\xFF", 0, true, &error));
    EXPECT_EQ(error.localizedDescription(), "An error occurred converting the contents of a NSString to UTF8.");
}

TEST(JSONSerializer, DataFormMatchesTheStringForm)
{
    base::Value body(
        base::Dictionary::make({ { base::Value("n"), base::Value() }, { base::Value("s"), base::Value("x") } }));
    auto data = json::JSONData(body);
    ASSERT_TRUE(data);
    EXPECT_EQ(std::string(data->begin(), data->end()), *json::JSONString(body));
}

TEST(JSONSerializer, OutputDecodesToTheSameTree)
{
    auto tree = json::objectFromJSONString(
        R"({"a":[1,-2,3.25,"x\u00e9\ud83d\ude00",{"b":null,"c":[true,false]}],"d":"\/\"\\\n","e":18446744073709551615})");
    ASSERT_TRUE(tree);
    for (json::SerializeOptions options : { 0, 1, 2, 16, 19 }) {
        SCOPED_TRACE(options);
        auto text = json::JSONString(*tree, options);
        ASSERT_TRUE(text);
        EXPECT_EQ(*json::objectFromJSONString(*text), *tree);
    }
}

namespace {

// Arrays inside arrays, `depth` of them in all; arrays alternate with dictionaries when `mixed`.
base::Value nested(size_t depth, bool mixed = false)
{
    base::Value value = list({});
    for (size_t level = 1; level < depth; ++level) {
        if (mixed && level % 2)
            value = base::Value(base::Dictionary::make({ { base::Value("k"), value } }));
        else
            value = list({ value });
    }
    return value;
}

} // namespace

TEST(JSONSerializer, RefusesNestingPastTheDecodersLimit)
{
    for (json::SerializeOptions options : { 0, 1 }) {
        SCOPED_TRACE(options);
        auto limit = json::JSONString(nested(512), options);
        ASSERT_TRUE(limit);
        EXPECT_TRUE(json::objectFromJSONString(*limit));
        base::Error error;
        EXPECT_FALSE(json::JSONString(nested(513), options, {}, &error));
        EXPECT_EQ(error.localizedDescription(), "Arrays and objects are nested more than 512 levels deep.");
        EXPECT_FALSE(json::JSONString(nested(513, true), options));
        EXPECT_FALSE(json::JSONData(nested(2000), options));
    }
}
