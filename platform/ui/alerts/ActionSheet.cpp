#include "ui/alerts/ActionSheet.h"

#include "base/loop/MainThread.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/view/Screen.h"

namespace ui {

namespace {

    constexpr gfx::Color groupColor = gfx::Color::fromWhite(0.97, 1);
    constexpr gfx::Color separatorColor = gfx::Color::fromWhite(0.8, 1);
    constexpr gfx::Color titleColor = gfx::Color::fromWhite(0.56, 1);
    constexpr gfx::Color destructiveColor = gfx::Color::rgb(1, 0.23, 0.19);
    constexpr double titleHeight = 44;

    std::shared_ptr<View> roundedGroup(const gfx::Rect& frame)
    {
        auto group = std::make_shared<View>(frame);
        group->setBackgroundColor(groupColor);
        group->setClipsToBounds(true);
        group->layer()->setCornerRadius(7);
        return group;
    }

} // namespace

ActionSheet::ActionSheet(std::optional<std::string> title, std::weak_ptr<ActionSheetDelegate> delegate,
    std::optional<std::string> cancelButtonTitle, std::optional<std::string> destructiveButtonTitle,
    std::vector<std::string> otherButtonTitles)
    : m_title(std::move(title))
    , m_delegate(std::move(delegate))
    , m_cancel(std::move(cancelButtonTitle))
    , m_destructive(std::move(destructiveButtonTitle))
    , m_others(std::move(otherButtonTitles))
{
    BASE_ASSERT_MAIN_THREAD();
    setOpaque(false);
}

int ActionSheet::addButtonWithTitle(std::string title)
{
    BASE_ASSERT_MAIN_THREAD();
    m_others.push_back(std::move(title));
    return (m_destructive ? 1 : 0) + static_cast<int>(m_others.size()) - 1;
}

int ActionSheet::numberOfButtons() const
{
    return (m_destructive ? 1 : 0) + static_cast<int>(m_others.size()) + (m_cancel ? 1 : 0);
}

int ActionSheet::cancelButtonIndex() const { return m_cancel ? numberOfButtons() - 1 : -1; }

int ActionSheet::firstOtherButtonIndex() const { return m_others.empty() ? -1 : (m_destructive ? 1 : 0); }

std::string ActionSheet::buttonTitleAtIndex(int index) const
{
    if (index < 0 || index >= numberOfButtons())
        return {};
    if (m_destructive && index == 0)
        return *m_destructive;
    if (index == cancelButtonIndex())
        return *m_cancel;
    return m_others[index - (m_destructive ? 1 : 0)];
}

std::shared_ptr<Button> ActionSheet::buttonAtIndex(int index) const
{
    return index >= 0 && index < static_cast<int>(m_buttons.size()) ? m_buttons[index] : nullptr;
}

void ActionSheet::build()
{
    auto subviews = this->subviews();
    for (const auto& subview : subviews)
        subview->removeFromSuperview();
    m_buttons.assign(numberOfButtons(), nullptr);

    gfx::Rect screen = Screen::main().bounds();
    double width = screen.width() - 2 * margin;
    int choices = numberOfButtons() - (m_cancel ? 1 : 0);
    bool hasTitle = m_title && !m_title->empty();
    double choicesHeight = (hasTitle ? titleHeight : 0) + choices * buttonHeight;
    double height = choicesHeight + (m_cancel ? (choicesHeight > 0 ? margin : 0) + buttonHeight : 0);
    setFrame({ screen.minX() + margin, screen.maxY() - margin - height, width, height });

    auto makeButton = [&](View& group, int index, double y) {
        auto button = std::make_shared<Button>(gfx::Rect { 0, y, width, buttonHeight }, ButtonType::System);
        button->setTitle(buttonTitleAtIndex(index), ControlState::Normal);
        bool emphasised = index == emphasisedButtonIndex();
        button->titleLabel()->setFont(emphasised ? gfx::Font::boldSystem(20) : gfx::Font::system(20));
        if (index == destructiveButtonIndex())
            button->setTitleColor(destructiveColor, ControlState::Normal);
        button->addAction(
            [weak = std::weak_ptr<View>(sharedFrom(this)), index](Control&) {
                if (auto self = std::static_pointer_cast<ActionSheet>(weak.lock()))
                    self->buttonPressed(index);
            },
            ControlEvent::TouchUpInside);
        group.addSubview(button);
        if (y > 0) {
            auto line = std::make_shared<View>(gfx::Rect { 0, y, width, 0.5 });
            line->setBackgroundColor(separatorColor);
            group.addSubview(line);
        }
        m_buttons[index] = button;
    };

    if (choicesHeight > 0) {
        auto group = roundedGroup({ 0, 0, width, choicesHeight });
        double y = 0;
        if (hasTitle) {
            auto label = std::make_shared<Label>(gfx::Rect { margin, 0, width - 2 * margin, titleHeight });
            label->setText(*m_title);
            label->setFont(gfx::Font::system(13));
            label->setTextColor(titleColor);
            label->setTextAlignment(gfx::TextAlignment::Center);
            group->addSubview(label);
            y = titleHeight;
        }
        for (int index = 0; index < choices; ++index, y += buttonHeight)
            makeButton(*group, index, y);
        addSubview(group);
    }
    if (m_cancel) {
        auto group = roundedGroup({ 0, height - buttonHeight, width, buttonHeight });
        makeButton(*group, cancelButtonIndex(), 0);
        addSubview(group);
    }
}

void ActionSheet::showInView(const std::shared_ptr<View>&)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_window)
        return;
    build();
    m_window = std::make_shared<AlertWindow>();
    m_window->show(sharedFrom(this));
}

void ActionSheet::buttonPressed(int index)
{
    auto self = sharedFrom(this);
    if (auto delegate = m_delegate.lock())
        delegate->actionSheetClickedButtonAtIndex(*this, index);
    dismissWithClickedButtonIndex(index, true);
}

bool ActionSheet::performEscape() { return pressWhileShown(cancelButtonIndex()); }

bool ActionSheet::performReturn() { return pressWhileShown(emphasisedButtonIndex()); }

bool ActionSheet::pressWhileShown(int index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_window || index < 0)
        return false;
    buttonPressed(index);
    return true;
}

void ActionSheet::dismissWithClickedButtonIndex(int, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_window)
        return;
    auto self = sharedFrom(this);
    auto window = std::move(m_window);
    window->dismiss();
}

} // namespace ui
