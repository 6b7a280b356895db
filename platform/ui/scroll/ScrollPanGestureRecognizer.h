// ui::ScrollPanGestureRecognizer: the pan recogniser a scroll view drags its content with. It is a pan that
// fails instead of beginning when the finger's movement runs mostly along an axis its scroll view can
// neither scroll nor bounce on, so that a sideways drag over a vertical list is left to the recognisers of
// the views around it. Main thread.
//
//   auto pan = std::make_shared<ui::ScrollPanGestureRecognizer>(action);
//   scrollView->addGestureRecognizer(pan);
#pragma once

#include "ui/input/PanGestureRecognizer.h"

namespace ui {

class ScrollPanGestureRecognizer : public PanGestureRecognizer {
public:
    using PanGestureRecognizer::PanGestureRecognizer;

protected:
    void touchesBegan(const TouchSet& touches) override;
    void touchesMoved(const TouchSet& touches) override;

private:
    gfx::Point m_downLocation;
};

} // namespace ui
