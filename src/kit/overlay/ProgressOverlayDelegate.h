// kit::ProgressOverlayDelegate: told once each time a progress overlay has finished hiding. A delegate
// implements one of the two calls and says which: the overlay sends the one with the overlay when the
// delegate implements it, else the plain one, else nothing. Main thread.
#pragma once

namespace kit {

class ProgressOverlay;

class ProgressOverlayDelegate {
public:
    virtual ~ProgressOverlayDelegate() = default;
    virtual bool implementsHudWasHiddenWithOverlay() const { return false; }
    virtual bool implementsHudWasHidden() const { return false; }
    virtual void hudWasHidden(ProgressOverlay&) { }
    virtual void hudWasHidden() { }
};

} // namespace kit
