#include "ValueTestContainers.h"

#include "base/values/Array.h"
#include "base/values/Exception.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using base::Array;
using base::MutableArray;
using base::Value;
using testing::MatchesRegex;

namespace {

// The reason of the exception `action` raises, after checking its name.
template <typename Action> std::string raisedReason(Action action, const std::string& expectedName)
{
    try {
        action();
    } catch (const base::Exception& exception) {
        EXPECT_EQ(exception.name(), expectedName);
        return exception.reason();
    }
    ADD_FAILURE() << "nothing was raised";
    return {};
}

} // namespace

TEST(Array, EqualsAnotherImplementationWithTheSameContents)
{
    auto plain = Array::make({ 1, "two", base::Array::make({ 3.0 }) });
    auto other = test::FrozenArray::make({ 1.0, "two", test::FrozenArray::make({ 3 }) });
    EXPECT_TRUE(plain->isEqual(*other));
    EXPECT_EQ(Value(plain), Value(other));
    EXPECT_EQ(Value(plain).hash(), Value(other).hash());
    EXPECT_NE(Value(plain), Value(Array::make({ 1, "two" })));
    EXPECT_NE(Value(plain), Value(Array::make({ 1, "two", Array::make({ 4 }) })));
}

TEST(Array, MutatingWhileIteratingRaises)
{
    auto list = MutableArray::make({ 1, 2, 3 });
    std::string reason = raisedReason(
        [&] {
            for (const Value& value : *list)
                if (value.intValue() == 2)
                    list->addObject(4);
        },
        base::Exception::GenericException);
    EXPECT_THAT(reason,
        MatchesRegex(R"(\*\*\* Collection <PlainMutableArray: 0x[0-9a-f]+> was mutated while being enumerated\.)"));

    // Changing the last object is caught too, and leaving the loop early is not a mutation.
    EXPECT_THROW(
        {
            for (const Value& value : *list)
                if (value.intValue() == 4)
                    list->removeLastObject();
        },
        base::Exception);
    for (const Value& value : *list) {
        list->count();
        (void)value;
        break;
    }
}

TEST(Array, MutationCounterStartsAtOneAndCountsEachChange)
{
    auto list = MutableArray::make();
    EXPECT_EQ(list->mutations(), 1u);
    list->addObject(1);
    list->replaceObjectAtIndex(0, 2);
    list->removeObjectAtIndex(0);
    EXPECT_EQ(list->mutations(), 4u);
    EXPECT_EQ(Array::make({ 1 })->mutations(), 0u);
}

TEST(Array, CopyOfImmutableIsItselfAndOfMutableASnapshot)
{
    auto fixed = Array::make({ 1, 2 });
    EXPECT_EQ(fixed->copy(), fixed);
    auto frozen = test::FrozenArray::make({ 1 });
    EXPECT_EQ(frozen->copy(), frozen);

    auto list = MutableArray::make({ 1, 2 });
    auto snapshot = list->copy();
    EXPECT_NE(snapshot.get(), list.get());
    EXPECT_FALSE(snapshot->isMutable());
    EXPECT_EQ(Value(snapshot).mutableArray(), nullptr);
    list->addObject(3);
    EXPECT_EQ(snapshot->count(), 2u);

    auto editable = fixed->mutableCopy();
    EXPECT_NE(static_cast<Array*>(editable.get()), fixed.get());
    editable->addObject(3);
    EXPECT_EQ(fixed->count(), 2u);
    EXPECT_NE(list->mutableCopy(), list);
}

TEST(Array, IndexPastTheEndRaisesRangeException)
{
    auto list = MutableArray::make({ 1, 2, 3 });
    EXPECT_EQ(raisedReason([&] { list->objectAtIndex(5); }, base::Exception::RangeException),
        "*** -[PlainMutableArray objectAtIndex:]: index (5) beyond bounds (3)");
    EXPECT_EQ(raisedReason([&] { Array::make({ 1 })->objectAtIndex(1); }, base::Exception::RangeException),
        "*** -[PlainArray objectAtIndex:]: index (1) beyond bounds (1)");
    // Inserting at count appends; one further reports count + 1 as the bound.
    list->insertObject(4, 3);
    EXPECT_EQ(raisedReason([&] { list->insertObject(6, 5); }, base::Exception::RangeException),
        "*** -[PlainMutableArray insertObject:atIndex:]: index (5) beyond bounds (5)");
    EXPECT_THROW(list->removeObjectAtIndex(4), base::Exception);
    EXPECT_THROW(list->replaceObjectAtIndex(4, 0), base::Exception);
    EXPECT_EQ(list->count(), 4u);
}

TEST(Array, MutableKindMayRefuseEveryChange)
{
    auto frozen = test::FrozenArray::make({ 1, 2 });
    EXPECT_NE(Value(frozen).mutableArray(), nullptr);
    const std::string immutable = base::Exception::InternalInconsistencyException;
    EXPECT_EQ(raisedReason([&] { frozen->addObject(3); }, immutable),
        "*** -[FrozenArray insertObject:atIndex:]: mutating method sent to immutable object");
    EXPECT_EQ(raisedReason([&] { frozen->removeLastObject(); }, immutable),
        "*** -[FrozenArray removeObjectAtIndex:]: mutating method sent to immutable object");
    EXPECT_EQ(raisedReason([&] { frozen->replaceObjectAtIndex(0, 5); }, immutable),
        "*** -[FrozenArray replaceObjectAtIndex:withObject:]: mutating method sent to immutable object");
    EXPECT_EQ(Value(frozen), Value(Array::make({ 1, 2 })));
}

TEST(Array, ConvenienceMutators)
{
    auto list = MutableArray::make({ 1, "a", 1.0, true, 2 });
    list->removeObject(1);
    EXPECT_EQ(Value(list), Value(Array::make({ "a", 2 })));
    list->addObjectsFromArray(*list);
    EXPECT_EQ(Value(list), Value(Array::make({ "a", 2, "a", 2 })));
    EXPECT_TRUE(list->containsObject(2.0));
    EXPECT_FALSE(list->containsObject("b"));
    list->removeAllObjects();
    EXPECT_TRUE(list->isEmpty());
    list->removeLastObject();
    EXPECT_EQ(list->firstObject(), nullptr);
}
