#include "gfx/text/PangoTextMeasurer.h"

#include "gfx/text/PangoTextLayout.h"

#include <unordered_map>

namespace gfx {

namespace {

    // Screens measure the same texts again at every layout (a label measures itself to place its text, then
    // draws it), and laying text out with pango costs far more than a look-up, so each thread keeps the
    // lines of the texts it measured lately.
    constexpr size_t rememberedTexts = 2048;

    std::vector<TextLine> layOut(const AttributedString& text, double maxWidth)
    {
        std::vector<TextLine> result;
        PangoTextLayout layout(text, maxWidth);
        for (const PangoTextLayout::Line& line : layout.lines())
            result.push_back(line.metrics);
        return result;
    }

} // namespace

std::vector<TextLine> PangoTextMeasurer::lines(const AttributedString& text, double maxWidth) const
{
    if (text.empty())
        return {};
    thread_local std::unordered_map<std::string, std::vector<TextLine>> measured;
    std::string key = PangoTextLayout::key(text, maxWidth, false);
    if (auto found = measured.find(key); found != measured.end())
        return found->second;
    if (measured.size() >= rememberedTexts)
        measured.clear();
    return measured.emplace(std::move(key), layOut(text, maxWidth)).first->second;
}

double PangoTextMeasurer::lineHeight(const Font& font) const { return PangoTextLayout::lineHeight(font); }

} // namespace gfx
