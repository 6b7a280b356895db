// ui::TableViewCellAccessoryMark: the small mark a table cell shows at its right for an accessory type: a
// chevron for the disclosure indicator, a chevron in a ring for the detail disclosure button, a tick for
// the checkmark. Drawn in the tint colour (the chevron in grey). Main thread.
//
//   auto mark = std::make_shared<ui::TableViewCellAccessoryMark>(ui::TableViewCellAccessoryType::Checkmark);
#pragma once

#include "ui/view/View.h"

namespace ui {

enum class TableViewCellAccessoryType { None = 0, DisclosureIndicator = 1, DetailDisclosureButton = 2, Checkmark = 3 };

class TableViewCellAccessoryMark : public View {
public:
    explicit TableViewCellAccessoryMark(TableViewCellAccessoryType type);

    TableViewCellAccessoryType type() const { return m_type; }

    void drawRect(const gfx::Rect& rect) override;

private:
    TableViewCellAccessoryType m_type;
};

} // namespace ui
