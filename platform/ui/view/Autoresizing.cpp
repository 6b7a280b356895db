#include "ui/view/Autoresizing.h"

#include "ui/view/ViewTypes.h"

#include <algorithm>

namespace ui {

namespace {

    struct Span {
        double start;
        double length;
    };

    Span resizeAxis(
        Span span, double oldLength, double newLength, bool flexibleStart, bool flexibleLength, bool flexibleEnd)
    {
        double delta = newLength - oldLength;
        int flexibleParts = flexibleStart + flexibleLength + flexibleEnd;
        if (delta == 0 || flexibleParts == 0)
            return span;
        double startMargin = flexibleStart ? std::max(span.start, 0.0) : 0;
        double length = flexibleLength ? std::max(span.length, 0.0) : 0;
        double endMargin = flexibleEnd ? std::max(oldLength - span.start - span.length, 0.0) : 0;
        double total = startMargin + length + endMargin;
        auto share = [&](bool flexible, double part) {
            if (!flexible)
                return 0.0;
            return total > 0 ? delta * part / total : delta / flexibleParts;
        };
        return { span.start + share(flexibleStart, startMargin), span.length + share(flexibleLength, length) };
    }

} // namespace

gfx::Rect autoresizedFrame(const gfx::Rect& frame, unsigned mask, gfx::Size oldSize, gfx::Size newSize)
{
    using namespace AutoresizingMask;
    Span x = resizeAxis({ frame.origin.x, frame.size.width }, oldSize.width, newSize.width, mask & FlexibleLeftMargin,
        mask & FlexibleWidth, mask & FlexibleRightMargin);
    Span y = resizeAxis({ frame.origin.y, frame.size.height }, oldSize.height, newSize.height, mask & FlexibleTopMargin,
        mask & FlexibleHeight, mask & FlexibleBottomMargin);
    return { x.start, y.start, x.length, y.length };
}

} // namespace ui
