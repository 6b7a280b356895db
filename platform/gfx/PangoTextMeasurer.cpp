#include "gfx/PangoTextMeasurer.h"

#include "gfx/PangoTextLayout.h"

namespace gfx {

std::vector<TextLine> PangoTextMeasurer::lines(const AttributedString& text, double maxWidth) const
{
    std::vector<TextLine> result;
    if (text.empty())
        return result;
    PangoTextLayout layout(text, maxWidth);
    for (const PangoTextLayout::Line& line : layout.lines())
        result.push_back(line.metrics);
    return result;
}

double PangoTextMeasurer::lineHeight(const Font& font) const { return PangoTextLayout::lineHeight(font); }

} // namespace gfx
