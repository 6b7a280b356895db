#include "kit/popover/PopoverBubble.h"

#include "gfx/text/TextMeasuring.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/view/Application.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/view/Screen.h"
#include "ui/input/TapGestureRecognizer.h"
#include "ui/view/Window.h"

#include <algorithm>

namespace kit {

namespace {

    constexpr double textMargin = 40;
    constexpr double textHeightLimit = 1000;
    constexpr double labelCornerRadius = 4;
    // A divider sits this far below its item.
    constexpr double dividerGap = 5;
    constexpr double dividerThickness = 0.5;
    // The arrow tip stays this far inside the top view's right edge, besides half the arrow's base.
    constexpr double arrowRightMargin = 19;
    // The bubble's right edge keeps twice the content inset from the top view's right edge.
    constexpr double rightEdgeGap = 20;
    constexpr double stateImageSide = 40;
    constexpr double startScale = 0.1;

    // The view the popover covers: the last subview of the key window (or of the first window when none is
    // key); the window itself when it has no subviews.
    std::shared_ptr<ui::View> topView()
    {
        auto& application = ui::Application::shared();
        std::shared_ptr<ui::Window> window = application.keyWindow();
        if (!window) {
            auto windows = application.windows();
            if (windows.empty())
                return nullptr;
            window = windows.front();
        }
        if (window->subviews().empty())
            return window;
        return window->subviews().back();
    }

    std::shared_ptr<ui::Label> itemLabel(const std::string& text, gfx::Size size)
    {
        auto label = std::make_shared<ui::Label>(gfx::Rect { { 0, 0 }, size });
        label->setBackgroundColor(gfx::Color::clear());
        label->setFont(PopoverBubble::font());
        label->setTextAlignment(gfx::TextAlignment::Center);
        label->setTextColor(PopoverBubble::textColor());
        label->setText(text);
        return label;
    }

    std::shared_ptr<ui::Label> textLabel(const std::string& text)
    {
        gfx::Size size = gfx::sizeWithFont(text, PopoverBubble::font(),
            { ui::Screen::main().bounds().width() - textMargin, textHeightLimit }, gfx::LineBreakMode::WordWrap);
        auto label = itemLabel(text, size);
        label->setUserInteractionEnabled(false);
        label->setNumberOfLines(0);
        label->setLineBreakMode(gfx::LineBreakMode::WordWrap);
        return label;
    }

    PopoverBubble::Views stringLabels(const PopoverBubble::Strings& strings)
    {
        PopoverBubble::Views labels;
        for (const auto& string : strings) {
            auto label = itemLabel(string, gfx::sizeWithFont(string, PopoverBubble::font()));
            label->layer()->setCornerRadius(labelCornerRadius);
            labels.push_back(label);
        }
        return labels;
    }

    gfx::AffineTransform scaled(double scale) { return gfx::AffineTransform::makeScale(scale, scale); }

