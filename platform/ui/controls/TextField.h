// ui::TextField: a one-line editable text. A tap makes it the first responder (its delegate may refuse),
// which brings the keyboard up, and a tap in the field being edited puts the caret where it lands; typed text
// replaces the selection at the caret, each change the user makes being offered to the delegate first (see
// TextFieldDelegate for the order of the calls) and followed by the editing-changed event. An input method's
// provisional text (marked text) is part of the text while it is composed, changes without asking, and is
// offered to the delegate when it is committed. The return key asks textFieldShouldReturn and, on yes, sends
// editing-did-end-on-exit. Resigning (or leaving the window) commits the composition and ends editing.
// Setting the text in code asks nothing and sends nothing. The clear button (shown by its mode, while there
// is text) empties the field through the same delegate check. Secure fields draw a bullet per character.
// Ranges and the caret count Unicode code points. A text wider than the field scrolls sideways so that the
// caret stays in view. While editing, the caret blinks, and shows steadily again after each change. The
// clipboard commands go through Pasteboard::general(); a secure field never gives its text to the clipboard.
// Main thread.
//
//   auto name = std::make_shared<ui::TextField>(gfx::Rect { 148, 90, 162, 30 });
//   name->setBorderStyle(ui::TextBorderStyle::RoundedRect);
//   name->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
//   name->setDelegate(weak_from_this());
//   name->addAction([weak](ui::Control&) { ... }, ui::ControlEvent::EditingChanged);
#pragma once

#include "base/time/Timer.h"
#include "gfx/text/Font.h"
#include "gfx/text/TextAttributes.h"
#include "ui/controls/Control.h"
#include "ui/controls/TextFieldDelegate.h"
#include "ui/controls/TextFieldTypes.h"

#include <optional>
#include <string>

namespace ui {

class TextField : public Control {
public:
    static constexpr double defaultFontSize = 17;
    // The width of the clear button's touch area at the right end of the field.
    static constexpr double clearButtonWidth = 29;
    // Half a period of the caret's blinking.
    static constexpr base::Duration caretBlinkInterval { 0.5 };

    explicit TextField(const gfx::Rect& frame = {});
    ~TextField() override;

    const std::string& text() const { return m_text; }
    void setText(std::string text);
    const std::string& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::string placeholder);
    const gfx::Font& font() const { return m_font; }
    void setFont(gfx::Font font);
    const gfx::Color& textColor() const { return m_textColor; }
    void setTextColor(gfx::Color color);
    gfx::TextAlignment textAlignment() const { return m_alignment; }
    void setTextAlignment(gfx::TextAlignment alignment);
    TextBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(TextBorderStyle style);
    TextFieldViewMode clearButtonMode() const { return m_clearButtonMode; }
    void setClearButtonMode(TextFieldViewMode mode);
    bool isSecureTextEntry() const { return m_secure; }
    void setSecureTextEntry(bool secure);
    KeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(KeyboardType type) { m_keyboardType = type; }
    ReturnKeyType returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(ReturnKeyType type) { m_returnKeyType = type; }

    std::weak_ptr<TextFieldDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) { m_delegate = std::move(delegate); }

    bool isEditing() const { return m_editing; }
    bool isFirstResponder() const { return m_editing; }
    // False when the delegate refuses.
    bool becomeFirstResponder();
    bool resignFirstResponder();

    // The selection (an empty one is the caret), clamped to the text.
    TextRange selectedRange() const { return m_selection; }
    void setSelectedRange(TextRange range);
    bool hasMarkedText() const { return m_marked.has_value(); }
    [[nodiscard]] std::optional<TextRange> markedTextRange() const { return m_marked; }

    // Editing as the keyboard does it; each does nothing unless the field is editing.
    void insertText(const std::string& text);
    void deleteBackward();
    void deleteForward();
    void setMarkedText(const std::string& text);
    void unmarkText();

    // What is drawn for the text: the text, or a bullet per character when secure.
    std::string displayedText() const;
    bool isClearButtonShown() const;
    gfx::Rect clearButtonRectForBounds(const gfx::Rect& bounds) const;
    gfx::Rect textRectForBounds(const gfx::Rect& bounds) const;
    // Where the caret is drawn, in the field's coordinates.
    gfx::Rect caretRect() const;
    // How far the text is scrolled to the left to keep the caret in view.
    double scrollOffset() const { return m_scrollOffset; }
    // Whether the blinking caret is in its shown phase (meaningful while editing).
    bool isCaretShown() const { return m_caretShown; }

    // The desktop editing commands; each does nothing unless the field is editing.
    void selectAll();
    void copy();
    void cut();
    void paste();

    void endTracking(const Touch* touch, const Event* event) override;
    void willMoveToWindow(const std::shared_ptr<Window>& window) override;
    void tintColorDidChange() override { setNeedsDisplay(); }
    void drawRect(const gfx::Rect& rect) override;

private:
    size_t length() const;
    // Replaces `range` after asking the delegate; false when refused.
    [[nodiscard]] bool edit(TextRange range, const std::string& replacement);
    void replace(TextRange range, const std::string& replacement);
    void clearText();
    void changed();
    void keepCaretInView();
    void startBlinking();
    void stopBlinking();
    // Where the displayed text starts, given the text rectangle and the text's width.
    double textStart(const gfx::Rect& textRect, double textWidth) const;
    double displayedWidthBefore(size_t codePoints) const;
    // The caret position (in code points) whose boundary lies nearest to an x of the bounds.
    size_t caretIndexAt(double x) const;
    gfx::TextAttributes attributes(const gfx::Color& color) const;

    std::string m_text;
    std::string m_placeholder;
    gfx::Font m_font { gfx::Font::system(defaultFontSize) };
    gfx::Color m_textColor { gfx::Color::black() };
    gfx::TextAlignment m_alignment { gfx::TextAlignment::Left };
    TextBorderStyle m_borderStyle { TextBorderStyle::None };
    TextFieldViewMode m_clearButtonMode { TextFieldViewMode::Never };
    bool m_secure { false };
    KeyboardType m_keyboardType { KeyboardType::Default };
    ReturnKeyType m_returnKeyType { ReturnKeyType::Default };
    std::weak_ptr<TextFieldDelegate> m_delegate;
    bool m_editing { false };
    TextRange m_selection;
    std::optional<TextRange> m_marked;
    double m_scrollOffset { 0 };
    bool m_caretShown { true };
    std::shared_ptr<base::Timer> m_blink;
};

} // namespace ui
