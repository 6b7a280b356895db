// kit::Toast: lets any view show a toast: a dark rounded panel with an optional image, an optional bold
// title and an optional message that fades in at the top, centre or bottom of the view (or centred at a
// given point), stays for a while, fades out and removes itself; and one activity toast per view (a
// spinner in a dark square) until it is hidden. Main thread; the views belong to the view hierarchy once
// added.
//
//   kit::Toast::makeToast(screenView, "Saved");                                   // 3 s at the bottom
//   kit::Toast::makeToast(screenView, "Check the watch", 2.0, "top", "Not sent");
//   kit::Toast::makeToastActivity(screenView);   ...   kit::Toast::hideToastActivity(screenView);
#pragma once

#include "gfx/images/Image.h"
#include "ui/view/View.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace kit {

// "top", "bottom" or "center" (any case), or the toast's centre itself; anything else (nothing included)
// counts as the bottom, with a warning in the log.
using ToastPosition = std::variant<std::monostate, std::string, gfx::Point>;

class Toast {
public:
    static constexpr double defaultDuration = 3.0;
    static constexpr const char* defaultPosition = "bottom";
    static constexpr const char* defaultActivityPosition = "center";

    // Builds the panel of the parts given and shows it; with no part at all, shows nothing.
    static void makeToast(const std::shared_ptr<ui::View>& view, std::optional<std::string> message,
        double duration = defaultDuration, const ToastPosition& position = std::string(defaultPosition),
        std::optional<std::string> title = std::nullopt, std::shared_ptr<gfx::Image> image = nullptr);
    // Centres `toast` at the position in `view`, fades it in over 0.2 s, keeps it `duration` seconds, fades
    // it out over 0.2 s and removes it. A null toast shows nothing.
    static void showToast(const std::shared_ptr<ui::View>& view, const std::shared_ptr<ui::View>& toast,
        double duration = defaultDuration, const ToastPosition& position = std::string(defaultPosition));

    // Shows the view's activity toast unless it has one.
    static void makeToastActivity(
        const std::shared_ptr<ui::View>& view, const ToastPosition& position = std::string(defaultActivityPosition));
    // Fades the view's activity toast out and removes it; nothing without one.
    static void hideToastActivity(const std::shared_ptr<ui::View>& view);
    // The view's activity toast, or nullptr.
    static std::shared_ptr<ui::View> activityToast(const ui::View& view);

    // Where a toast of `toast`'s height is centred in `view`'s bounds.
    static gfx::Point centerPointForPosition(
        const ui::View& view, const ToastPosition& position, const ui::View& toast);
    // The panel for the parts given, sized within `view`'s bounds; nullptr when all three are absent.
    static std::shared_ptr<ui::View> viewForMessage(const ui::View& view, const std::optional<std::string>& message,
        const std::optional<std::string>& title, const std::shared_ptr<gfx::Image>& image);
};

} // namespace kit