    void widenLabel(ui::View& view, double width)
    {
        if (dynamic_cast<ui::Label*>(&view)) {
            gfx::Rect frame = view.frame();
            view.setFrame({ frame.minX(), frame.minY(), width, frame.height() });
        }
    }

} // namespace

PopoverBubble::PopoverBubble(const gfx::Rect& frame)
    : ui::View(frame)
{
    setBackgroundColor(gfx::Color::clear());
}

PopoverBubble::~PopoverBubble() = default;

bool PopoverBubble::beginShow()
{
    if (superview())
        return false;
    m_boxFrame = {};
    m_subviewsArray.clear();
    m_dividerRects.clear();
    m_titleView.reset();
    m_activityIndicator.reset();
    m_showDividerRects = true;
    m_dismissing = false;
    setHidden(false);
    return true;
}

void PopoverBubble::showAtPointWithText(
    gfx::Point point, const std::shared_ptr<ui::View>& view, const std::string& text)
{
    showAtPointWithViewArray(point, view, { textLabel(text) });
}

void PopoverBubble::showAtPointWithTitleWithText(
    gfx::Point point, const std::shared_ptr<ui::View>& view, const std::string& title, const std::string& text)
{
    showAtPointWithTitleWithViewArray(point, view, title, { textLabel(text) });
}

void PopoverBubble::showAtPointWithStringArray(
    gfx::Point point, const std::shared_ptr<ui::View>& view, const Strings& strings)
{
    showAtPointWithViewArray(point, view, stringLabels(strings));
}

void PopoverBubble::showAtPointWithTitleWithStringArray(
    gfx::Point point, const std::shared_ptr<ui::View>& view, const std::string& title, const Strings& strings)
{
    showAtPointWithTitleWithViewArray(point, view, title, stringLabels(strings));
}

void PopoverBubble::showAtPointWithTitleWithContentView(gfx::Point point, const std::shared_ptr<ui::View>& view,
    const std::string& title, const std::shared_ptr<ui::View>& contentView)
{
    showAtPointWithTitleWithViewArray(point, view, title, { contentView });
}

void PopoverBubble::showAtPointWithViewArray(
    gfx::Point point, const std::shared_ptr<ui::View>& view, const Views& views)
{
    if (!beginShow())
        return;
    auto container = std::make_shared<ui::View>();
    double height = 0;
    double width = 0;
    for (size_t i = 0; i < views.size(); ++i) {
        gfx::Size size = views[i]->frame().size;
        views[i]->setFrame({ 0, height, size.width, size.height });
        height += size.height + (i + 1 < views.size() ? contentInset : 0);
        width = std::max(width, size.width);
        container->addSubview(views[i]);
    }
    for (size_t i = 0; i < views.size(); ++i) {
        widenLabel(*views[i], width);
        gfx::Rect frame = views[i]->frame();
        if (i + 1 < views.size())
            m_dividerRects.push_back({ frame.minX(), frame.maxY() + dividerGap, frame.width(), dividerThickness });
    }
    container->setFrame({ 0, 0, width, height });
    m_subviewsArray = views;
    present(point, view, container);
}

void PopoverBubble::showAtPointWithTitleWithViewArray(
    gfx::Point point, const std::shared_ptr<ui::View>& view, const std::string& title, const Views& views)
{
    if (!beginShow())
        return;
    auto container = std::make_shared<ui::View>();
    gfx::Size titleSize = gfx::sizeWithFont(title, font());
    auto titleLabel = itemLabel(title, titleSize);

    double height = titleSize.height > 0 ? titleSize.height + 2 * contentInset : contentInset;
    double width = titleSize.width;
    for (size_t i = 0; i < views.size(); ++i) {
        gfx::Size size = views[i]->frame().size;
        views[i]->setFrame({ 0, height, size.width, size.height });
        height += size.height + (i + 1 < views.size() ? contentInset : 0);
        width = std::max(width, size.width);
        container->addSubview(views[i]);
    }
    for (size_t i = 0; i < views.size(); ++i) {
        widenLabel(*views[i], width);
        gfx::Rect frame = views[i]->frame();
        frame.origin.x = m_boxFrame.minX() + width * 0.5 - frame.width() * 0.5;
        views[i]->setFrame(frame);
        if (i + 1 < views.size())
            m_dividerRects.push_back({ frame.minX(), frame.maxY() + dividerGap, frame.width(), dividerThickness });
    }
    titleLabel->setFrame({ width * 0.5 - titleSize.width * 0.5, 0, titleSize.width, titleSize.height });
    if (titleSize.height > 0)
        m_titleView = titleLabel;
    container->addSubview(titleLabel);
    container->setFrame({ 0, 0, width, height });
    m_subviewsArray = views;
    present(point, view, container);
}

void PopoverBubble::showAtPointWithContentView(
    gfx::Point point, const std::shared_ptr<ui::View>& view, const std::shared_ptr<ui::View>& contentView)
{
    if (!beginShow())
        return;
    present(point, view, contentView);
}

void PopoverBubble::present(
    gfx::Point point, const std::shared_ptr<ui::View>& view, const std::shared_ptr<ui::View>& contentView)
{
    m_contentView = contentView;
    auto top = topView();
    if (!top || !contentView)
        return;
    m_arrowPoint = top->convertPointFrom(point, view.get());
    gfx::Rect area = top->bounds();
    double contentWidth = contentView->frame().width();
    double contentHeight = contentView->frame().height();
    double boxWidth = contentWidth + 2 * contentInset;
    double boxHeight = contentHeight + 2 * contentInset;

    if (m_arrowPoint.x + arrowLength > area.width() - arrowRightMargin)
        m_arrowPoint.x = area.width() - arrowEdgeDistance;
    else if (m_arrowPoint.x - arrowLength < arrowRightMargin)
        m_arrowPoint.x = arrowEdgeDistance;

    double boxX = m_arrowPoint.x - boxWidth * 0.5;
    if (boxX < area.minX() + contentInset)
        boxX = area.minX() + contentInset;
    else if (boxX + boxWidth > area.maxX() - contentInset)
        boxX = area.maxX() - boxWidth - rightEdgeGap;

    // The test uses the content's height, not the bubble's.
    if (m_arrowPoint.y - contentHeight - arrowLength - roomAbove < area.minY()) {
        m_above = false;
        m_boxFrame = { boxX, m_arrowPoint.y + arrowLength, boxWidth, boxHeight };
    } else {
        m_above = true;
        m_boxFrame = { boxX, m_arrowPoint.y - arrowLength - boxHeight, boxWidth, boxHeight };
    }
    contentView->setFrame(
        { m_boxFrame.minX() + contentInset, m_boxFrame.minY() + contentInset, contentWidth, contentHeight });
    addSubview(contentView);

    // Scaling happens about the arrow tip.
    layer()->setAnchorPoint({ m_arrowPoint.x / area.width(), m_arrowPoint.y / area.height() });
    setFrame(area);
    setNeedsDisplay();
    top->addSubview(sharedFrom(this));

    if (!m_tapRecognizer) {
        m_tapRecognizer = std::make_shared<ui::TapGestureRecognizer>(
            [weak = ui::weakFrom(this)](ui::GestureRecognizer& recognizer) {
                if (auto self = weak.lock())
                    self->tapped(recognizer);
            });
        m_tapRecognizer->setCancelsTouchesInView(false);
        addGestureRecognizer(m_tapRecognizer);
    }
    setUserInteractionEnabled(true);

    setAlpha(0);
    setTransform(scaled(startScale));
    ui::View::animateWithDuration(
        0.2,
        [this] {
            setAlpha(1);
            setTransform(scaled(1.05));
        },
        [weak = ui::weakFrom(this)](bool finished) {
            auto self = weak.lock();
            if (!finished || !self || self->m_dismissing)
                return;
            ui::View::animateWithDuration(0.08, [&self] { self->setTransform(gfx::AffineTransform::identity()); });
        });
}

void PopoverBubble::tapped(ui::GestureRecognizer& recognizer)
{
    if (!m_contentView)
        return;
    gfx::Point location = recognizer.locationInView(m_contentView.get());
    for (size_t i = 0; i < m_subviewsArray.size(); ++i) {
        const auto& item = m_subviewsArray[i];
        if (!item->frame().contains(location))
            continue;
        if (auto* label = dynamic_cast<ui::Label*>(item.get())) {
            label->setBackgroundColor(textColor());
            label->setTextColor(gfx::Color::white());
        }
        if (auto delegate = m_delegate.lock())
            delegate->popoverBubbleDidSelectItemAtIndex(*this, static_cast<int>(i));
        return;
    }
    if (!m_contentView->bounds().contains(location))
        dismiss();
}

void PopoverBubble::dismiss()
{
    if (m_dismissing || !superview())
        return;
    m_dismissing = true;
    ui::View::animateWithDuration(
        0.3,
        [this] {
            setAlpha(0.1);
            setTransform(scaled(startScale));
        },
        // Nothing else animates the popover once it is dismissing, so the end comes whatever the flag.
        [self = sharedFrom(this)](bool) {
            self->removeFromSuperview();
            if (auto delegate = self->m_delegate.lock())
                delegate->popoverBubbleDidDismiss(*self);
        });
}

void PopoverBubble::dismiss2()
{
    if (m_dismissing || !superview())
        return;
    setHidden(true);
    dismiss();
}

void PopoverBubble::fadeItems(double duration)
{
    if (!m_subviewsArray.empty()) {
        ui::View::animateWithDuration(duration, [this] {
            for (const auto& item : m_subviewsArray)
                item->setAlpha(0);
        });
    }
    if (m_showDividerRects) {
        m_showDividerRects = false;
        setNeedsDisplay();
    }
}

void PopoverBubble::setTitleText(const std::optional<std::string>& message)
{
    if (auto* label = dynamic_cast<ui::Label*>(m_titleView.get()))
        label->setText(message.value_or(std::string()));
}

std::shared_ptr<ui::View> PopoverBubble::addStateImage(std::shared_ptr<gfx::Image> image, const gfx::Rect& frame)
{
    auto imageView = std::make_shared<ui::ImageView>(frame);
    imageView->setImage(std::move(image));
    imageView->setAlpha(0);
    imageView->setTransform(scaled(startScale));
    m_contentView->addSubview(imageView);
    return imageView;
}

void PopoverBubble::showActivityIndicatorWithMessage(const std::optional<std::string>& message)
{
    if (!m_contentView)
        return;
    fadeItems(0.2);
    if (m_activityIndicator)
        m_activityIndicator->removeFromSuperview();
    gfx::Rect bounds = m_contentView->bounds();
    m_activityIndicator = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
    m_activityIndicator->setFrame({ bounds.midX() - 10, bounds.midY() + 10, 20, 20 });
    m_contentView->addSubview(m_activityIndicator);
    m_activityIndicator->startAnimating();
    setTitleText(message);
}

void PopoverBubble::hideActivityIndicatorWithMessage(const std::optional<std::string>& message)
{
    if (auto spinner = m_activityIndicator) {
        spinner->stopAnimating();
        ui::View::animateWithDuration(
            0.1, [&spinner] { spinner->setAlpha(0); },
            [weak = ui::weakFrom(this), spinner](bool) {
                spinner->removeFromSuperview();
                auto self = weak.lock();
                if (self && self->m_activityIndicator == spinner)
                    self->m_activityIndicator.reset();
            });
    }
    setTitleText(message);
}

void PopoverBubble::showImageWithMessage(std::shared_ptr<gfx::Image> image, const std::optional<std::string>& message)
{
    if (!m_contentView)
        return;
    fadeItems(0.2);
    gfx::Rect bounds = m_contentView->bounds();
    gfx::Size size = image ? image->size() : gfx::Size {};
    auto imageView = addStateImage(std::move(image),
        { bounds.midX() - size.width * 0.5, bounds.midY() - size.height * 0.5 + 20, size.width, size.height });
    ui::View::animateWithDuration(0.2, 0.2, ui::AnimationOptions::CurveEaseIn, [&imageView] {
        imageView->setAlpha(1);
        imageView->setTransform(gfx::AffineTransform::identity());
    });
    if (message)
        setTitleText(message);
}

void PopoverBubble::showError()
{
    if (!m_contentView)
        return;
    fadeItems(0.1);
    gfx::Rect bounds = m_contentView->bounds();
    auto imageView = addStateImage(gfx::Image::named("error"),
        { bounds.midX() - stateImageSide * 0.5, bounds.midY(), stateImageSide, stateImageSide });
    ui::View::animateWithDuration(0.1, 0.1, ui::AnimationOptions::CurveEaseOut, [&imageView] {
        imageView->setAlpha(1);
        imageView->setTransform(gfx::AffineTransform::identity());
    });
}

void PopoverBubble::showSuccess()
{
    if (!m_contentView)
        return;
    fadeItems(0.1);
    gfx::Rect bounds = m_contentView->bounds();
    auto imageView = addStateImage(gfx::Image::named("success"),
        { bounds.midX() - stateImageSide * 0.5, bounds.midY(), stateImageSide, stateImageSide });
    ui::View::animateWithDuration(0.1, 0.1, ui::AnimationOptions::CurveEaseIn, [&imageView] {
        imageView->setAlpha(1);
        imageView->setTransform(gfx::AffineTransform::identity());
    });
}

std::shared_ptr<PopoverBubble> PopoverBubble::showPopoverAtPointWithText(gfx::Point point,
    const std::shared_ptr<ui::View>& view, const std::string& text, std::weak_ptr<PopoverBubbleDelegate> delegate)
{
    auto popover = std::make_shared<PopoverBubble>();
    popover->showAtPointWithText(point, view, text);
    popover->setDelegate(std::move(delegate));
    return popover;
}

std::shared_ptr<PopoverBubble> PopoverBubble::showPopoverAtPointWithTitleWithText(gfx::Point point,
    const std::shared_ptr<ui::View>& view, const std::string& title, const std::string& text,
    std::weak_ptr<PopoverBubbleDelegate> delegate)
{
    auto popover = std::make_shared<PopoverBubble>();
    popover->showAtPointWithTitleWithText(point, view, title, text);
    popover->setDelegate(std::move(delegate));
    return popover;
}

std::shared_ptr<PopoverBubble> PopoverBubble::showPopoverAtPointWithViewArray(gfx::Point point,
    const std::shared_ptr<ui::View>& view, const Views& views, std::weak_ptr<PopoverBubbleDelegate> delegate)
{
    auto popover = std::make_shared<PopoverBubble>();
    popover->showAtPointWithViewArray(point, view, views);
    popover->setDelegate(std::move(delegate));
    return popover;
}

std::shared_ptr<PopoverBubble> PopoverBubble::showPopoverAtPointWithTitleWithViewArray(gfx::Point point,
    const std::shared_ptr<ui::View>& view, const std::string& title, const Views& views,
    std::weak_ptr<PopoverBubbleDelegate> delegate)
{
    auto popover = std::make_shared<PopoverBubble>();
    popover->showAtPointWithTitleWithViewArray(point, view, title, views);
    popover->setDelegate(std::move(delegate));
    return popover;
}

std::shared_ptr<PopoverBubble> PopoverBubble::showPopoverAtPointWithStringArray(gfx::Point point,
    const std::shared_ptr<ui::View>& view, const Strings& strings, std::weak_ptr<PopoverBubbleDelegate> delegate)
{
    auto popover = std::make_shared<PopoverBubble>();
    popover->showAtPointWithStringArray(point, view, strings);
    popover->setDelegate(std::move(delegate));
    return popover;
}

std::shared_ptr<PopoverBubble> PopoverBubble::showPopoverAtPointWithTitleWithStringArray(gfx::Point point,
    const std::shared_ptr<ui::View>& view, const std::string& title, const Strings& strings,
    std::weak_ptr<PopoverBubbleDelegate> delegate)
{
    auto popover = std::make_shared<PopoverBubble>();
    popover->showAtPointWithTitleWithStringArray(point, view, title, strings);
    popover->setDelegate(std::move(delegate));
    return popover;
}

std::shared_ptr<PopoverBubble> PopoverBubble::showPopoverAtPointWithTitleWithContentView(gfx::Point point,
    const std::shared_ptr<ui::View>& view, const std::string& title, const std::shared_ptr<ui::View>& contentView,
    std::weak_ptr<PopoverBubbleDelegate> delegate)
{
    auto popover = std::make_shared<PopoverBubble>();
    popover->showAtPointWithTitleWithContentView(point, view, title, contentView);
    popover->setDelegate(std::move(delegate));
    return popover;
}

std::shared_ptr<PopoverBubble> PopoverBubble::showPopoverAtPointWithContentView(gfx::Point point,
    const std::shared_ptr<ui::View>& view, const std::shared_ptr<ui::View>& contentView,
    std::weak_ptr<PopoverBubbleDelegate> delegate)
{
    auto popover = std::make_shared<PopoverBubble>();
    popover->showAtPointWithContentView(point, view, contentView);
    popover->setDelegate(std::move(delegate));
    return popover;
}

} // namespace kit
