// Text measuring as the components call it, on the installed TextMeasurer (see TextMeasurer.h). Any thread.
//
// Two families with different rounding, which layouts depend on:
// - the newer calls (sizeWithAttributes, boundingRectWithSize) give fractional sizes;
// - the older calls (sizeWithFont) give whole points, each dimension rounded up.
// Empty text measures (0, 0). A height limit keeps the whole lines that fit in it, and always the first.
//
//   gfx::Size one = gfx::sizeWithAttributes("Loading", { gfx::Font::boldSystem(16) });
//   gfx::Rect details = gfx::boundingRectWithSize(text, { 232, 400 }, gfx::DrawingOptions::UsesLineFragmentOrigin,
//   attributes); gfx::Size title = gfx::sizeWithFont(text, gfx::Font::system(15), { 200, 1000 },
//   gfx::LineBreakMode::WordWrap);
#pragma once

#include "gfx/text/AttributedString.h"
#include "gfx/geometry/Rect.h"
#include "gfx/geometry/Size.h"

#include <limits>
#include <string_view>

namespace gfx {

namespace DrawingOptions {
    // Lays the text out in lines wrapped at the given width; without it the text is measured as by
    // sizeWithAttributes, unwrapped.
    constexpr unsigned UsesLineFragmentOrigin = 1;
    // Accepted for compatibility; the installed fonts have no extra leading, so it changes nothing.
    constexpr unsigned UsesFontLeading = 2;
    // Accepted for compatibility; lines beyond the height limit are left out with or without it.
    constexpr unsigned TruncatesLastVisibleLine = 32;
} // namespace DrawingOptions

struct TextLimits {
    double width { std::numeric_limits<double>::infinity() };
    double height { std::numeric_limits<double>::infinity() };
    // 0: no limit.
    int maxLines { 0 };
};

// The fractional size of the text laid out within the limits: the widest kept line by the sum of the kept
// lines' heights.
Size measureText(const AttributedString& text, const TextLimits& limits = {});

// Unwrapped (only line breaks in the text start new lines), fractional.
Size sizeWithAttributes(std::string_view text, const TextAttributes& attributes);
// Wrapped at size.width when the options ask for it (see DrawingOptions), limited to size.height,
// fractional; the origin is (0, 0).
Rect boundingRectWithSize(std::string_view text, Size size, unsigned options, const TextAttributes& attributes);
Rect boundingRectWithSize(const AttributedString& text, Size size, unsigned options);
// Unwrapped, rounded up to whole points.
Size sizeWithFont(std::string_view text, const Font& font);
// Laid out within `size` as `mode` says, rounded up to whole points.
Size sizeWithFont(std::string_view text, const Font& font, Size size, LineBreakMode mode);

} // namespace gfx
