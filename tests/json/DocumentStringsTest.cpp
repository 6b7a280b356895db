#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "json/JSONDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string longText = "a text longer than thirty-two bytes, made once per use";

const base::Value& element(const base::Value& array, size_t index) { return array.array()->objectAtIndex(index); }

const base::Value& field(const base::Value& object, const char* key) { return *object.dictionary()->objectForKey(key); }

// The key Value a dictionary holds for `text`, or null.
const base::Value* heldKey(const base::Dictionary& dictionary, const std::string& text)
{
    for (auto [key, value] : dictionary) {
        if (*key->string() == text)
            return key;
    }
    return nullptr;
}

// An array of `count` records that repeat their keys and a few enum-like values, and carry a long text each.
std::string records(size_t count)
{
    std::string text = "[";
    for (size_t i = 0; i < count; ++i)
        text += (i ? "," : "") + std::string(R"({"id":)") + std::to_string(i) + R"(,"kind":")"
            + (i % 3 ? "watch" : "tracker") + R"(","note":")" + longText + R"(","name":"n)" + std::to_string(i) + "\"}";
    return text + "]";
}

} // namespace

TEST(DocumentStrings, EqualTextsOfOneDocumentShareOneStorage)
{
    auto root = json::objectFromJSONString(
        R"([{"kind":"watch","n":1},{"kind":"w\u0061tch","n":2},"watch","kind",{"watch":"kind"}])");
    ASSERT_TRUE(root);
    const std::string* watch = field(element(*root, 0), "kind").string();
    EXPECT_EQ(field(element(*root, 1), "kind").string(), watch) << "an escaped text shares with its equal";
    EXPECT_EQ(element(*root, 2).string(), watch);
    const base::Dictionary& last = *element(*root, 4).dictionary();
    EXPECT_EQ(heldKey(last, "watch")->string(), watch) << "keys and values share one table";
    EXPECT_EQ(element(*root, 3).string(), heldKey(*element(*root, 0).dictionary(), "kind")->string());
    EXPECT_EQ(field(element(*root, 4), "watch").string(), element(*root, 3).string());
    // A later document makes its own.
    auto next = json::objectFromJSONString(R"(["watch"])");
    EXPECT_EQ(*element(*next, 0).string(), "watch");
    EXPECT_NE(element(*next, 0).string(), watch);
}

TEST(DocumentStrings, ALargeDocumentOfManyDistinctTextsReadsBackEachAndStillSharesItsCommonOnes)
{
    // Far more distinct short texts than the string table keeps, among keys and texts that every record
    // repeats: each text must read back as written, whichever strings the table kept.
    const size_t count = 30000;
    std::string text = "[";
    for (size_t i = 0; i < count; ++i)
        text += (i ? "," : "") + std::string(R"({"kind":")") + (i % 2 ? "watch" : "tracker") + R"(","phone":"1)"
            + std::to_string(3800000000 + i * 7919) + R"(","n":")" + std::to_string(i) + R"("})";
    auto root = json::objectFromJSONString(text + "]");
    ASSERT_TRUE(root);
    for (size_t i = 0; i < count; ++i) {
        const base::Value& record = element(*root, i);
        ASSERT_EQ(*field(record, "kind").string(), i % 2 ? "watch" : "tracker") << i;
        ASSERT_EQ(*field(record, "phone").string(), "1" + std::to_string(3800000000 + i * 7919)) << i;
        ASSERT_EQ(*field(record, "n").string(), std::to_string(i)) << i;
    }
    EXPECT_EQ(field(element(*root, count - 1), "kind").string(), field(element(*root, count - 3), "kind").string());
    EXPECT_EQ(heldKey(*element(*root, count - 1).dictionary(), "phone")->string(),
        heldKey(*element(*root, count - 2).dictionary(), "phone")->string());
}

TEST(DocumentStrings, AChangeThroughOneValueIsNeverSeenThroughAnother)
{
    auto root = json::mutableObjectFromJSONString(R"([{"s":"same","t":"same"},{"s":"same"},"same","same"])");
    ASSERT_TRUE(root);
    base::Value copy = element(*root, 2);
    auto array = root->mutableArray();
    array->replaceObjectAtIndex(2, base::Value("other"));
    element(*root, 0).mutableDictionary()->setObject(base::Value("changed"), "s");
    EXPECT_EQ(*copy.string(), "same");
    EXPECT_EQ(*field(element(*root, 0), "t").string(), "same");
    EXPECT_EQ(*field(element(*root, 0), "s").string(), "changed");
    EXPECT_EQ(*field(element(*root, 1), "s").string(), "same");
    EXPECT_EQ(*element(*root, 3).string(), "same");
    // Removal moves the later elements down; they keep their texts.
    array->removeObjectAtIndex(0);
    EXPECT_EQ(*field(element(*root, 0), "s").string(), "same");
    EXPECT_EQ(*element(*root, 1).string(), "other");
    EXPECT_EQ(*element(*root, 2).string(), "same");
}

