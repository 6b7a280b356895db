// kit::ModalGradientView: the darkened background of the modal presenter's window: a radial gradient from
// black at 0.3 alpha in the middle to 0.8 at the edges, or a flat black at 0.55 alpha, as the shared
// presenter's background style says. Every touch that ends on it posts tappedNotification (no object) and
// goes no further. Main thread.
#pragma once

#include "ui/View.h"

namespace kit {

class ModalGradientView : public ui::View {
public:
    static constexpr const char* tappedNotification = "ModalGradientViewTapped";

    using ui::View::View;

    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    void drawRect(const gfx::Rect& rect) override;
};

} // namespace kit
