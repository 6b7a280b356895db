// gfx::PangoTextMeasurer: the default text measurer, laying text out with pango in the installed fonts
// (see Font). Fractional metrics, no hinting: the same text measures the same on every call.
#pragma once

#include "gfx/text/TextMeasurer.h"

namespace gfx {

class PangoTextMeasurer final : public TextMeasurer {
public:
    std::vector<TextLine> lines(const AttributedString& text, double maxWidth) const override;
    double lineHeight(const Font& font) const override;
};

} // namespace gfx
