#include "base/values/Dictionary.h"

#include "base/values/Array.h"
#include "base/values/Exception.h"
#include "base/values/MutationCounter.h"
#include "base/values/OrderedHashTable.h"

namespace base {

namespace {

    Dictionary::Pairs pairsOf(const Dictionary& dictionary)
    {
        Dictionary::Pairs pairs;
        pairs.reserve(dictionary.count());
        for (auto [key, value] : dictionary)
            pairs.emplace_back(*key, *value);
        return pairs;
    }

    // What both plain dictionaries read from: an ordered hash table of the pairs.
    template <class Interface> class TableDictionary : public Interface {
    public:
        explicit TableDictionary(Dictionary::Pairs pairs)
            : m_table(std::move(pairs))
        {
        }

        size_t count() const override { return m_table.count(); }
        const Value* objectForKey(const Value& key) const override { return m_table.find(key); }
        const Value* objectForStringKey(std::string_view key) const override { return m_table.findString(key); }
        bool nextEntry(size_t& cursor, const Value*& key, const Value*& value) const override
        {
            return m_table.next(cursor, key, value);
        }

    protected:
        OrderedHashTable m_table;
    };

    // The plain immutable dictionary.
    class PlainDictionary final : public TableDictionary<Dictionary> {
    public:
        using TableDictionary::TableDictionary;

        std::string className() const override { return "PlainDictionary"; }
    };

    // A key that is a changeable container is stored as an immutable copy, so that later changes to the caller's
    // container cannot alter the key's hash behind the table's back.
    Value immutableKey(Value key)
    {
        if (key.isArray() && key.array()->isMutable())
            return Value(key.array()->copy());
        if (key.isDictionary() && key.dictionary()->isMutable())
            return Value(key.dictionary()->copy());
        return key;
    }

    // The plain mutable dictionary: the table and a mutation counter.
    class PlainMutableDictionary final : public TableDictionary<MutableDictionary> {
    public:
        using TableDictionary::TableDictionary;

        std::string className() const override { return "PlainMutableDictionary"; }
        uint64_t mutations() const override { return m_mutations.value(); }
        bool isMutable() const override { return true; }

        void setObject(Value value, Value key) override
        {
            m_table.set(immutableKey(std::move(key)), std::move(value));
            m_mutations.count();
        }
        void removeObjectForKey(const Value& key) override
        {
            if (m_table.remove(key))
                m_mutations.count();
        }

    private:
        MutationCounter m_mutations;
    };

} // namespace

DictionaryRef Dictionary::copy() const
{
    if (!isMutable())
        return std::const_pointer_cast<Dictionary>(shared_from_this());
    return make(pairsOf(*this));
}

std::shared_ptr<MutableDictionary> Dictionary::mutableCopy() const { return MutableDictionary::make(pairsOf(*this)); }

std::vector<Value> Dictionary::allKeys() const
{
    std::vector<Value> keys;
    keys.reserve(count());
    for (auto [key, value] : *this)
        keys.push_back(*key);
    return keys;
}

std::vector<Value> Dictionary::allValues() const
{
    std::vector<Value> values;
    values.reserve(count());
    for (auto [key, value] : *this)
        values.push_back(*value);
    return values;
}

bool Dictionary::isEqual(const Dictionary& other) const
{
    if (this == &other)
        return true;
    if (count() != other.count())
        return false;
    for (auto [key, value] : *this) {
        const Value* otherValue = other.objectForKey(*key);
        if (!otherValue || !(*otherValue == *value))
            return false;
    }
    return true;
}

Dictionary::Iterator::Iterator(const Dictionary* dictionary, bool atEnd)
    : m_dictionary(dictionary)
    , m_mutations(dictionary->mutations())
    , m_atEnd(atEnd)
{
    if (!m_atEnd)
        advance();
}

Dictionary::Iterator::value_type Dictionary::Iterator::operator*() const { return { m_key, m_value }; }

Dictionary::Iterator& Dictionary::Iterator::operator++()
{
    checkMutations();
    advance();
    return *this;
}

void Dictionary::Iterator::advance() { m_atEnd = !m_dictionary->nextEntry(m_cursor, m_key, m_value); }

void Dictionary::Iterator::checkMutations() const
{
    if (m_dictionary->mutations() != m_mutations)
        raiseMutatedWhileEnumerating(m_dictionary->className(), m_dictionary);
}

DictionaryRef Dictionary::make(Pairs pairs) { return std::make_shared<PlainDictionary>(std::move(pairs)); }

void Dictionary::raiseImmutable(const char* selector) const
{
    throw Exception(Exception::InternalInconsistencyException,
        "*** -[" + className() + " " + selector + "]: mutating method sent to immutable object");
}

void MutableDictionary::setObject(Value, Value) { raiseImmutable("setObject:forKey:"); }

void MutableDictionary::removeObjectForKey(const Value&) { raiseImmutable("removeObjectForKey:"); }

void MutableDictionary::removeAllObjects()
{
    for (const Value& key : allKeys())
        removeObjectForKey(key);
}

void MutableDictionary::addEntriesFromDictionary(const Dictionary& other)
{
    // Adding a dictionary's own entries to itself changes nothing, and enumerating it while setting would trip
    // the mutation check.
    if (&other == this)
        return;
    for (auto [key, value] : other)
        setObject(*value, *key);
}

std::shared_ptr<MutableDictionary> MutableDictionary::make(Pairs pairs)
{
    return std::make_shared<PlainMutableDictionary>(std::move(pairs));
}

} // namespace base
