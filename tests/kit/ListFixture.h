// Shared set-up of the refresh-view and folder-table tests: a table of numbered rows in the key window of the
// widget fixture, and a helper that lets a released scroll view come to rest frame by frame.
#pragma once

#include "OverlayTestFixture.h"

#include "ui/controls/Label.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"
#include "ui/input/TouchDriver.h"

#include <cmath>
#include <memory>
#include <string>

namespace test {

// Rows titled "Row 0", "Row 1", ... in one section.
class NumberedRows : public ui::TableViewDataSource {
public:
    explicit NumberedRows(int count)
        : rows(count)
    {
    }
    int numberOfRowsInSection(ui::TableView&, int) override { return rows; }
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override
    {
        auto cell = table.dequeueReusableCellWithIdentifier("row");
        if (!cell)
            cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "row");
        cell->textLabel()->setText("Row " + std::to_string(path.row));
        return cell;
    }
    int rows;
};

class ListTest : public WidgetTest {
protected:
    // A table of `rows` rows of 44 points filling `frame`, in the window.
    std::shared_ptr<ui::TableView> makeTable(int rows, const gfx::Rect& frame = { 0, 20, 320, 480 })
    {
        source = std::make_shared<NumberedRows>(rows);
        auto table = std::make_shared<ui::TableView>(frame);
        table->setDataSource(source);
        window->addSubview(table);
        table->reloadData();
        turn();
        return table;
    }

    // Frame by frame until the content rests (at most `seconds`).
    void settle(ui::ScrollView& scrollView, double seconds = 3)
    {
        for (double t = 0; t < seconds && scrollView.isDecelerating(); t += 1.0 / 60)
            advance(1.0 / 60);
    }

    // A drag through `offsets` then a release without velocity, as the finger does it.
    void pullAndRelease(ui::ScrollView& scrollView, std::initializer_list<gfx::Point> offsets)
    {
        for (gfx::Point offset : offsets)
            scrollView.dragTo(offset);
        scrollView.releaseWithVelocity({ 0, 0 });
    }

    std::shared_ptr<NumberedRows> source;
    ui::TouchDriver finger;
};

inline bool isHalfTurn(const gfx::AffineTransform& t) { return std::abs(t.a + 1) < 1e-9 && std::abs(t.d + 1) < 1e-9; }
inline bool isUpright(const gfx::AffineTransform& t) { return std::abs(t.a - 1) < 1e-9 && std::abs(t.d - 1) < 1e-9; }

} // namespace test
