// A view tree for pictures of the renderer: a rounded, bordered card with a shadow, a gradient band, text in
// Latin and Chinese, a rotated and a scaled badge, over a plain background.
#pragma once

#include "ui/view/View.h"
#include "ui/view/Window.h"

#include <memory>

namespace test {

struct SnapshotScene {
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::View> card;
    std::shared_ptr<ui::View> rotated;
    std::shared_ptr<ui::View> scaled;

    static SnapshotScene make();
};

} // namespace test
