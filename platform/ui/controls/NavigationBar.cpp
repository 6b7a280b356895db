#include "ui/controls/NavigationBar.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/text/TextMeasuring.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    constexpr gfx::Color defaultBarTint = gfx::Color::fromWhite(0.97, 1);
    constexpr gfx::Color hairlineColor = gfx::Color::fromWhite(0.7, 1);
    constexpr const char* backChevron = "\u2039 ";
    constexpr const char* defaultBackTitle = "Back";
    constexpr const char* chevronAlone = "\u2039";

    gfx::Rect sizedFrame(const gfx::Rect& frame)
    {
        if (frame.size.width > 0 || frame.size.height > 0)
            return frame;
        return { frame.origin, { Screen::main().bounds().width(), NavigationBar::height } };
    }

    // The back button gives way to the title: it names the item below while that fits in `room`, else says
    // "Back", else shows the chevron alone.
    std::string shownBackTitle(const std::string& below, const gfx::Font& font, double room)
    {
        for (std::string title : { backChevron + below, std::string(backChevron) + defaultBackTitle }) {
            if (gfx::sizeWithFont(title, font).width <= room)
                return title;
        }
        return chevronAlone;
    }

    gfx::TextAttributes defaultTitleAttributes() { return { gfx::Font::boldSystem(17), gfx::Color::black(), {} }; }

} // namespace

NavigationBar::NavigationBar(const gfx::Rect& frame)
    : View(sizedFrame(frame))
    , m_backButton(Button::buttonWithType(ButtonType::System))
    , m_titleLabel(std::make_shared<Label>())
    , m_stripBackground(std::make_shared<View>())
{
    BASE_ASSERT_MAIN_THREAD();
    setOpaque(false);
    m_stripBackground->setUserInteractionEnabled(false);
    m_stripBackground->setHidden(true);
    setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    m_titleLabel->setTextAlignment(gfx::TextAlignment::Center);
    m_titleLabel->setLineBreakMode(gfx::LineBreakMode::TruncateTail);
    m_backButton->titleLabel()->setFont(gfx::Font::system(17));
    m_backButton->addAction(
        [weak = std::weak_ptr<Button>(m_backButton)](Control& sender) {
            auto bar = std::dynamic_pointer_cast<NavigationBar>(sender.superview());
            if (bar && weak.lock())
                bar->backTapped();
        },
        ControlEvent::TouchUpInside);
}

void NavigationBar::attach(const std::shared_ptr<NavigationItem>& item)
{
    item->setBar(std::static_pointer_cast<NavigationBar>(shared_from_this()));
}

void NavigationBar::setItems(std::vector<std::shared_ptr<NavigationItem>> items, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    for (const auto& item : m_items)
        item->setBar({});
    m_items = std::move(items);
    std::erase(m_items, nullptr);
    for (const auto& item : m_items)
        attach(item);
    setNeedsLayout();
}

void NavigationBar::pushNavigationItem(std::shared_ptr<NavigationItem> item, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!item)
        return;
    attach(item);
    m_items.push_back(std::move(item));
    setNeedsLayout();
}

std::shared_ptr<NavigationItem> NavigationBar::popNavigationItem(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_items.empty())
        return nullptr;
    auto popped = m_items.back();
    m_items.pop_back();
    popped->setBar({});
    setNeedsLayout();
    return popped;
}

void NavigationBar::backTapped()
{
    auto self = sharedFrom(this);
    auto top = topItem();
    if (!top || !backItem())
        return;
    auto delegate = m_delegate.lock();
    if (delegate && !delegate->navigationBarShouldPopItem(*this, *top))
        return;
    popNavigationItem(true);
    if (auto delegate = m_delegate.lock())
        delegate->navigationBarDidPopItem(*this, *top);
}

gfx::Color NavigationBar::barTintColor() const { return m_barTintColor.value_or(defaultBarTint); }

void NavigationBar::setBarTintColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_barTintColor = color;
    setNeedsDisplay();
    placeStripBackground();
}

