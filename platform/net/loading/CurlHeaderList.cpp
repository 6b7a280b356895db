#include "net/loading/CurlHeaderList.h"

#include <algorithm>
#include <cstring>

namespace net {

namespace {

    constexpr std::string_view NoContinue = "Expect:";

    bool holds(std::string_view part, char c) { return std::memchr(part.data(), c, part.size()) != nullptr; }

    void appendSanitized(std::string& text, std::string_view part)
    {
        size_t start = text.size();
        text.append(part);
        // Nearly every part is clean: three block searches tell, rather than a test of every character.
        if (!holds(part, '\r') && !holds(part, '\n') && !holds(part, '\0'))
            return;
        std::replace_if(
            text.begin() + static_cast<ptrdiff_t>(start), text.end(),
            [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
    }

} // namespace

void CurlHeaderList::assign(const HTTPHeaderFields& fields)
{
    if (m_built && *m_built == fields)
        return;
    build(fields);
    m_built = fields;
}

void CurlHeaderList::build(const HTTPHeaderFields& fields)
{
    // The text is sized first: the nodes point into it, so it must not move while it grows.
    size_t length = NoContinue.size() + 1;
    for (auto& [name, value] : fields)
        length += name.size() + value.size() + 3;
    m_text.clear();
    m_text.reserve(length);
    m_nodes.clear();
    m_nodes.reserve(fields.size() + 1);
    auto startLine = [&] { m_nodes.push_back(curl_slist { m_text.data() + m_text.size(), nullptr }); };
    for (auto& [name, value] : fields) {
        if (HTTPHeaderFields::namesEqual(name, "Content-Length"))
            continue;
        startLine();
        appendSanitized(m_text, name);
        if (value.empty()) {
            m_text += ';';
        } else {
            m_text += ": ";
            appendSanitized(m_text, value);
        }
        m_text += '\0';
    }
    startLine();
    m_text.append(NoContinue);
    m_text += '\0';
    for (size_t index = 0; index + 1 < m_nodes.size(); ++index)
        m_nodes[index].next = &m_nodes[index + 1];
}

} // namespace net
