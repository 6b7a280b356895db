// base::Array and base::MutableArray: the abstract, reference-counted array interfaces. base provides a plain
// implementation (Array::make, MutableArray::make); the JSON decoder supplies its own. Equality and hashing go
// through the interface, so arrays of different implementations with equal contents are equal.
//
// Iteration watches the container's mutation counter: changing a container while iterating it raises a
// GenericException ("*** Collection <...> was mutated while being enumerated.").
//
//   auto list = base::MutableArray::make();
//   list->addObject(base::Value(1));
//   for (const base::Value& v : *list) use(v);
#pragma once

#include "base/values/Value.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace base {

class Array : public std::enable_shared_from_this<Array> {
public:
    virtual ~Array() = default;

    virtual size_t count() const = 0;
    // Raises RangeException "*** -[<class> objectAtIndex:]: index (i) beyond bounds (count)" past the end.
    virtual const Value& objectAtIndex(size_t index) const = 0;
    // The class name exception texts and descriptions use.
    virtual std::string className() const = 0;
    // Counts changes; iteration compares it before each step. Containers that never change answer 0.
    virtual uint64_t mutations() const { return 0; }
    // Whether mutating calls are accepted (a mutable-kind container may still refuse them).
    virtual bool isMutable() const { return false; }
    // An immutable array returns itself; a mutable one a new immutable array of its objects.
    virtual ArrayRef copy() const;
    virtual std::shared_ptr<MutableArray> mutableCopy() const;

    bool isEmpty() const { return count() == 0; }
    const Value* firstObject() const { return count() ? &objectAtIndex(0) : nullptr; }
    const Value* lastObject() const { return count() ? &objectAtIndex(count() - 1) : nullptr; }
    bool containsObject(const Value& value) const;
    std::vector<Value> toVector() const;

    bool isEqual(const Array& other) const;
    size_t hash() const { return count(); }

    class Iterator {
    public:
        using value_type = Value;
        using difference_type = std::ptrdiff_t;
        Iterator(const Array* array, size_t index);
        const Value& operator*() const;
        const Value* operator->() const { return &**this; }
        Iterator& operator++();
        bool operator==(const Iterator& other) const { return m_index == other.m_index; }

    private:
        void checkMutations() const;
        const Array* m_array;
        size_t m_index;
        uint64_t m_mutations;
    };
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, count()); }

    // A plain immutable array.
    static ArrayRef make(std::vector<Value> objects = {});
    static ArrayRef make(std::initializer_list<Value> objects) { return make(std::vector<Value>(objects)); }

    // Raise the platform's exceptions with "*** -[<class> <selector>]: ..." texts.
    [[noreturn]] void raiseBeyondBounds(const char* selector, size_t index, size_t bound) const;
    [[noreturn]] void raiseImmutable(const char* selector) const;
};

class MutableArray : public Array {
public:
    // Default implementations raise InternalInconsistencyException
    // "*** -[<class> <selector>]: mutating method sent to immutable object".
    virtual void insertObject(Value value, size_t index);
    virtual void removeObjectAtIndex(size_t index);
    virtual void replaceObjectAtIndex(size_t index, Value value);

    void addObject(Value value) { insertObject(std::move(value), count()); }
    void addObjectsFromArray(const Array& other);
    void removeLastObject();
    void removeAllObjects();
    void removeObject(const Value& value);

    static std::shared_ptr<MutableArray> make(std::vector<Value> objects = {});
};

} // namespace base
