#include "kit/overlay/Toast.h"

#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "gfx/text/TextMeasuring.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace kit {

namespace {

    constexpr double spacing = 10;
    constexpr double imageSide = 80;
    constexpr double fadeDuration = 0.2;
    constexpr double activitySide = 100;
    // The share of the view's size a text may take.
    constexpr double textShare = 0.8;
    constexpr unsigned keepsCentred = ui::AutoresizingMask::FlexibleLeftMargin
        | ui::AutoresizingMask::FlexibleRightMargin | ui::AutoresizingMask::FlexibleTopMargin
        | ui::AutoresizingMask::FlexibleBottomMargin;

    using ActivityToasts = std::map<std::weak_ptr<const ui::View>, std::shared_ptr<ui::View>, std::owner_less<>>;

    // The activity toast of each view that has one, kept while it shows. Never destroyed, so that no view
    // outlives the UI's own statics at exit.
    ActivityToasts& activityToasts()
    {
        static auto* toasts = new ActivityToasts;
        std::erase_if(*toasts, [](const auto& entry) { return entry.first.expired(); });
        return *toasts;
    }

    std::weak_ptr<const ui::View> keyOf(const ui::View& view)
    {
        return std::static_pointer_cast<const ui::View>(view.weak_from_this().lock());
    }

    bool equalsIgnoringCase(const std::string& text, const char* word)
    {
        return std::equal(text.begin(), text.end(), word, word + std::char_traits<char>::length(word),
            [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    }

    void givePanelLook(ui::View& panel)
    {
        panel.setAutoresizingMask(keepsCentred);
        panel.layer()->setCornerRadius(10);
        panel.layer()->setShadowColor(gfx::Color::black());
        panel.layer()->setShadowOpacity(0.8f);
        panel.layer()->setShadowRadius(6);
        panel.layer()->setShadowOffset({ 4, 4 });
        panel.setBackgroundColor(gfx::Color::black().withAlpha(0.8));
    }

    std::shared_ptr<ui::Label> textLabel(const std::string& text, const gfx::Font& font, gfx::Size limit)
    {
        auto label = std::make_shared<ui::Label>();
        label->setNumberOfLines(0);
        label->setFont(font);
        label->setTextAlignment(gfx::TextAlignment::Left);
        label->setLineBreakMode(gfx::LineBreakMode::WordWrap);
        label->setTextColor(gfx::Color::white());
        label->setBackgroundColor(gfx::Color::clear());
        label->setAlpha(1.0);
        label->setText(text);
        label->setFrame({ { 0, 0 }, gfx::sizeWithFont(text, font, limit, gfx::LineBreakMode::WordWrap) });
        return label;
    }

} // namespace

gfx::Point Toast::centerPointForPosition(const ui::View& view, const ToastPosition& position, const ui::View& toast)
{
    BASE_ASSERT_MAIN_THREAD();
    double width = view.bounds().width();
    double height = view.bounds().height();
    double toastHeight = toast.frame().height();
    if (const auto* point = std::get_if<gfx::Point>(&position))
        return *point;
    if (const auto* word = std::get_if<std::string>(&position)) {
        if (equalsIgnoringCase(*word, "top"))
            return { width / 2, toastHeight / 2 + spacing };
        if (equalsIgnoringCase(*word, "center"))
            return { width / 2, height / 2 };
        if (equalsIgnoringCase(*word, "bottom"))
            return { width / 2, height - toastHeight / 2 - spacing };
    }
    base::log("Warning: Invalid position for toast.");
    return { width / 2, height - toastHeight / 2 - spacing };
}

std::shared_ptr<ui::View> Toast::viewForMessage(const ui::View& view, const std::optional<std::string>& message,
    const std::optional<std::string>& title, const std::shared_ptr<gfx::Image>& image)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!message && !title && !image)
        return nullptr;
    auto panel = std::make_shared<ui::View>();
    givePanelLook(*panel);

    std::shared_ptr<ui::ImageView> imageView;
    double imageWidth = 0;
    double imageHeight = 0;
    double imageLeft = 0;
    if (image) {
        imageView = std::make_shared<ui::ImageView>(image);
        imageView->setContentMode(ui::ContentMode::ScaleAspectFit);
        imageView->setFrame({ spacing, spacing, imageSide, imageSide });
        imageWidth = imageHeight = imageSide;
        imageLeft = spacing;
    }
    gfx::Size textLimit { view.bounds().width() * textShare - imageWidth, view.bounds().height() * textShare };
    double textLeft = imageLeft + imageWidth + spacing;

