// gfx::AttributedString: UTF-8 text with runs of attributes covering it end to end. A value, any thread.
// The paragraph style of the first run governs the whole text's alignment and line breaking.
//
//   gfx::AttributedString tip("Tap here", { gfx::Font::named("Avenir-Medium", 12), gfx::Color::white() });
//   tip.append(" to start", { gfx::Font::boldSystem(12), gfx::Color::white() });
#pragma once

#include "gfx/text/TextAttributes.h"

#include <string>
#include <vector>

namespace gfx {

class AttributedString {
public:
    struct Run {
        size_t start; // byte offset into the text
        size_t length; // bytes
        TextAttributes attributes;
    };

    AttributedString() = default;
    AttributedString(std::string text, TextAttributes attributes);

    void append(std::string_view text, const TextAttributes& attributes);

    const std::string& string() const { return m_text; }
    const std::vector<Run>& runs() const { return m_runs; }
    bool empty() const { return m_text.empty(); }
    // The attributes at a byte offset (those of the last run past the end; defaults for empty text).
    TextAttributes attributesAt(size_t offset) const;
    ParagraphStyle paragraphStyle() const
    {
        return m_runs.empty() ? ParagraphStyle {} : m_runs.front().attributes.paragraph;
    }

private:
    std::string m_text;
    std::vector<Run> m_runs;
};

} // namespace gfx
