#include "kit/widgets/MyTableView.h"

#include "base/loop/MainThread.h"

namespace kit {

void MyTableView::setContentSize(gfx::Size size)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Size frameSize = frame().size;
    if (size.width * size.height < frameSize.width * frameSize.height)
        size = frameSize;
    ui::TableView::setContentSize(size);
}

} // namespace kit
