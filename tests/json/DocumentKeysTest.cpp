#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "json/JSONDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The key Value a dictionary holds for `text`, or null.
const base::Value* heldKey(const base::Dictionary& dictionary, const std::string& text)
{
    for (auto [key, value] : dictionary) {
        if (*key->string() == text)
            return key;
    }
    return nullptr;
}

std::string object(const std::vector<std::string>& keys)
{
    std::string text = "{";
    for (size_t i = 0; i < keys.size(); ++i)
        text += (i ? ",\"" : "\"") + keys[i] + "\":" + std::to_string(i);
    return text + "}";
}

// Decodes an array of two objects with `keys` (each holding its index) and checks every `step`-th key of
// both: the second object finds each key already made by the first.
void expectTwoObjectsHoldEveryKey(const std::vector<std::string>& keys, size_t step = 1)
{
    auto root = json::objectFromJSONString("[" + object(keys) + "," + object(keys) + "]");
    ASSERT_TRUE(root);
    for (size_t copy = 0; copy < 2; ++copy) {
        const base::Dictionary& dictionary = *root->array()->objectAtIndex(copy).dictionary();
        ASSERT_EQ(dictionary.count(), keys.size());
        for (size_t i = 0; i < keys.size(); i += step)
            EXPECT_EQ(dictionary.objectForKey(keys[i])->intValue(), static_cast<int>(i)) << "'" << keys[i] << "'";
    }
}

} // namespace

TEST(DocumentKeys, ObjectsOfADocumentShareTheirKeys)
{
    const std::string longKey = "a key well past sixteen bytes";
    auto root = json::objectFromJSONString(
        "[" + object({ "id", longKey, "esc\\u0061ped" }) + "," + object({ longKey, "id", "escaped" }) + "]");
    ASSERT_TRUE(root);
    const base::Dictionary& first = *root->array()->objectAtIndex(0).dictionary();
    const base::Dictionary& second = *root->array()->objectAtIndex(1).dictionary();
    for (const std::string& key : { std::string("id"), longKey, std::string("escaped") }) {
        ASSERT_NE(heldKey(first, key), nullptr) << key;
        EXPECT_EQ(heldKey(first, key), heldKey(second, key)) << key;
    }
    EXPECT_EQ(first.objectForKey(longKey)->intValue(), 1);
    EXPECT_EQ(second.objectForKey(longKey)->intValue(), 0);
    EXPECT_EQ(second.objectForKey("escaped")->intValue(), 2);
}

TEST(DocumentKeys, KeysOfEqualLengthAreToldApartByEveryByte)
{
    // Lengths on each side of the comparison's 4-, 8- and 16-byte steps, differing in their first, middle
    // or last byte; and the empty key.
    std::vector<std::string> keys { "" };
    for (size_t length : { 1, 2, 3, 4, 5, 7, 8, 9, 12, 15, 16, 17, 31 }) {
        std::string base(length, 'k');
        keys.push_back(base);
        for (size_t at : { size_t(0), length / 2, length - 1 }) {
            std::string other = base;
            other[at] = static_cast<char>('a' + at % 26);
            if (other != base && std::find(keys.begin(), keys.end(), other) == keys.end())
                keys.push_back(other);
        }
    }
    expectTwoObjectsHoldEveryKey(keys);
}

TEST(DocumentKeys, KeysWhoseTableHashesCollideStayApart)
{
    // Pairs of keys of equal length with equal table hashes (found by search), so that only their bytes tell
    // them apart: in the middle of the text, and past its first eight or sixteen bytes.
    const std::vector<std::string> keys { "aacggy", "aaepbe", "aaaaaaaaalct", "aaaaaaaabbbr", "aaaaaaaaaaaaaaaadxzt",
        "aaaaaaaaaaaaaaaahimw" };
    expectTwoObjectsHoldEveryKey(keys);
}

TEST(DocumentKeys, ADocumentWithMoreKeysThanTheTableKeepsThemAll)
{
    std::vector<std::string> keys;
    for (size_t i = 0; i < 6000; ++i)
        keys.push_back("key number " + std::to_string(i) + (i % 2 ? "" : " with a long tail"));
    expectTwoObjectsHoldEveryKey(keys, 97);
    // A later small document starts afresh.
    auto next = json::objectFromJSONString(object({ keys[0], "other" }));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->dictionary()->objectForKey(keys[0])->intValue(), 0);
    EXPECT_EQ(next->dictionary()->objectForKey("other")->intValue(), 1);
}

TEST(DocumentKeys, AKeptObjectKeepsItsLongKeysAndDuplicatesLeaveNoneBehind)
{
    base::DictionaryRef kept;
    {
        auto root = json::objectFromJSONString(
            R"({"inner":{"a key well past sixteen bytes":1,"a key well past sixteen bytes":2},"other":[1]})");
        ASSERT_TRUE(root);
        kept = root->dictionary()->objectForKey("inner")->dictionary();
    }
    ASSERT_EQ(kept->count(), 1u);
    EXPECT_NE(heldKey(*kept, "a key well past sixteen bytes"), nullptr);
    EXPECT_EQ(kept->objectForKey("a key well past sixteen bytes")->intValue(), 2);
}

TEST(DocumentKeys, MutableObjectsOwnTheirKeys)
{
    const std::string longKey = "a key well past sixteen bytes";
    auto root
        = json::mutableObjectFromJSONString("[" + object({ "k", longKey }) + "," + object({ "k", longKey }) + "]");
    ASSERT_TRUE(root);
    auto first = root->array()->objectAtIndex(0).mutableDictionary();
    auto second = root->array()->objectAtIndex(1).mutableDictionary();
    first->removeObjectForKey(base::Value("k"));
    for (size_t i = 0; i < 20; ++i)
        first->setObject(base::Value(static_cast<int>(i)), base::Value("added " + std::to_string(i)));
    first->removeObjectForKey(base::Value(longKey));
    EXPECT_EQ(first->count(), 20u);
    EXPECT_EQ(first->objectForKey("added 19")->intValue(), 19);
    ASSERT_EQ(second->count(), 2u);
    EXPECT_EQ(second->objectForKey("k")->intValue(), 0);
    EXPECT_EQ(second->objectForKey(longKey)->intValue(), 1);
}
