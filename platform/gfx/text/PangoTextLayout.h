// A pango layout of an AttributedString, shared by the pango measurer and Context::drawText so that text is
// drawn exactly where it was measured. Internal to gfx; one thread at a time.
//
// Font rendering is fixed for determinism: no hinting and unrounded glyph positions, sizes in points as
// cairo user-space units. Lines are always laid out left-aligned; callers place each line for the alignment.
#pragma once

#include "gfx/text/AttributedString.h"
#include "gfx/text/TextMeasurer.h"

#include <cairo.h>
#include <memory>
#include <optional>
#include <pango/pangocairo.h>
#include <string>
#include <vector>

namespace gfx {

class PangoTextLayout {
public:
    // For measuring, on a private pango context of this thread.
    PangoTextLayout(const AttributedString& text, double maxWidth);
    // For drawing with `cr`.
    PangoTextLayout(cairo_t* cr, const AttributedString& text, double maxWidth);
    // A layout for drawing with `cr` that this thread keeps between calls, brought up to date with `cr`'s
    // transform and surface: drawing the same text again (a label redrawn) skips laying it out anew.
    static std::shared_ptr<PangoTextLayout> forDrawing(cairo_t* cr, const AttributedString& text, double maxWidth);
    // Drops the layouts this thread keeps for drawing.
    static void forgetDrawingLayouts();
    // What tells two layouts apart: the text, each run's font, the line breaking at the width, and with
    // `colours` each run's colour.
    static std::string key(const AttributedString& text, double maxWidth, bool colours);
    ~PangoTextLayout();
    PangoTextLayout(const PangoTextLayout&) = delete;
    PangoTextLayout& operator=(const PangoTextLayout&) = delete;

    PangoLayout* layout() const { return m_layout; }

    struct Line {
        TextLine metrics;
        double baseline; // from the top of the layout
        double top;
        PangoLayoutLine* line;
    };
    // The laid-out lines, worked out once and kept until the layout changes: asking pango for them walks every
    // run's font metrics, which costs more than drawing the text.
    const std::vector<Line>& lines() const;
    // Whether some of the text is hidden on its lines: shortened with an ellipsis, or cut at the width.
    [[nodiscard]] bool cutsText() const;

    // The height of an empty line in `font`.
    static double lineHeight(const Font& font);

private:
    // What a pango context takes from the cairo context it draws with, besides font options that are fixed.
    struct DrawingState {
        cairo_surface_type_t surface { CAIRO_SURFACE_TYPE_IMAGE };
        double xx { 1 };
        double yx { 0 };
        double xy { 0 };
        double yy { 1 };
        bool operator==(const DrawingState& other) const;
    };
    static DrawingState drawingState(cairo_t* cr);
    // Brings the layout up to date with `cr` when it draws differently from the last one.
    void followContext(cairo_t* cr);
    void configure(const AttributedString& text, double maxWidth);

    PangoContext* m_context;
    PangoLayout* m_layout;
    DrawingState m_drawingState;
    double m_maxWidth { 0 };
    bool m_clips { false };
    mutable std::optional<std::vector<Line>> m_lines;
};

// The pango description of a font: its families, weight, slant and absolute size.
PangoFontDescription* makeFontDescription(const Font& font);

} // namespace gfx
