// ui::Button: a control that shows a title, an image and a background image, each chosen by the control
// state. What is set for a state is used in that state; a state with nothing set uses what is set for
// normal. Custom buttons draw titles white by default; system buttons in the tint colour, faded while
// highlighted and grey while disabled. The background image fills the bounds; the image and the title sit
// side by side, centred in the bounds less the content insets; a title label allowed more than one line wraps
// at the width the image leaves. Main thread.
//
//   auto send = ui::Button::buttonWithType(ui::ButtonType::System);
//   send->setTitle("Send", ui::ControlState::Normal);
//   send->setImage(gfx::Image::named("send"), ui::ControlState::Normal);
//   send->addAction([weak](ui::Control&) { ... }, ui::ControlEvent::TouchUpInside);
#pragma once

#include "gfx/geometry/EdgeInsets.h"
#include "gfx/images/Image.h"
#include "ui/controls/Control.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"

#include <map>
#include <optional>
#include <string>

namespace ui {

enum class ButtonType { Custom = 0, System = 1 };

class Button : public Control {
public:
    static constexpr double titleFontSize = 15;

    explicit Button(const gfx::Rect& frame = {}, ButtonType type = ButtonType::Custom);
    // A button of the type with a zero frame.
    static std::shared_ptr<Button> buttonWithType(ButtonType type);

    ButtonType buttonType() const { return m_type; }

    void setTitle(std::optional<std::string> title, ControlStates state);
    void setTitleColor(std::optional<gfx::Color> color, ControlStates state);
    void setImage(std::shared_ptr<gfx::Image> image, ControlStates state);
    void setBackgroundImage(std::shared_ptr<gfx::Image> image, ControlStates state);

    // What is set for the state, else what is set for normal.
    [[nodiscard]] std::optional<std::string> titleForState(ControlStates state) const;
    // What is set for the state, else for normal, else the type's colour for the state.
    gfx::Color titleColorForState(ControlStates state) const;
    std::shared_ptr<gfx::Image> imageForState(ControlStates state) const;
    std::shared_ptr<gfx::Image> backgroundImageForState(ControlStates state) const;

    [[nodiscard]] std::optional<std::string> currentTitle() const { return titleForState(state()); }
    gfx::Color currentTitleColor() const { return titleColorForState(state()); }
    std::shared_ptr<gfx::Image> currentImage() const { return imageForState(state()); }
    std::shared_ptr<gfx::Image> currentBackgroundImage() const { return backgroundImageForState(state()); }

    // Distances in from the bounds for the image and the title (not the background); negative ones let them
    // reach out.
    const gfx::EdgeInsets& contentEdgeInsets() const { return m_contentEdgeInsets; }
    void setContentEdgeInsets(const gfx::EdgeInsets& insets);

    // The parts, for fonts and other settings; their contents follow the state.
    const std::shared_ptr<Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<ImageView>& imageView() const { return m_imageView; }

    void setEnabled(bool enabled) override;
    void setSelected(bool selected) override;
    void setHighlighted(bool highlighted) override;
    void tintColorDidChange() override;

    // The image and the title side by side with the content insets around them, at least the background
    // image's size.
    gfx::Size sizeThatFits(gfx::Size size) const override;
    void layoutSubviews() override;

private:
    template <typename T> static T lookup(const std::map<ControlStates, T>& values, ControlStates state);
    // Puts the state's title, colour and images into the parts.
    void refresh();

    ButtonType m_type;
    std::map<ControlStates, std::optional<std::string>> m_titles;
    std::map<ControlStates, std::optional<gfx::Color>> m_titleColors;
    std::map<ControlStates, std::shared_ptr<gfx::Image>> m_images;
    std::map<ControlStates, std::shared_ptr<gfx::Image>> m_backgroundImages;
    std::shared_ptr<ImageView> m_backgroundView;
    std::shared_ptr<ImageView> m_imageView;
    std::shared_ptr<Label> m_titleLabel;
    gfx::EdgeInsets m_contentEdgeInsets;
    bool m_partsAdded { false };
};

} // namespace ui
