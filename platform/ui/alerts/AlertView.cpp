#include "ui/alerts/AlertView.h"

#include "base/loop/MainThread.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"
#include "ui/view/Screen.h"

#include <limits>

namespace ui {

namespace {

    constexpr double padding = 16;
    constexpr double fieldHeight = 28;
    constexpr gfx::Color panelColor = gfx::Color::fromWhite(0.97, 1);
    constexpr gfx::Color separatorColor = gfx::Color::fromWhite(0.8, 1);

    std::shared_ptr<Label> wrappedLabel(const std::string& text, const gfx::Font& font, double y)
    {
        auto label = std::make_shared<Label>(gfx::Rect { padding, y, AlertView::width - 2 * padding, 0 });
        label->setText(text);
        label->setFont(font);
        label->setNumberOfLines(0);
        label->setTextAlignment(gfx::TextAlignment::Center);
        label->sizeToFit();
        label->setFrame({ padding, y, AlertView::width - 2 * padding, label->frame().height() });
        return label;
    }

    void addSeparator(View& panel, const gfx::Rect& rect)
    {
        auto line = std::make_shared<View>(rect);
        line->setBackgroundColor(separatorColor);
        panel.addSubview(line);
    }

} // namespace

AlertView::AlertView(std::optional<std::string> title, std::optional<std::string> message,
    std::weak_ptr<AlertViewDelegate> delegate, std::optional<std::string> cancelButtonTitle,
    std::vector<std::string> otherButtonTitles)
    : View({ 0, 0, width, 0 })
    , m_title(std::move(title))
    , m_message(std::move(message))
    , m_delegate(std::move(delegate))
{
    BASE_ASSERT_MAIN_THREAD();
    if (cancelButtonTitle) {
        m_cancelButtonIndex = 0;
        m_buttonTitles.push_back(std::move(*cancelButtonTitle));
    }
    for (auto& other : otherButtonTitles)
        m_buttonTitles.push_back(std::move(other));
    setBackgroundColor(panelColor);
    setClipsToBounds(true);
    layer()->setCornerRadius(7);
}

int AlertView::addButtonWithTitle(std::string title)
{
    BASE_ASSERT_MAIN_THREAD();
    m_buttonTitles.push_back(std::move(title));
    return numberOfButtons() - 1;
}

std::string AlertView::buttonTitleAtIndex(int index) const
{
    return index >= 0 && index < numberOfButtons() ? m_buttonTitles[index] : std::string();
}

int AlertView::firstOtherButtonIndex() const
{
    int first = m_cancelButtonIndex == 0 ? 1 : 0;
    return first < numberOfButtons() ? first : -1;
}

int AlertView::emphasisedButtonIndex() const
{
    int confirm = m_style == AlertViewStyle::Default ? -1 : firstOtherButtonIndex();
    return confirm >= 0 ? confirm : m_cancelButtonIndex;
}

void AlertView::setAlertViewStyle(AlertViewStyle style)
{
    BASE_ASSERT_MAIN_THREAD();
    m_style = style;
    if (style == AlertViewStyle::Default) {
        m_textField.reset();
        return;
    }
    if (!m_textField) {
        m_textField = std::make_shared<TextField>(gfx::Rect { padding, 0, width - 2 * padding, fieldHeight });
        m_textField->setBorderStyle(TextBorderStyle::Line);
        m_textField->setFont(gfx::Font::system(13));
    }
    m_textField->setSecureTextEntry(style == AlertViewStyle::SecureTextInput);
}

std::shared_ptr<TextField> AlertView::textFieldAtIndex(size_t index) const
{
    return index == 0 ? m_textField : nullptr;
}

bool AlertView::isVisible() const { return m_window != nullptr; }

std::shared_ptr<Button> AlertView::buttonAtIndex(int index) const
{
    return index >= 0 && index < static_cast<int>(m_buttons.size()) ? m_buttons[index] : nullptr;
}

void AlertView::build()
{
    auto subviews = this->subviews();
    for (const auto& subview : subviews)
        subview->removeFromSuperview();
    m_buttons.clear();

    double y = padding + 4;
    if (m_title && !m_title->empty()) {
        auto label = wrappedLabel(*m_title, gfx::Font::boldSystem(17), y);
        addSubview(label);
        y = label->frame().maxY() + 4;
    }
    if (m_message && !m_message->empty()) {
        auto label = wrappedLabel(*m_message, gfx::Font::system(13), y);
        addSubview(label);
        y = label->frame().maxY();
    }
    if (m_textField) {
        y += 12;
        m_textField->setFrame({ padding, y, width - 2 * padding, fieldHeight });
        addSubview(m_textField);
        y += fieldHeight;
    }
    y += padding + 4;

    // Two buttons side by side (the cancel button on the left); otherwise one above the other, the cancel
    // button last.
    std::vector<int> order;
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != m_cancelButtonIndex)
            order.push_back(i);
    }
    bool sideBySide = numberOfButtons() == 2;
    if (m_cancelButtonIndex >= 0) {
        if (sideBySide)
            order.insert(order.begin(), m_cancelButtonIndex);
        else
            order.push_back(m_cancelButtonIndex);
    }
    m_buttons.resize(numberOfButtons());
    for (size_t slot = 0; slot < order.size(); ++slot) {
        int index = order[slot];
        gfx::Rect frame = sideBySide ? gfx::Rect { slot * width / 2, y, width / 2, buttonHeight }
                                     : gfx::Rect { 0, y + slot * buttonHeight, width, buttonHeight };
        auto button = std::make_shared<Button>(frame, ButtonType::System);
        button->setTitle(m_buttonTitles[index], ControlState::Normal);
        bool emphasised = index == emphasisedButtonIndex();
        button->titleLabel()->setFont(emphasised ? gfx::Font::boldSystem(17) : gfx::Font::system(17));
        button->addAction(
            [weak = std::weak_ptr<View>(sharedFrom(this)), index](Control&) {
                if (auto self = std::static_pointer_cast<AlertView>(weak.lock()))
                    self->buttonPressed(index);
            },
            ControlEvent::TouchUpInside);
        addSubview(button);
        addSeparator(*this, { frame.minX(), frame.minY(), frame.width(), 0.5 });
        if (sideBySide && slot == 1)
            addSeparator(*this, { frame.minX(), frame.minY(), 0.5, frame.height() });
        m_buttons[index] = button;
    }
    double height = y + (sideBySide ? (order.empty() ? 0 : buttonHeight) : order.size() * buttonHeight);

    gfx::Rect screen = Screen::main().bounds();
    double areaHeight = m_textField ? screen.height() - Keyboard::shared().shownFrame().height() : screen.height();
    setFrame({ screen.midX() - width / 2, screen.minY() + (areaHeight - height) / 2, width, height });
}

void AlertView::show()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_window)
        return;
    build();
    m_window = std::make_shared<AlertWindow>();
    m_window->show(sharedFrom(this));
    if (m_textField)
        m_textField->becomeFirstResponder();
}

void AlertView::buttonPressed(int index)
{
    auto self = sharedFrom(this);
    if (auto delegate = m_delegate.lock())
        delegate->alertViewClickedButtonAtIndex(*this, index);
    dismissWithClickedButtonIndex(index, true);
}

bool AlertView::performEscape() { return pressWhileShown(m_cancelButtonIndex); }

bool AlertView::performReturn() { return pressWhileShown(emphasisedButtonIndex()); }

bool AlertView::pressWhileShown(int index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_window || index < 0)
        return false;
    buttonPressed(index);
    return true;
}

void AlertView::dismissWithClickedButtonIndex(int, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_window)
        return;
    auto self = sharedFrom(this);
    if (m_textField)
        m_textField->resignFirstResponder();
    auto window = std::move(m_window);
    window->dismiss();
}

} // namespace ui
