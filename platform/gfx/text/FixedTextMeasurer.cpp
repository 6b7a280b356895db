#include "gfx/text/FixedTextMeasurer.h"

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

    // The byte length of the UTF-8 sequence starting with `lead`; 1 for a byte that cannot start one.
    size_t sequenceLength(unsigned char lead)
    {
        if (lead >= 0xF0 && lead <= 0xF4)
            return 4;
        if (lead >= 0xE0)
            return lead <= 0xEF ? 3 : 1;
        if (lead >= 0xC2)
            return 2;
        return 1;
    }

    constexpr double tolerance = 1e-9;

} // namespace

std::vector<FixedTextMeasurer::Character> FixedTextMeasurer::characters(
    const AttributedString& text, size_t begin, size_t end) const
{
    std::vector<Character> result;
    const std::string& s = text.string();
    for (size_t i = begin; i < end;) {
        size_t bytes = std::min(sequenceLength(static_cast<unsigned char>(s[i])), end - i);
        for (size_t k = 1; k < bytes; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                bytes = 1;
        double size = text.attributesAt(i).font.size();
        result.push_back({ i, bytes, size * m_advanceFactor, size * m_lineHeightFactor, s[i] == ' ' });
        i += bytes;
    }
    return result;
}

std::vector<TextLine> FixedTextMeasurer::lines(const AttributedString& text, double maxWidth) const
{
    std::vector<TextLine> out;
    const std::string& s = text.string();
    if (s.empty())
        return out;
    LineBreakMode mode = text.paragraphStyle().lineBreakMode;
    size_t begin = 0;
    while (true) {
        size_t end = s.find('\n', begin);
        size_t paragraphEnd = end == std::string::npos ? s.size() : end;
        auto paragraph = characters(text, begin, paragraphEnd);
        if (paragraph.empty())
            out.push_back({ begin, 0, 0, lineHeight(text.attributesAt(begin).font) });
        else
            breakParagraph(paragraph, paragraphEnd, maxWidth, mode, out);
        if (end == std::string::npos)
            break;
        begin = end + 1;
    }
    return out;
}

void FixedTextMeasurer::breakParagraph(const std::vector<Character>& paragraph, size_t end, double maxWidth,
    LineBreakMode mode, std::vector<TextLine>& out) const
{
    // Emits characters [first, last) as one line; spaces where a line wraps do not count to its width, those
    // at the end of the paragraph do.
    auto emit = [&](size_t first, size_t last, double limit) {
        double width = 0, height = 0, pendingSpaces = 0;
        for (size_t k = first; k < last; ++k) {
            const Character& c = paragraph[k];
            height = std::max(height, c.lineHeight);
            if (c.space) {
                pendingSpaces += c.advance;
            } else {
                width += pendingSpaces + c.advance;
                pendingSpaces = 0;
            }
        }
        if (last == paragraph.size())
            width += pendingSpaces;
        size_t startByte = paragraph[first].offset;
        size_t endByte = last < paragraph.size() ? paragraph[last].offset : end;
        out.push_back({ startByte, endByte - startByte, std::min(width, limit), height });
    };

    if (!wraps(mode) || !std::isfinite(maxWidth)) {
        emit(0, paragraph.size(), maxWidth);
        return;
    }

    size_t lineStart = 0;
    bool hasContent = false; // the current line holds more than spaces
    double width = 0; // of the current line, trailing spaces excluded
    double pendingSpaces = 0;
    size_t k = 0;
    while (k < paragraph.size()) {
        if (paragraph[k].space) {
            pendingSpaces += paragraph[k].advance;
            ++k;
            continue;
        }
        // The next unit: a whole word for word wrap, one character for character wrap.
        size_t unitEnd = k + 1;
        if (mode == LineBreakMode::WordWrap)
            while (unitEnd < paragraph.size() && !paragraph[unitEnd].space)
                ++unitEnd;
        double unitWidth = 0;
        for (size_t u = k; u < unitEnd; ++u)
            unitWidth += paragraph[u].advance;

        if (!hasContent || width + pendingSpaces + unitWidth <= maxWidth + tolerance) {
            if (unitWidth <= maxWidth + tolerance || hasContent) {
                width += pendingSpaces + unitWidth;
                pendingSpaces = 0;
                hasContent = true;
                k = unitEnd;
                continue;
            }
            // A word wider than the line: take as many of its characters as fit (at least one).
            size_t fit = k;
            double fitWidth = 0;
            while (fit < unitEnd && (fit == k || fitWidth + paragraph[fit].advance <= maxWidth + tolerance))
                fitWidth += paragraph[fit++].advance;
            emit(lineStart, fit, maxWidth);
            lineStart = k = fit;
            width = pendingSpaces = 0;
            continue;
        }
        emit(lineStart, k, maxWidth);
        lineStart = k;
        width = pendingSpaces = 0;
        hasContent = false;
    }
    emit(lineStart, paragraph.size(), maxWidth);
}

} // namespace gfx
