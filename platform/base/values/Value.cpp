#include "base/values/Value.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/values/NumberText.h"
#include "base/values/StringHash.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace base {

namespace {

    const ArrayRef& noArray()
    {
        static const ArrayRef none;
        return none;
    }

    const DictionaryRef& noDictionary()
    {
        static const DictionaryRef none;
        return none;
    }

    // Two-to-the-63 and two-to-the-64 as doubles: the open upper bounds of int64 and uint64.
    constexpr double twoTo63 = 9223372036854775808.0;
    constexpr double twoTo64 = 18446744073709551616.0;

    template <typename T> T saturatingFromDouble(double d)
    {
        if (std::isnan(d))
            return 0;
        if (d <= static_cast<double>(std::numeric_limits<T>::min()))
            return std::numeric_limits<T>::min();
        // The maximum of a 64-bit type is not a double; compare with the next power of two instead.
        constexpr double upper = std::numeric_limits<T>::digits == 64 ? twoTo64
            : std::numeric_limits<T>::digits == 63                    ? twoTo63
                                                   : static_cast<double>(std::numeric_limits<T>::max()) + 1.0;
        if (d >= upper)
            return std::numeric_limits<T>::max();
        return static_cast<T>(d);
    }

    template <typename T> T saturatingFromSigned(int64_t i)
    {
        if (std::cmp_less(i, std::numeric_limits<T>::min()))
            return std::numeric_limits<T>::min();
        if (std::cmp_greater(i, std::numeric_limits<T>::max()))
            return std::numeric_limits<T>::max();
        return static_cast<T>(i);
    }

    template <typename T> T saturatingFromUnsigned(uint64_t u)
    {
        if (std::cmp_greater(u, std::numeric_limits<T>::max()))
            return std::numeric_limits<T>::max();
        return static_cast<T>(u);
    }

    // A number of any kind, reduced to one of three exact forms for conversion and comparison.
    struct Number {
        enum Form { Signed, Unsigned, Real } form;
        int64_t i = 0;
        uint64_t u = 0;
        double d = 0;
    };

    Number numberOf(const Value& value)
    {
        if (const bool* b = value.boolean())
            return { Number::Signed, *b ? 1 : 0 };
        if (const int64_t* i = value.integer())
            return { Number::Signed, *i };
        if (const uint64_t* u = value.unsignedInteger())
            return { Number::Unsigned, 0, *u };
        return { Number::Real, 0, 0, *value.real() };
    }

    template <typename T> T convertNumber(const Number& n)
    {
        switch (n.form) {
        case Number::Signed:
            return saturatingFromSigned<T>(n.i);
        case Number::Unsigned:
            return saturatingFromUnsigned<T>(n.u);
        case Number::Real:
            return saturatingFromDouble<T>(n.d);
        }
        return 0;
    }

    template <typename T> T convertText(std::string_view text)
    {
        LeadingInteger read = readLeadingInteger(text);
        if (!read.negative)
            return read.overflow ? std::numeric_limits<T>::max() : saturatingFromUnsigned<T>(read.magnitude);
        constexpr uint64_t int64MinMagnitude = uint64_t(1) << 63;
        if (read.overflow || read.magnitude > int64MinMagnitude)
            return std::numeric_limits<T>::min();
        int64_t negative = read.magnitude == int64MinMagnitude ? std::numeric_limits<int64_t>::min()
                                                               : -static_cast<int64_t>(read.magnitude);
        return saturatingFromSigned<T>(negative);
    }

    // An integral double in the range of int64 or uint64 converts exactly; anything else does not.
    bool doubleEqualsSigned(double d, int64_t i)
    {
        return d >= -twoTo63 && d < twoTo63 && std::trunc(d) == d && static_cast<int64_t>(d) == i;
    }

    bool doubleEqualsUnsigned(double d, uint64_t u)
    {
        return d >= 0 && d < twoTo64 && std::trunc(d) == d && static_cast<uint64_t>(d) == u;
    }

    bool numbersEqual(const Number& a, const Number& b)
    {
        if (a.form == Number::Real && b.form == Number::Real)
            return a.d == b.d || (std::isnan(a.d) && std::isnan(b.d));
        if (a.form == Number::Real)
            return b.form == Number::Signed ? doubleEqualsSigned(a.d, b.i) : doubleEqualsUnsigned(a.d, b.u);
        if (b.form == Number::Real)
            return numbersEqual(b, a);
        if (a.form == b.form)
            return a.form == Number::Signed ? a.i == b.i : a.u == b.u;
        const Number& s = a.form == Number::Signed ? a : b;
        const Number& u = a.form == Number::Signed ? b : a;
        return s.i >= 0 && static_cast<uint64_t>(s.i) == u.u;
    }

    using stringhash::hashKey1;
    using stringhash::hashKey2;
    using stringhash::hashSeed;
    using stringhash::mix;

    uint64_t hashInteger(uint64_t bits) { return mix(bits ^ hashKey1, hashKey2); }

