// kit::RefreshTableDelegate: the owner of a table refresh header or footer: told to refresh (0 from a header,
// 1 from a footer), asked whether it is loading already (then pulls do nothing) and, by a footer, when the
// data was last updated. Every method is optional: an owner that does not answer the loading question counts
// as not loading. Kept weakly. Main thread.
//
//   void refreshTableDidTriggerRefresh(int which) override { reload(); }
//   bool refreshTableDataSourceIsLoading(ui::View&) override { return m_loading; }
#pragma once

#include "base/time/Date.h"

#include <optional>

namespace ui {
class View;
}

namespace kit {

class RefreshTableDelegate {
public:
    static constexpr int FromHeader = 0;
    static constexpr int FromFooter = 1;

    virtual ~RefreshTableDelegate() = default;
    virtual void refreshTableDidTriggerRefresh(int /*which*/) { }
    virtual bool refreshTableDataSourceIsLoading(ui::View&) { return false; }
    // Empty: not answered (the footer then shows no date).
    [[nodiscard]] virtual std::optional<base::Date> refreshTableDataSourceLastUpdated(ui::View&)
    {
        return std::nullopt;
    }
};

} // namespace kit
