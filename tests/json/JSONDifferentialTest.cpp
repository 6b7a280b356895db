// Reads a few thousand generated documents with our decoder and with nlohmann::json, and checks that ours
// decodes, encodes and decodes again to the same tree, and that a long-lived decoder (whose token cache
// serves values across documents) reads the same trees as the one-call entry point. Expected differences from nlohmann,
// by design:
// - ours refuses the escape \u0000, the noncharacters (escaped or raw) and a root that is not an array or object;
// - nlohmann reads -0 as the integer 0, ours as the double -0.0.
#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "json/JSONDecoder.h"
#include "json/JSONSerializer.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

namespace {

// Writes random JSON text: nested containers, strings with every kind of escape and UTF-8 width, and
// numbers of every form. A few documents carry one of the expected differences.
class DocumentGenerator {
public:
    explicit DocumentGenerator(uint64_t seed)
        : m_random(seed)
    {
    }

    std::string document()
    {
        std::string out;
        int pick = below(100);
        if (pick < 3)
            value(out);
        else
            container(out, 0);
        return out;
    }

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    void space(std::string& out)
    {
        static const char* const spaces[] = { "", "", "", " ", "\n", "\r\n  ", "\t" };
        out += spaces[below(7)];
    }

    void container(std::string& out, int depth)
    {
        bool isObject = below(2);
        out += isObject ? '{' : '[';
        int count = below(depth > 3 ? 3 : 7);
        for (int i = 0; i < count; ++i) {
            if (i)
                out += ',';
            space(out);
            if (isObject) {
                string(out);
                space(out);
                out += ':';
                space(out);
            }
            if (below(4) == 0 && depth < 6)
                container(out, depth + 1);
            else
                value(out);
            space(out);
        }
        out += isObject ? '}' : ']';
    }

    void value(std::string& out)
    {
        switch (below(7)) {
        case 0:
            out += below(2) ? "true" : "false";
            break;
        case 1:
            out += "null";
            break;
        case 2:
        case 3:
            number(out);
            break;
        default:
            string(out);
            break;
        }
    }

    void number(std::string& out)
    {
        static const char* const special[] = { "0", "-0", "-0.0", "18446744073709551615", "9223372036854775807",
            "-9223372036854775808", "9223372036854775808", "1e-310", "1.7976931348623157e308", "4.9e-324", "0.1", "1E2",
            "-2.5e-3", "123456789012345678", "1e22", "5e-324" };
        switch (below(4)) {
        case 0:
            out += special[below(std::size(special))];
            return;
        case 1:
            out += std::to_string(
                std::uniform_int_distribution<int64_t>(-1'000'000'000'000, 1'000'000'000'000)(m_random));
            return;
        case 2: {
            char text[32];
            double value = std::uniform_real_distribution<double>(-1e6, 1e6)(m_random);
            auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 1 + below(17)).ptr;
            out.append(text, end);
            return;
        }
        default:
            out += std::to_string(below(1000)) + "." + std::to_string(below(1000)) + "e"
                + std::to_string(below(40) - 20);
            return;
        }
    }

    void string(std::string& out)
    {
        static const char* const pieces[] = { "id", "deviceName", "a", "Message", " ", "\\\"", "\\\\", "\\/", "\\b",
            "\\f", "\\n", "\\r", "\\t", "\\u00e9", "\\u4E2D", "\\ud83d\\ude00", "\\u0041", "caf\xC3\xA9",
            "\xE4\xB8\xAD\xE6\x96\x87", "\xF0\x9F\x98\x80", "\x7F", "http://x/y", "12:30", "" };
        static const char* const expectedDifferences[]
            = { "\\u0000", "\\uFFFE", "\\uFDD0", "\xEF\xBF\xBF", "\\ud83f\\udfff" };
        out += '"';
        int count = below(5);
        for (int i = 0; i < count; ++i)
            out += pieces[below(std::size(pieces))];
        if (below(200) == 0)
            out += expectedDifferences[below(std::size(expectedDifferences))];
        out += '"';
    }

    std::mt19937_64 m_random;
};

bool hasExpectedDifference(const std::string& document)
{
    for (const char* cause : { "\\u0000", "\\uFFFE", "\\uFDD0", "\xEF\xBF\xBF", "\\ud83f\\udfff" }) {
        if (document.find(cause) != std::string::npos)
            return true;
    }
    return document.front() != '[' && document.front() != '{';
}

