// ui::SegmentedControl: a row of equally wide segments with titles, at most one selected (index -1: none).
// A touch that lifts inside an enabled segment selects it and sends value-changed (also when it was already
// selected); a momentary control shows the segment only while the finger is on it. Setting the selection in
// code sends nothing. Drawn in the tint colour: outlined, the selected segment filled. Main thread.
//
//   auto segment = std::make_shared<ui::SegmentedControl>(std::vector<std::string> { "GPS", "OBD" });
//   segment->setFrame({ 60, 10, 200, 29 });
//   segment->setSelectedSegmentIndex(0);
//   segment->addAction([weak](ui::Control& s) { ... }, ui::ControlEvent::ValueChanged);
#pragma once

#include "gfx/text/Font.h"
#include "ui/controls/Control.h"

#include <string>
#include <vector>

namespace ui {

class SegmentedControl : public Control {
public:
    static constexpr int noSegment = -1;
    static constexpr double defaultHeight = 29;

    explicit SegmentedControl(const gfx::Rect& frame = {});
    // Sized to fit the titles.
    explicit SegmentedControl(std::vector<std::string> titles);

    size_t numberOfSegments() const { return m_segments.size(); }
    // An index past the end appends.
    void insertSegmentWithTitle(std::string title, size_t index, bool animated = false);
    void removeSegmentAtIndex(size_t index, bool animated = false);
    void removeAllSegments();
    void setTitle(std::string title, size_t segment);
    // Empty text for an index out of range.
    std::string titleForSegmentAtIndex(size_t segment) const;
    void setEnabledForSegmentAtIndex(bool enabled, size_t segment);
    bool isEnabledForSegmentAtIndex(size_t segment) const;

    int selectedSegmentIndex() const { return m_selected; }
    // An index out of range selects nothing.
    void setSelectedSegmentIndex(int index);
    bool isMomentary() const { return m_momentary; }
    void setMomentary(bool momentary) { m_momentary = momentary; }

    // The segment under a point of the bounds, or noSegment.
    int segmentAtPoint(gfx::Point point) const;

    gfx::Size sizeThatFits(gfx::Size size) const override;
    void endTracking(const Touch* touch, const Event* event) override;
    void cancelTracking(const Event* event) override;
    bool beginTracking(const Touch& touch, const Event* event) override;
    void tintColorDidChange() override { setNeedsDisplay(); }
    void drawRect(const gfx::Rect& rect) override;

private:
    struct Segment {
        std::string title;
        bool enabled { true };
    };
    gfx::Rect segmentRect(size_t index) const;
    // Filled: the selected segment, or the one under the finger of a momentary control.
    bool showsSelected(size_t index) const;

    std::vector<Segment> m_segments;
    int m_selected { noSegment };
    int m_pressed { noSegment };
    bool m_momentary { false };
    gfx::Font m_font { gfx::Font::system(13) };
};

} // namespace ui