void NavigationBar::setTitleTextAttributes(std::optional<gfx::TextAttributes> attributes)
{
    BASE_ASSERT_MAIN_THREAD();
    m_titleTextAttributes = std::move(attributes);
    setNeedsLayout();
}

std::string NavigationBar::backButtonTitle() const
{
    auto below = backItem();
    if (!below)
        return {};
    if (below->backBarButtonItem() && below->backBarButtonItem()->title())
        return *below->backBarButtonItem()->title();
    return below->title().value_or(defaultBackTitle);
}

void NavigationBar::itemDidChange(const NavigationItem& item)
{
    BASE_ASSERT_MAIN_THREAD();
    auto top = topItem();
    auto back = backItem();
    if (top.get() == &item || back.get() == &item)
        setNeedsLayout();
}

gfx::Size NavigationBar::sizeThatFits(gfx::Size size) const { return { size.width, height }; }

gfx::Rect NavigationBar::touchArea(const View& view) const
{
    gfx::Rect frame = view.frame();
    gfx::Rect b = bounds();
    double width = std::max(frame.width(), minimumTouchSize);
    double height = std::max(frame.height(), minimumTouchSize);
    double x = std::clamp(frame.midX() - width / 2, b.minX(), std::max(b.minX(), b.maxX() - width));
    double y = std::clamp(frame.midY() - height / 2, b.minY(), std::max(b.minY(), b.maxY() - height));
    return { x, y, width, height };
}

std::shared_ptr<View> NavigationBar::hitTest(gfx::Point point, const Event* event)
{
    auto hit = View::hitTest(point, event);
    if (hit.get() != this)
        return hit;
    std::shared_ptr<View> nearest;
    double nearestDistance = 0;
    for (const auto& view : m_shownViews) {
        bool title = view == m_titleLabel || (topItem() && view == topItem()->titleView());
        if (title || view->isHidden() || !view->isUserInteractionEnabled() || view->alpha() <= 0.01
            || !touchArea(*view).contains(point))
            continue;
        gfx::Rect frame = view->frame();
        double dx = std::max({ frame.minX() - point.x, 0.0, point.x - frame.maxX() });
        double dy = std::max({ frame.minY() - point.y, 0.0, point.y - frame.maxY() });
        double distance = std::hypot(dx, dy);
        if (!nearest || distance < nearestDistance) {
            nearest = view;
            nearestDistance = distance;
        }
    }
    if (!nearest)
        return hit;
    // The touch goes where the button itself would take it at the nearest point of its bounds.
    gfx::Point inside = convertPointTo(point, nearest.get());
    gfx::Rect bounds = nearest->bounds();
    inside = { std::clamp(inside.x, bounds.minX(), std::max(bounds.minX(), bounds.maxX() - 0.5)),
        std::clamp(inside.y, bounds.minY(), std::max(bounds.minY(), bounds.maxY() - 0.5)) };
    auto within = nearest->hitTest(inside, event);
    return within ? within : nearest;
}

void NavigationBar::clearShownViews()
{
    for (const auto& view : m_shownViews) {
        if (view->superview().get() == this)
            view->removeFromSuperview();
    }
    m_shownViews.clear();
}

bool NavigationBar::showsOnTop(const std::vector<std::shared_ptr<View>>& views) const
{
    const auto& subviews = this->subviews();
    return views == m_shownViews && views.size() <= subviews.size()
        && std::equal(views.rbegin(), views.rend(), subviews.rbegin());
}

void NavigationBar::show(std::vector<std::shared_ptr<View>> views)
{
    // Taking views off and adding them again asks for another layout, and a layout that did so every time
    // would never end: views already shown, in order and on top, stay where they are.
    if (showsOnTop(views))
        return;
    clearShownViews();
    for (const auto& view : views)
        addSubview(view);
    m_shownViews = std::move(views);
}

void NavigationBar::didMoveToWindow() { setNeedsLayout(); }

bool NavigationBar::isBelowStatusStrip() const
{
    double stripBottom = Application::shared().statusBarFrame().maxY();
    return window() && stripBottom > 0 && std::abs(convertPointTo(bounds().origin, nullptr).y - stripBottom) < 0.5;
}

