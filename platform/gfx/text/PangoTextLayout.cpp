#include "gfx/text/PangoTextLayout.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

namespace gfx {

namespace {

    struct ContextDeleter {
        void operator()(PangoContext* context) const { g_object_unref(context); }
    };

    cairo_font_options_t* fixedFontOptions()
    {
        static cairo_font_options_t* options = [] {
            cairo_font_options_t* o = cairo_font_options_create();
            cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
            cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
            cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
            return o;
        }();
        return options;
    }

    void configureContext(PangoContext* context)
    {
        pango_cairo_context_set_font_options(context, fixedFontOptions());
        pango_context_set_round_glyph_positions(context, FALSE);
    }

    PangoContext* measuringContext()
    {
        thread_local std::unique_ptr<PangoContext, ContextDeleter> context = [] {
            PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
            configureContext(c);
            return std::unique_ptr<PangoContext, ContextDeleter>(c);
        }();
        return context.get();
    }

    // Pango needs valid UTF-8; each byte that does not start a valid sequence becomes '?' so that the byte
    // offsets of the runs still hold.
    std::string validUTF8(const std::string& text)
    {
        std::string out = text;
        const char* begin = out.data();
        const char* end = begin + out.size();
        const char* p = begin;
        while (p < end) {
            const gchar* invalid = nullptr;
            if (g_utf8_validate(p, end - p, &invalid))
                break;
            size_t at = static_cast<size_t>(invalid - begin);
            out[at] = '?';
            p = begin + at + 1;
        }
        return out;
    }

    guint16 channel16(double component)
    {
        return static_cast<guint16>(std::lround(std::clamp(component, 0.0, 1.0) * 65535));
    }

    double fromPango(int units) { return static_cast<double>(units) / PANGO_SCALE; }

    template <typename Value> void appendBytes(std::string& key, const Value& value)
    {
        key.append(reinterpret_cast<const char*>(&value), sizeof value);
    }

    constexpr size_t keptDrawingLayouts = 512;

