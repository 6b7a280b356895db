#include "net/http/HTTPHeaderFields.h"

#include <algorithm>
#include <atomic>

namespace net {

namespace {

    // Field names are ASCII tokens: only A-Z fold, whatever the process's locale. A table, so that comparing
    // two names costs no branch per character.
    struct FoldTable {
        unsigned char folded[256];
        constexpr FoldTable()
            : folded {}
        {
            for (int c = 0; c < 256; ++c)
                folded[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        }
    };
    constexpr FoldTable foldTable;

    unsigned char foldedASCII(char c) { return foldTable.folded[static_cast<unsigned char>(c)]; }

} // namespace

bool HTTPHeaderFields::namesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // Names are usually spelt alike: one block comparison settles those.
    if (a == b)
        return true;
    return std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldedASCII(x) == foldedASCII(y); });
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
