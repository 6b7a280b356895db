// gfx::FixedTextMeasurer: a text measurer with fixed metrics for tests, so that layouts built on measured
// text come out in exact numbers: every character (a Unicode code point, space included) advances
// advanceFactor x the font size, and every line is lineHeightFactor x the largest font size on it.
// Words wrap greedily at spaces; a word wider than the line is split between characters. Spaces where a
// line wraps do not count to its width; spaces at the end of a paragraph do (as with the pango measurer).
//
//   gfx::TextMeasurer::Override fixed(std::make_shared<gfx::FixedTextMeasurer>());  // 10 pt: 5 wide, 12.5 high
#pragma once

#include "gfx/text/TextMeasurer.h"

namespace gfx {

class FixedTextMeasurer final : public TextMeasurer {
public:
    explicit FixedTextMeasurer(double advanceFactor = 0.5, double lineHeightFactor = 1.25)
        : m_advanceFactor(advanceFactor)
        , m_lineHeightFactor(lineHeightFactor)
    {
    }

    std::vector<TextLine> lines(const AttributedString& text, double maxWidth) const override;
    double lineHeight(const Font& font) const override { return font.size() * m_lineHeightFactor; }

private:
    struct Character {
        size_t offset;
        size_t bytes;
        double advance;
        double lineHeight;
        bool space;
    };
    std::vector<Character> characters(const AttributedString& text, size_t begin, size_t end) const;
    // Appends the lines of one non-empty paragraph ending at byte `end`.
    void breakParagraph(const std::vector<Character>& paragraph, size_t end, double maxWidth, LineBreakMode mode,
        std::vector<TextLine>& out) const;

    double m_advanceFactor;
    double m_lineHeightFactor;
};

} // namespace gfx
