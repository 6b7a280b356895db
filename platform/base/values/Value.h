// base::Value: the platform's object values (null, bool, signed and unsigned 64-bit integers, double,
// UTF-8 string, data, date, array, dictionary). Absence is not a value: callers use std::optional,
// a null pointer or an empty handle for "nil", and keep it apart from the null value.
//
// Values are cheap to copy: strings, data and containers are shared and reference-counted, and a copied
// string holds the same immutable storage, never a copy of its characters (see StringStorage.h). A Value
// may be read, copied and dropped from several threads at once; a mutable container needs exclusive use
// while it changes.
//
//   base::Value reply = base::Dictionary::make({{"d", base::Value("ok")}});
//   if (auto* d = reply.dictionary() ? reply.dictionary()->objectForKey("d") : nullptr) log(d->description());
//   int n = base::Value("42abc").intValue(); // 42, as the platform converts texts
#pragma once

#include "base/time/Date.h"
#include "base/values/StringReference.h"
#include "base/values/StringStorage.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace base {

class Array;
class Dictionary;
class MutableArray;
class MutableDictionary;

using Data = std::vector<uint8_t>;

// Integer types a Value stores as a number (bool and char are not counted as integers).
template <typename T>
concept SignedInteger = std::signed_integral<T> && !std::same_as<T, bool> && !std::same_as<T, char>;
template <typename T>
concept UnsignedInteger = std::unsigned_integral<T> && !std::same_as<T, bool> && !std::same_as<T, char>;
template <typename T>
concept NonTextPointer = std::is_pointer_v<T> && !std::same_as<std::remove_cv_t<std::remove_pointer_t<T>>, char>;

using ArrayRef = std::shared_ptr<Array>;
using DictionaryRef = std::shared_ptr<Dictionary>;

class Value {
public:
    enum class Kind : uint8_t { Null, Bool, Integer, Unsigned, Double, String, Data, Date, Array, Dictionary };

    Value() noexcept = default; // the null value
    static Value null() { return Value(); }

    Value(bool b) noexcept
        : m_storage(b)
    {
    }
    template <SignedInteger T>
    Value(T i) noexcept
        : m_storage(static_cast<int64_t>(i))
    {
    }
    template <UnsignedInteger T>
    Value(T u) noexcept
        : m_storage(static_cast<uint64_t>(u))
    {
    }
    Value(double d) noexcept
        : m_storage(d)
    {
    }
    Value(float f) noexcept
        : m_storage(static_cast<double>(f))
    {
    }
    Value(std::string s)
        : m_storage(std::in_place_type<StringReference>, StringStorage::make(std::move(s)))
    {
    }
    Value(std::string_view s)
        : Value(std::string(s))
    {
    }
    Value(const char* s)
        : Value(std::string(s))
    {
    }
    // A string that borrows `storage` (see StringReference.h), for a container that keeps its owner alive.
    Value(StringReference::Borrow borrow, const StringStorage& storage) noexcept
        : m_storage(std::in_place_type<StringReference>, borrow, storage)
    {
    }
    // Any other pointer would silently become a bool; containers go in as ArrayRef or DictionaryRef.
    template <NonTextPointer T> Value(T) = delete;
    Value(std::nullptr_t) = delete;
    Value(base::Data bytes);
    // Shares bytes that are already held (a reply's body) instead of copying them; no bytes give empty data.
    Value(std::shared_ptr<const base::Data> bytes);
    Value(base::Date date) noexcept
        : m_storage(date)
    {
    }
    // An empty handle gives the null value, so a Value never holds a missing container.
    Value(ArrayRef array);
    Value(DictionaryRef dictionary);
    template <std::derived_from<Array> T>
    Value(std::shared_ptr<T> array)
        : Value(ArrayRef(std::move(array)))
    {
    }
    template <std::derived_from<Dictionary> T>
    Value(std::shared_ptr<T> dictionary)
        : Value(DictionaryRef(std::move(dictionary)))
    {
    }

    Kind kind() const { return static_cast<Kind>(m_storage.index()); }
    bool isNull() const { return kind() == Kind::Null; }
    bool isBool() const { return kind() == Kind::Bool; }
    // Bools, integers and doubles are all numbers, as on the platform.
    bool isNumber() const;
    bool isString() const { return kind() == Kind::String; }
    bool isData() const { return kind() == Kind::Data; }
    bool isDate() const { return kind() == Kind::Date; }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }

    // Typed access: a null pointer or empty handle when the value is of another kind.
    const std::string* string() const
    {
        const StringReference* reference = std::get_if<StringReference>(&m_storage);
        return reference ? &reference->text() : nullptr;
    }
    const base::Data* data() const;
    const base::Date* date() const { return std::get_if<base::Date>(&m_storage); }
    const ArrayRef& array() const;
    const DictionaryRef& dictionary() const;
    // The mutable interface when the container is of a mutable kind (it may still refuse mutation).
    std::shared_ptr<MutableArray> mutableArray() const;
    std::shared_ptr<MutableDictionary> mutableDictionary() const;

    // Exact stored numbers (no conversion); empty pointer when of another kind.
    const bool* boolean() const { return std::get_if<bool>(&m_storage); }
    const int64_t* integer() const { return std::get_if<int64_t>(&m_storage); }
    const uint64_t* unsignedInteger() const { return std::get_if<uint64_t>(&m_storage); }
    const double* real() const { return std::get_if<double>(&m_storage); }

    // The platform's conversions. Numbers convert arithmetically, saturating at the type's range (doubles
    // truncate toward zero; NaN gives 0 and false); texts are read from their start: leading white space, an
    // optional sign, digits, stopping at the first other character (0 when none), saturating at the type's
    // range; doubleValue of a text reads a leading decimal number with an optional exponent, whatever the
    // locale; boolValue of a text is true when, after white space, a sign and leading zeros, it begins with
    // Y, y, T, t or a digit 1-9. Other kinds give 0.
    int intValue() const;
    long long longLongValue() const;
    unsigned long long unsignedLongLongValue() const;
    double doubleValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }
    bool boolValue() const;
    // A number's text as the platform's stringValue gives it; a string is itself; other kinds: description().
    std::string stringValue() const;
    // What "%@" prints: numbers in shortest round-trip form (bools as 1 and 0), strings as they are,
    // "<null>", data as "<0badcafe 01>", dates as "2014-05-13 16:53:20 +0000", containers in the
    // platform's nested, indented property-list style.
    std::string description() const;

    // Numbers compare by value across kinds (1 == 1.0 == true); containers by contents through their
    // interfaces, whatever their implementation. Equal values hash equally.
    bool operator==(const Value& other) const;
    size_t hash() const;
    // The hash of a string value with these bytes, for callers that hash a key once and look it up often.
    static size_t hashString(std::string_view bytes);

private:
    std::variant<std::monostate, bool, int64_t, uint64_t, double, StringReference, std::shared_ptr<const base::Data>,
        base::Date, ArrayRef, DictionaryRef>
        m_storage;
};

struct ValueHash {
    size_t operator()(const Value& v) const { return v.hash(); }
};

} // namespace base
