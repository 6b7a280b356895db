// kit::ModalGradientView: the darkened background of the modal presenter's window: a radial gradient from
// black at 0.3 alpha in the middle to 0.8 at the edges, or a flat black at 0.55 alpha, as its style says (the
// presenter that owns it sets the style). Every touch that ends on it posts tappedNotification (no object)
// and goes no further. Main thread.
#pragma once

#include "ui/view/View.h"

namespace kit {

enum class ModalBackgroundStyle : unsigned { RadialGradient = 0, Solid = 1 };

class ModalGradientView : public ui::View {
public:
    static constexpr const char* tappedNotification = "ModalGradientViewTapped";

    using ui::View::View;

    ModalBackgroundStyle style() const { return m_style; }
    // Redraws when the style changes.
    void setStyle(ModalBackgroundStyle style);

    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    void drawRect(const gfx::Rect& rect) override;

private:
    ModalBackgroundStyle m_style { ModalBackgroundStyle::RadialGradient };
};

} // namespace kit
