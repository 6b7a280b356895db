#include "ui/controls/ImageView.h"

#include "base/loop/MainThread.h"

namespace ui {

ImageView::ImageView(const gfx::Rect& frame)
    : View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    setUserInteractionEnabled(false);
}

ImageView::ImageView(std::shared_ptr<gfx::Image> image)
    : ImageView(gfx::Rect { {}, image ? image->size() : gfx::Size {} })
{
    BASE_ASSERT_MAIN_THREAD();
    setImage(std::move(image));
}

void ImageView::setImage(std::shared_ptr<gfx::Image> image)
{
    BASE_ASSERT_MAIN_THREAD();
    m_image = std::move(image);
    if (m_image)
        layer()->setContentsScale(m_image->scale());
    layer()->setContents(m_image);
}

gfx::Size ImageView::sizeThatFits(gfx::Size) const { return m_image ? m_image->size() : gfx::Size {}; }

} // namespace ui
