// settings::NumberPanelParts: the building blocks of the number screens, so that every panel looks
// alike: a white panel, a title line, a caption, a number field, the green action buttons and the grey
// cancel button, and the single-field panel (title, caption, field, cancel and done) of the listen, centre
// and watch-number panels. Also how a stored number is shown (a blank or null number as an empty field) and
// how a number screen goes into the shared modal presenter, its appearance step first. Main thread.
//
//   auto panel = settings::NumberPanelParts::singleNumberPanel(201);
//   panel.title->setText(base::localized("dad_num"));
//   settings::NumberPanelParts::present(screen);
#pragma once

#include "core/records/ConfigText.h"
#include "gfx/geometry/Rect.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {
class Button;
class Label;
class TextField;
class TextFieldDelegate;
class View;
class ViewController;
}

namespace settings {

class NumberPanelParts {
public:
    static constexpr double panelWidth = 280;
    static constexpr double rowHeight = 44;
    static constexpr double titleHeight = 44;

    struct SingleNumberPanel {
        std::shared_ptr<ui::View> view;
        std::shared_ptr<ui::Label> title;
        std::shared_ptr<ui::Label> caption;
        std::shared_ptr<ui::TextField> field;
        std::shared_ptr<ui::Button> cancel;
        std::shared_ptr<ui::Button> done;
    };

    static std::shared_ptr<ui::View> panel(double height);
    static std::shared_ptr<ui::Label> title(double width);
    static std::shared_ptr<ui::Label> caption(const gfx::Rect& frame);
    static std::shared_ptr<ui::TextField> field(const gfx::Rect& frame, int tag);
    static std::shared_ptr<ui::Button> actionButton(const gfx::Rect& frame, int tag = 0);
    static std::shared_ptr<ui::Button> cancelButton(const gfx::Rect& frame);
    // Title, caption above the field (its tag given), cancel and done side by side.
    static SingleNumberPanel singleNumberPanel(int fieldTag);
    // The single-field panel of one number (`numberKey`, a localisation key) as the whole view of its
    // screen: "<number> setting" above, "<number>:" as caption, the number placeholder, the screen as the
    // field's delegate; cancel dismisses the panel and done runs `done`.
    static SingleNumberPanel installSingleNumberPanel(ui::View& screenView,
        std::weak_ptr<ui::TextFieldDelegate> delegate, const std::string& numberKey, std::function<void()> done);

    // The stored number as the field shows it: empty for null and for white space only.
    static std::string shown(const core::ConfigText& number);
    // The text field with that tag inside `view`, or nullptr.
    static std::shared_ptr<ui::TextField> fieldWithTag(const std::shared_ptr<ui::View>& view, int tag);

    // Loads the screen's view and runs its appearance step (its layout for the device), which the modal
    // presenter does not run for a view it is given.
    static void runAppearanceStep(ui::ViewController& screen);
    // The appearance step, then the screen's view in the shared modal presenter.
    static void present(const std::shared_ptr<ui::ViewController>& screen);
    static void dismiss();
};

} // namespace settings
