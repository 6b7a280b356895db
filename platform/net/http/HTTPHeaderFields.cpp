#include "net/http/HTTPHeaderFields.h"

#include <algorithm>

namespace net {

namespace {

    // Field names are ASCII tokens: only A-Z fold, whatever the process's locale.
    char foldedASCII(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

} // namespace

bool HTTPHeaderFields::namesEqual(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldedASCII(x) == foldedASCII(y); });
}

std::vector<HTTPHeaderFields::Field>::iterator HTTPHeaderFields::find(std::string_view name)
{
    return std::find_if(
        m_fields.begin(), m_fields.end(), [&](const Field& field) { return namesEqual(field.first, name); });
}

const std::string* HTTPHeaderFields::value(std::string_view name) const
{
    for (auto& field : m_fields) {
        if (namesEqual(field.first, name))
            return &field.second;
    }
    return nullptr;
}

void HTTPHeaderFields::set(std::string_view name, std::string value)
{
    if (auto found = find(name); found != m_fields.end())
        found->second = std::move(value);
    else
        m_fields.emplace_back(std::string(name), std::move(value));
}

void HTTPHeaderFields::add(std::string_view name, std::string_view value)
{
    if (auto found = find(name); found != m_fields.end()) {
        found->second += ", ";
        found->second += value;
    } else {
        m_fields.emplace_back(std::string(name), std::string(value));
    }
}

void HTTPHeaderFields::remove(std::string_view name)
{
    std::erase_if(m_fields, [&](const Field& field) { return namesEqual(field.first, name); });
}

base::DictionaryRef HTTPHeaderFields::dictionary() const
{
    base::Dictionary::Pairs pairs;
    for (auto& [name, value] : m_fields)
        pairs.emplace_back(base::Value(name), base::Value(value));
    return base::Dictionary::make(std::move(pairs));
}

} // namespace net
