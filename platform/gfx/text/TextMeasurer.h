// gfx::TextMeasurer: breaks attributed text into lines and measures them. The installed measurer serves every
// measuring call of gfx (and of labels and layouts above it); the default one lays text out with pango,
// tests install a FixedTextMeasurer so that layouts come out in exact numbers. Measurers are immutable once
// installed and may be used from any thread.
//
//   gfx::TextMeasurer::Override fixed(std::make_shared<gfx::FixedTextMeasurer>());
//   gfx::Size size = gfx::sizeWithFont("Hello", gfx::Font::system(10));   // fixed metrics while `fixed` lives
#pragma once

#include "gfx/text/AttributedString.h"

#include <memory>
#include <vector>

namespace gfx {

struct TextLine {
    size_t start; // byte offset of the line's first character
    size_t length; // bytes of the line's text, a line break that ends it not included
    double width; // points; spaces where the line wraps are not counted
    double height; // points, the line's advance down to the next line
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;

    // The lines of `text` laid out at most `maxWidth` points wide (infinity: only line breaks in the text
    // split it). Wrapping modes wrap words (or characters) at the width, a word longer than the width being
    // split; the other modes give one line per paragraph, no wider than `maxWidth`. Empty text has no lines.
    virtual std::vector<TextLine> lines(const AttributedString& text, double maxWidth) const = 0;
    // The height of one line of text in the font.
    virtual double lineHeight(const Font& font) const = 0;

    // The installed measurer.
    static std::shared_ptr<const TextMeasurer> current();
    // Installs a measurer (nullptr reinstalls the pango one) and returns the one it replaced.
    static std::shared_ptr<const TextMeasurer> install(std::shared_ptr<const TextMeasurer> measurer);

    // Installs a measurer for its lifetime, then puts the previous one back.
    class Override {
    public:
        explicit Override(std::shared_ptr<const TextMeasurer> measurer)
            : m_previous(install(std::move(measurer)))
        {
        }
        ~Override() { install(m_previous); }
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        std::shared_ptr<const TextMeasurer> m_previous;
    };
};

} // namespace gfx
