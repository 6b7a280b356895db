#include "gfx/text/AttributedString.h"

namespace gfx {

AttributedString::AttributedString(std::string text, TextAttributes attributes) { append(text, attributes); }

void AttributedString::append(std::string_view text, const TextAttributes& attributes)
{
    if (text.empty())
        return;
    if (!m_runs.empty() && m_runs.back().attributes == attributes)
        m_runs.back().length += text.size();
    else
        m_runs.push_back({ m_text.size(), text.size(), attributes });
    m_text += text;
}

TextAttributes AttributedString::attributesAt(size_t offset) const
{
    for (const Run& run : m_runs)
        if (offset < run.start + run.length)
            return run.attributes;
    return m_runs.empty() ? TextAttributes {} : m_runs.back().attributes;
}

} // namespace gfx
