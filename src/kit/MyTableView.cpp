#include "kit/MyTableView.h"

namespace kit {

void MyTableView::setContentSize(gfx::Size size)
{
    gfx::Size frameSize = frame().size;
    if (size.width * size.height < frameSize.width * frameSize.height)
        size = frameSize;
    ui::TableView::setContentSize(size);
}

} // namespace kit
