#include "ui/controls/TextField.h"

#include "base/loop/MainThread.h"
#include "base/text/UTF8.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/drawing/Path.h"
#include "gfx/text/TextMeasurer.h"
#include "gfx/text/TextMeasuring.h"
#include "ui/input/Keyboard.h"
#include "ui/input/Pasteboard.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ui {

namespace {

    constexpr gfx::Color placeholderColor = gfx::Color::fromWhite(0.7, 1);
    constexpr gfx::Color clearButtonColor = gfx::Color::fromWhite(0.6, 1);
    constexpr gfx::Color roundedBorderColor = gfx::Color::fromWhite(0.8, 1);
    constexpr double clearButtonDiameter = 19;
    constexpr double caretWidth = 2;
    constexpr const char* bullet = "\u2022";

    size_t byteOffset(const std::string& text, size_t codePoints)
    {
        return base::utf8::prefix(text, codePoints).size();
    }

    // A one-line field holds no line breaks: pasted ones become spaces.
    std::string oneLine(std::string text)
    {
        std::replace(text.begin(), text.end(), '\r', ' ');
        std::replace(text.begin(), text.end(), '\n', ' ');
        return text;
    }

} // namespace

TextField::TextField(const gfx::Rect& frame)
    : Control(frame)
{
    setOpaque(false);
    setContentMode(ContentMode::Redraw);
}

TextField::~TextField()
{
    if (m_blink)
        m_blink->invalidate();
    if (m_editing)
        Keyboard::shared().editingFieldWentAway();
}

size_t TextField::length() const { return base::utf8::countCodePoints(m_text); }

void TextField::changed()
{
    keepCaretInView();
    if (m_editing)
        startBlinking();
    setNeedsDisplay();
}

void TextField::keepCaretInView()
{
    double visible = textRectForBounds(bounds()).width() - caretWidth;
    double whole = displayedWidthBefore(length());
    if (whole <= visible) {
        m_scrollOffset = 0;
        return;
    }
    double caret = displayedWidthBefore(m_selection.end());
    if (caret - m_scrollOffset > visible)
        m_scrollOffset = caret - visible;
    if (caret < m_scrollOffset)
        m_scrollOffset = caret;
    m_scrollOffset = std::clamp(m_scrollOffset, 0.0, whole - visible);
}

void TextField::startBlinking()
{
    m_caretShown = true;
    if (m_blink)
        m_blink->invalidate();
    m_blink = base::Timer::scheduled(caretBlinkInterval, true, [weak = weak_from_this()](base::Timer&) {
        if (auto self = std::static_pointer_cast<TextField>(weak.lock())) {
            self->m_caretShown = !self->m_caretShown;
            self->setNeedsDisplay();
        }
    });
}

void TextField::stopBlinking()
{
    if (m_blink)
        m_blink->invalidate();
    m_blink.reset();
    m_caretShown = true;
}

void TextField::setText(std::string text)
{
    m_text = std::move(text);
    m_marked.reset();
    m_selection = { length(), 0 };
    changed();
}

void TextField::setPlaceholder(std::string placeholder)
{
    m_placeholder = std::move(placeholder);
    changed();
}

void TextField::setFont(gfx::Font font)
{
    m_font = std::move(font);
    changed();
}

void TextField::setTextColor(gfx::Color color)
{
    m_textColor = color;
    changed();
}

void TextField::setTextAlignment(gfx::TextAlignment alignment)
{
    m_alignment = alignment;
    changed();
}

void TextField::setBorderStyle(TextBorderStyle style)
{
    m_borderStyle = style;
    changed();
}

void TextField::setClearButtonMode(TextFieldViewMode mode)
{
    m_clearButtonMode = mode;
    changed();
}

void TextField::setSecureTextEntry(bool secure)
{
    m_secure = secure;
    changed();
}

