// ui::AttachmentBehavior: ties a point of an item (given as an offset from its centre, in the item's own
// unturned frame) to an anchor point in the reference view, at a fixed distance: the distance between the
// two when the behaviour is added to an animator, unless set. With a distance of 0 the point follows the anchor
// exactly and the item swings about it. The tie is rigid. Main thread; made with std::make_shared.
//
//   auto drag = std::make_shared<ui::AttachmentBehavior>(image, offset, fingerLocation);
//   drag->setAnchorPoint(newFingerLocation);
#pragma once

#include "gfx/geometry/Point.h"
#include "ui/dynamics/DynamicBehavior.h"

#include <optional>

namespace ui {

class AttachmentBehavior : public DynamicBehavior {
public:
    AttachmentBehavior(std::shared_ptr<View> item, gfx::Point offsetFromCenter, gfx::Point anchorPoint);

    gfx::Point anchorPoint() const { return m_anchor; }
    void setAnchorPoint(gfx::Point anchor);
    gfx::Point offsetFromCenter() const { return m_offset; }
    // Empty until the behaviour joins an animator, unless set.
    [[nodiscard]] std::optional<double> length() const { return m_length; }
    void setLength(double length);

protected:
    void didJoinAnimator() override;
    void applyConstraints() override;
    bool hasWorkPending() const override;

private:
    gfx::Point m_offset;
    gfx::Point m_anchor;
    std::optional<double> m_length;
};

} // namespace ui
