// Value::description and Value::stringValue: the texts "%@" prints for each kind of value, with containers in
// the nested, indented property-list style.
#include "base/values/Value.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/values/NumberText.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace base {

namespace {

    constexpr size_t indentWidth = 4;

    void appendIndent(std::string& out, size_t level) { out.append(level * indentWidth, ' '); }

    void appendNumber(std::string& out, const Value& value)
    {
        if (const bool* b = value.boolean())
            out += *b ? '1' : '0';
        else if (const int64_t* i = value.integer())
            out += std::to_string(*i);
        else if (const uint64_t* u = value.unsignedInteger())
            out += std::to_string(*u);
        else
            out += formatDouble(*value.real());
    }

    void appendData(std::string& out, const Data& bytes)
    {
        static constexpr char hexDigits[] = "0123456789abcdef";
        out += '<';
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i && i % 4 == 0)
                out += ' ';
            out += hexDigits[bytes[i] >> 4];
            out += hexDigits[bytes[i] & 0xf];
        }
        out += '>';
    }

    // "2014-05-13 16:53:20 +0000": whole seconds of the UTC calendar. Instants beyond what the calendar functions
    // handle print as their interval.
    void appendDate(std::string& out, Date date)
    {
        double seconds = std::floor(date.timeIntervalSince1970());
        std::tm fields {};
        if (std::isfinite(seconds) && std::abs(seconds) < 1e15) {
            std::time_t whole = static_cast<std::time_t>(seconds);
            char buffer[64];
            if (gmtime_r(&whole, &fields) && std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S +0000", &fields)) {
                out += buffer;
                return;
            }
        }
        out += formatDouble(date.timeIntervalSince1970());
    }

    // Inside a container a text stays bare only when it is a non-empty run of letters, digits and underscores.
    bool needsQuotes(std::string_view text)
    {
        if (text.empty())
            return true;
        return std::any_of(text.begin(), text.end(), [](char c) {
            bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
            return !word;
        });
    }

    void appendQuotedIfNeeded(std::string& out, std::string_view text)
    {
        if (!needsQuotes(text)) {
            out += text;
            return;
        }
        out += '"';
        for (char c : text) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
            }
        }
        out += '"';
    }

    void appendDescription(std::string& out, const Value& value, size_t level);

    // A value as it appears inside a container: texts, dates and null are quoted when they hold anything but
    // word characters; numbers, data and containers are written as they are.
    void appendElement(std::string& out, const Value& value, size_t level)
    {
        if (const std::string* text = value.string())
            appendQuotedIfNeeded(out, *text);
        else if (value.isDate() || value.isNull())
            appendQuotedIfNeeded(out, value.description());
        else
            appendDescription(out, value, level);
    }

    void appendArray(std::string& out, const Array& array, size_t level)
    {
        out += "(\n";
        size_t count = array.count();
        for (size_t i = 0; i < count; ++i) {
            appendIndent(out, level + 1);
            appendElement(out, array.objectAtIndex(i), level + 1);
            out += i + 1 < count ? ",\n" : "\n";
        }
        appendIndent(out, level);
        out += ')';
    }

    // Entries are listed by ascending key when every key is a text (so the output does not depend on a hash
    // table's order), else in the dictionary's own order.
    void appendDictionary(std::string& out, const Dictionary& dictionary, size_t level)
    {
        std::vector<std::pair<const Value*, const Value*>> entries;
        entries.reserve(dictionary.count());
        bool allTextKeys = true;
        for (auto [key, value] : dictionary) {
            entries.emplace_back(key, value);
            allTextKeys = allTextKeys && key->isString();
        }
        if (allTextKeys)
            std::sort(entries.begin(), entries.end(),
                [](auto& a, auto& b) { return *a.first->string() < *b.first->string(); });
        out += "{\n";
        for (auto& [key, value] : entries) {
            appendIndent(out, level + 1);
            appendElement(out, *key, level + 1);
            out += " = ";
            appendElement(out, *value, level + 1);
            out += ";\n";
        }
        appendIndent(out, level);
        out += '}';
    }

    void appendDescription(std::string& out, const Value& value, size_t level)
    {
        switch (value.kind()) {
        case Value::Kind::Null:
            out += "<null>";
            break;
        case Value::Kind::Bool:
        case Value::Kind::Integer:
        case Value::Kind::Unsigned:
        case Value::Kind::Double:
            appendNumber(out, value);
            break;
        case Value::Kind::String:
            out += *value.string();
            break;
        case Value::Kind::Data:
            appendData(out, *value.data());
            break;
        case Value::Kind::Date:
            appendDate(out, *value.date());
            break;
        case Value::Kind::Array:
            appendArray(out, *value.array(), level);
            break;
        case Value::Kind::Dictionary:
            appendDictionary(out, *value.dictionary(), level);
            break;
        }
    }

} // namespace

std::string Value::description() const
{
    std::string out;
    appendDescription(out, *this, 0);
    return out;
}

std::string Value::stringValue() const
{
    if (const std::string* text = string())
        return *text;
    return description();
}

} // namespace base
