// kit::FolderCoverView: one of the two covers a folder table slides apart: a control whose layer shows a cut
// of the table's picture, with a white veil over it (fading in as the folder opens) and a faint one-point
// highlight line along its inner edge. Main thread.
//
//   auto top = kit::FolderCoverView::make(rect, table->rowHeight());
//   top->setIsTopView(true);
#pragma once

#include "ui/controls/Control.h"
#include "ui/layer/Layer.h"

#include <memory>

namespace kit {

class FolderCoverView : public ui::Control {
    struct Private {
        explicit Private() = default;
    };

public:
    // The veil covers the frame's height less `offset`, from the top.
    static std::shared_ptr<FolderCoverView> make(const gfx::Rect& frame, double offset);
    FolderCoverView(Private, const gfx::Rect& frame);

    // Puts the highlight along the bottom edge of a top cover, the top edge of a bottom one.
    void setIsTopView(bool isTop);

    // Stored for the owner: the arrow's x and the cut line's y.
    gfx::Point position() const { return m_position; }
    void setPosition(gfx::Point position) { m_position = position; }
    const std::shared_ptr<ui::Layer>& highlight() const { return m_highlight; }
    const std::shared_ptr<ui::View>& cover() const { return m_cover; }

private:
    void createHighlightWithFrame(const gfx::Rect& frame);

    std::shared_ptr<ui::View> m_cover;
    std::shared_ptr<ui::Layer> m_highlight;
    gfx::Point m_position;
};

} // namespace kit
