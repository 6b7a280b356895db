// kit::ModalContainerView: the frame around the modal presenter's content view. It carries an inner layer
// (inset 12 points, rounded, with a clear border and shadow) that draws nothing visible: the content view
// supplies the panel's look. Main thread.
#pragma once

#include "ui/view/View.h"

namespace kit {

class ModalContainerView : public ui::View {
public:
    explicit ModalContainerView(const gfx::Rect& frame = {});
};

} // namespace kit
