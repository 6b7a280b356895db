#include "JSONTestSupport.h"

#include "base/values/Exception.h"
#include "json/JSONArray.h"
#include "json/JSONDictionary.h"
#include "json/JSONDictionaryEnumerator.h"
#include "json/PlainValue.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

std::shared_ptr<json::JSONArray> decodedArray(std::string_view text, bool mutableResult)
{
    auto root = mutableResult ? json::mutableObjectFromJSONString(text) : json::objectFromJSONString(text);
    return std::dynamic_pointer_cast<json::JSONArray>(root->array());
}

std::shared_ptr<json::JSONDictionary> decodedDictionary(std::string_view text, bool mutableResult)
{
    auto root = mutableResult ? json::mutableObjectFromJSONString(text) : json::objectFromJSONString(text);
    return std::dynamic_pointer_cast<json::JSONDictionary>(root->dictionary());
}

// Expects the call to raise the named exception with exactly this reason.
template <typename Call> void expectRaise(Call call, const std::string& name, const std::string& reason)
{
    try {
        call();
        ADD_FAILURE() << "no exception; wanted " << reason;
    } catch (const base::Exception& e) {
        EXPECT_EQ(e.name(), name);
        EXPECT_EQ(e.reason(), reason);
    }
}

} // namespace

TEST(JSONArray, ImmutableArrayRefusesEveryMutation)
{
    auto array = decodedArray("[1,2]", false);
    ASSERT_TRUE(array);
    EXPECT_FALSE(array->isMutable());
    EXPECT_EQ(array->mutations(), 0u);
    const std::string immutable = base::Exception::InternalInconsistencyException;
    expectRaise([&] { array->insertObject(base::Value(3), 0); }, immutable,
        "*** -[JSONArray insertObject:atIndex:]: mutating method sent to immutable object");
    expectRaise([&] { array->removeObjectAtIndex(5); }, immutable,
        "*** -[JSONArray removeObjectAtIndex:]: mutating method sent to immutable object");
    expectRaise([&] { array->replaceObjectAtIndex(0, base::Value()); }, immutable,
        "*** -[JSONArray replaceObjectAtIndex:withObject:]: mutating method sent to immutable object");
    EXPECT_EQ(array->count(), 2u);
}

TEST(JSONArray, BoundsAreCheckedAfterMutability)
{
    auto array = decodedArray("[1,2]", true);
    const std::string range = base::Exception::RangeException;
    expectRaise(
        [&] { array->objectAtIndex(2); }, range, "*** -[JSONArray objectAtIndex:]: index (2) beyond bounds (2)");
    expectRaise([&] { array->insertObject(base::Value(0), 3); }, range,
        "*** -[JSONArray insertObject:atIndex:]: index (3) beyond bounds (3)");
    expectRaise([&] { array->removeObjectAtIndex(2); }, range,
        "*** -[JSONArray removeObjectAtIndex:]: index (2) beyond bounds (2)");
    expectRaise([&] { array->replaceObjectAtIndex(2, base::Value()); }, range,
        "*** -[JSONArray replaceObjectAtIndex:withObject:]: index (2) beyond bounds (2)");
    EXPECT_EQ(array->count(), 2u);
}

TEST(JSONArray, MutableArrayInsertsRemovesAndReplaces)
{
    auto array = decodedArray("[1,2]", true);
    array->insertObject(base::Value(3), 2);
    array->insertObject(base::Value(0), 0);
    array->removeObjectAtIndex(1);
    array->replaceObjectAtIndex(1, base::Value("two"));
    for (int i = 0; i < 40; ++i)
        array->addObject(base::Value(i));
    EXPECT_EQ(array->count(), 43u);
    EXPECT_EQ(array->objectAtIndex(0), base::Value(0));
    EXPECT_EQ(array->objectAtIndex(1), base::Value("two"));
    EXPECT_EQ(array->objectAtIndex(2), base::Value(3));
    EXPECT_EQ(array->objectAtIndex(42), base::Value(39));
}

TEST(JSONArray, EnumerationDetectsMutation)
{
    auto array = decodedArray("[1,2,3]", true);
    uint64_t before = array->mutations();
    EXPECT_THROW(
        {
            for (const base::Value& value : *array) {
                if (value == base::Value(1))
                    array->addObject(base::Value(4));
            }
        },
        base::Exception);
    EXPECT_NE(array->mutations(), before);
}