void NavigationBar::placeStripBackground()
{
    if (!m_stripBackground->superview())
        insertSubviewAtIndex(m_stripBackground, 0);
    // Only what changes is set: a layout inside an animation block would otherwise animate values that stay.
    bool below = isBelowStatusStrip();
    if (m_stripBackground->isHidden() == below)
        m_stripBackground->setHidden(!below);
    if (!below)
        return;
    double strip = Application::shared().statusBarFrame().height();
    gfx::Rect b = bounds();
    gfx::Rect frame { b.minX(), b.minY() - strip, b.width(), strip };
    if (m_stripBackground->frame() != frame)
        m_stripBackground->setFrame(frame);
    if (m_stripBackground->backgroundColor() != barTintColor())
        m_stripBackground->setBackgroundColor(barTintColor());
}

void NavigationBar::layoutSubviews()
{
    BASE_ASSERT_MAIN_THREAD();
    placeStripBackground();
    m_backShown = false;
    auto top = topItem();
    if (!top) {
        clearShownViews();
        return;
    }
    gfx::Rect b = bounds();
    std::vector<std::shared_ptr<View>> shown;
    auto place = [&](const std::shared_ptr<View>& view, double x) {
        gfx::Size size = view->bounds().size;
        view->setFrame({ x, b.minY() + (b.height() - size.height) / 2, size.width, size.height });
        shown.push_back(view);
        return size.width;
    };

    std::shared_ptr<View> title = top->titleView();
    if (!title) {
        gfx::TextAttributes attributes = m_titleTextAttributes.value_or(defaultTitleAttributes());
        m_titleLabel->setText(top->title().value_or(""));
        m_titleLabel->setFont(attributes.font);
        m_titleLabel->setTextColor(attributes.color);
        gfx::Size fits = m_titleLabel->sizeThatFits({});
        m_titleLabel->setBounds({ 0, 0, fits.width, fits.height });
        title = m_titleLabel;
    }
    double right = b.maxX() - margin;
    for (const auto& item : top->rightBarButtonItems())
        right -= item->view()->bounds().width() + margin;

    double left = b.minX() + margin;
    if (!top->leftBarButtonItems().empty()) {
        for (const auto& item : top->leftBarButtonItems())
            left += place(item->view(), left) + margin;
    } else if (backItem() && !top->hidesBackButton()) {
        // The back button ends a margin before where the title stands centred (or as far right as the right
        // items let it), so that the title is neither pushed aside nor run into.
        double titleWidth = title->bounds().width();
        double room = std::min(b.midX() - titleWidth / 2, right - titleWidth) - margin - left;
        m_backButton->setTitle(
            shownBackTitle(backButtonTitle(), m_backButton->titleLabel()->font(), room), ControlState::Normal);
        gfx::Size fits = m_backButton->sizeThatFits({});
        m_backButton->setBounds({ 0, 0, fits.width, std::max(fits.height, 30.0) });
        left += place(m_backButton, left) + margin;
        m_backShown = true;
    }
    double itemLeft = b.maxX() - margin;
    for (const auto& item : top->rightBarButtonItems()) {
        auto view = item->view();
        itemLeft -= view->bounds().width();
        place(view, itemLeft);
        itemLeft -= margin;
    }

    // Centred on the bar, moved aside (and narrowed) to stay clear of the items.
    double width = std::min(title->bounds().width(), std::max(0.0, right - left));
    double x = std::clamp(b.midX() - width / 2, left, std::max(left, right - width));
    title->setBounds({ 0, 0, width, title->bounds().height() });
    place(title, x);
    show(std::move(shown));
}

void NavigationBar::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    gfx::Rect b = bounds();
    context->setFillColor(barTintColor());
    context->fillRect(b);
    context->setFillColor(hairlineColor);
    context->fillRect({ b.minX(), b.maxY() - 0.5, b.width(), 0.5 });
}

} // namespace ui
