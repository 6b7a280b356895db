// tracking_service::RequestForm: the wire form of one web method's request: whether it carries a JSON object
// at all, and each key of that object with its JSON kinds and, where the method fixes them, its allowed
// values; an object or an array of objects has the form of its own keys. mismatch() names the first way a
// request differs from the form (a missing key, an unknown key, a wrong kind or value) in one line, so the
// service can refuse it the way a web service refuses a call whose parameters do not match. Immutable; any
// thread.
//
//   RequestForm form = RequestForm::object({ wire::text("Serialnumber"), wire::number("power").oneOf({ 0, 1 }) });
//   if (auto reason = form.mismatch(parameters)) answer500(*reason);
#pragma once

#include "base/values/Dictionary.h"
#include "base/values/Value.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace tracking_service {

namespace wire {
    // The JSON kinds a value may take, combined with |.
    enum Kind : uint8_t {
        Text = 1 << 0,
        Number = 1 << 1,
        Boolean = 1 << 2,
        Null = 1 << 3,
        Object = 1 << 4,
        Array = 1 << 5,
    };
}

struct WireField {
    std::string key;
    uint8_t kinds { 0 };
    // The values the key may hold; empty: any value of its kinds.
    std::vector<base::Value> allowed {};
    // The keys of an object value, or of each object of an array value.
    std::vector<WireField> members {};
    // The kinds of an array's elements.
    uint8_t elementKinds { 0 };
    // A text the user types, which the application sends whole, however long.
    bool typed { false };

    WireField oneOf(std::initializer_list<base::Value> values) &&;
    WireField orNull() &&;
    WireField typedText() &&;

    // The first difference of `value` from this field, as a one-line reason; nothing when it fits.
    std::optional<std::string> mismatch(const base::Value& value, const std::string& path) const;
};

namespace wire {
    WireField text(std::string key);
    WireField number(std::string key);
    WireField boolean(std::string key);
    // A key whose value is always null.
    WireField null(std::string key);
    WireField object(std::string key, std::vector<WireField> members);
    WireField arrayOf(std::string key, uint8_t elementKinds);
    WireField arrayOfObjects(std::string key, std::vector<WireField> members);
}

struct RequestForm {
    // The largest body taken with a request of fields the application fills itself: far above any such request,
    // and above the voice upload's form (the longest recording, 20 s of AMR at 12.2 kbit/s, is some 32 KB).
    static constexpr size_t FieldsBodyLimit = 64 * 1024;
    // The largest body taken with a request that carries a typed text, which nothing limits: some 170,000
    // characters even when each is written as a \u escape, while a sender at the minimum rate still frees its
    // worker within about a minute.
    static constexpr size_t TypedTextBodyLimit = 1024 * 1024;

    bool hasBody { true };
    // The keys of the request's object, in the order the application sends them.
    std::vector<WireField> fields;

    static RequestForm none() { return { false, {} }; }
    static RequestForm object(std::vector<WireField> fields) { return { true, std::move(fields) }; }

    // The largest body a request of this form is taken with.
    size_t bodyLimit() const;

    // The first difference of a request from the form; nothing when it fits. `parameters` is the request's
    // decoded object, null when the request had no body.
    std::optional<std::string> mismatch(const base::DictionaryRef& parameters) const;
};

// The name of a kind set ("text or null"), for reasons and tests.
std::string kindNames(uint8_t kinds);
// The kinds of a value.
uint8_t kindOf(const base::Value& value);

} // namespace tracking_service
