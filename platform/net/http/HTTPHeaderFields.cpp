#include "net/http/HTTPHeaderFields.h"

#include <algorithm>
#include <atomic>

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

const std::vector<HTTPHeaderFields::Field>& HTTPHeaderFields::fields() const
{
    static const std::vector<Field> none;
    return m_fields ? *m_fields : none;
}

std::vector<HTTPHeaderFields::Field>& HTTPHeaderFields::editable()
{
    if (!m_fields)
        m_fields = std::make_shared<std::vector<Field>>();
    else if (m_fields.use_count() > 1)
        m_fields = std::make_shared<std::vector<Field>>(*m_fields);
    else
        // The other values that shared the fields are gone: their reads come before the change.
        std::atomic_thread_fence(std::memory_order_acquire);
    return *m_fields;
}

std::vector<HTTPHeaderFields::Field>::iterator HTTPHeaderFields::find(std::string_view name)
{
    auto& fields = editable();
    return std::find_if(
        fields.begin(), fields.end(), [&](const Field& field) { return namesEqual(field.first, name); });
}

const std::string* HTTPHeaderFields::value(std::string_view name) const
{
    for (auto& field : fields()) {
        if (namesEqual(field.first, name))
            return &field.second;
    }
    return nullptr;
}

void HTTPHeaderFields::set(std::string_view name, std::string value)
{
    if (auto found = find(name); found != m_fields->end())
        found->second = std::move(value);
    else
        m_fields->emplace_back(std::string(name), std::move(value));
}

void HTTPHeaderFields::add(std::string_view name, std::string_view value)
{
    if (auto found = find(name); found != m_fields->end()) {
        found->second += ", ";
        found->second += value;
    } else {
        m_fields->emplace_back(std::string(name), std::string(value));
    }
}

void HTTPHeaderFields::remove(std::string_view name)
{
    if (value(name))
        std::erase_if(editable(), [&](const Field& field) { return namesEqual(field.first, name); });
}

base::DictionaryRef HTTPHeaderFields::dictionary() const
{
    base::Dictionary::Pairs pairs;
    for (auto& [name, value] : fields())
        pairs.emplace_back(base::Value(name), base::Value(value));
    return base::Dictionary::make(std::move(pairs));
}

} // namespace net
