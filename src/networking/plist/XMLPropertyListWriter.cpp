#include "networking/plist/XMLPropertyListWriter.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/text/TextEncoding.h"
#include "networking/forms/Base64.h"
#include "networking/plist/PropertyListDate.h"
#include "networking/plist/PropertyListSerialization.h"

#include <charconv>
#include <cmath>
#include <string>

namespace networking {

namespace {

    class Writer {
    public:
        bool write(const base::Value& value, size_t depth)
        {
            if (depth > PropertyListSerialization::MaximumDepth)
                return fail("The property list is nested too deeply.");
            switch (value.kind()) {
            case base::Value::Kind::Null:
                return fail("A property list cannot hold the null value.");
            case base::Value::Kind::Bool:
                line(depth, *value.boolean() ? "<true/>" : "<false/>");
                return true;
            case base::Value::Kind::Integer:
                line(depth, "<integer>" + std::to_string(*value.integer()) + "</integer>");
                return true;
            case base::Value::Kind::Unsigned:
                line(depth, "<integer>" + std::to_string(*value.unsignedInteger()) + "</integer>");
                return true;
            case base::Value::Kind::Double:
                line(depth, "<real>" + realText(*value.real()) + "</real>");
                return true;
            case base::Value::Kind::String:
                return writeText(depth, "string", *value.string());
            case base::Value::Kind::Data: {
                const base::Data& bytes = *value.data();
                line(depth,
                    "<data>"
                        + Base64::encode(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))
                        + "</data>");
                return true;
            }
            case base::Value::Kind::Date:
                if (auto text = PropertyListDate::format(*value.date())) {
                    line(depth, "<date>" + *text + "</date>");
                    return true;
                }
                return fail("A date outside the years 0000 to 9999 cannot be written as text.");
            case base::Value::Kind::Array:
                return writeArray(*value.array(), depth);
            case base::Value::Kind::Dictionary:
                return writeDictionary(*value.dictionary(), depth);
            }
            return fail("Unknown value.");
        }

        std::string output;
        std::optional<std::string> failure;

    private:
        bool fail(std::string reason)
        {
            if (!failure)
                failure = std::move(reason);
            return false;
        }

        void line(size_t depth, const std::string& text)
        {
            output.append(depth, '\t');
            output += text;
            output += '\n';
        }

        static std::string realText(double number)
        {
            if (std::isnan(number))
                return "nan";
            if (std::isinf(number))
                return number > 0 ? "+infinity" : "-infinity";
            char buffer[64];
            auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
            return error == std::errc() ? std::string(buffer, end) : std::string("0");
        }

        bool escape(std::string_view text, std::string& escaped)
        {
            if (!base::TextEncoding::decode(text, base::TextEncoding::UTF8))
                return fail("A text is not valid UTF-8.");
            // U+FFFE and U+FFFF are not characters XML may carry.
            if (text.find("\xEF\xBF\xBE") != std::string_view::npos
                || text.find("\xEF\xBF\xBF") != std::string_view::npos)
                return fail("A text holds a noncharacter XML cannot carry.");
            for (char c : text) {
                auto byte = static_cast<unsigned char>(c);
                if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r')
                    return fail("A text holds a control character XML cannot carry.");
                if (c == '&')
                    escaped += "&amp;";
                else if (c == '<')
                    escaped += "&lt;";
                else if (c == '>')
                    escaped += "&gt;";
                else if (c == '\r')
                    escaped += "&#13;";
                else
                    escaped += c;
            }
            return true;
        }

        bool writeText(size_t depth, const char* element, std::string_view text)
        {
            std::string escaped;
            if (!escape(text, escaped))
                return false;
            line(depth, std::string("<") + element + ">" + escaped + "</" + element + ">");
            return true;
        }

        bool writeArray(const base::Array& array, size_t depth)
        {
            if (array.isEmpty()) {
                line(depth, "<array/>");
                return true;
            }
            line(depth, "<array>");
            for (const base::Value& member : array) {
                if (!write(member, depth + 1))
                    return false;
            }
            line(depth, "</array>");
            return true;
        }

        bool writeDictionary(const base::Dictionary& dictionary, size_t depth)
        {
            if (dictionary.count() == 0) {
                line(depth, "<dict/>");
                return true;
            }
            line(depth, "<dict>");
            for (auto [key, value] : dictionary) {
                if (!key->isString())
                    return fail("A dictionary key is not a text.");
                if (!writeText(depth + 1, "key", *key->string()) || !write(*value, depth + 1))
                    return false;
            }
            line(depth, "</dict>");
            return true;
        }
    };

} // namespace

std::optional<base::Data> XMLPropertyListWriter::write(const base::Value& propertyList, base::Error* error)
{
    Writer writer;
    writer.output = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";
    if (!writer.write(propertyList, 0)) {
        base::setError(error, PropertyListSerialization::writeError(*writer.failure));
        return std::nullopt;
    }
    writer.output += "</plist>\n";
    return base::Data(writer.output.begin(), writer.output.end());
}

} // namespace networking
