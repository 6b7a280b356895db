#include "ui/ImageView.h"

namespace ui {

ImageView::ImageView(const gfx::Rect& frame)
    : View(frame)
{
    setUserInteractionEnabled(false);
}

ImageView::ImageView(std::shared_ptr<gfx::Image> image)
    : ImageView(gfx::Rect { {}, image ? image->size() : gfx::Size {} })
{
    setImage(std::move(image));
}

void ImageView::setImage(std::shared_ptr<gfx::Image> image)
{
    m_image = std::move(image);
    if (m_image)
        layer()->setContentsScale(m_image->scale());
    layer()->setContents(m_image);
}

gfx::Size ImageView::sizeThatFits(gfx::Size) const { return m_image ? m_image->size() : gfx::Size {}; }

} // namespace ui
