#include "gfx/text/Font.h"

#include <algorithm>
#include <array>

namespace gfx {

namespace {

    constexpr std::array<std::string_view, 9> knownFamilies {
        "Helvetica",
        "HelveticaNeue",
        "Helvetica Neue",
        "Avenir",
        "AvenirNext",
        "Avenir Next",
        "Arial",
        "ArialMT",
        "System",
    };

    bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

} // namespace

Font::Font(std::string name, double size, bool bold, bool italic)
    : m_name(std::move(name))
    , m_size(std::max(size, 0.0))
    , m_bold(bold)
    , m_italic(italic)
{
}

Font Font::system(double size) { return Font("System", size, false, false); }

Font Font::boldSystem(double size) { return Font("System-Bold", size, true, false); }

Font Font::named(std::string_view name, double size)
{
    size_t dash = name.find('-');
    std::string_view family = name.substr(0, dash);
    std::string_view style = dash == std::string_view::npos ? std::string_view {} : name.substr(dash + 1);
    if (std::find(knownFamilies.begin(), knownFamilies.end(), family) == knownFamilies.end())
        return system(size);
    bool bold = contains(style, "Bold") || contains(style, "Heavy") || contains(style, "Black");
    bool italic = contains(style, "Oblique") || contains(style, "Italic");
    return Font(std::string(name), size, bold, italic);
}

Font Font::withSize(double size) const { return Font(m_name, size, m_bold, m_italic); }

} // namespace gfx
