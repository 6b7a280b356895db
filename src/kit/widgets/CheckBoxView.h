// kit::CheckBoxView: a check box drawn with images: the box image of one of five styles, on or off, at the
// left, and a white bold label to its right. The control is always 36 points high. A tap that ends on it
// (or up to 5 points left of it or 10 points above it) flips its state and reports the change to the
// target's selector, or when there is none to the block. Disabled, it dims the box image and ignores
// touches. Main thread.
//
//   auto remember = kit::CheckBoxView::make({ 20, 300, 200, 50 }, kit::CheckBoxView::Style::Mono, true);
//   remember->setText("Remember me");
//   remember->setStateChangedTarget(screen, &LoginScreen::autoLoginChanged);
#pragma once

#include "gfx/images/Image.h"
#include "ui/view/View.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {
class ImageView;
class Label;
}

namespace kit {

class CheckBoxView : public ui::View {
    struct Private {
        explicit Private() = default;
    };

public:
    // Styles outside these have no box image.
    enum Style : int { Box = 0, Dark = 1, Glossy = 2, Green = 3, Mono = 4 };
    static constexpr double height = 36;

    using StateChangedBlock = std::function<void(CheckBoxView&)>;

    // The control takes the frame's origin and width, and a height of 36 points.
    static std::shared_ptr<CheckBoxView> make(const gfx::Rect& frame, int style, bool checked);
    CheckBoxView(Private, const gfx::Rect& frame, int style, bool checked);

    int style() const { return m_style; }
    bool checked() const { return m_checked; }
    // Changes the state without reporting it.
    void setChecked(bool checked);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    void setText(std::string text);

    // The selector is performed on the target on each change while the target lives; the target is not kept.
    template <typename Target>
    void setStateChangedTarget(const std::shared_ptr<Target>& target, void (Target::*selector)(CheckBoxView&))
    {
        m_delegate = target;
        m_stateChangedSelector = nullptr;
        if (selector)
            m_stateChangedSelector
                = [selector](void* object, CheckBoxView& box) { (static_cast<Target*>(object)->*selector)(box); };
    }
    // Called on each change when no living target and selector are set.
    const StateChangedBlock& stateChangedBlock() const { return m_stateChangedBlock; }
    void setStateChangedBlock(StateChangedBlock block) { m_stateChangedBlock = std::move(block); }

    static std::shared_ptr<gfx::Image> checkBoxImageForStyle(int style, bool checked);
    static gfx::Rect imageViewFrameForCheckBoxImage(const std::shared_ptr<gfx::Image>& image);
    // The control's frame grown 5 points to the left and 10 upwards, in its superview's coordinates.
    gfx::Rect touchArea() const;

    const std::shared_ptr<ui::ImageView>& checkBoxImageView() const { return m_checkBoxImageView; }
    const std::shared_ptr<ui::Label>& textLabel() const { return m_textLabel; }

    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;

private:
    void updateCheckBoxImage();
    void reportChange();

    int m_style;
    bool m_checked;
    bool m_enabled { true };
    std::shared_ptr<ui::ImageView> m_checkBoxImageView;
    std::shared_ptr<ui::Label> m_textLabel;
    std::weak_ptr<void> m_delegate;
    std::function<void(void* target, CheckBoxView&)> m_stateChangedSelector;
    StateChangedBlock m_stateChangedBlock;
};

} // namespace kit
