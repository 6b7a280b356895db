#include "base/values/Array.h"

#include "base/values/Exception.h"
#include "base/values/MutationCounter.h"

namespace base {

namespace {

    // What both plain arrays read from: a vector of the objects.
    template <class Interface> class VectorArray : public Interface {
    public:
        explicit VectorArray(std::vector<Value> objects)
            : m_objects(std::move(objects))
        {
        }

        size_t count() const override { return m_objects.size(); }
        const Value& objectAtIndex(size_t index) const override
        {
            if (index >= m_objects.size())
                this->raiseBeyondBounds("objectAtIndex:", index, m_objects.size());
            return m_objects[index];
        }

    protected:
        std::vector<Value> m_objects;
    };

    // The plain immutable array: a vector fixed at creation.
    class PlainArray final : public VectorArray<Array> {
    public:
        using VectorArray::VectorArray;

        std::string className() const override { return "PlainArray"; }
    };

    // The plain mutable array: a vector and its mutation counter.
    class PlainMutableArray final : public VectorArray<MutableArray> {
    public:
        using VectorArray::VectorArray;

        std::string className() const override { return "PlainMutableArray"; }
        uint64_t mutations() const override { return m_mutations.value(); }
        bool isMutable() const override { return true; }
        ArrayRef copy() const override { return Array::make(m_objects); }
        std::shared_ptr<MutableArray> mutableCopy() const override { return MutableArray::make(m_objects); }

        void insertObject(Value value, size_t index) override
        {
            if (index > m_objects.size())
                raiseBeyondBounds("insertObject:atIndex:", index, m_objects.size() + 1);
            m_objects.insert(m_objects.begin() + static_cast<std::ptrdiff_t>(index), std::move(value));
            m_mutations.count();
        }
        void removeObjectAtIndex(size_t index) override
        {
            if (index >= m_objects.size())
                raiseBeyondBounds("removeObjectAtIndex:", index, m_objects.size());
            m_objects.erase(m_objects.begin() + static_cast<std::ptrdiff_t>(index));
            m_mutations.count();
        }
        void replaceObjectAtIndex(size_t index, Value value) override
        {
            if (index >= m_objects.size())
                raiseBeyondBounds("replaceObjectAtIndex:withObject:", index, m_objects.size());
            m_objects[index] = std::move(value);
            m_mutations.count();
        }

    private:
        MutationCounter m_mutations;
    };

} // namespace

ArrayRef Array::copy() const
{
    if (!isMutable())
        return std::const_pointer_cast<Array>(shared_from_this());
    return make(toVector());
}

std::shared_ptr<MutableArray> Array::mutableCopy() const { return MutableArray::make(toVector()); }

bool Array::containsObject(const Value& value) const
{
    for (const Value& object : *this)
        if (object == value)
            return true;
    return false;
}

std::vector<Value> Array::toVector() const
{
    std::vector<Value> objects;
    size_t n = count();
    objects.reserve(n);
    for (size_t i = 0; i < n; ++i)
        objects.push_back(objectAtIndex(i));
    return objects;
}

bool Array::isEqual(const Array& other) const
{
    if (this == &other)
        return true;
    size_t n = count();
    if (n != other.count())
        return false;
    for (size_t i = 0; i < n; ++i)
        if (!(objectAtIndex(i) == other.objectAtIndex(i)))
            return false;
    return true;
}

Array::Iterator::Iterator(const Array* array, size_t index)
    : m_array(array)
    , m_index(index)
    , m_mutations(array->mutations())
{
}

const Value& Array::Iterator::operator*() const { return m_array->objectAtIndex(m_index); }

Array::Iterator& Array::Iterator::operator++()
{
    checkMutations();
    ++m_index;
    return *this;
}

void Array::Iterator::checkMutations() const
{
    if (m_array->mutations() != m_mutations)
        raiseMutatedWhileEnumerating(m_array->className(), m_array);
}

ArrayRef Array::make(std::vector<Value> objects) { return std::make_shared<PlainArray>(std::move(objects)); }

void Array::raiseBeyondBounds(const char* selector, size_t index, size_t bound) const
{
    throw Exception(Exception::RangeException,
        "*** -[" + className() + " " + selector + "]: index (" + std::to_string(index) + ") beyond bounds ("
            + std::to_string(bound) + ")");
}

void Array::raiseImmutable(const char* selector) const
{
    throw Exception(Exception::InternalInconsistencyException,
        "*** -[" + className() + " " + selector + "]: mutating method sent to immutable object");
}

void MutableArray::insertObject(Value, size_t) { raiseImmutable("insertObject:atIndex:"); }

void MutableArray::removeObjectAtIndex(size_t) { raiseImmutable("removeObjectAtIndex:"); }

void MutableArray::replaceObjectAtIndex(size_t, Value) { raiseImmutable("replaceObjectAtIndex:withObject:"); }

void MutableArray::addObjectsFromArray(const Array& other)
{
    // Reading from the array being appended to would see its own additions; take the objects first.
    if (&other == this) {
        for (Value& object : toVector())
            addObject(std::move(object));
        return;
    }
    for (const Value& object : other)
        addObject(object);
}

void MutableArray::removeLastObject()
{
    if (size_t n = count())
        removeObjectAtIndex(n - 1);
}

void MutableArray::removeAllObjects()
{
    for (size_t n = count(); n > 0; --n)
        removeObjectAtIndex(n - 1);
}

void MutableArray::removeObject(const Value& value)
{
    for (size_t i = count(); i > 0; --i)
        if (objectAtIndex(i - 1) == value)
            removeObjectAtIndex(i - 1);
}

std::shared_ptr<MutableArray> MutableArray::make(std::vector<Value> objects)
{
    return std::make_shared<PlainMutableArray>(std::move(objects));
}

} // namespace base
