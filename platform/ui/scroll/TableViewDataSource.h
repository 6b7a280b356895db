// ui::TableViewDataSource and ui::TableViewDelegate: what a table view asks of its owner (both kept weakly).
// The data source says how many sections and rows there are and makes the cells (dequeuing reused ones);
// the delegate, a scroll-view delegate too, sizes rows, headers and footers, supplies header and footer
// views and hears selections. Only numberOfRowsInSection and cellForRowAtIndexPath must be written; a height
// answered with std::nullopt means "not implemented": the table's own height applies. Main thread.
//
//   int numberOfRowsInSection(ui::TableView&, int) override { return int(m_names.size()); }
//   std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override
//   {
//       auto cell = table.dequeueReusableCellWithIdentifier("cell");
//       if (!cell) cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "cell");
//       cell->textLabel()->setText(m_names[path.row]);
//       return cell;
//   }
#pragma once

#include "ui/scroll/IndexPath.h"
#include "ui/scroll/ScrollViewDelegate.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {

class TableView;
class TableViewCell;
class View;

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;

    virtual int numberOfSectionsInTableView(TableView&) { return 1; }
    virtual int numberOfRowsInSection(TableView&, int section) = 0;
    virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, IndexPath path) = 0;
    // Empty: no title.
    virtual std::string titleForHeaderInSection(TableView&, int /*section*/) { return {}; }
    virtual std::string titleForFooterInSection(TableView&, int /*section*/) { return {}; }
};

class TableViewDelegate : public ScrollViewDelegate {
public:
    [[nodiscard]] virtual std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath) { return std::nullopt; }
    [[nodiscard]] virtual std::optional<double> heightForHeaderInSection(TableView&, int /*section*/)
    {
        return std::nullopt;
    }
    [[nodiscard]] virtual std::optional<double> heightForFooterInSection(TableView&, int /*section*/)
    {
        return std::nullopt;
    }
    // A view shown in place of the section's title; its frame height is the header's height unless the
    // height method answers.
    virtual std::shared_ptr<View> viewForHeaderInSection(TableView&, int /*section*/) { return nullptr; }
    virtual std::shared_ptr<View> viewForFooterInSection(TableView&, int /*section*/) { return nullptr; }
    virtual void didSelectRowAtIndexPath(TableView&, IndexPath) { }
    // The selected row lost its selection because the finger selected another.
    virtual void didDeselectRowAtIndexPath(TableView&, IndexPath) { }
};

} // namespace ui