    std::shared_ptr<ui::Label> titleLabel;
    gfx::Rect titleFrame;
    if (title) {
        titleLabel = textLabel(*title, gfx::Font::boldSystem(16), textLimit);
        titleFrame = { { textLeft, spacing }, titleLabel->frame().size };
    }
    std::shared_ptr<ui::Label> messageLabel;
    gfx::Rect messageFrame;
    if (message) {
        messageLabel = textLabel(*message, gfx::Font::system(16), textLimit);
        double top = (title ? spacing : 0) + titleFrame.height() + spacing;
        messageFrame = { { textLeft, top }, messageLabel->frame().size };
    }

    double width = std::max(imageWidth + 2 * spacing,
        std::max(titleFrame.minX(), messageFrame.minX()) + std::max(titleFrame.width(), messageFrame.width())
            + spacing);
    double height = std::max(messageFrame.minY() + messageFrame.height() + spacing, imageHeight + 2 * spacing);
    panel->setFrame({ 0, 0, width, height });

    if (titleLabel) {
        titleLabel->setFrame(titleFrame);
        panel->addSubview(titleLabel);
    }
    if (messageLabel) {
        messageLabel->setFrame(messageFrame);
        panel->addSubview(messageLabel);
    }
    if (imageView)
        panel->addSubview(imageView);
    return panel;
}

void Toast::makeToast(const std::shared_ptr<ui::View>& view, std::optional<std::string> message, double duration,
    const ToastPosition& position, std::optional<std::string> title, std::shared_ptr<gfx::Image> image)
{
    BASE_ASSERT_MAIN_THREAD();
    showToast(view, viewForMessage(*view, message, title, image), duration, position);
}

void Toast::showToast(const std::shared_ptr<ui::View>& view, const std::shared_ptr<ui::View>& toast, double duration,
    const ToastPosition& position)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!toast)
        return;
    toast->setCenter(centerPointForPosition(*view, position, *toast));
    toast->setAlpha(0);
    view->addSubview(toast);
    ui::View::animateWithDuration(
        fadeDuration, 0, ui::AnimationOptions::CurveEaseOut, [&toast] { toast->setAlpha(1.0); },
        [toast, duration](bool) {
            ui::View::animateWithDuration(
                fadeDuration, duration, ui::AnimationOptions::CurveEaseIn, [&toast] { toast->setAlpha(0); },
                [toast](bool) { toast->removeFromSuperview(); });
        });
}

std::shared_ptr<ui::View> Toast::activityToast(const ui::View& view)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& toasts = activityToasts();
    auto found = toasts.find(keyOf(view));
    return found == toasts.end() ? nullptr : found->second;
}

void Toast::makeToastActivity(const std::shared_ptr<ui::View>& view, const ToastPosition& position)
{
    BASE_ASSERT_MAIN_THREAD();
    if (activityToast(*view))
        return;
    auto panel = std::make_shared<ui::View>(gfx::Rect { 0, 0, activitySide, activitySide });
    panel->setCenter(centerPointForPosition(*view, position, *panel));
    givePanelLook(*panel);
    panel->setAlpha(0);

    auto spinner = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
    spinner->setCenter({ activitySide / 2, activitySide / 2 });
    panel->addSubview(spinner);
    spinner->startAnimating();

    activityToasts()[keyOf(*view)] = panel;
    view->addSubview(panel);
    ui::View::animateWithDuration(
        fadeDuration, 0, ui::AnimationOptions::CurveEaseOut, [&panel] { panel->setAlpha(1.0); });
}

void Toast::hideToastActivity(const std::shared_ptr<ui::View>& view)
{
    BASE_ASSERT_MAIN_THREAD();
    auto panel = activityToast(*view);
    if (!panel)
        return;
    std::weak_ptr<const ui::View> owner = keyOf(*view);
    ui::View::animateWithDuration(
        fadeDuration, 0, ui::AnimationOptions::CurveEaseIn | ui::AnimationOptions::BeginFromCurrentState,
        [&panel] { panel->setAlpha(0); },
        [panel, owner](bool) {
            panel->removeFromSuperview();
            activityToasts().erase(owner);
        });
}

} // namespace kit
