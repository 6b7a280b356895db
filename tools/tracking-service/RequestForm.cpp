#include "tracking-service/RequestForm.h"

#include "base/values/Array.h"

#include <algorithm>

namespace tracking_service {

namespace {

    bool sameValue(const base::Value& a, const base::Value& b)
    {
        if (kindOf(a) != kindOf(b))
            return false;
        if (kindOf(a) == wire::Number)
            return a.doubleValue() == b.doubleValue();
        return a == b;
    }

    // A key as a reason shows it: the caller's own key names stay on one line and within bounds.
    std::string shownKey(const std::string& key)
    {
        constexpr size_t Longest = 64;
        std::string shown;
        for (char c : key.substr(0, Longest))
            shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '"' ? '?' : c;
        return "\"" + shown + (key.size() > Longest ? "...\"" : "\"");
    }

    std::string memberPath(const std::string& path, const std::string& key)
    {
        return path.empty() ? shownKey(key) : path + "." + shownKey(key);
    }

    // The first difference of an object's keys from `members`: a missing key, then an unknown one, then the
    // first member whose value does not fit.
    std::optional<std::string> objectMismatch(
        const base::Dictionary& object, const std::vector<WireField>& members, const std::string& path)
    {
        for (const WireField& member : members) {
            if (!object.objectForKey(member.key))
                return "Missing parameter " + memberPath(path, member.key) + ".";
        }
        for (auto [key, value] : object) {
            std::string name = key->isString() ? *key->string() : key->description();
            bool known = std::ranges::any_of(members, [&](const WireField& member) { return member.key == name; });
            if (!known)
                return "Unknown parameter " + memberPath(path, name) + ".";
        }
        for (const WireField& member : members) {
            if (auto reason = member.mismatch(*object.objectForKey(member.key), memberPath(path, member.key)))
                return reason;
        }
        return std::nullopt;
    }

} // namespace

uint8_t kindOf(const base::Value& value)
{
    switch (value.kind()) {
    case base::Value::Kind::Null:
        return wire::Null;
    case base::Value::Kind::Bool:
        return wire::Boolean;
    case base::Value::Kind::Integer:
    case base::Value::Kind::Unsigned:
    case base::Value::Kind::Double:
        return wire::Number;
    case base::Value::Kind::String:
        return wire::Text;
    case base::Value::Kind::Array:
        return wire::Array;
    case base::Value::Kind::Dictionary:
        return wire::Object;
    case base::Value::Kind::Data:
    case base::Value::Kind::Date:
        break;
    }
    return 0;
}

std::string kindNames(uint8_t kinds)
{
    static constexpr std::pair<uint8_t, const char*> names[] = { { wire::Text, "text" }, { wire::Number, "number" },
        { wire::Boolean, "boolean" }, { wire::Object, "object" }, { wire::Array, "array" }, { wire::Null, "null" } };
    std::string list;
    for (auto [kind, name] : names) {
        if (kinds & kind)
            list += (list.empty() ? "" : " or ") + std::string(name);
    }
    return list;
}

WireField WireField::oneOf(std::initializer_list<base::Value> values) &&
{
    allowed.assign(values);
    return std::move(*this);
}

WireField WireField::typedText() &&
{
    typed = true;
    return std::move(*this);
}

WireField WireField::orNull() &&
{
    kinds |= wire::Null;
    return std::move(*this);
}

std::optional<std::string> WireField::mismatch(const base::Value& value, const std::string& path) const
{
    uint8_t kind = kindOf(value);
    if (!(kinds & kind))
        return "Parameter " + path + " must be " + kindNames(kinds) + ", not " + kindNames(kind) + ".";
    if (kind == wire::Null)
        return std::nullopt;
    if (!allowed.empty()
        && std::ranges::none_of(allowed, [&](const base::Value& one) { return sameValue(one, value); }))
        // The value itself stays out of the reason: it may be a password or a phone number.
        return "Parameter " + path + " holds a value the method does not take.";
    if (kind == wire::Object)
        return objectMismatch(*value.dictionary(), members, path);
    if (kind == wire::Array) {
        const base::Array& elements = *value.array();
        for (size_t index = 0; index < elements.count(); ++index) {
            const base::Value& element = elements.objectAtIndex(index);
            std::string elementPath = path + "[" + std::to_string(index) + "]";
            if (!(elementKinds & kindOf(element)))
                return "Parameter " + elementPath + " must be " + kindNames(elementKinds) + ", not "
                    + kindNames(kindOf(element)) + ".";
            if (element.isDictionary()) {
                if (auto reason = objectMismatch(*element.dictionary(), members, elementPath))
                    return reason;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> RequestForm::mismatch(const base::DictionaryRef& parameters) const
{
    if (!hasBody)
        return parameters ? std::optional<std::string>("The method takes no parameters.") : std::nullopt;
    if (!parameters)
        return "Expected a JSON object of parameters.";
    return objectMismatch(*parameters, fields, "");
}

size_t RequestForm::bodyLimit() const
{
    auto carriesTypedText = [](const auto& self, const std::vector<WireField>& fields) -> bool {
        return std::ranges::any_of(
            fields, [&](const WireField& field) { return field.typed || self(self, field.members); });
    };
    return carriesTypedText(carriesTypedText, fields) ? TypedTextBodyLimit : FieldsBodyLimit;
}

namespace wire {

    WireField text(std::string key) { return { std::move(key), Text }; }
    WireField number(std::string key) { return { std::move(key), Number }; }
    WireField boolean(std::string key) { return { std::move(key), Boolean }; }
    WireField null(std::string key) { return { std::move(key), Null }; }

    WireField object(std::string key, std::vector<WireField> members)
    {
        return { std::move(key), Object, {}, std::move(members) };
    }

    WireField arrayOf(std::string key, uint8_t elementKinds) { return { std::move(key), Array, {}, {}, elementKinds }; }

    WireField arrayOfObjects(std::string key, std::vector<WireField> members)
    {
        return { std::move(key), Array, {}, std::move(members), Object };
    }

} // namespace wire

} // namespace tracking_service
