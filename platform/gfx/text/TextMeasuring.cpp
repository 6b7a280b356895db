#include "gfx/text/TextMeasuring.h"

#include "gfx/text/TextMeasurer.h"

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

    constexpr double tolerance = 1e-9;

    Size roundedUp(Size size) { return { std::ceil(size.width - tolerance), std::ceil(size.height - tolerance) }; }

    TextAttributes withFont(const Font& font)
    {
        TextAttributes attributes;
        attributes.font = font;
        return attributes;
    }

    AttributedString withMode(std::string_view text, TextAttributes attributes, LineBreakMode mode)
    {
        attributes.paragraph.lineBreakMode = mode;
        return AttributedString(std::string(text), attributes);
    }

} // namespace

Size measureText(const AttributedString& text, const TextLimits& limits)
{
    if (text.empty())
        return {};
    Size size;
    int count = 0;
    for (const TextLine& line : TextMeasurer::current()->lines(text, limits.width)) {
        bool fits = size.height + line.height <= limits.height + tolerance;
        if (count > 0 && (!fits || (limits.maxLines > 0 && count >= limits.maxLines)))
            break;
        size.width = std::max(size.width, line.width);
        size.height += line.height;
        ++count;
    }
    return size;
}

Size sizeWithAttributes(std::string_view text, const TextAttributes& attributes)
{
    return measureText(AttributedString(std::string(text), attributes));
}

Rect boundingRectWithSize(const AttributedString& text, Size size, unsigned options)
{
    if (!(options & DrawingOptions::UsesLineFragmentOrigin))
        return Rect({}, measureText(text));
    return Rect({}, measureText(text, { size.width, size.height }));
}

Rect boundingRectWithSize(std::string_view text, Size size, unsigned options, const TextAttributes& attributes)
{
    return boundingRectWithSize(AttributedString(std::string(text), attributes), size, options);
}

Size sizeWithFont(std::string_view text, const Font& font)
{
    return roundedUp(sizeWithAttributes(text, withFont(font)));
}

Size sizeWithFont(std::string_view text, const Font& font, Size size, LineBreakMode mode)
{
    return roundedUp(measureText(withMode(text, withFont(font), mode), { size.width, size.height }));
}

} // namespace gfx
