// ui::ScrollViewDelegate: what a scroll view tells its delegate (kept weakly) as its content moves and zooms.
// Every method is optional. Main thread.
//
//   class Owner : public ui::ScrollViewDelegate {
//       void scrollViewDidScroll(ui::ScrollView& scrollView) override { m_header->follow(scrollView.contentOffset()); }
//   };
#pragma once

#include <memory>

namespace ui {

class ScrollView;
class View;

class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;

    // After every change of the content offset: set by program, dragged or decelerating.
    virtual void scrollViewDidScroll(ScrollView&) { }
    virtual void scrollViewWillBeginDragging(ScrollView&) { }
    // The finger has lifted; `willDecelerate` tells whether the content moves on (glides or bounces back).
    virtual void scrollViewDidEndDragging(ScrollView&, bool /*willDecelerate*/) { }
    // The content has come to rest after a release.
    virtual void scrollViewDidEndDecelerating(ScrollView&) { }
    // The view that zooms; without one the scroll view does not zoom.
    virtual std::shared_ptr<View> viewForZoomingInScrollView(ScrollView&) { return nullptr; }
    virtual void scrollViewDidZoom(ScrollView&) { }
};

} // namespace ui
