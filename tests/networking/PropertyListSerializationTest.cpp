#include "networking/plist/PropertyListSerialization.h"
#include "base/values/Array.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace networking;

namespace {

base::Value sample()
{
    return base::Value(base::Dictionary::make({
        { "name", "Zoë 小明" },
        { "count", 42 },
        { "negative", -7 },
        { "huge", uint64_t(18446744073709551615ull) },
        { "ratio", 0.25 },
        { "on", true },
        { "off", false },
        { "when", base::Value(base::Date::fromTimeIntervalSince1970(1401580800)) },
        { "bytes", base::Value(base::Data { 0, 1, 2, 255 }) },
        { "list", base::Array::make({ 1, "two", base::Array::make() }) },
        { "empty", base::Dictionary::make() },
    }));
}

base::Data bytes(const std::string& text) { return base::Data(text.begin(), text.end()); }

std::optional<base::Value> read(const base::Data& data, base::Error* error = nullptr)
{
    return PropertyListSerialization::propertyListWithData(data, PropertyListSerialization::Immutable, nullptr, error);
}

} // namespace

TEST(PropertyListSerialization, BothFormatsRoundTripEveryKind)
{
    for (auto format : { PropertyListFormat::XML, PropertyListFormat::Binary }) {
        auto data = PropertyListSerialization::dataWithPropertyList(sample(), format);
        ASSERT_TRUE(data);
        PropertyListFormat found {};
        auto back = PropertyListSerialization::propertyListWithData(*data, 0, &found);
        ASSERT_TRUE(back) << static_cast<int>(format);
        EXPECT_EQ(*back, sample());
        EXPECT_EQ(found, format);
    }
}

TEST(PropertyListSerialization, XMLIsWrittenPlainlyWithEscapes)
{
    auto data = PropertyListSerialization::dataWithPropertyList(
        base::Value(base::Dictionary::make({ { "a<b", "x & y" } })), PropertyListFormat::XML);
    std::string text(data->begin(), data->end());
    EXPECT_EQ(text,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n\t<key>a&lt;b</key>\n"
        "\t<string>x &amp; y</string>\n</dict>\n</plist>\n");
}

TEST(PropertyListSerialization, WhatAListCannotHoldIsRefused)
{
    base::Error error;
    EXPECT_FALSE(PropertyListSerialization::dataWithPropertyList(
        base::Value(base::Array::make({ base::Value() })), PropertyListFormat::XML, &error));
    EXPECT_EQ(error.code(), PropertyListSerialization::WriteInvalidError);
    EXPECT_FALSE(PropertyListSerialization::dataWithPropertyList(
        base::Value(base::Dictionary::make({ { 1, "numeric key" } })), PropertyListFormat::Binary));
    EXPECT_FALSE(PropertyListSerialization::dataWithPropertyList(base::Value("bell\x07"), PropertyListFormat::XML));
    EXPECT_FALSE(PropertyListSerialization::dataWithPropertyList(base::Value("\xEF\xBF\xBF"), PropertyListFormat::XML))
        << "U+FFFF would make a document no reader takes";
    EXPECT_TRUE(
        PropertyListSerialization::dataWithPropertyList(base::Value("\xEF\xBF\xBF"), PropertyListFormat::Binary));
    auto farFuture = base::Value(base::Date::fromTimeIntervalSince1970(1e13));
    EXPECT_FALSE(PropertyListSerialization::dataWithPropertyList(farFuture, PropertyListFormat::XML))
        << "a year past 9999 does not fit the date text";
    EXPECT_TRUE(PropertyListSerialization::dataWithPropertyList(farFuture, PropertyListFormat::Binary));
}

TEST(PropertyListSerialization, MalformedXMLIsRefused)
{
    for (const char* text :
        { "", "<plist><dict><key>a</key></dict></plist>", "<plist><dict><string>x</string></dict></plist>",
            "<plist><integer>12x</integer></plist>", "<plist><date>yesterday</date></plist>",
            "<plist><data>!!!</data></plist>", "<plist><array><key>k</key></array></plist>",
            "<plist><string>a</string><string>b</string></plist>", "<plist><unknown/></plist>" }) {
        base::Error error;
        EXPECT_FALSE(read(bytes(text), &error)) << text;
        EXPECT_EQ(error.code(), PropertyListSerialization::ReadCorruptError) << text;
    }
    std::string deep = "<plist>";
    for (int i = 0; i < 600; ++i)
        deep += "<array>";
    EXPECT_FALSE(read(bytes(deep))) << "nesting is bounded";
}

TEST(PropertyListSerialization, XMLReaderTakesIntegersRealsAndMutableContainers)
{
    auto list = read(bytes("<plist><array><integer>0x10</integer><integer>-9223372036854775808</integer>"
                           "<real>-infinity</real><real>1e3</real></array></plist>"));
    ASSERT_TRUE(list);
    auto& array = *list->array();
    EXPECT_EQ(array.objectAtIndex(0), base::Value(16));
    EXPECT_EQ(array.objectAtIndex(1), base::Value(INT64_MIN));
    EXPECT_TRUE(std::isinf(*array.objectAtIndex(2).real()));
    EXPECT_EQ(array.objectAtIndex(3), base::Value(1000.0));
    auto changeable = PropertyListSerialization::propertyListWithData(
        bytes("<plist><dict/></plist>"), PropertyListSerialization::MutableContainers);
    EXPECT_TRUE(changeable->dictionary()->isMutable());
}

TEST(PropertyListSerialization, DamagedBinaryListsAreRefused)
{
    auto good = *PropertyListSerialization::dataWithPropertyList(
        base::Value(base::Array::make({ "a", "b" })), PropertyListFormat::Binary);
    ASSERT_TRUE(read(good));
    auto truncated = base::Data(good.begin(), good.end() - 1);
    EXPECT_FALSE(read(truncated));
    auto badReference = good;
    badReference[9] = 0x7F; // the array's first member reference
    EXPECT_FALSE(read(badReference));
    auto badOffsetSize = good;
    badOffsetSize[good.size() - 26] = 0;
    EXPECT_FALSE(read(badOffsetSize));
}

TEST(PropertyListSerialization, BinaryCyclesAndExpansionBombsAreRefused)
{
    // Object 0: an array holding itself.
    base::Data cycle = { 'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xA1, 0x00, 0x08 };
    cycle.insert(cycle.end(),
        { 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10 });
    base::Error error;
    EXPECT_FALSE(read(cycle, &error));

    // Forty arrays, each holding the next one twice: 2^40 values once expanded.
    base::Data bomb = { 'b', 'p', 'l', 'i', 's', 't', '0', '0' };
    std::vector<uint8_t> offsets;
    for (uint8_t i = 0; i < 40; ++i) {
        offsets.push_back(static_cast<uint8_t>(bomb.size()));
        if (i == 39) {
            bomb.push_back(0x09);
        } else {
            bomb.insert(bomb.end(), { 0xA2, static_cast<uint8_t>(i + 1), static_cast<uint8_t>(i + 1) });
        }
    }
    auto table = static_cast<uint8_t>(bomb.size());
    bomb.insert(bomb.end(), offsets.begin(), offsets.end());
    bomb.insert(bomb.end(),
        { 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, table });
    EXPECT_FALSE(read(bomb));
}
