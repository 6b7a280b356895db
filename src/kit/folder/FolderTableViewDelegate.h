// kit::FolderTableViewDelegate: may tell a folder table where, across a row, the arrow over an opened folder
// points. Kept weakly. Main thread.
//
//   std::optional<double> tableViewXForRowAtIndexPath(kit::FolderTableView&, ui::IndexPath) override { return 60; }
#pragma once

#include "ui/scroll/IndexPath.h"

#include <optional>

namespace kit {

class FolderTableView;

class FolderTableViewDelegate {
public:
    virtual ~FolderTableViewDelegate() = default;
    // Empty: not answered (the arrow points at x = 40).
    [[nodiscard]] virtual std::optional<double> tableViewXForRowAtIndexPath(FolderTableView&, ui::IndexPath)
    {
        return std::nullopt;
    }
};

} // namespace kit
