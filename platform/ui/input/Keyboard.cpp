#include "ui/input/Keyboard.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/text/UTF8.h"
#include "ui/controls/TextField.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

#include <algorithm>

namespace ui {

namespace {

    bool canEdit(const View& view)
    {
        for (const View* v = &view; v; v = v->superview().get()) {
            if (v->isHidden() || !v->isUserInteractionEnabled())
                return false;
        }
        return true;
    }

    void collectFields(const std::shared_ptr<View>& view, std::vector<std::shared_ptr<TextField>>& fields)
    {
        if (auto field = std::dynamic_pointer_cast<TextField>(view); field && field->isEnabled() && canEdit(*field))
            fields.push_back(field);
        for (const auto& subview : view->subviews())
            collectFields(subview, fields);
    }

    // The window's editable fields in reading order.
    std::vector<std::shared_ptr<TextField>> fieldsOf(const std::shared_ptr<Window>& window)
    {
        std::vector<std::shared_ptr<TextField>> fields;
        collectFields(window, fields);
        auto origin = [&](const TextField& field) { return field.convertRectTo(field.bounds(), window.get()).origin; };
        std::stable_sort(fields.begin(), fields.end(), [&](const auto& a, const auto& b) {
            gfx::Point pa = origin(*a), pb = origin(*b);
            return pa.y != pb.y ? pa.y < pb.y : pa.x < pb.x;
        });
        return fields;
    }

} // namespace

Keyboard& Keyboard::shared()
{
    BASE_ASSERT_MAIN_THREAD();
    static Keyboard* keyboard = new Keyboard;
    return *keyboard;
}

gfx::Rect Keyboard::shownFrame() const
{
    gfx::Rect screen = Screen::main().bounds();
    double height = m_coversScreen ? onScreenHeight : 0;
    return { screen.minX(), screen.maxY() - height, screen.width(), height };
}

gfx::Rect Keyboard::hiddenFrame() const
{
    gfx::Rect screen = Screen::main().bounds();
    return { screen.minX(), screen.maxY(), screen.width(), shownFrame().height() };
}

bool Keyboard::endEditing(const View* view)
{
    BASE_ASSERT_MAIN_THREAD();
    auto field = firstResponder();
    if (!field || (view && !field->isDescendantOfView(view)))
        return false;
    return field->resignFirstResponder();
}

void Keyboard::insertText(const std::string& text)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto field = firstResponder())
        field->insertText(text);
}

void Keyboard::key(KeyEvent::Key key)
{
    BASE_ASSERT_MAIN_THREAD();
    auto field = firstResponder();
    if (!field)
        return;
    TextRange selection = field->selectedRange();
    switch (key) {
    case KeyEvent::Key::Backspace:
        field->deleteBackward();
        break;
    case KeyEvent::Key::Delete:
        field->deleteForward();
        break;
    case KeyEvent::Key::Return:
        field->insertText("\n");
        break;
    case KeyEvent::Key::Left:
        field->setSelectedRange(
            { selection.length || selection.location == 0 ? selection.location : selection.location - 1, 0 });
        break;
    case KeyEvent::Key::Right:
        field->setSelectedRange({ selection.length ? selection.end() : selection.end() + 1, 0 });
        break;
    case KeyEvent::Key::Home:
    case KeyEvent::Key::Up:
        field->setSelectedRange({ 0, 0 });
        break;
    case KeyEvent::Key::End:
    case KeyEvent::Key::Down:
        field->setSelectedRange({ base::utf8::countCodePoints(field->text()), 0 });
        break;
    case KeyEvent::Key::Tab:
    case KeyEvent::Key::BackTab:
        moveToField(field, key == KeyEvent::Key::Tab);
        break;
    case KeyEvent::Key::SelectAll:
        field->selectAll();
        break;
    case KeyEvent::Key::Copy:
        field->copy();
        break;
    case KeyEvent::Key::Cut:
        field->cut();
        break;
    case KeyEvent::Key::Paste:
        field->paste();
        break;
    case KeyEvent::Key::Escape:
    case KeyEvent::Key::PageUp:
    case KeyEvent::Key::PageDown:
        break;
    }
}

void Keyboard::moveToField(const std::shared_ptr<TextField>& from, bool forward)
{
    auto window = from->window();
    if (!window)
        return;
    auto fields = fieldsOf(window);
    auto at = std::find(fields.begin(), fields.end(), from);
    if (at == fields.end())
        return;
    size_t count = fields.size();
    size_t index = static_cast<size_t>(at - fields.begin());
    // A field whose delegate refuses is passed over.
    for (size_t step = 1; step < count; ++step) {
        size_t next = forward ? (index + step) % count : (index + count - step) % count;
        if (fields[next]->becomeFirstResponder())
            return;
    }
}

void Keyboard::setMarkedText(const std::string& text)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto field = firstResponder())
        field->setMarkedText(text);
}

void Keyboard::unmarkText()
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto field = firstResponder())
        field->unmarkText();
}

void Keyboard::fieldWillBecomeFirstResponder(const std::shared_ptr<TextField>& field)
{
    BASE_ASSERT_MAIN_THREAD();
    auto previous = firstResponder();
    m_firstResponder = field;
    if (previous && previous != field)
        previous->resignFirstResponder();
}

void Keyboard::fieldDidBecomeFirstResponder(const TextField& field)
{
    BASE_ASSERT_MAIN_THREAD();
    if (firstResponder().get() != &field || m_visible)
        return;
    m_visible = true;
    post(willShowNotification, hiddenFrame(), shownFrame());
}

void Keyboard::fieldResigned(const TextField& field)
{
    BASE_ASSERT_MAIN_THREAD();
    if (firstResponder().get() != &field)
        return;
    dropFieldAndHide();
}

void Keyboard::editingFieldWentAway()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_firstResponder.expired())
        return;
    dropFieldAndHide();
}

void Keyboard::dropFieldAndHide()
{
    m_firstResponder.reset();
    if (!m_visible)
        return;
    m_visible = false;
    post(willHideNotification, shownFrame(), hiddenFrame());
}

void Keyboard::post(const char* name, gfx::Rect from, gfx::Rect to)
{
    auto transition = std::make_shared<KeyboardTransition>(
        KeyboardTransition { from, to, animationDuration, AnimationCurve::EaseInOut });
    base::NotificationCenter::defaultCenter().post(name, transition);
}

} // namespace ui
