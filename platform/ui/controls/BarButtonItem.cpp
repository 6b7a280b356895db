#include "ui/controls/BarButtonItem.h"

#include "base/loop/MainThread.h"
#include "ui/controls/Button.h"

namespace ui {

namespace {

    constexpr double buttonHeight = 30;
    constexpr double buttonPadding = 6;

} // namespace

BarButtonItem::BarButtonItem(std::shared_ptr<gfx::Image> image, BarButtonItemStyle style, Action action)
    : m_image(std::move(image))
    , m_style(style)
    , m_action(std::move(action))
{
    BASE_ASSERT_MAIN_THREAD();
}

BarButtonItem::BarButtonItem(std::string title, BarButtonItemStyle style, Action action)
    : m_title(std::move(title))
    , m_style(style)
    , m_action(std::move(action))
{
    BASE_ASSERT_MAIN_THREAD();
}

BarButtonItem::BarButtonItem(std::shared_ptr<View> customView)
    : m_customView(std::move(customView))
{
    BASE_ASSERT_MAIN_THREAD();
}

BarButtonItem::~BarButtonItem() = default;

void BarButtonItem::setTitle(std::optional<std::string> title)
{
    BASE_ASSERT_MAIN_THREAD();
    m_title = std::move(title);
    refreshButton();
}

void BarButtonItem::setImage(std::shared_ptr<gfx::Image> image)
{
    BASE_ASSERT_MAIN_THREAD();
    m_image = std::move(image);
    refreshButton();
}

void BarButtonItem::setStyle(BarButtonItemStyle style)
{
    BASE_ASSERT_MAIN_THREAD();
    m_style = style;
    refreshButton();
}

void BarButtonItem::setCustomView(std::shared_ptr<View> view) { m_customView = std::move(view); }

void BarButtonItem::setTintColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_tintColor = color;
    refreshButton();
}

void BarButtonItem::setEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    m_enabled = enabled;
    refreshButton();
}

void BarButtonItem::sendAction()
{
    BASE_ASSERT_MAIN_THREAD();
    auto self = shared_from_this();
    if (m_action)
        m_action(*this);
}

std::shared_ptr<View> BarButtonItem::view()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_customView)
        return m_customView;
    if (!m_button) {
        m_button = Button::buttonWithType(ButtonType::System);
        m_button->addAction(
            [weak = weak_from_this()](Control&) {
                if (auto self = weak.lock())
                    self->sendAction();
            },
            ControlEvent::TouchUpInside);
        refreshButton();
    }
    return m_button;
}

void BarButtonItem::refreshButton()
{
    if (!m_button)
        return;
    m_button->setTitle(m_title, ControlState::Normal);
    m_button->setImage(m_image, ControlState::Normal);
    m_button->titleLabel()->setFont(
        m_style == BarButtonItemStyle::Done ? gfx::Font::boldSystem(17) : gfx::Font::system(17));
    m_button->setTintColor(m_tintColor);
    m_button->setEnabled(m_enabled);
    gfx::Size fits = m_button->sizeThatFits({});
    double width = m_width > 0 ? m_width : fits.width + 2 * buttonPadding;
    m_button->setBounds({ 0, 0, width, std::max(buttonHeight, fits.height) });
}

} // namespace ui
