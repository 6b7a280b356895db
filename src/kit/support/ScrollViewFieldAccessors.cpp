#include "kit/support/ScrollViewFieldAccessors.h"

#include "base/loop/MainThread.h"
namespace kit {

namespace {
    template <typename Change> void changeInset(ui::ScrollView& scrollView, Change change)
    {
        gfx::EdgeInsets inset = scrollView.contentInset();
        change(inset);
        scrollView.setContentInset(inset);
    }
} // namespace

void setInsetTop(ui::ScrollView& scrollView, double top)
{
    BASE_ASSERT_MAIN_THREAD();
    changeInset(scrollView, [top](gfx::EdgeInsets& inset) { inset.top = top; });
}

double insetTop(const ui::ScrollView& scrollView) { return scrollView.contentInset().top; }

void setInsetBottom(ui::ScrollView& scrollView, double bottom)
{
    BASE_ASSERT_MAIN_THREAD();
    changeInset(scrollView, [bottom](gfx::EdgeInsets& inset) { inset.bottom = bottom; });
}

double insetBottom(const ui::ScrollView& scrollView) { return scrollView.contentInset().bottom; }

void setInsetLeft(ui::ScrollView& scrollView, double left)
{
    BASE_ASSERT_MAIN_THREAD();
    changeInset(scrollView, [left](gfx::EdgeInsets& inset) { inset.left = left; });
}

double insetLeft(const ui::ScrollView& scrollView) { return scrollView.contentInset().left; }

void setInsetRight(ui::ScrollView& scrollView, double right)
{
    BASE_ASSERT_MAIN_THREAD();
    changeInset(scrollView, [right](gfx::EdgeInsets& inset) { inset.right = right; });
}

double insetRight(const ui::ScrollView& scrollView) { return scrollView.contentInset().right; }

void setOffsetX(ui::ScrollView& scrollView, double x)
{
    BASE_ASSERT_MAIN_THREAD();
    scrollView.setContentOffset({ x, scrollView.contentOffset().y });
}

double offsetX(const ui::ScrollView& scrollView) { return scrollView.contentOffset().x; }

void setOffsetY(ui::ScrollView& scrollView, double y)
{
    BASE_ASSERT_MAIN_THREAD();
    scrollView.setContentOffset({ scrollView.contentOffset().x, y });
}

double offsetY(const ui::ScrollView& scrollView) { return scrollView.contentOffset().y; }

void setContentSizeWidth(ui::ScrollView& scrollView, double width)
{
    BASE_ASSERT_MAIN_THREAD();
    scrollView.setContentSize({ width, scrollView.contentSize().height });
}

double contentSizeWidth(const ui::ScrollView& scrollView) { return scrollView.contentSize().width; }

void setContentSizeHeight(ui::ScrollView& scrollView, double height)
{
    BASE_ASSERT_MAIN_THREAD();
    scrollView.setContentSize({ scrollView.contentSize().width, height });
}

double contentSizeHeight(const ui::ScrollView& scrollView) { return scrollView.contentSize().height; }

} // namespace kit