bool TextField::becomeFirstResponder()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_editing)
        return true;
    auto self = sharedFrom(this);
    auto delegate = m_delegate.lock();
    if (delegate && !delegate->textFieldShouldBeginEditing(*this))
        return false;
    Keyboard::shared().fieldWillBecomeFirstResponder(self);
    m_editing = true;
    m_selection = { length(), 0 };
    changed();
    if (auto delegate = m_delegate.lock())
        delegate->textFieldDidBeginEditing(*this);
    sendActionsForControlEvents(ControlEvent::EditingDidBegin);
    Keyboard::shared().fieldDidBecomeFirstResponder(*this);
    return true;
}

bool TextField::resignFirstResponder()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_editing)
        return true;
    auto self = sharedFrom(this);
    if (m_marked)
        unmarkText();
    m_editing = false;
    stopBlinking();
    changed();
    if (auto delegate = m_delegate.lock())
        delegate->textFieldDidEndEditing(*this);
    sendActionsForControlEvents(ControlEvent::EditingDidEnd);
    Keyboard::shared().fieldResigned(*this);
    return true;
}

void TextField::setSelectedRange(TextRange range)
{
    size_t count = length();
    range.location = std::min(range.location, count);
    range.length = std::min(range.length, count - range.location);
    m_selection = range;
    changed();
}

void TextField::replace(TextRange range, const std::string& replacement)
{
    size_t from = byteOffset(m_text, range.location);
    size_t to = byteOffset(m_text, range.end());
    m_text.replace(from, to - from, replacement);
    m_selection = { range.location + base::utf8::countCodePoints(replacement), 0 };
}

bool TextField::edit(TextRange range, const std::string& replacement)
{
    auto self = sharedFrom(this);
    auto delegate = m_delegate.lock();
    if (delegate && !delegate->textFieldShouldChangeCharacters(*this, range, replacement))
        return false;
    replace(range, replacement);
    changed();
    sendActionsForControlEvents(ControlEvent::EditingChanged);
    return true;
}

void TextField::insertText(const std::string& text)
{
    if (!m_editing)
        return;
    auto self = sharedFrom(this);
    if (text == "\n") {
        auto delegate = m_delegate.lock();
        if (!delegate || delegate->textFieldShouldReturn(*this))
            sendActionsForControlEvents(ControlEvent::EditingDidEndOnExit);
        return;
    }
    if (!m_marked) {
        (void)edit(m_selection, text); // a refusal is the delegate's choice
        return;
    }
    TextRange composed = *m_marked;
    m_marked.reset();
    if (!edit(composed, text)) {
        // A refused commitment drops the provisional text.
        replace(composed, "");
        changed();
        sendActionsForControlEvents(ControlEvent::EditingChanged);
    }
}

void TextField::deleteBackward()
{
    if (!m_editing)
        return;
    if (m_marked) {
        std::string composed = m_text.substr(byteOffset(m_text, m_marked->location),
            byteOffset(m_text, m_marked->end()) - byteOffset(m_text, m_marked->location));
        size_t count = base::utf8::countCodePoints(composed);
        setMarkedText(std::string(base::utf8::prefix(composed, count ? count - 1 : 0)));
        return;
    }
    if (m_selection.length > 0)
        (void)edit(m_selection, ""); // a refusal is the delegate's choice
    else if (m_selection.location > 0)
        (void)edit({ m_selection.location - 1, 1 }, ""); // a refusal is the delegate's choice
}

void TextField::deleteForward()
{
    if (!m_editing || m_marked)
        return;
    if (m_selection.length > 0)
        (void)edit(m_selection, ""); // a refusal is the delegate's choice
    else if (m_selection.location < length())
        (void)edit({ m_selection.location, 1 }, ""); // a refusal is the delegate's choice
}

void TextField::setMarkedText(const std::string& text)
{
    if (!m_editing)
        return;
    auto self = sharedFrom(this);
    TextRange range = m_marked.value_or(m_selection);
    replace(range, text);
    if (text.empty())
        m_marked.reset();
    else
        m_marked = TextRange { range.location, base::utf8::countCodePoints(text) };
    changed();
    sendActionsForControlEvents(ControlEvent::EditingChanged);
}

void TextField::unmarkText()
{
    if (!m_marked)
        return;
    size_t from = byteOffset(m_text, m_marked->location);
    size_t to = byteOffset(m_text, m_marked->end());
    insertText(m_text.substr(from, to - from));
}