    // Equal numbers hash equally: every number with an integral value that fits 64 bits hashes as that integer.
    uint64_t hashNumber(const Number& n)
    {
        switch (n.form) {
        case Number::Signed:
            return hashInteger(static_cast<uint64_t>(n.i));
        case Number::Unsigned:
            return hashInteger(n.u);
        case Number::Real:
            break;
        }
        double d = n.d;
        if (std::isnan(d))
            return hashInteger(0x7ff8000000000000ull) ^ 1;
        if (std::trunc(d) == d && d >= -twoTo63 && d < twoTo63)
            return hashInteger(static_cast<uint64_t>(static_cast<int64_t>(d)));
        if (std::trunc(d) == d && d >= 0 && d < twoTo64)
            return hashInteger(static_cast<uint64_t>(d));
        return hashInteger(std::bit_cast<uint64_t>(d));
    }

} // namespace

Value::Value(base::Data bytes)
    : m_storage(std::make_shared<const base::Data>(std::move(bytes)))
{
}

Value::Value(std::shared_ptr<const base::Data> bytes)
    : m_storage(bytes ? std::move(bytes) : std::make_shared<const base::Data>())
{
}

Value::Value(ArrayRef array)
{
    if (array)
        m_storage = std::move(array);
}

Value::Value(DictionaryRef dictionary)
{
    if (dictionary)
        m_storage = std::move(dictionary);
}

bool Value::isNumber() const
{
    Kind k = kind();
    return k == Kind::Bool || k == Kind::Integer || k == Kind::Unsigned || k == Kind::Double;
}

const base::Data* Value::data() const
{
    auto* shared = std::get_if<std::shared_ptr<const base::Data>>(&m_storage);
    return shared ? shared->get() : nullptr;
}

const ArrayRef& Value::array() const
{
    auto* array = std::get_if<ArrayRef>(&m_storage);
    return array ? *array : noArray();
}

const DictionaryRef& Value::dictionary() const
{
    auto* dictionary = std::get_if<DictionaryRef>(&m_storage);
    return dictionary ? *dictionary : noDictionary();
}

std::shared_ptr<MutableArray> Value::mutableArray() const { return std::dynamic_pointer_cast<MutableArray>(array()); }

std::shared_ptr<MutableDictionary> Value::mutableDictionary() const
{
    return std::dynamic_pointer_cast<MutableDictionary>(dictionary());
}

int Value::intValue() const
{
    if (isNumber())
        return convertNumber<int>(numberOf(*this));
    if (const std::string* text = string())
        return convertText<int>(*text);
    return 0;
}

long long Value::longLongValue() const
{
    if (isNumber())
        return convertNumber<long long>(numberOf(*this));
    if (const std::string* text = string())
        return convertText<long long>(*text);
    return 0;
}

unsigned long long Value::unsignedLongLongValue() const
{
    if (isNumber())
        return convertNumber<unsigned long long>(numberOf(*this));
    if (const std::string* text = string())
        return convertText<unsigned long long>(*text);
    return 0;
}

double Value::doubleValue() const
{
    if (isNumber()) {
        Number n = numberOf(*this);
        switch (n.form) {
        case Number::Signed:
            return static_cast<double>(n.i);
        case Number::Unsigned:
            return static_cast<double>(n.u);
        case Number::Real:
            return n.d;
        }
    }
    if (const std::string* text = string())
        return readLeadingDouble(*text);
    return 0;
}

bool Value::boolValue() const
{
    if (isNumber()) {
        Number n = numberOf(*this);
        switch (n.form) {
        case Number::Signed:
            return n.i != 0;
        case Number::Unsigned:
            return n.u != 0;
        case Number::Real:
            return n.d != 0 && !std::isnan(n.d);
        }
    }
    if (const std::string* text = string())
        return readLeadingBool(*text);
    return false;
}

bool Value::operator==(const Value& other) const
{
    if (isNumber() || other.isNumber())
        return isNumber() && other.isNumber() && numbersEqual(numberOf(*this), numberOf(other));
    if (kind() != other.kind())
        return false;
    switch (kind()) {
    case Kind::Null:
        return true;
    case Kind::String:
        // Copies of one string hold the same storage, and so the same text.
        return string() == other.string() || *string() == *other.string();
    case Kind::Data:
        return data() == other.data() || *data() == *other.data();
    case Kind::Date:
        return *date() == *other.date();
    case Kind::Array:
        return array() == other.array() || array()->isEqual(*other.array());
    case Kind::Dictionary:
        return dictionary() == other.dictionary() || dictionary()->isEqual(*other.dictionary());
    default:
        return false;
    }
}

size_t Value::hash() const
{
    switch (kind()) {
    case Kind::Null:
        return hashKey2;
    case Kind::Bool:
    case Kind::Integer:
    case Kind::Unsigned:
    case Kind::Double:
        return hashNumber(numberOf(*this));
    case Kind::String:
        return hashString(*string());
    case Kind::Data:
        return hashString(std::string_view(reinterpret_cast<const char*>(data()->data()), data()->size()));
    case Kind::Date: {
        double seconds = date()->timeIntervalSince1970();
        return hashInteger(seconds == 0 ? 0 : std::bit_cast<uint64_t>(seconds)) ^ hashSeed;
    }
    case Kind::Array:
        return array()->hash();
    case Kind::Dictionary:
        return dictionary()->hash();
    }
    return 0;
}

size_t Value::hashString(std::string_view bytes) { return base::hashString(bytes); }

} // namespace base