TEST(DocumentStrings, TextsLeftInAChangedContainerOutliveTheRestOfTheDocument)
{
    // Growing moves a mutable dictionary's pairs, and removal moves an array's elements, out of the document's
    // memory; the texts they hold must stay readable once everything else of the document is gone, and be
    // freed with the container (AddressSanitizer and LeakSanitizer check).
    std::shared_ptr<base::MutableDictionary> kept;
    std::shared_ptr<base::MutableArray> keptArray;
    {
        auto root = json::mutableObjectFromJSONString(
            R"({"inner":{"short":"text","long":")" + longText + R"("},"list":["a",")" + longText + R"(","b"]})");
        ASSERT_TRUE(root);
        kept = field(*root, "inner").mutableDictionary();
        keptArray = field(*root, "list").mutableArray();
    }
    for (int i = 0; i < 40; ++i)
        kept->setObject(base::Value(i), "added " + std::to_string(i));
    keptArray->removeObjectAtIndex(0);
    EXPECT_EQ(*kept->objectForKey("short")->string(), "text");
    EXPECT_EQ(*kept->objectForKey("long")->string(), longText);
    EXPECT_NE(heldKey(*kept, "long"), nullptr);
    EXPECT_EQ(*keptArray->objectAtIndex(0).string(), longText);
    EXPECT_EQ(*keptArray->objectAtIndex(1).string(), "b");
}

TEST(DocumentStrings, AStringCopiedOutOutlivesItsDocument)
{
    std::vector<base::Value> copies;
    {
        auto root = json::objectFromJSONString(records(40));
        ASSERT_TRUE(root);
        for (auto [key, value] : *element(*root, 1).dictionary()) {
            copies.push_back(*key);
            copies.push_back(*value);
        }
    }
    std::vector<std::string> texts;
    for (const base::Value& copy : copies)
        texts.push_back(copy.isString() ? *copy.string() : "#");
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string> { "#", longText, "id", "kind", "n1", "name", "note", "watch" }));
}

TEST(DocumentStrings, RepeatedKeysKeepTheLastTextAndLeaveNoneBehind)
{
    // A small object (compared pair by pair) and a large one (hashed) that repeat a key with texts.
    std::string large = R"({"k":"first","k":")" + longText + R"(")";
    for (int i = 0; i < 30; ++i)
        large += ",\"key" + std::to_string(i) + "\":\"v\"";
    large += R"(,"k":"last"})";
    for (const std::string& object : { std::string(R"({"k":"first","k":")" + longText + R"(","k":"last"})"), large }) {
        for (bool mutableResult : { false, true }) {
            std::string text = "[" + object + "," + object + "]";
            auto root = mutableResult ? json::mutableObjectFromJSONString(text) : json::objectFromJSONString(text);
            ASSERT_TRUE(root);
            EXPECT_EQ(*field(element(*root, 1), "k").string(), "last");
            base::Value copy = field(element(*root, 0), "k");
            root.reset();
            EXPECT_EQ(*copy.string(), "last");
        }
    }
}

TEST(DocumentStrings, DecodedOnOneThreadReadCopiedAndDroppedOnOthers)
{
    std::optional<base::Value> root;
    std::thread decoder([&root] { root = json::objectFromJSONString(records(300)); });
    decoder.join();
    ASSERT_TRUE(root);
    std::atomic<int> mismatches { 0 };
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([document = *root, t, &mismatches]() mutable {
            std::vector<base::Value> kept;
            const base::Array& list = *document.array();
            for (size_t i = t; i < list.count(); i += 2) {
                const base::Value& record = list.objectAtIndex(i);
                kept.push_back(field(record, "kind"));
                kept.push_back(field(record, "note"));
                if (*kept.back().string() != longText
                    || *kept[kept.size() - 2].string() != (i % 3 ? "watch" : "tracker"))
                    ++mismatches;
            }
            document = base::Value();
            for (const base::Value& value : kept) {
                if (value.string()->empty())
                    ++mismatches;
            }
        });
    }
    root.reset();
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(mismatches, 0);
}
