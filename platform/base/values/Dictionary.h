// base::Dictionary and base::MutableDictionary: the abstract, reference-counted dictionary interfaces. base
// provides a plain implementation that keeps insertion order (Dictionary::make, MutableDictionary::make); the
// JSON decoder supplies its own hash table. Keys are Values (texts in practice). Equality and hashing go
// through the interface; iteration watches the mutation counter like Array's.
//
//   auto d = base::MutableDictionary::make();
//   d->setObject(base::Value("Lumet"), "DeviceName");
//   for (auto [key, value] : *d) use(*key, *value);
//   if (const base::Value* v = d->objectForKey("DeviceName")) show(v->stringValue());
#pragma once

#include "base/values/Value.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace base {

class Dictionary : public std::enable_shared_from_this<Dictionary> {
public:
    virtual ~Dictionary() = default;

    virtual size_t count() const = 0;
    // The value stored under an equal key, or null when there is none.
    virtual const Value* objectForKey(const Value& key) const = 0;
    // Enumeration primitive: finds the first entry at or after position `cursor`, sets key and value,
    // and moves `cursor` past it. Returns false when there are no more entries.
    virtual bool nextEntry(size_t& cursor, const Value*& key, const Value*& value) const = 0;
    virtual std::string className() const = 0;
    virtual uint64_t mutations() const { return 0; }
    virtual bool isMutable() const { return false; }
    // An immutable dictionary returns itself; a mutable one a new immutable dictionary of its pairs.
    virtual DictionaryRef copy() const;
    virtual std::shared_ptr<MutableDictionary> mutableCopy() const;

    // Lookup by a text key. Implementations override it to find the key without building a Value.
    virtual const Value* objectForStringKey(std::string_view key) const { return objectForKey(Value(key)); }

    const Value* objectForKey(std::string_view key) const { return objectForStringKey(key); }
    const Value* objectForKey(const char* key) const { return objectForStringKey(key); }
    const Value* objectForKey(const std::string& key) const { return objectForStringKey(key); }
    std::vector<Value> allKeys() const;
    std::vector<Value> allValues() const;

    bool isEqual(const Dictionary& other) const;
    size_t hash() const { return count(); }

    class Iterator {
    public:
        using value_type = std::pair<const Value*, const Value*>;
        using difference_type = std::ptrdiff_t;
        Iterator(const Dictionary* dictionary, bool atEnd);
        value_type operator*() const;
        Iterator& operator++();
        bool operator==(const Iterator& other) const
        {
            return m_atEnd == other.m_atEnd && (m_atEnd || m_cursor == other.m_cursor);
        }

    private:
        void advance();
        void checkMutations() const;
        const Dictionary* m_dictionary;
        size_t m_cursor { 0 };
        const Value* m_key { nullptr };
        const Value* m_value { nullptr };
        uint64_t m_mutations;
        bool m_atEnd;
    };
    Iterator begin() const { return Iterator(this, false); }
    Iterator end() const { return Iterator(this, true); }

    using Pairs = std::vector<std::pair<Value, Value>>;
    // A plain immutable dictionary; a later pair with an equal key replaces an earlier one.
    static DictionaryRef make(Pairs pairs = {});
    static DictionaryRef make(std::initializer_list<std::pair<Value, Value>> pairs) { return make(Pairs(pairs)); }

    [[noreturn]] void raiseImmutable(const char* selector) const;
};

class MutableDictionary : public Dictionary {
public:
    // Default implementations raise the mutating-method exception (see MutableArray).
    virtual void setObject(Value value, Value key);
    virtual void removeObjectForKey(const Value& key);

    void setObject(Value value, std::string_view key) { setObject(std::move(value), Value(key)); }
    void setObject(Value value, const char* key) { setObject(std::move(value), Value(key)); }
    void setObject(Value value, std::string key) { setObject(std::move(value), Value(std::move(key))); }
    void removeObjectForKey(std::string_view key) { removeObjectForKey(Value(key)); }
    void removeObjectForKey(const char* key) { removeObjectForKey(Value(key)); }
    void removeObjectForKey(const std::string& key) { removeObjectForKey(Value(key)); }
    void removeAllObjects();
    void addEntriesFromDictionary(const Dictionary& other);

    static std::shared_ptr<MutableDictionary> make(Pairs pairs = {});
};

} // namespace base
