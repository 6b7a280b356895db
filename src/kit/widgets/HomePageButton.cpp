#include "kit/widgets/HomePageButton.h"

#include "base/system/Log.h"
#include "base/loop/MainThread.h"

namespace kit {

std::shared_ptr<HomePageButton> HomePageButton::make(const gfx::Rect& frame)
{
    BASE_ASSERT_MAIN_THREAD();
    auto tile = std::make_shared<HomePageButton>(Private(), frame);
    tile->addSubview(tile->m_imageView);
    tile->addSubview(tile->m_titleLable);
    // On top, so that it takes the taps on the image and the title.
    tile->addSubview(tile->m_backgroundBtn);
    return tile;
}

HomePageButton::HomePageButton(Private, const gfx::Rect& frame)
    : ui::View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    m_backgroundBtn = std::make_shared<ui::Button>(gfx::Rect { 0, 0, frame.width(), frame.height() });
    m_backgroundBtn->setBackgroundColor(gfx::Color::clear());
    m_imageView = std::make_shared<ui::ImageView>(gfx::Rect { 26, 15, 40, 40 });
    m_imageView->setBackgroundColor(gfx::Color::clear());
    m_titleLable = std::make_shared<ui::Label>(gfx::Rect { 10, 60, 70, 30 });
    m_titleLable->setBackgroundColor(gfx::Color::clear());
    m_titleLable->setTextColor(gfx::Color::white());
    m_titleLable->setFont(gfx::Font::system(13));
}

void HomePageButton::setTitle(std::string title) { m_titleLable->setText(std::move(title)); }

std::string HomePageButton::title() const { return m_titleLable->text(); }

void HomePageButton::setImage(std::shared_ptr<gfx::Image> image) { m_imageView->setImage(std::move(image)); }

void HomePageButton::addAction(ui::Control::Action action, ui::ControlEvents events, const void* owner)
{
    BASE_ASSERT_MAIN_THREAD();
    m_backgroundBtn->addAction(std::move(action), events, owner);
}

void HomePageButton::doanything() { base::log("22222"); }

} // namespace kit