    std::unordered_map<std::string, std::shared_ptr<PangoTextLayout>>& drawingLayouts()
    {
        thread_local std::unordered_map<std::string, std::shared_ptr<PangoTextLayout>> kept;
        return kept;
    }

} // namespace

// Characters that neither family has, emoji above all, come from fontconfig's fallback: the colour emoji font
// that setup installs, drawn in its own colours.
PangoFontDescription* makeFontDescription(const Font& font)
{
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, Font::families);
    pango_font_description_set_weight(description, font.isBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description, font.isItalic() ? PANGO_STYLE_OBLIQUE : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(description, std::max(font.size(), 0.01) * PANGO_SCALE);
    return description;
}

PangoTextLayout::PangoTextLayout(const AttributedString& text, double maxWidth)
    : m_context(static_cast<PangoContext*>(g_object_ref(measuringContext())))
    , m_layout(pango_layout_new(m_context))
{
    configure(text, maxWidth);
}

PangoTextLayout::PangoTextLayout(cairo_t* cr, const AttributedString& text, double maxWidth)
    : m_context(pango_cairo_create_context(cr))
    , m_drawingState(drawingState(cr))
{
    configureContext(m_context);
    m_layout = pango_layout_new(m_context);
    configure(text, maxWidth);
}

std::shared_ptr<PangoTextLayout> PangoTextLayout::forDrawing(cairo_t* cr, const AttributedString& text, double maxWidth)
{
    auto& kept = drawingLayouts();
    std::string name = key(text, maxWidth, true);
    if (auto found = kept.find(name); found != kept.end()) {
        found->second->followContext(cr);
        return found->second;
    }
    if (kept.size() >= keptDrawingLayouts)
        kept.clear();
    return kept.emplace(std::move(name), std::make_shared<PangoTextLayout>(cr, text, maxWidth)).first->second;
}

void PangoTextLayout::forgetDrawingLayouts() { drawingLayouts().clear(); }

std::string PangoTextLayout::key(const AttributedString& text, double maxWidth, bool colours)
{
    std::string key = text.string();
    key.push_back('\0');
    appendBytes(key, maxWidth);
    appendBytes(key, text.paragraphStyle().lineBreakMode);
    for (const AttributedString::Run& run : text.runs()) {
        const Font& font = run.attributes.font;
        appendBytes(key, run.start);
        appendBytes(key, run.length);
        appendBytes(key, font.size());
        appendBytes(key, font.isBold());
        appendBytes(key, font.isItalic());
        if (colours)
            appendBytes(key, run.attributes.color);
    }
    return key;
}

bool PangoTextLayout::DrawingState::operator==(const DrawingState& other) const
{
    return surface == other.surface && xx == other.xx && yx == other.yx && xy == other.xy && yy == other.yy;
}

PangoTextLayout::DrawingState PangoTextLayout::drawingState(cairo_t* cr)
{
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    return { cairo_surface_get_type(cairo_get_target(cr)), m.xx, m.yx, m.xy, m.yy };
}

void PangoTextLayout::followContext(cairo_t* cr)
{
    // Pango marks the layout changed at every update, even one to the same values, and then shapes its text
    // anew; it ignores the translation, so the same kind of surface at the same scale and turn keeps it.
    DrawingState state = drawingState(cr);
    if (state == m_drawingState)
        return;
    pango_cairo_update_layout(cr, m_layout);
    m_drawingState = state;
    m_lines.reset();
}

PangoTextLayout::~PangoTextLayout()
{
    g_object_unref(m_layout);
    g_object_unref(m_context);
}

void PangoTextLayout::configure(const AttributedString& text, double maxWidth)
{
    m_maxWidth = maxWidth;
    std::string utf8 = validUTF8(text.string());
    pango_layout_set_text(m_layout, utf8.data(), static_cast<int>(utf8.size()));

    PangoAttrList* attributes = pango_attr_list_new();
    for (const AttributedString::Run& run : text.runs()) {
        auto start = static_cast<guint>(run.start);
        auto end = static_cast<guint>(run.start + run.length);
        PangoFontDescription* description = makeFontDescription(run.attributes.font);
        PangoAttribute* font = pango_attr_font_desc_new(description);
        pango_font_description_free(description);
        const Color& c = run.attributes.color;
        PangoAttribute* color = pango_attr_foreground_new(channel16(c.r), channel16(c.g), channel16(c.b));
        PangoAttribute* alpha = pango_attr_foreground_alpha_new(std::max<guint16>(channel16(c.a), 1));
        for (PangoAttribute* attribute : { font, color, alpha }) {
            attribute->start_index = start;
            attribute->end_index = end;
            pango_attr_list_insert(attributes, attribute);
        }
    }
    // A word split where a line wraps is split as it is, with no hyphen added at the break.
    pango_attr_list_insert(attributes, pango_attr_insert_hyphens_new(FALSE));
    pango_layout_set_attributes(m_layout, attributes);
    pango_attr_list_unref(attributes);

    LineBreakMode mode = text.paragraphStyle().lineBreakMode;
    bool limited = std::isfinite(maxWidth) && maxWidth >= 0;
    m_clips = mode == LineBreakMode::Clip && limited;
    if (!limited || mode == LineBreakMode::Clip)
        return;
    pango_layout_set_width(m_layout, static_cast<int>(std::floor(maxWidth * PANGO_SCALE)));
    switch (mode) {
    case LineBreakMode::WordWrap:
        pango_layout_set_wrap(m_layout, PANGO_WRAP_WORD_CHAR);
        break;
    case LineBreakMode::CharWrap:
        pango_layout_set_wrap(m_layout, PANGO_WRAP_CHAR);
        break;
    case LineBreakMode::TruncateHead:
        pango_layout_set_ellipsize(m_layout, PANGO_ELLIPSIZE_START);
        break;
    case LineBreakMode::TruncateTail:
        pango_layout_set_ellipsize(m_layout, PANGO_ELLIPSIZE_END);
        break;
    case LineBreakMode::TruncateMiddle:
        pango_layout_set_ellipsize(m_layout, PANGO_ELLIPSIZE_MIDDLE);
        break;
    case LineBreakMode::Clip:
        break;
    }
}

const std::vector<PangoTextLayout::Line>& PangoTextLayout::lines() const
{
    if (m_lines)
        return *m_lines;
    std::vector<Line>& result = m_lines.emplace();
    if (pango_layout_get_character_count(m_layout) == 0)
        return result;
    PangoLayoutIter* iter = pango_layout_get_iter(m_layout);
    do {
        PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        double width = fromPango(logical.width);
        if (m_clips)
            width = std::min(width, m_maxWidth);
        result.push_back({ { static_cast<size_t>(line->start_index), static_cast<size_t>(line->length), width,
                               fromPango(logical.height) },
            fromPango(pango_layout_iter_get_baseline(iter)), fromPango(logical.y), line });
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    return result;
}

bool PangoTextLayout::cutsText() const
{
    if (pango_layout_is_ellipsized(m_layout))
        return true;
    if (!m_clips)
        return false;
    // Less than half a point past the edge is antialiasing, not a lost letter.
    constexpr double tolerance = 0.5;
    PangoRectangle logical;
    pango_layout_get_extents(m_layout, nullptr, &logical);
    return fromPango(logical.width) > m_maxWidth + tolerance;
}

double PangoTextLayout::lineHeight(const Font& font)
{
    PangoLayout* layout = pango_layout_new(measuringContext());
    PangoFontDescription* description = makeFontDescription(font);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return fromPango(logical.height);
}

} // namespace gfx