void TextField::selectAll()
{
    if (!m_editing)
        return;
    unmarkText();
    setSelectedRange({ 0, length() });
}

void TextField::copy()
{
    if (!m_editing || m_secure || m_selection.length == 0)
        return;
    size_t from = byteOffset(m_text, m_selection.location);
    Pasteboard::general().setString(m_text.substr(from, byteOffset(m_text, m_selection.end()) - from));
}

void TextField::cut()
{
    if (!m_editing || m_secure || m_selection.length == 0)
        return;
    auto self = sharedFrom(this);
    copy();
    (void)edit(m_selection, ""); // a refusal is the delegate's choice
}

void TextField::paste()
{
    if (!m_editing)
        return;
    auto pasted = Pasteboard::general().string();
    if (!pasted || pasted->empty())
        return;
    auto self = sharedFrom(this);
    unmarkText();
    (void)edit(m_selection, oneLine(*pasted)); // a refusal is the delegate's choice
}

void TextField::clearText()
{
    if (m_text.empty())
        return;
    m_marked.reset();
    (void)edit({ 0, length() }, ""); // a refusal is the delegate's choice
}

std::string TextField::displayedText() const
{
    if (!m_secure)
        return m_text;
    std::string bullets;
    for (size_t i = 0, count = length(); i < count; ++i)
        bullets += bullet;
    return bullets;
}

bool TextField::isClearButtonShown() const
{
    if (m_text.empty())
        return false;
    switch (m_clearButtonMode) {
    case TextFieldViewMode::Never:
        return false;
    case TextFieldViewMode::WhileEditing:
        return m_editing;
    case TextFieldViewMode::UnlessEditing:
        return !m_editing;
    case TextFieldViewMode::Always:
        return true;
    }
    return false;
}

gfx::Rect TextField::clearButtonRectForBounds(const gfx::Rect& bounds) const
{
    return { bounds.maxX() - clearButtonWidth, bounds.minY(), clearButtonWidth, bounds.height() };
}

gfx::Rect TextField::textRectForBounds(const gfx::Rect& bounds) const
{
    double inset = m_borderStyle == TextBorderStyle::RoundedRect ? 7 : m_borderStyle == TextBorderStyle::None ? 0 : 2;
    gfx::Rect rect { bounds.minX() + inset, bounds.minY(), std::max(0.0, bounds.width() - 2 * inset), bounds.height() };
    if (isClearButtonShown())
        rect.size.width = std::max(0.0, clearButtonRectForBounds(bounds).minX() - rect.minX());
    return rect;
}

gfx::TextAttributes TextField::attributes(const gfx::Color& color) const
{
    return { m_font, color, { m_alignment, gfx::LineBreakMode::Clip } };
}

double TextField::displayedWidthBefore(size_t codePoints) const
{
    std::string shown = displayedText();
    size_t end = m_secure ? codePoints * std::string_view(bullet).size() : byteOffset(m_text, codePoints);
    return gfx::sizeWithAttributes(std::string_view(shown).substr(0, end), attributes(m_textColor)).width;
}

double TextField::textStart(const gfx::Rect& textRect, double textWidth) const
{
    if (textWidth > textRect.width() - caretWidth)
        return textRect.minX() - m_scrollOffset;
    if (m_alignment == gfx::TextAlignment::Center)
        return textRect.minX() + (textRect.width() - textWidth) / 2;
    if (m_alignment == gfx::TextAlignment::Right)
        return textRect.minX() + textRect.width() - textWidth;
    return textRect.minX();
}

gfx::Rect TextField::caretRect() const
{
    gfx::Rect textRect = textRectForBounds(bounds());
    double start = textStart(textRect, displayedWidthBefore(length()));
    double lineHeight = gfx::TextMeasurer::current()->lineHeight(m_font);
    return { start + displayedWidthBefore(m_selection.end()), textRect.midY() - lineHeight / 2, caretWidth,
        lineHeight };
}

