#include "kit/modal/ModalCloseButton.h"

#include "base/loop/MainThread.h"
#include "gfx/images/ImageContext.h"

#include <iterator>

namespace kit {

namespace {

    std::shared_ptr<gfx::Image> drawCloseButtonImage()
    {
        gfx::Context* context = gfx::ImageContext::begin(ModalCloseButton::defaultFrame.size, false, 0);
        if (!context) {
            gfx::ImageContext::end();
            return nullptr;
        }
        gfx::Rect disc { 4, 3, 24, 24 };
        gfx::Gradient shade(
            { { 0, gfx::Color::rgb(0.21, 0.21, 0.21, 0.9) }, { 1, gfx::Color::rgb(0.03, 0.03, 0.03, 0.9) } });
        context->save();
        context->addEllipse(disc);
        context->clip();
        context->drawLinearGradient(shade, { 16, 3 }, { 16, 27 }, 0);
        context->restore();

        context->save();
        context->setShadow({ { 0, 1 }, 3, gfx::Color::black() });
        context->setStrokeColor(gfx::Color::white());
        context->setLineWidth(2);
        context->strokeEllipse(disc);
        context->restore();

        static constexpr gfx::Point cross[]
            = { { 22.36, 11.46 }, { 18.83, 15 }, { 22.36, 18.54 }, { 19.54, 21.36 }, { 16, 17.83 }, { 12.46, 21.36 },
                  { 9.64, 18.54 }, { 13.17, 15 }, { 9.64, 11.46 }, { 12.46, 8.64 }, { 16, 12.17 }, { 19.54, 8.64 } };
        context->save();
        context->setShadow({ { 0, 1 }, 0, gfx::Color::black() });
        context->setFillColor(gfx::Color::white());
        context->beginPath();
        context->moveTo(cross[0]);
        for (size_t i = 1; i < std::size(cross); ++i)
            context->lineTo(cross[i]);
        context->closePath();
        context->fillPath();
        context->restore();

        auto image = gfx::ImageContext::image();
        gfx::ImageContext::end();
        return image;
    }

} // namespace

std::shared_ptr<ModalCloseButton> ModalCloseButton::make()
{
    BASE_ASSERT_MAIN_THREAD();
    auto button = std::make_shared<ModalCloseButton>(Private());
    // A button's parts become its subviews, which needs its shared handle.
    button->setBackgroundImage(closeButtonImage(), ui::ControlState::Normal);
    return button;
}

ModalCloseButton::ModalCloseButton(Private)
    : ui::Button(defaultFrame)
{
    BASE_ASSERT_MAIN_THREAD();
}

std::shared_ptr<gfx::Image> ModalCloseButton::closeButtonImage()
{
    static std::shared_ptr<gfx::Image> image = drawCloseButtonImage();
    return image;
}

} // namespace kit