TEST(JSONArray, CopiesFollowMutability)
{
    auto frozen = decodedArray("[1]", false);
    EXPECT_EQ(frozen->copy().get(), frozen.get());
    auto open = decodedArray("[1]", true);
    base::ArrayRef copy = open->copy();
    EXPECT_NE(copy.get(), open.get());
    EXPECT_FALSE(copy->isMutable());
    EXPECT_TRUE(copy->isEqual(*open));
    auto mutableCopy = frozen->mutableCopy();
    mutableCopy->addObject(base::Value(2));
    EXPECT_EQ(frozen->count(), 1u);
}

TEST(JSONArray, EqualsPlainArraysWithTheSameContents)
{
    auto decoded = json::objectFromJSONString(R"([1, "a", [true, null], {"k": 2.5}])");
    base::Value plain(base::Array::make(
        { base::Value(1), base::Value("a"), base::Value(base::Array::make({ base::Value(true), base::Value() })),
            base::Value(base::Dictionary::make({ { base::Value("k"), base::Value(2.5) } })) }));
    EXPECT_EQ(*decoded, plain);
    EXPECT_EQ(plain, *decoded);
    EXPECT_EQ(decoded->hash(), plain.hash());
    EXPECT_NE(*decoded, *json::objectFromJSONString(R"([1, "a", [true, null], {"k": 2.6}])"));
}

TEST(JSONDictionary, ImmutableDictionaryRefusesMutation)
{
    auto dictionary = decodedDictionary(R"({"a":1})", false);
    const std::string immutable = base::Exception::InternalInconsistencyException;
    expectRaise([&] { dictionary->setObject(base::Value(2), "b"); }, immutable,
        "*** -[JSONDictionary setObject:forKey:]: mutating method sent to immutable object");
    expectRaise([&] { dictionary->removeObjectForKey("a"); }, immutable,
        "*** -[JSONDictionary removeObjectForKey:]: mutating method sent to immutable object");
    EXPECT_EQ(dictionary->count(), 1u);
}

TEST(JSONDictionary, CapacitiesFollowTheTable)
{
    EXPECT_EQ(json::JSONDictionary::capacityForCount(0), 0u);
    EXPECT_EQ(json::JSONDictionary::capacityForCount(1), 3u);
    EXPECT_EQ(json::JSONDictionary::capacityForCount(2), 3u);
    EXPECT_EQ(json::JSONDictionary::capacityForCount(3), 3u);
    EXPECT_EQ(json::JSONDictionary::capacityForCount(4), 7u);
    EXPECT_EQ(json::JSONDictionary::capacityForCount(10), 13u);
    EXPECT_EQ(json::JSONDictionary::capacityForCount(100), 191u);
    EXPECT_EQ(json::JSONDictionary::capacityForCount(400'000'000), 472907251u);

    auto empty = decodedDictionary("{}", true);
    EXPECT_EQ(empty->capacity(), 0u);
    EXPECT_EQ(empty->objectForKey("a"), nullptr);
    empty->setObject(base::Value(1), "a");
    EXPECT_EQ(empty->capacity(), 3u);
    EXPECT_EQ(*empty->objectForKey("a"), base::Value(1));
}

TEST(JSONDictionary, SettingAnExistingKeyReplacesItsValue)
{
    auto dictionary = decodedDictionary(R"({"a":1,"b":2})", true);
    dictionary->setObject(base::Value(3), "a");
    EXPECT_EQ(dictionary->count(), 2u);
    EXPECT_EQ(*dictionary->objectForKey("a"), base::Value(3));
}

TEST(JSONDictionary, EveryKeyStaysFindableThroughGrowthAndRemoval)
{
    auto dictionary = decodedDictionary("{}", true);
    for (int i = 0; i < 300; ++i)
        dictionary->setObject(base::Value(i), "key" + std::to_string(i));
    EXPECT_EQ(dictionary->capacity(), 631u);
    // Removing keys from the middle of probe clusters must leave the rest reachable.
    for (int i = 0; i < 300; i += 3)
        dictionary->removeObjectForKey("key" + std::to_string(i));
    dictionary->removeObjectForKey("missing");
    EXPECT_EQ(dictionary->count(), 200u);
    for (int i = 0; i < 300; ++i) {
        const base::Value* value = dictionary->objectForKey("key" + std::to_string(i));
        if (i % 3 == 0)
            EXPECT_EQ(value, nullptr) << i;
        else
            EXPECT_TRUE(value && *value == base::Value(i)) << i;
    }
    size_t enumerated = 0;
    for (auto [key, value] : *dictionary) {
        EXPECT_EQ(*key, base::Value("key" + std::to_string(value->intValue())));
        ++enumerated;
    }
    EXPECT_EQ(enumerated, 200u);
}

