// kit::LoadingCell: the table cell of a list's trailing load-more row: a grey spinner at the left margin and
// a centred label, both filled in by the application's load-more routine. Reuse identifier "loadingCell".
// Main thread.
//
//   auto cell = std::make_shared<kit::LoadingCell>();
//   cell->lbl()->setText("Loading…");
//   cell->loading()->startAnimating();
#pragma once

#include "ui/scroll/TableViewCell.h"

#include <memory>

namespace ui {
class ActivityIndicatorView;
}

namespace kit {

class LoadingCell : public ui::TableViewCell {
public:
    static constexpr const char* cellIdentifier = "loadingCell";

    LoadingCell();

    const std::shared_ptr<ui::Label>& lbl() const { return m_lbl; }
    const std::shared_ptr<ui::ActivityIndicatorView>& loading() const { return m_loading; }

    void layoutSubviews() override;

private:
    std::shared_ptr<ui::Label> m_lbl;
    std::shared_ptr<ui::ActivityIndicatorView> m_loading;
};

} // namespace kit
