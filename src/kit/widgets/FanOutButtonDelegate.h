// kit::FanOutButtonDelegate: told which of a fan-out button's three sub-buttons was tapped (1, 2 or 3), after
// the fan has started folding. Held weakly by the button. Main thread.
#pragma once

namespace kit {

class FanOutButtonDelegate {
public:
    virtual ~FanOutButtonDelegate() = default;
    virtual void tappedButtonWithIndex(int /*index*/) { }
};

} // namespace kit
