#include "database/SQLFormat.h"

#include "base/system/Log.h"

namespace database {

namespace {

    enum class Conversion {
        Object,
        Character,
        Int,
        UnsignedInt,
        Double,
        Float,
        Short,
        UnsignedShort,
        Long,
        UnsignedLong,
        CString,
    };

    struct ParsedConversion {
        Conversion conversion;
        size_t length;
    };

    bool followedBy(std::string_view format, size_t position, std::string_view letters)
    {
        return position < format.size() && letters.find(format[position]) != std::string_view::npos;
    }

    // The conversion whose letters start at `position` (just after the "%"), or none.
    std::optional<ParsedConversion> parseConversion(std::string_view format, size_t position)
    {
        switch (format[position]) {
        case '@':
            return ParsedConversion { Conversion::Object, 1 };
        case 'c':
            return ParsedConversion { Conversion::Character, 1 };
        case 'd':
        case 'i':
        case 'D':
            return ParsedConversion { Conversion::Int, 1 };
        case 'u':
        case 'U':
            return ParsedConversion { Conversion::UnsignedInt, 1 };
        case 'f':
            return ParsedConversion { Conversion::Double, 1 };
        case 'g':
            return ParsedConversion { Conversion::Float, 1 };
        case 's':
            return ParsedConversion { Conversion::CString, 1 };
        case 'h':
            if (followedBy(format, position + 1, "iu"))
                return ParsedConversion { format[position + 1] == 'i' ? Conversion::Short : Conversion::UnsignedShort,
                    2 };
            return std::nullopt;
        case 'l':
            if (followedBy(format, position + 1, "du"))
                return ParsedConversion { format[position + 1] == 'd' ? Conversion::Long : Conversion::UnsignedLong,
                    2 };
            if (followedBy(format, position + 1, "l") && followedBy(format, position + 2, "du"))
                return ParsedConversion { format[position + 2] == 'd' ? Conversion::Long : Conversion::UnsignedLong,
                    3 };
            return std::nullopt;
        case 'q':
            if (followedBy(format, position + 1, "iu"))
                return ParsedConversion { format[position + 1] == 'i' ? Conversion::Long : Conversion::UnsignedLong,
                    2 };
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }

    base::Value convert(Conversion conversion, const base::Value& value)
    {
        switch (conversion) {
        case Conversion::Object:
            return value;
        case Conversion::Character:
            return base::Value(std::string(1, static_cast<char>(value.intValue())));
        case Conversion::Int:
            return base::Value(value.intValue());
        case Conversion::UnsignedInt:
            return base::Value(static_cast<unsigned>(value.unsignedLongLongValue()));
        case Conversion::Double:
            return base::Value(value.doubleValue());
        case Conversion::Float:
            return base::Value(value.floatValue());
        case Conversion::Short:
            return base::Value(static_cast<short>(value.intValue()));
        case Conversion::UnsignedShort:
            return base::Value(static_cast<unsigned short>(value.intValue()));
        case Conversion::Long:
            return base::Value(value.longLongValue());
        case Conversion::UnsignedLong:
            return base::Value(value.unsignedLongLongValue());
        case Conversion::CString:
            return base::Value(value.stringValue());
        }
        return value;
    }

} // namespace

std::optional<FormattedSQL> extractSQL(std::string_view format, std::span<const FormatArgument> arguments)
{
    FormattedSQL result;
    result.sql.reserve(format.size());
    size_t nextArgument = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            result.sql += format[i];
            continue;
        }
        if (++i == format.size())
            break;
        auto parsed = parseConversion(format, i);
        if (!parsed) {
            result.sql += format[i];
            continue;
        }
        i += parsed->length - 1;
        if (nextArgument == arguments.size()) {
            base::log("Error: the format asks for more than the " + std::to_string(arguments.size())
                + " argument(s) given: " + std::string(format));
            return std::nullopt;
        }
        const FormatArgument& argument = arguments[nextArgument++];
        if (!argument) {
            result.sql += "NULL";
            continue;
        }
        result.sql += '?';
        result.arguments.push_back(convert(parsed->conversion, *argument));
    }
    return result;
}

} // namespace database
