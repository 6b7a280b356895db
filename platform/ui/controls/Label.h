// ui::Label: a view that draws a text: font, colour, alignment, number of lines (0: as many as needed),
// line-break mode, a shadow, greyed when disabled. The text is drawn vertically centred in the bounds.
// sizeThatFits measures it: one line unwrapped, or wrapped at the width offered and cut at numberOfLines,
// rounded up to whole points (so sizeToFit wraps a multi-line label at its current width). A label takes no
// touches unless user interaction is switched on. Main thread.
//
//   auto title = std::make_shared<ui::Label>(gfx::Rect { 0, 0, 200, 0 });
//   title->setText("Loading");
//   title->setFont(gfx::Font::boldSystem(16));
//   title->setNumberOfLines(0);
//   title->sizeToFit();
#pragma once

#include "gfx/text/AttributedString.h"
#include "gfx/text/Font.h"
#include "ui/view/View.h"

#include <optional>
#include <string>

namespace ui {

class Label : public View {
public:
    static constexpr double defaultFontSize = 17;

    explicit Label(const gfx::Rect& frame = {});

    const std::string& text() const { return m_text; }
    void setText(std::string text);
    const gfx::Font& font() const { return m_font; }
    void setFont(gfx::Font font);
    const gfx::Color& textColor() const { return m_textColor; }
    void setTextColor(gfx::Color color);
    gfx::TextAlignment textAlignment() const { return m_alignment; }
    void setTextAlignment(gfx::TextAlignment alignment);
    int numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(int lines);
    gfx::LineBreakMode lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(gfx::LineBreakMode mode);
    // Stored only: the text keeps its font size.
    bool adjustsFontSizeToFitWidth() const { return m_adjustsFontSizeToFitWidth; }
    void setAdjustsFontSizeToFitWidth(bool adjusts) { m_adjustsFontSizeToFitWidth = adjusts; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Empty: no shadow.
    const std::optional<gfx::Color>& shadowColor() const { return m_shadowColor; }
    void setShadowColor(std::optional<gfx::Color> color);
    gfx::Size shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(gfx::Size offset);

    // The text with the label's attributes, as drawn (greyed when disabled).
    gfx::AttributedString attributedText() const;
    // Where the text is drawn within `bounds`: its measured height, centred vertically.
    gfx::Rect textRectForBounds(const gfx::Rect& bounds) const;

    gfx::Size sizeThatFits(gfx::Size size) const override;
    void drawRect(const gfx::Rect& rect) override;

private:
    gfx::Size measure(double width) const;
    void changed();
    // Stores a new value of `field` and redraws; nothing when it holds that value already.
    template <typename T> void change(T& field, T value);

    std::string m_text;
    gfx::Font m_font { gfx::Font::system(defaultFontSize) };
    gfx::Color m_textColor { gfx::Color::black() };
    gfx::TextAlignment m_alignment { gfx::TextAlignment::Left };
    int m_numberOfLines { 1 };
    gfx::LineBreakMode m_lineBreakMode { gfx::LineBreakMode::TruncateTail };
    bool m_adjustsFontSizeToFitWidth { false };
    bool m_enabled { true };
    std::optional<gfx::Color> m_shadowColor;
    gfx::Size m_shadowOffset { 0, -1 };
};

} // namespace ui
