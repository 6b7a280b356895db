// The attributes of a run of text: font, colour and paragraph style (alignment and line-break mode), with
// alignments and line-break modes keeping the fixed numbers that callers pass around.
//
//   gfx::TextAttributes label { gfx::Font::system(16), gfx::Color::white(), { gfx::TextAlignment::Center } };
#pragma once

#include "gfx/drawing/Color.h"
#include "gfx/text/Font.h"

namespace gfx {

enum class TextAlignment { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };

// WordWrap and CharWrap wrap lines at the width; the other modes keep each paragraph on one line, cut at the
// width (Clip) or shortened with an ellipsis at the head, tail or middle.
enum class LineBreakMode {
    WordWrap = 0,
    CharWrap = 1,
    Clip = 2,
    TruncateHead = 3,
    TruncateTail = 4,
    TruncateMiddle = 5
};

[[nodiscard]] inline bool wraps(LineBreakMode mode)
{
    return mode == LineBreakMode::WordWrap || mode == LineBreakMode::CharWrap;
}

struct ParagraphStyle {
    TextAlignment alignment { TextAlignment::Natural };
    LineBreakMode lineBreakMode { LineBreakMode::WordWrap };

    friend bool operator==(const ParagraphStyle&, const ParagraphStyle&) = default;
};

struct TextAttributes {
    // The default attributes of drawn text: 12-point system font, black.
    Font font { Font::system(12) };
    Color color { Color::black() };
    ParagraphStyle paragraph;

    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

} // namespace gfx
