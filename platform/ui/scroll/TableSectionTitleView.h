// ui::TableSectionTitleView: the view a table shows for a section header or footer that has a title and no
// view of the delegate's: the title on one line, 15 points in from the left, centred vertically; grey
// small type on a grouped table, bold on a light strip on a plain one. Main thread.
//
//   auto header = std::make_shared<ui::TableSectionTitleView>(gfx::Rect { 0, 0, 320, 22 }, "A", style);
#pragma once

#include "ui/view/View.h"

#include <memory>
#include <string>

namespace ui {

class Label;
enum class TableViewStyle;

class TableSectionTitleView : public View {
public:
    TableSectionTitleView(const gfx::Rect& frame, std::string title, TableViewStyle style);

    const std::shared_ptr<Label>& titleLabel() const { return m_label; }

    void layoutSubviews() override;
    void willMoveToSuperview(const std::shared_ptr<View>& newSuperview) override;

private:
    std::shared_ptr<Label> m_label;
};

} // namespace ui
