// ui::IndexPath: a row's place in a table (its section and its row within the section), or an item's in a
// collection view. Ordered section first. A plain value, any thread.
//
//   ui::IndexPath path { 0, 3 };
//   if (path == table->indexPathForSelectedRow()) ...
#pragma once

#include <compare>

namespace ui {

struct IndexPath {
    int section { 0 };
    int row { 0 };

    int item() const { return row; }

    friend auto operator<=>(const IndexPath&, const IndexPath&) = default;
};

} // namespace ui
