// ui::GestureRecognizerDelegate: what an owner may decide for a gesture recogniser: whether it takes a given
// touch at touch-down, and whether it may recognise together with another recogniser instead of making that
// one fail. Both methods are optional (the defaults take every touch and recognise alone). Held weakly by
// the recogniser. Main thread.
//
//   bool gestureRecognizerShouldReceiveTouch(ui::GestureRecognizer&, const ui::Touch& touch) override
//   { return !m_masks.contains(touch.locationInView(m_container.get())); }
#pragma once

namespace ui {

class GestureRecognizer;
class Touch;

class GestureRecognizerDelegate {
public:
    virtual ~GestureRecognizerDelegate() = default;

    virtual bool gestureRecognizerShouldReceiveTouch(GestureRecognizer&, const Touch&) { return true; }
    // Asked of both recognisers' delegates; either one answering yes lets the two run side by side.
    virtual bool gestureRecognizerShouldRecognizeSimultaneously(GestureRecognizer&, GestureRecognizer& /*other*/)
    {
        return false;
    }
};

} // namespace ui
