#include "ui/controls/Button.h"

#include "base/loop/MainThread.h"

#include <algorithm>
#include <limits>

namespace ui {

namespace {

    constexpr gfx::Color systemDisabledColor = gfx::Color::fromWhite(0.56, 1);
    constexpr double systemHighlightedAlpha = 0.2;

} // namespace

Button::Button(const gfx::Rect& frame, ButtonType type)
    : Control(frame)
    , m_type(type)
    , m_backgroundView(std::make_shared<ImageView>())
    , m_imageView(std::make_shared<ImageView>())
    , m_titleLabel(std::make_shared<Label>())
{
    BASE_ASSERT_MAIN_THREAD();
    m_titleLabel->setFont(gfx::Font::system(titleFontSize));
    m_titleLabel->setTextAlignment(gfx::TextAlignment::Center);
    m_titleLabel->setLineBreakMode(gfx::LineBreakMode::TruncateMiddle);
    m_imageView->setContentMode(ContentMode::Center);
    setOpaque(false);
}

std::shared_ptr<Button> Button::buttonWithType(ButtonType type) { return std::make_shared<Button>(gfx::Rect {}, type); }

template <typename T> T Button::lookup(const std::map<ControlStates, T>& values, ControlStates state)
{
    auto found = values.find(state);
    if (found == values.end() || !found->second)
        found = values.find(ControlState::Normal);
    return found == values.end() ? T {} : found->second;
}

void Button::setTitle(std::optional<std::string> title, ControlStates state)
{
    BASE_ASSERT_MAIN_THREAD();
    m_titles[state] = std::move(title);
    refresh();
}

void Button::setTitleColor(std::optional<gfx::Color> color, ControlStates state)
{
    BASE_ASSERT_MAIN_THREAD();
    m_titleColors[state] = color;
    refresh();
}

void Button::setImage(std::shared_ptr<gfx::Image> image, ControlStates state)
{
    BASE_ASSERT_MAIN_THREAD();
    m_images[state] = std::move(image);
    refresh();
}

void Button::setBackgroundImage(std::shared_ptr<gfx::Image> image, ControlStates state)
{
    BASE_ASSERT_MAIN_THREAD();
    m_backgroundImages[state] = std::move(image);
    refresh();
}

std::optional<std::string> Button::titleForState(ControlStates state) const { return lookup(m_titles, state); }

gfx::Color Button::titleColorForState(ControlStates state) const
{
    if (auto color = lookup(m_titleColors, state))
        return *color;
    if (m_type == ButtonType::Custom)
        return gfx::Color::white();
    if (state & ControlState::Disabled)
        return systemDisabledColor;
    gfx::Color tint = tintColor();
    return state & ControlState::Highlighted ? tint.withAlpha(tint.a * systemHighlightedAlpha) : tint;
}

std::shared_ptr<gfx::Image> Button::imageForState(ControlStates state) const { return lookup(m_images, state); }

std::shared_ptr<gfx::Image> Button::backgroundImageForState(ControlStates state) const
{
    return lookup(m_backgroundImages, state);
}

void Button::setEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    Control::setEnabled(enabled);
    refresh();
}

void Button::setSelected(bool selected)
{
    BASE_ASSERT_MAIN_THREAD();
    Control::setSelected(selected);
    refresh();
}

void Button::setHighlighted(bool highlighted)
{
    BASE_ASSERT_MAIN_THREAD();
    Control::setHighlighted(highlighted);
    refresh();
}

void Button::tintColorDidChange() { refresh(); }

void Button::refresh()
{
    if (!m_partsAdded) {
        m_partsAdded = true;
        addSubview(m_backgroundView);
        addSubview(m_imageView);
        addSubview(m_titleLabel);
    }
    auto title = currentTitle();
    m_titleLabel->setText(title.value_or(""));
    m_titleLabel->setHidden(!title || title->empty());
    m_titleLabel->setTextColor(currentTitleColor());
    m_imageView->setImage(currentImage());
    m_imageView->setHidden(!m_imageView->image());
    m_backgroundView->setImage(currentBackgroundImage());
    m_backgroundView->setHidden(!m_backgroundView->image());
    setNeedsLayout();
}

void Button::setContentEdgeInsets(const gfx::EdgeInsets& insets)
{
    BASE_ASSERT_MAIN_THREAD();
    if (insets == m_contentEdgeInsets)
        return;
    m_contentEdgeInsets = insets;
    setNeedsLayout();
}

gfx::Size Button::sizeThatFits(gfx::Size) const
{
    constexpr double unlimited = std::numeric_limits<double>::infinity();
    gfx::Size image = currentImage() ? currentImage()->size() : gfx::Size {};
    auto title = currentTitle();
    gfx::Size text = title && !title->empty() ? m_titleLabel->sizeThatFits({ unlimited, unlimited }) : gfx::Size {};
    const gfx::EdgeInsets& insets = m_contentEdgeInsets;
    gfx::Size size { image.width + text.width + insets.left + insets.right,
        std::max(image.height, text.height) + insets.top + insets.bottom };
    if (auto background = currentBackgroundImage()) {
        size.width = std::max(size.width, background->size().width);
        size.height = std::max(size.height, background->size().height);
    }
    return size;
}

void Button::layoutSubviews()
{
    BASE_ASSERT_MAIN_THREAD();
    constexpr double unlimited = std::numeric_limits<double>::infinity();
    m_backgroundView->setFrame(bounds());
    gfx::Rect b = m_contentEdgeInsets.inset(bounds());
    gfx::Size image = m_imageView->image() ? m_imageView->image()->size() : gfx::Size {};
    // A title of several lines wraps at the room beside the image; a one-line title is measured whole and then
    // cut to that room.
    double room = std::max(0.0, b.width() - image.width);
    gfx::Size text = m_titleLabel->isHidden() ? gfx::Size {} : m_titleLabel->sizeThatFits({ room, unlimited });
    text.width = std::min(text.width, room);
    double left = b.minX() + (b.width() - image.width - text.width) / 2;
    m_imageView->setFrame({ left, b.minY() + (b.height() - image.height) / 2, image.width, image.height });
    m_titleLabel->setFrame({ left + image.width, b.minY() + (b.height() - text.height) / 2, text.width, text.height });
}

} // namespace ui
