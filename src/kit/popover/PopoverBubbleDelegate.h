// kit::PopoverBubbleDelegate: told when an item of a popover bubble is tapped and when the popover has
// finished its dismissal and left the screen. Both calls are optional. Held weakly by the popover. Main
// thread.
#pragma once

namespace kit {

class PopoverBubble;

class PopoverBubbleDelegate {
public:
    virtual ~PopoverBubbleDelegate() = default;
    // The item at `index` (in the order the items were given) was tapped; the popover stays up.
    virtual void popoverBubbleDidSelectItemAtIndex(PopoverBubble&, int /*index*/) { }
    // Sent once per dismissal, after the popover has left its superview.
    virtual void popoverBubbleDidDismiss(PopoverBubble&) { }
};

} // namespace kit
