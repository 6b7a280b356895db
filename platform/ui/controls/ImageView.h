// ui::ImageView: a view that shows an image as its layer's contents, placed by the view's content mode
// (scale to fill by default). Made with an image, its frame takes the image's point size. Animation
// images are not supported: startAnimating and stopAnimating only set the flag. Takes no touches unless
// user interaction is switched on. Main thread.
//
//   auto arrow = std::make_shared<ui::ImageView>(gfx::Image::named("big_arrow.png"));
//   arrow->setContentMode(ui::ContentMode::Center);
#pragma once

#include "gfx/images/Image.h"
#include "ui/view/View.h"

namespace ui {

class ImageView : public View {
public:
    explicit ImageView(const gfx::Rect& frame = {});
    explicit ImageView(std::shared_ptr<gfx::Image> image);

    const std::shared_ptr<gfx::Image>& image() const { return m_image; }
    void setImage(std::shared_ptr<gfx::Image> image);

    bool isAnimating() const { return m_animating; }
    void startAnimating() { m_animating = true; }
    void stopAnimating() { m_animating = false; }

    // The image's point size (zero without an image).
    gfx::Size sizeThatFits(gfx::Size size) const override;

private:
    std::shared_ptr<gfx::Image> m_image;
    bool m_animating { false };
};

} // namespace ui
