// ui::BasicAnimation: an animation of one key path from one value to another. As on the platform, missing
// ends come from the value underneath (the model with earlier animations applied): with only a `to` value it
// runs from the underlying value to `to`; with only `from`, from `from` to the underlying value; a `by` value
// gives the other end by adding. Main thread.
//
//   auto fade = std::make_shared<ui::BasicAnimation>("opacity");
//   fade->setFromValue(1.0);
//   fade->setToValue(0.0);
//   layer->addAnimation(fade, "fade");
#pragma once

#include "ui/animation/Animation.h"

namespace ui {

class BasicAnimation : public PropertyAnimation {
public:
    explicit BasicAnimation(std::string keyPath)
        : PropertyAnimation(std::move(keyPath))
    {
    }
    std::shared_ptr<Animation> copy() const override { return std::make_shared<BasicAnimation>(*this); }

    const std::optional<AnimatableValue>& fromValue() const { return m_from; }
    void setFromValue(std::optional<AnimatableValue> value) { m_from = std::move(value); }
    const std::optional<AnimatableValue>& toValue() const { return m_to; }
    void setToValue(std::optional<AnimatableValue> value) { m_to = std::move(value); }
    const std::optional<AnimatableValue>& byValue() const { return m_by; }
    void setByValue(std::optional<AnimatableValue> value) { m_by = std::move(value); }

protected:
    void applyAt(LayerProperties& properties, Moment moment) const override;

private:
    std::optional<AnimatableValue> m_from;
    std::optional<AnimatableValue> m_to;
    std::optional<AnimatableValue> m_by;
};

} // namespace ui