size_t TextField::caretIndexAt(double x) const
{
    gfx::Rect textRect = textRectForBounds(bounds());
    double start = textStart(textRect, displayedWidthBefore(length()));
    size_t nearest = 0;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (size_t index = 0, count = length(); index <= count; ++index) {
        double distance = std::abs(start + displayedWidthBefore(index) - x);
        if (distance < nearestDistance) {
            nearest = index;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void TextField::endTracking(const Touch* touch, const Event* event)
{
    Control::endTracking(touch, event);
    if (!touch || !isTouchInside())
        return;
    auto self = sharedFrom(this);
    if (isClearButtonShown() && clearButtonRectForBounds(bounds()).contains(touch->locationInView(this))) {
        if (!m_editing && !becomeFirstResponder())
            return;
        clearText();
        return;
    }
    // The first click begins editing with the caret at the end; a click in the field being edited moves the
    // caret to the character boundary nearest the click.
    if (!m_editing) {
        becomeFirstResponder();
        return;
    }
    if (m_marked)
        unmarkText();
    setSelectedRange({ caretIndexAt(touch->locationInView(this).x), 0 });
}

void TextField::willMoveToWindow(const std::shared_ptr<Window>& window)
{
    if (!window)
        resignFirstResponder();
}

void TextField::drawRect(const gfx::Rect&)
{
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    gfx::Rect b = bounds();
    switch (m_borderStyle) {
    case TextBorderStyle::None:
        break;
    case TextBorderStyle::Line:
    case TextBorderStyle::Bezel:
        context->setStrokeColor(m_borderStyle == TextBorderStyle::Line ? gfx::Color::black() : gfx::Color::gray());
        context->setLineWidth(1);
        context->strokeRect(b.insetBy(0.5, 0.5));
        break;
    case TextBorderStyle::RoundedRect:
        context->setFillColor(gfx::Color::white());
        context->addPath(gfx::Path::roundedRect(b.insetBy(0.5, 0.5), 5));
        context->fillPath();
        context->setStrokeColor(roundedBorderColor);
        context->setLineWidth(1);
        context->addPath(gfx::Path::roundedRect(b.insetBy(0.5, 0.5), 5));
        context->strokePath();
        break;
    }
    gfx::Rect textRect = textRectForBounds(b);
    bool empty = m_text.empty();
    std::string shown = empty ? m_placeholder : displayedText();
    auto style = attributes(empty ? placeholderColor : m_textColor);
    double lineHeight = gfx::TextMeasurer::current()->lineHeight(m_font);
    gfx::Rect line { textRect.minX(), textRect.midY() - lineHeight / 2, textRect.width(), lineHeight };
    double whole = empty ? 0 : displayedWidthBefore(length());
    if (whole > textRect.width() - caretWidth) {
        // Scrolled: the whole text is laid out from its start, and the clip shows the part around the caret.
        line.origin.x = textStart(textRect, whole);
        line.size.width = whole + caretWidth;
        style.paragraph.alignment = gfx::TextAlignment::Left;
    }
    context->save();
    context->clipToRect(textRect);
    context->drawText(gfx::AttributedString(shown, style), line, 1);
    if (m_editing && m_caretShown) {
        context->setFillColor(tintColor());
        context->fillRect(caretRect());
    }
    context->restore();
    if (isClearButtonShown()) {
        gfx::Rect area = clearButtonRectForBounds(b);
        gfx::Rect circle { area.midX() - clearButtonDiameter / 2, area.midY() - clearButtonDiameter / 2,
            clearButtonDiameter, clearButtonDiameter };
        context->setFillColor(clearButtonColor);
        context->fillEllipse(circle);
        gfx::Rect cross = circle.insetBy(6, 6);
        context->setStrokeColor(gfx::Color::white());
        context->setLineWidth(1.5);
        gfx::Path path;
        path.moveTo({ cross.minX(), cross.minY() });
        path.lineTo({ cross.maxX(), cross.maxY() });
        path.moveTo({ cross.maxX(), cross.minY() });
        path.lineTo({ cross.minX(), cross.maxY() });
        context->addPath(path);
        context->strokePath();
    }
}

} // namespace ui