TEST(JSONDictionary, FullSmallTableSurvivesRemoval)
{
    auto dictionary = decodedDictionary(R"({"a":1,"b":2,"c":3})", true);
    EXPECT_EQ(dictionary->capacity(), 3u);
    dictionary->removeObjectForKey("b");
    EXPECT_EQ(*dictionary->objectForKey("a"), base::Value(1));
    EXPECT_EQ(*dictionary->objectForKey("c"), base::Value(3));
    EXPECT_EQ(dictionary->count(), 2u);
}

TEST(JSONDictionary, NonStringKeysFollowValueEquality)
{
    auto dictionary = decodedDictionary("{}", true);
    dictionary->setObject(base::Value("one"), base::Value(1));
    EXPECT_EQ(*dictionary->objectForKey(base::Value(1.0)), base::Value("one"));
    EXPECT_EQ(dictionary->objectForKey("1"), nullptr);
    // A mutable container used as a key is stored as an immutable copy.
    auto keyList = base::MutableArray::make({ base::Value(1) });
    dictionary->setObject(base::Value("list"), base::Value(keyList));
    keyList->addObject(base::Value(2));
    EXPECT_EQ(*dictionary->objectForKey(base::Value(base::Array::make({ base::Value(1) }))), base::Value("list"));
}

TEST(JSONDictionary, EnumeratesEveryPairOnceAndDetectsMutation)
{
    auto dictionary = decodedDictionary(R"({"a":1,"b":2,"c":3,"d":4,"e":5})", true);
    std::set<std::string> keys;
    for (auto [key, value] : *dictionary)
        keys.insert(*key->string());
    EXPECT_EQ(keys, (std::set<std::string> { "a", "b", "c", "d", "e" }));
    EXPECT_THROW(
        {
            for (auto [key, value] : *dictionary)
                dictionary->setObject(base::Value(0), "z" + *key->string());
        },
        base::Exception);
}

TEST(JSONDictionary, SmallImmutableObjectsKeepDocumentOrderAndTheirLastRepeat)
{
    const std::string longText = "a text well past fifteen bytes";
    auto dictionary = decodedDictionary(
        R"({"z":1,"a":")" + longText + R"(","m":[1],"a":{"k":")" + longText + R"("},"b":null,"m":"x"})", false);
    ASSERT_TRUE(dictionary);
    std::vector<std::string> order;
    for (auto [key, value] : *dictionary)
        order.push_back(*key->string());
    EXPECT_EQ(order, (std::vector<std::string> { "z", "a", "m", "b" }));
    EXPECT_EQ(*dictionary->objectForKey("a")->dictionary()->objectForKey("k"), base::Value(longText));
    EXPECT_EQ(*dictionary->objectForKey("m"), base::Value("x"));
    EXPECT_EQ(dictionary->objectForKey("y"), nullptr);

    // Objects of an array share their keys; a repeat there replaces the object alone.
    auto records = json::objectFromJSONString(R"([{"a":1,"a":")" + longText + R"("},{"a":2}])");
    ASSERT_TRUE(records);
    EXPECT_EQ(*records->array()->objectAtIndex(0).dictionary()->objectForKey("a"), base::Value(longText));
    EXPECT_EQ(records->array()->objectAtIndex(0).dictionary()->count(), 1u);
    EXPECT_EQ(records->array()->objectAtIndex(1).dictionary()->objectForKey("a")->intValue(), 2);
}

