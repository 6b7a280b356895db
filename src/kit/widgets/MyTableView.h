// kit::MyTableView: a table view whose content is never smaller than its frame: a content size of a smaller
// area than the frame's is raised to the frame's size, so that the table always scrolls (and bounces) over at
// least its own height. Main thread; made with std::make_shared.
#pragma once

#include "ui/scroll/TableView.h"

namespace kit {

class MyTableView : public ui::TableView {
public:
    using ui::TableView::TableView;

    void setContentSize(gfx::Size size) override;
};

} // namespace kit
