// ui::Switch: an on/off control of the platform's fixed size (51 x 31 points, whatever frame size it is
// given). A touch that lifts inside it (within the tracking slop) turns it over and sends value-changed;
// setting the value in code sends nothing. Main thread.
//
//   auto lock = std::make_shared<ui::Switch>(gfx::Rect { 255, 7, 0, 0 });
//   lock->setOn(config.keyLock == 1);
//   lock->addAction([weak](ui::Control& sender) { ... static_cast<ui::Switch&>(sender).isOn() ... },
//       ui::ControlEvent::ValueChanged);
#pragma once

#include "ui/controls/Control.h"

namespace ui {

class Switch : public Control {
public:
    static constexpr gfx::Size size { 51, 31 };

    explicit Switch(const gfx::Rect& frame = {});

    bool isOn() const { return m_on; }
    // The thumb moves over at once, animated or not.
    void setOn(bool on, bool animated = false);

    // Empty: the platform's green.
    gfx::Color onTintColor() const;
    void setOnTintColor(std::optional<gfx::Color> color);
    gfx::Color thumbTintColor() const { return m_thumbTintColor.value_or(gfx::Color::white()); }
    void setThumbTintColor(std::optional<gfx::Color> color);

    gfx::Size sizeThatFits(gfx::Size) const override { return size; }
    void endTracking(const Touch* touch, const Event* event) override;
    void drawRect(const gfx::Rect& rect) override;

private:
    bool m_on { false };
    std::optional<gfx::Color> m_onTintColor;
    std::optional<gfx::Color> m_thumbTintColor;
};

} // namespace ui