TEST(JSONDictionary, ObjectsOnEitherSideOfTheLinearLimitFindEveryKey)
{
    for (size_t count : { json::JSONDictionary::LinearPairs, json::JSONDictionary::LinearPairs + 1 }) {
        std::string text = "{";
        for (size_t i = 0; i < count; ++i)
            text += "\"key" + std::to_string(i) + "\":" + std::to_string(i) + ",";
        text += "\"key0\":\"again\"}";
        auto dictionary = decodedDictionary(text, false);
        ASSERT_TRUE(dictionary) << count;
        EXPECT_EQ(dictionary->count(), count);
        EXPECT_EQ(*dictionary->objectForKey("key0"), base::Value("again"));
        for (size_t i = 1; i < count; ++i)
            EXPECT_EQ(dictionary->objectForKey("key" + std::to_string(i))->intValue(), static_cast<int>(i)) << count;
        EXPECT_EQ(dictionary->objectForKey(base::Value(1)), nullptr);
    }
}

TEST(JSONDictionary, KeyEnumeratorWalksTheTableOrder)
{
    auto dictionary = decodedDictionary(R"({"a":1,"b":2,"c":3})", false);
    std::vector<base::Value> tableOrder = dictionary->allKeys();
    auto keys = dictionary->keyEnumerator();
    auto first = keys->nextObject();
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, tableOrder[0]);
    base::ArrayRef rest = keys->allObjects();
    ASSERT_EQ(rest->count(), 2u);
    EXPECT_EQ(rest->objectAtIndex(0), tableOrder[1]);
    EXPECT_EQ(rest->objectAtIndex(1), tableOrder[2]);
    EXPECT_FALSE(keys->nextObject());
    EXPECT_FALSE(decodedDictionary("{}", false)->keyEnumerator()->nextObject());
}

TEST(JSONDictionary, CopiesFollowMutability)
{
    auto frozen = decodedDictionary(R"({"a":1})", false);
    EXPECT_EQ(frozen->copy().get(), frozen.get());
    auto open = decodedDictionary(R"({"a":1})", true);
    base::DictionaryRef copy = open->copy();
    EXPECT_NE(copy.get(), open.get());
    EXPECT_FALSE(copy->isMutable());
    EXPECT_TRUE(copy->isEqual(*open));
}

TEST(JSONDictionary, EqualsPlainDictionariesWithTheSameContents)
{
    auto decoded = json::objectFromJSONString(R"({"b":[1,2],"a":"x","c":{"d":null}})");
    base::Value plain(base::Dictionary::make({
        { base::Value("a"), base::Value("x") },
        { base::Value("c"), base::Value(base::Dictionary::make({ { base::Value("d"), base::Value() } })) },
        { base::Value("b"), base::Value(base::Array::make({ base::Value(1), base::Value(2.0) })) },
    }));
    EXPECT_EQ(*decoded, plain);
    EXPECT_EQ(plain, *decoded);
    EXPECT_EQ(decoded->hash(), plain.hash());
    EXPECT_NE(*decoded, *json::objectFromJSONString(R"({"b":[1,2],"a":"x"})"));
    EXPECT_NE(*decoded, *json::objectFromJSONString(R"({"b":[1,2],"a":"y","c":{"d":null}})"));
}

// Containers holding only numbers and short texts are dropped without destroying them one by one: whatever
// is put in later, or decoded beside them, must still be freed (LeakSanitizer fails the test otherwise).
TEST(JSONContainers, ValuesThatOwnMemoryAreFreedWithTheirContainer)
{
    const std::string longText(40, 'x');
    auto array = decodedArray(R"([1,"short",true,null,2.5])", true);
    array->insertObject(base::Value(longText), 0);
    array->replaceObjectAtIndex(1, base::Value(longText + "y"));
    EXPECT_EQ(array->objectAtIndex(0), base::Value(longText));

    auto dictionary = decodedDictionary(R"({"a":1,"b":"short"})", true);
    dictionary->setObject(base::Value(longText), "a");
    dictionary->setObject(base::Value(1), longText);
    EXPECT_EQ(*dictionary->objectForKey(longText), base::Value(1));

    for (const char* text : { R"({"k":{"n":"a text longer than any kept inline"}})",
             R"([[["another text longer than inline ones"]]])", R"({"a key longer than any kept inline":1})" }) {
        auto decoded = json::objectFromJSONString(text);
        ASSERT_TRUE(decoded) << text;
    }
}

// Texts the decoder counts as plain must be ones std::string keeps within itself.
TEST(JSONContainers, PlainTextsFitWithinAString)
{
    EXPECT_GE(std::string().capacity(), json::InlineTextCapacity);
    EXPECT_EQ(std::string(json::InlineTextCapacity, 'x').capacity(), std::string().capacity());
}
