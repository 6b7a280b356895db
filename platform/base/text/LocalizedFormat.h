// base::LocalizedFormat: fills a localised text's placeholders with arguments without ever handing the
// translated text to printf. Understood: "%@" (any argument as text), "%d", "%i", "%u" with the length
// prefixes "l", "ll", "h", "q" and "z" (integers), "%%", and the positional forms ("%1$@", "%2$ld").
// Anything else after a "%" is copied as it stands, and a placeholder without an argument stays as written,
// so a faulty translation shows up without reading past the arguments. Pure; usable on any thread.
//
//   std::string text = base::LocalizedFormat::format(localized("day"), { 3 });           // "Day 3"
//   std::string line = base::LocalizedFormat::format("%2$@ %1$@", { "world", "hello" }); // "hello world"
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace base {

class LocalizedFormat {
public:
    // A text, an integer or a double. Integers print in decimal; doubles print in their shortest form
    // through "%@" and truncated through the integer placeholders; texts print as they are everywhere.
    class Argument {
    public:
        Argument(std::string text)
            : m_value(std::move(text))
        {
        }
        Argument(std::string_view text)
            : m_value(std::string(text))
        {
        }
        Argument(const char* text)
            : m_value(std::string(text))
        {
        }
        template <typename T>
        requires std::is_integral_v<T> Argument(T number)
            : m_value(static_cast<long long>(number))
        {
        }
        Argument(double number)
            : m_value(number)
        {
        }

        std::string asObject() const;
        std::string asInteger() const;

    private:
        std::variant<std::string, long long, double> m_value;
    };

    static std::string format(std::string_view format, const std::vector<Argument>& arguments);
    static std::string format(std::string_view format, std::initializer_list<Argument> arguments)
    {
        return LocalizedFormat::format(format, std::vector<Argument>(arguments));
    }
};

} // namespace base
