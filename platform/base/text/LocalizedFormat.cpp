#include "base/text/LocalizedFormat.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace base {

namespace {

    std::string shortestText(double number)
    {
        if (std::isnan(number))
            return "nan";
        if (std::isinf(number))
            return number < 0 ? "-inf" : "inf";
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
        return std::string(buffer, result.ptr);
    }

    // One placeholder at the start of `text` (just past its "%"): its length in characters, the argument index
    // it names (when positional) and its conversion ('@', 'd' for every integer form, '%').
    struct Placeholder {
        size_t length { 0 };
        std::optional<size_t> position;
        char conversion { 0 };
    };

    std::optional<Placeholder> readPlaceholder(std::string_view text)
    {
        Placeholder placeholder;
        size_t i = 0;
        if (i < text.size() && text[i] == '%')
            return Placeholder { .length = 1, .position = std::nullopt, .conversion = '%' };
        size_t digitsEnd = i;
        while (digitsEnd < text.size() && text[digitsEnd] >= '0' && text[digitsEnd] <= '9' && digitsEnd < 3)
            ++digitsEnd;
        if (digitsEnd > i && digitsEnd < text.size() && text[digitsEnd] == '$') {
            size_t position = 0;
            std::from_chars(text.data() + i, text.data() + digitsEnd, position);
            if (position == 0)
                return std::nullopt;
            placeholder.position = position - 1;
            i = digitsEnd + 1;
        }
        if (i < text.size() && text[i] == '@') {
            placeholder.conversion = '@';
            placeholder.length = i + 1;
            return placeholder;
        }
        for (std::string_view prefix : { "ll", "l", "h", "q", "z" }) {
            if (text.substr(i).starts_with(prefix)) {
                i += prefix.size();
                break;
            }
        }
        if (i < text.size() && (text[i] == 'd' || text[i] == 'i' || text[i] == 'u')) {
            placeholder.conversion = 'd';
            placeholder.length = i + 1;
            return placeholder;
        }
        return std::nullopt;
    }

} // namespace

std::string LocalizedFormat::Argument::asObject() const
{
    if (const auto* text = std::get_if<std::string>(&m_value))
        return *text;
    if (const auto* integer = std::get_if<long long>(&m_value))
        return std::to_string(*integer);
    return shortestText(std::get<double>(m_value));
}

std::string LocalizedFormat::Argument::asInteger() const
{
    if (const auto* number = std::get_if<double>(&m_value)) {
        if (!std::isfinite(*number) || std::fabs(*number) >= 9.2e18)
            return asObject();
        return std::to_string(static_cast<long long>(*number));
    }
    return asObject();
}

std::string LocalizedFormat::format(std::string_view format, const std::vector<Argument>& arguments)
{
    std::string result;
    size_t nextArgument = 0;
    size_t i = 0;
    while (i < format.size()) {
        size_t percent = format.find('%', i);
        result.append(format.substr(i, percent == std::string_view::npos ? std::string_view::npos : percent - i));
        if (percent == std::string_view::npos)
            break;
        auto placeholder = readPlaceholder(format.substr(percent + 1));
        if (!placeholder) {
            result += '%';
            i = percent + 1;
            continue;
        }
        size_t end = percent + 1 + placeholder->length;
        if (placeholder->conversion == '%') {
            result += '%';
        } else {
            size_t index = placeholder->position.value_or(nextArgument);
            if (!placeholder->position)
                ++nextArgument;
            if (index < arguments.size())
                result += placeholder->conversion == '@' ? arguments[index].asObject() : arguments[index].asInteger();
            else
                result.append(format.substr(percent, end - percent));
        }
        i = end;
    }
    return result;
}

} // namespace base
