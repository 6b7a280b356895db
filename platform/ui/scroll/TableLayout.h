// ui::TableLayout: where a table's section headers, rows and section footers lie along its content, one after
// another from y = 0, and how tall the content is (the sum of all of them). The table view computes one on
// reloadData from its data source and delegate, then asks it which rows meet the visible part of the content.
// A plain value, any thread.
//
//   ui::TableLayout layout({ { 22, 0, { 44, 44, 30.5 } } });
//   layout.contentHeight();                 // 140.5
//   layout.rowsMeeting(40, 100);            // rows 0 and 1 of section 0
#pragma once

#include "ui/scroll/IndexPath.h"

#include <optional>
#include <vector>

namespace ui {

struct TableSectionHeights {
    double header { 0 };
    double footer { 0 };
    std::vector<double> rows;
};

// A stretch of the content along y.
struct TableSpan {
    double y { 0 };
    double height { 0 };

    double maxY() const { return y + height; }
    friend bool operator==(const TableSpan&, const TableSpan&) = default;
};

class TableLayout {
public:
    TableLayout() = default;
    explicit TableLayout(std::vector<TableSectionHeights> sections);

    int numberOfSections() const { return static_cast<int>(m_sections.size()); }
    // 0 for a section that does not exist.
    int numberOfRows(int section) const;
    bool contains(IndexPath path) const;
    double contentHeight() const { return m_contentHeight; }

    // Empty for a section or row that does not exist.
    [[nodiscard]] std::optional<TableSpan> header(int section) const;
    [[nodiscard]] std::optional<TableSpan> footer(int section) const;
    [[nodiscard]] std::optional<TableSpan> row(IndexPath path) const;

    // The rows that meet minY <= y < maxY, in order. A row of no height counts when its y is in the range.
    std::vector<IndexPath> rowsMeeting(double minY, double maxY) const;
    // The row at `y`, if any row covers it.
    [[nodiscard]] std::optional<IndexPath> rowAt(double y) const;

private:
    struct Section {
        TableSpan header;
        std::vector<TableSpan> rows;
        TableSpan footer;
    };
    std::vector<Section> m_sections;
    double m_contentHeight { 0 };
};

} // namespace ui
