// kit::LoadFailureLine: the short line a screen keeps in place of its content while it holds nothing loaded
// and its last load failed, so that a failed load never reads as a watch without data once its notice has
// gone. It covers the content's area (in the background colour the screen gives it) with the text centred
// in a band at the top. Placed in the scrolling content above the rows, it moves with a pull to refresh and
// lets every touch through to what lies under it. Hidden until a load fails; the first load that succeeds
// hides it for good, since from then on the screen keeps what it loaded and a later failure is said by the
// notice alone. Main thread.
//
//   m_failureLine = kit::LoadFailureLine::make(m_tableView->bounds());
//   m_tableView->addSubview(m_failureLine);
//   m_failureLine->loadFailed(text);   // or loadSucceeded()
#pragma once

#include "ui/view/View.h"

#include <memory>
#include <string>

namespace ui {
class Label;
}

namespace kit {

class LoadFailureLine : public ui::View {
    struct Private {
        explicit Private() = default;
    };

public:
    static std::shared_ptr<LoadFailureLine> make(const gfx::Rect& area);
    LoadFailureLine(Private, const gfx::Rect& area);

    // Shows `text`, unless a load has succeeded.
    void loadFailed(const std::string& text);
    void loadSucceeded();

private:
    bool m_loaded { false };
    std::shared_ptr<ui::Label> m_label;
};

} // namespace kit
