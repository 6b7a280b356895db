#include "ValueTestContainers.h"

#include "base/values/Dictionary.h"
#include "base/values/Exception.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <random>

using base::Dictionary;
using base::MutableDictionary;
using base::Value;

namespace {

std::vector<std::string> keysInOrder(const Dictionary& dictionary)
{
    std::vector<std::string> keys;
    for (auto [key, value] : dictionary)
        keys.push_back(key->stringValue());
    return keys;
}

} // namespace

TEST(Dictionary, FindsByTextOrValueAndKeepsInsertionOrder)
{
    auto d = Dictionary::make({ { "b", 1 }, { "a", 2 }, { "b", 3 }, { 7, "seven" } });
    EXPECT_EQ(d->count(), 3u);
    EXPECT_EQ(keysInOrder(*d), (std::vector<std::string> { "b", "a", "7" }));
    EXPECT_EQ(d->objectForKey("b")->intValue(), 3);
    EXPECT_EQ(d->objectForKey(std::string("a"))->intValue(), 2);
    EXPECT_EQ(d->objectForKey(Value("a"))->intValue(), 2);
    EXPECT_EQ(d->objectForKey("c"), nullptr);
    // Number keys are found by any equal number.
    EXPECT_EQ(*d->objectForKey(Value(7.0)), Value("seven"));
    EXPECT_EQ(d->objectForKey("7"), nullptr);
}

TEST(Dictionary, StaysConsistentWithAModelThroughManyChanges)
{
    auto d = MutableDictionary::make();
    std::map<std::string, int> model;
    std::vector<std::string> order;
    std::mt19937 random(7);
    for (int step = 0; step < 20000; ++step) {
        std::string key = "key" + std::to_string(random() % 300);
        if (random() % 3) {
            if (!model.count(key))
                order.push_back(key);
            model[key] = step;
            d->setObject(step, key);
        } else {
            if (model.erase(key))
                order.erase(std::find(order.begin(), order.end(), key));
            d->removeObjectForKey(key);
        }
    }
    ASSERT_EQ(d->count(), model.size());
    for (int k = 0; k < 300; ++k) {
        std::string key = "key" + std::to_string(k);
        const Value* found = d->objectForKey(key);
        if (model.count(key)) {
            ASSERT_NE(found, nullptr) << key;
            EXPECT_EQ(found->intValue(), model[key]);
        } else {
            EXPECT_EQ(found, nullptr) << key;
        }
    }
    EXPECT_EQ(keysInOrder(*d), order);
    d->removeAllObjects();
    EXPECT_EQ(d->count(), 0u);
    EXPECT_EQ(d->begin(), d->end());
}

TEST(Dictionary, EqualsAnotherImplementationWithTheSameContents)
{
    Dictionary::Pairs pairs { { "name", "Lumet" }, { "id", 12 }, { "tags", base::Array::make({ "a" }) } };
    auto plain = Dictionary::make(pairs);
    auto frozen = test::FrozenDictionary::make(pairs);
    EXPECT_EQ(Value(plain), Value(frozen));
    EXPECT_EQ(Value(frozen), Value(plain));
    EXPECT_EQ(Value(plain).hash(), Value(frozen).hash());
    pairs[1].second = 13;
    EXPECT_NE(Value(plain), Value(test::FrozenDictionary::make(pairs)));
    pairs.pop_back();
    EXPECT_NE(Value(plain), Value(Dictionary::make(pairs)));
}

TEST(Dictionary, MutatingWhileIteratingRaises)
{
    auto d = MutableDictionary::make({ { "a", 1 }, { "b", 2 } });
    try {
        for (auto entry : *d)
            d->setObject(entry.second->intValue(), "c");
        FAIL() << "nothing was raised";
    } catch (const base::Exception& exception) {
        EXPECT_EQ(exception.name(), base::Exception::GenericException);
        EXPECT_THAT(exception.reason(),
            testing::MatchesRegex(
                R"(\*\*\* Collection <PlainMutableDictionary: 0x[0-9a-f]+> was mutated while being enumerated\.)"));
    }
    // Removing a key that is not there changes nothing, so iteration goes on.
    for (auto entry : *d)
        d->removeObjectForKey(*entry.first == Value("a") ? "absent" : "missing");
}

TEST(Dictionary, CopyOfImmutableIsItselfAndOfMutableASnapshot)
{
    auto fixed = Dictionary::make({ { "a", 1 } });
    EXPECT_EQ(fixed->copy(), fixed);
    auto d = MutableDictionary::make({ { "a", 1 } });
    auto snapshot = d->copy();
    EXPECT_NE(snapshot.get(), d.get());
    EXPECT_FALSE(snapshot->isMutable());
    d->setObject(2, "b");
    EXPECT_EQ(snapshot->count(), 1u);
    auto editable = fixed->mutableCopy();
    editable->setObject(2, "a");
    EXPECT_EQ(fixed->objectForKey("a")->intValue(), 1);
}

TEST(Dictionary, MutableKindMayRefuseEveryChange)
{
    auto frozen = test::FrozenDictionary::make({ { "a", 1 } });
    EXPECT_NE(Value(frozen).mutableDictionary(), nullptr);
    try {
        frozen->setObject(2, "b");
        FAIL() << "nothing was raised";
    } catch (const base::Exception& exception) {
        EXPECT_EQ(exception.name(), base::Exception::InternalInconsistencyException);
        EXPECT_EQ(
            exception.reason(), "*** -[FrozenDictionary setObject:forKey:]: mutating method sent to immutable object");
    }
    try {
        frozen->removeAllObjects();
        FAIL() << "nothing was raised";
    } catch (const base::Exception& exception) {
        EXPECT_EQ(exception.reason(),
            "*** -[FrozenDictionary removeObjectForKey:]: mutating method sent to immutable object");
    }
    EXPECT_EQ(frozen->count(), 1u);
}

TEST(Dictionary, AChangeableKeyIsStoredAsACopy)
{
    auto key = base::MutableArray::make({ 1 });
    auto d = MutableDictionary::make();
    d->setObject("one", Value(key));
    key->addObject(2);
    EXPECT_NE(d->objectForKey(Value(base::Array::make({ 1 }))), nullptr);
    EXPECT_EQ(d->objectForKey(Value(key)), nullptr);
}
