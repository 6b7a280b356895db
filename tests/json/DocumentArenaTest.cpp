#include "json/DocumentArena.h"
#include "json/JSONDecoder.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

// A document of `count` objects in one array, each with a string long enough to live outside its Value.
std::string objects(size_t count)
{
    std::string text = "[";
    for (size_t i = 0; i < count; ++i)
        text += (i ? "," : "") + std::string(R"({"id":)") + std::to_string(i)
            + R"(,"name":"a name past sixteen bytes"})";
    return text + "]";
}

} // namespace

TEST(DocumentArena, HandsOutAlignedSeparateMemoryOfAnySize)
{
    json::DocumentArena::Reference arena = json::DocumentArena::make(100);
    std::vector<std::pair<char*, size_t>> pieces;
    for (size_t bytes : { size_t(1), size_t(24), size_t(1000), size_t(5000), size_t(3 << 20), size_t(7), size_t(64) }) {
        auto* piece = static_cast<char*>(arena->allocate(bytes));
        EXPECT_EQ(reinterpret_cast<uintptr_t>(piece) % alignof(std::max_align_t), 0u);
        std::memset(piece, static_cast<int>(pieces.size()), bytes);
        pieces.emplace_back(piece, bytes);
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        auto [piece, bytes] = pieces[i];
        EXPECT_EQ(piece[0], static_cast<char>(i));
        EXPECT_EQ(piece[bytes - 1], static_cast<char>(i));
    }
    // Every allocation holds a reference of its own; the arena goes with the last (LeakSanitizer checks).
    for (size_t i = 0; i < pieces.size(); ++i)
        arena->release();
}

TEST(DocumentArena, AContainerKeptOutlivesTheRestOfItsDocument)
{
    base::DictionaryRef kept;
    base::ArrayRef keptArray;
    {
        auto root = json::objectFromJSONString(R"({"a":{"b":[1,"a string past sixteen bytes"]},"c":[2]})");
        ASSERT_TRUE(root);
        kept = root->dictionary()->objectForKey("a")->dictionary();
        keptArray = root->dictionary()->objectForKey("c")->array();
    }
    const base::ArrayRef& inner = kept->objectForKey("b")->array();
    ASSERT_TRUE(inner);
    EXPECT_EQ(*inner->objectAtIndex(1).string(), "a string past sixteen bytes");
    EXPECT_EQ(keptArray->objectAtIndex(0).intValue(), 2);
}

TEST(DocumentArena, TheNextDocumentOfTheSameSizeTakesTheMemoryOfTheOneDroppedLast)
{
    const void* dropped = nullptr;
    {
        auto root = json::objectFromJSONString(objects(20));
        ASSERT_TRUE(root && root->isArray());
        dropped = root->array().get();
    }
    auto next = json::objectFromJSONString(objects(20));
    ASSERT_TRUE(next && next->isArray());
    EXPECT_EQ(next->array().get(), dropped);
    EXPECT_EQ(next->array()->objectAtIndex(19).dictionary()->objectForKey("id")->intValue(), 19);
}

TEST(DocumentArena, DocumentsLargerThanABlockDecodeWhole)
{
    // About 3 MB of containers: several blocks, and an array whose storage is a block of its own.
    auto root = json::objectFromJSONString(objects(60000));
    ASSERT_TRUE(root && root->isArray());
    ASSERT_EQ(root->array()->count(), 60000u);
    const base::Value& last = root->array()->objectAtIndex(59999);
    EXPECT_EQ(last.dictionary()->objectForKey("id")->intValue(), 59999);
    EXPECT_EQ(*last.dictionary()->objectForKey("name")->string(), "a name past sixteen bytes");
}

TEST(DocumentArena, PartsOfADocumentMayBeDroppedOnOtherThreads)
{
    auto root = json::mutableObjectFromJSONString(objects(200));
    ASSERT_TRUE(root);
    std::vector<std::thread> threads;
    for (size_t part = 0; part < 4; ++part) {
        base::Value value = root->array()->objectAtIndex(part * 50);
        threads.emplace_back([value = std::move(value)]() mutable {
            value.mutableDictionary()->setObject(base::Value("changed"), base::Value("name"));
            EXPECT_EQ(*value.dictionary()->objectForKey("name")->string(), "changed");
            value = base::Value();
        });
    }
    root.reset();
    for (std::thread& thread : threads)
        thread.join();
}

TEST(DocumentArena, ContainersDroppedWhileDecodingDoNotEndTheArenaEarly)
{
    // The first "a" object is replaced by the later pair while the document is still being decoded.
    auto root = json::objectFromJSONString(R"({"a":{"x":[1]},"a":2,"b":{"y":["z"]}})");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->dictionary()->objectForKey("a")->intValue(), 2);
    const base::DictionaryRef& b = root->dictionary()->objectForKey("b")->dictionary();
    EXPECT_EQ(*b->objectForKey("y")->array()->objectAtIndex(0).string(), "z");
    // A document that fails after some containers were made frees them and its arena (LeakSanitizer checks).
    EXPECT_FALSE(json::objectFromJSONString(R"([{"a":[1]},{"b":)"));
}

TEST(DocumentArena, StringsKeepTheirTextsAmongOtherMemoryUntilTheArenaGoes)
{
    // Texts of every length up to a few kilobytes, more of them than fit the arena's first few groups of
    // strings, with container memory handed out between them; each must read back whole, and every text
    // must be freed with the arena (LeakSanitizer checks).
    json::DocumentArena::Reference arena = json::DocumentArena::make(2000);
    std::vector<std::pair<const json::DocumentString*, std::string>> made;
    size_t handedOut = 0;
    for (size_t i = 0; i < 1500; ++i) {
        std::string text = std::to_string(i) + std::string(i % 97 + (i % 250 == 0 ? 5000 : 0), 'a' + i % 26);
        made.emplace_back(&arena->makeString(text), text);
        if (i % 7 == 0) {
            std::memset(arena->allocate(i % 300 + 1), 0xff, i % 300 + 1);
            ++handedOut;
        }
    }
    for (const auto& [string, text] : made) {
        ASSERT_EQ(string->storage.text(), text);
        ASSERT_EQ(*string->value.string(), text);
    }
    for (size_t i = 0; i < handedOut; ++i)
        arena->release();
}
