// ui::TableView: a scroll view that shows rows of cells in sections, each with an optional header and footer,
// one under the other from the top of the content. The data source and the delegate (kept weakly) describe
// the sections; the table asks for the cells of the rows that meet its bounds when it lays out, and puts the
// cells that scroll out of sight in a pool per reuse identifier for the data source to dequeue. Cells,
// headers and footers lie behind any other subviews, so views the owner adds (backdrops above the first row
// or below the last) stay where they are, in front. A table bounces vertically even when its content is
// shorter than its bounds. Main thread; made with std::make_shared.
//
// The content size is the bounds' width by the sum of the header, row and footer heights, set through the
// virtual setContentSize (so a subclass that overrides it, and the size observers, see every change) on
// reloadData and when the width changes. The table loads its data the first time it lays out or is asked
// about its rows, and again on reloadData, which also clears the selection.
//
// Heights: a row is the delegate's height or rowHeight(); a header (footer) is the delegate's height, else
// the height of the delegate's header (footer) view, else sectionHeaderHeight() (sectionFooterHeight()) when
// the section has a title or the table is grouped, else nothing.
//
//   auto table = std::make_shared<ui::TableView>(gfx::Rect { 0, 64, 320, 504 }, ui::TableViewStyle::Grouped);
//   table->setDataSource(owner);
//   table->setDelegate(owner);
//   view->addSubview(table);
#pragma once

#include "ui/scroll/IndexPath.h"
#include "ui/scroll/ScrollView.h"
#include "ui/scroll/TableLayout.h"
#include "ui/scroll/TableViewDataSource.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class TableViewCell;

enum class TableViewStyle { Plain = 0, Grouped = 1 };
enum class TableViewCellSeparatorStyle { None = 0, SingleLine = 1 };

class TableView : public ScrollView {
public:
    explicit TableView(const gfx::Rect& frame = {}, TableViewStyle style = TableViewStyle::Plain);

    TableViewStyle style() const { return m_style; }

    std::shared_ptr<TableViewDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDataSource(std::weak_ptr<TableViewDataSource> dataSource);
    std::shared_ptr<TableViewDelegate> tableDelegate() const { return m_tableDelegate.lock(); }
    // Also the scroll view's delegate.
    void setDelegate(std::weak_ptr<TableViewDelegate> delegate);

    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double height) { m_rowHeight = height; }
    double sectionHeaderHeight() const { return m_sectionHeaderHeight; }
    void setSectionHeaderHeight(double height) { m_sectionHeaderHeight = height; }
    double sectionFooterHeight() const { return m_sectionFooterHeight; }
    void setSectionFooterHeight(double height) { m_sectionFooterHeight = height; }
    TableViewCellSeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(TableViewCellSeparatorStyle style);
    gfx::Color separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(gfx::Color color);
    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }

    void reloadData();
    int numberOfSections();
    int numberOfRowsInSection(int section);

    // A pooled cell with the identifier (made ready by its prepareForReuse), or nullptr.
    std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
    // The cell of a visible row (laying out first if needed), or nullptr.
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(IndexPath path);
    std::vector<std::shared_ptr<TableViewCell>> visibleCells();
    std::vector<IndexPath> indexPathsForVisibleRows();
    [[nodiscard]] std::optional<IndexPath> indexPathForCell(const TableViewCell& cell) const;

    // In content coordinates; null for a row that does not exist.
    gfx::Rect rectForRowAtIndexPath(IndexPath path);
    gfx::Rect rectForHeaderInSection(int section);
    gfx::Rect rectForFooterInSection(int section);
    // `point` in content coordinates.
    [[nodiscard]] std::optional<IndexPath> indexPathForRowAtPoint(gfx::Point point);

    [[nodiscard]] std::optional<IndexPath> indexPathForSelectedRow() const { return m_selected; }
    // Selects by program: the delegate is not told.
    void selectRowAtIndexPath(IndexPath path, bool animated);
    void deselectRowAtIndexPath(IndexPath path, bool animated);

    void layoutSubviews() override;

    void touchesBegan(const TouchSet& touches, const Event* event) override;
    void touchesEnded(const TouchSet& touches, const Event* event) override;
    void touchesCancelled(const TouchSet& touches, const Event* event) override;

private:
    struct SectionViews {
        std::shared_ptr<View> header;
        std::shared_ptr<View> footer;
    };

    void loadIfNeeded();
    TableSectionHeights measureSection(TableViewDataSource& dataSource, TableViewDelegate* delegate, int section);
    std::shared_ptr<View> makeSupplementaryView(int section, bool header);
    void tileRows(double minY, double maxY);
    void tileSections(double minY, double maxY);
    void placeSupplementaryView(std::shared_ptr<View>& slot, int section, bool header, double minY, double maxY);
    void recycle(const std::shared_ptr<TableViewCell>& cell);
    void setRowSelected(IndexPath path, bool selected, bool animated);
    [[nodiscard]] std::optional<IndexPath> rowUnderTouch(const TouchSet& touches) const;
    // Ends the touch on a row: the row's cell is no longer highlighted. The row touched, if any.
    [[nodiscard]] std::optional<IndexPath> releaseTouchedRow();
    gfx::Rect spanRect(const std::optional<TableSpan>& span) const;

    TableViewStyle m_style;
    std::weak_ptr<TableViewDataSource> m_dataSource;
    std::weak_ptr<TableViewDelegate> m_tableDelegate;
    double m_rowHeight { 44 };
    double m_sectionHeaderHeight;
    double m_sectionFooterHeight;
    TableViewCellSeparatorStyle m_separatorStyle { TableViewCellSeparatorStyle::SingleLine };
    gfx::Color m_separatorColor;
    bool m_allowsSelection { true };

    bool m_loaded { false };
    TableLayout m_layout;
    std::optional<double> m_contentWidth;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> m_visibleCells;
    std::map<int, SectionViews> m_sectionViews;
    std::map<std::string, std::vector<std::shared_ptr<TableViewCell>>> m_reusePool;
    std::optional<IndexPath> m_selected;
    std::optional<IndexPath> m_touchedRow;
};

} // namespace ui
