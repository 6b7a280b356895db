#include "kit/support/ViewFieldAccessors.h"

#include "base/loop/MainThread.h"
namespace kit {

namespace {
    template <typename Change> void changeFrame(ui::View& view, Change change)
    {
        gfx::Rect frame = view.frame();
        change(frame);
        view.setFrame(frame);
    }
} // namespace

void setFrameX(ui::View& view, double x)
{
    BASE_ASSERT_MAIN_THREAD();
    changeFrame(view, [x](gfx::Rect& frame) { frame.origin.x = x; });
}

double frameX(const ui::View& view) { return view.frame().origin.x; }

void setFrameY(ui::View& view, double y)
{
    BASE_ASSERT_MAIN_THREAD();
    changeFrame(view, [y](gfx::Rect& frame) { frame.origin.y = y; });
}

double frameY(const ui::View& view) { return view.frame().origin.y; }

void setFrameWidth(ui::View& view, double width)
{
    BASE_ASSERT_MAIN_THREAD();
    changeFrame(view, [width](gfx::Rect& frame) { frame.size.width = width; });
}

double frameWidth(const ui::View& view) { return view.frame().width(); }

void setFrameHeight(ui::View& view, double height)
{
    BASE_ASSERT_MAIN_THREAD();
    changeFrame(view, [height](gfx::Rect& frame) { frame.size.height = height; });
}

double frameHeight(const ui::View& view) { return view.frame().height(); }

void setFrameSize(ui::View& view, gfx::Size size)
{
    BASE_ASSERT_MAIN_THREAD();
    changeFrame(view, [size](gfx::Rect& frame) { frame.size = size; });
}

gfx::Size frameSize(const ui::View& view) { return view.frame().size; }

void setFrameOrigin(ui::View& view, gfx::Point origin)
{
    BASE_ASSERT_MAIN_THREAD();
    changeFrame(view, [origin](gfx::Rect& frame) { frame.origin = origin; });
}

gfx::Point frameOrigin(const ui::View& view) { return view.frame().origin; }

} // namespace kit
