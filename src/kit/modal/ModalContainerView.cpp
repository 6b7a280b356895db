#include "kit/modal/ModalContainerView.h"

#include "base/loop/MainThread.h"

namespace kit {

ModalContainerView::ModalContainerView(const gfx::Rect& frame)
    : ui::View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    auto inner = std::make_shared<ui::Layer>();
    inner->setFrame(bounds().insetBy(12, 12));
    inner->setCornerRadius(4);
    inner->setShadowColor(gfx::Color::clear());
    inner->setShadowOffset({ 0, 0 });
    inner->setShadowOpacity(0.5f);
    inner->setBorderWidth(1);
    inner->setBorderColor(gfx::Color::clear());
    inner->setBackgroundColor(gfx::Color::clear());
    layer()->addSublayer(inner);
}

} // namespace kit
