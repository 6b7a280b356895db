// kit::HomePageButton: an image over a white title, with a transparent button over both that takes the
// taps: actions added to the home page button go to that button. Main thread.
//
//   auto tile = kit::HomePageButton::make({ 0, 0, 90, 90 });
//   tile->setImage(icon);
//   tile->setTitle("Location");
//   tile->addAction([weak](ui::Control&) { ... }, ui::ControlEvent::TouchUpInside);
#pragma once

#include "ui/controls/Button.h"

#include <memory>
#include <string>

namespace kit {

class HomePageButton : public ui::View {
    struct Private {
        explicit Private() = default;
    };

public:
    static std::shared_ptr<HomePageButton> make(const gfx::Rect& frame);
    HomePageButton(Private, const gfx::Rect& frame);

    void setTitle(std::string title);
    std::string title() const;
    void setImage(std::shared_ptr<gfx::Image> image);
    void addAction(ui::Control::Action action, ui::ControlEvents events, const void* owner = nullptr);
    // Writes a line to the log; nothing calls it.
    void doanything();

    const std::shared_ptr<ui::Button>& backgroundBtn() const { return m_backgroundBtn; }
    const std::shared_ptr<ui::ImageView>& imageView() const { return m_imageView; }
    const std::shared_ptr<ui::Label>& titleLable() const { return m_titleLable; }

private:
    std::shared_ptr<ui::Button> m_backgroundBtn;
    std::shared_ptr<ui::ImageView> m_imageView;
    std::shared_ptr<ui::Label> m_titleLable;
};

} // namespace kit