bool isNegativeZeroText(const nlohmann::json& theirs, const base::Value& ours)
{
    return theirs.is_number_integer() && theirs.get<int64_t>() == 0 && ours.real() && *ours.real() == 0
        && std::signbit(*ours.real());
}

// Compares kinds strictly (integers with integers, doubles bit for bit), apart from -0.
::testing::AssertionResult sameTree(const base::Value& ours, const nlohmann::json& theirs)
{
    using testing::AssertionFailure;
    using testing::AssertionSuccess;
    switch (theirs.type()) {
    case nlohmann::json::value_t::null:
        return ours.isNull() ? AssertionSuccess() : AssertionFailure() << "null vs " << ours.description();
    case nlohmann::json::value_t::boolean:
        return ours.boolean() && *ours.boolean() == theirs.get<bool>() ? AssertionSuccess()
                                                                       : AssertionFailure() << "bool " << theirs.dump();
    case nlohmann::json::value_t::number_integer:
    case nlohmann::json::value_t::number_unsigned:
        if (isNegativeZeroText(theirs, ours))
            return AssertionSuccess();
        {
            base::Value expected = theirs.is_number_unsigned() ? base::Value(theirs.get<uint64_t>())
                                                               : base::Value(theirs.get<int64_t>());
            bool isInteger = ours.integer() || ours.unsignedInteger();
            return isInteger && ours == expected
                ? AssertionSuccess()
                : AssertionFailure() << "integer " << theirs.dump() << " vs " << ours.description();
        }
    case nlohmann::json::value_t::number_float:
        if (!ours.real() || std::memcmp(ours.real(), &theirs.get_ref<const double&>(), sizeof(double)) != 0)
            return AssertionFailure() << "double " << theirs.dump() << " vs " << ours.description();
        return AssertionSuccess();
    case nlohmann::json::value_t::string:
        return ours.string() && *ours.string() == theirs.get_ref<const std::string&>()
            ? AssertionSuccess()
            : AssertionFailure() << "string " << theirs.dump();
    case nlohmann::json::value_t::array: {
        if (!ours.isArray() || ours.array()->count() != theirs.size())
            return AssertionFailure() << "array " << theirs.dump();
        for (size_t i = 0; i < theirs.size(); ++i) {
            auto result = sameTree(ours.array()->objectAtIndex(i), theirs[i]);
            if (!result)
                return result;
        }
        return AssertionSuccess();
    }
    case nlohmann::json::value_t::object: {
        if (!ours.isDictionary() || ours.dictionary()->count() != theirs.size())
            return AssertionFailure() << "object " << theirs.dump();
        for (const auto& [key, value] : theirs.items()) {
            const base::Value* mine = ours.dictionary()->objectForKey(key);
            if (!mine)
                return AssertionFailure() << "missing key " << key;
            auto result = sameTree(*mine, value);
            if (!result)
                return result;
        }
        return AssertionSuccess();
    }
    default:
        return AssertionFailure() << "unexpected kind " << theirs.type_name();
    }
}

} // namespace

TEST(JSONDifferential, AgreesWithNlohmannAndRoundTrips)
{
    DocumentGenerator generator(20240501);
    const json::SerializeOptions encodeOptions[]
        = { 0, json::JSONSerializePretty, json::JSONSerializeEscapeNonASCII, json::JSONSerializeEscapeSlash, 19 };
    json::JSONDecoder cachedDecoder;
    int bothAccepted = 0;
    int expectedDifferences = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string document = generator.document();
        SCOPED_TRACE(document);
        auto ours = json::objectFromJSONString(document);
        nlohmann::json theirs = nlohmann::json::parse(document, nullptr, false);
        ASSERT_FALSE(theirs.is_discarded()) << "the generator writes valid JSON";
        if (!ours) {
            ASSERT_TRUE(hasExpectedDifference(document));
            ++expectedDifferences;
            continue;
        }
        ++bothAccepted;
        ASSERT_TRUE(sameTree(*ours, theirs));
        auto cached = cachedDecoder.objectWithUTF8String(document.data(), document.size());
        ASSERT_TRUE(cached);
        ASSERT_TRUE(sameTree(*cached, theirs));
        auto encoded = json::JSONString(*ours, encodeOptions[i % std::size(encodeOptions)]);
        ASSERT_TRUE(encoded);
        auto again = json::objectFromJSONString(*encoded);
        ASSERT_TRUE(again) << *encoded;
        ASSERT_EQ(*again, *ours) << *encoded;
    }
    EXPECT_GT(bothAccepted, 2500);
    EXPECT_GT(expectedDifferences, 10);
}
