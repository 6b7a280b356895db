// ui::TableViewCell: one row of a table: a content view holding a text label, a detail label (all styles
// but Default), an image view, and at the right an accessory (a custom view, or the mark of an accessory
// type). The style sets where the labels go: Default (text only), Value1 (text left, detail right-aligned
// in grey), Value2 (small blue text in a narrow column, detail after it), Subtitle (text above a smaller
// detail). A selected or highlighted cell shows a grey background unless its selection style is None.
// Main thread; made with std::make_shared.
//
// The parts join the cell when it first lays out or moves to a superview, so a subclass may fill
// contentView() in its constructor; a subclass that overrides layoutSubviews or willMoveToSuperview calls
// the base version.
//
//   auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value1, "cell");
//   cell->textLabel()->setText("Sleep timer");
//   cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
#pragma once

#include "ui/scroll/TableViewCellAccessoryMark.h"
#include "ui/view/View.h"

#include <memory>
#include <string>

namespace ui {

class ImageView;
class Label;

enum class TableViewCellStyle { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
enum class TableViewCellSelectionStyle { None = 0, Blue = 1, Gray = 2, Default = 3 };

class TableViewCell : public View {
public:
    static constexpr double margin = 15;

    explicit TableViewCell(TableViewCellStyle style = TableViewCellStyle::Default, std::string reuseIdentifier = {});

    TableViewCellStyle style() const { return m_style; }
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }

    const std::shared_ptr<View>& contentView() const { return m_contentView; }
    const std::shared_ptr<Label>& textLabel() const { return m_textLabel; }
    // nullptr in the Default style.
    const std::shared_ptr<Label>& detailTextLabel() const { return m_detailTextLabel; }
    const std::shared_ptr<ImageView>& imageView() const { return m_imageView; }

    TableViewCellAccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(TableViewCellAccessoryType type);
    // Shown in place of the accessory type's mark, at its own size, centred vertically.
    const std::shared_ptr<View>& accessoryView() const { return m_accessoryView; }
    void setAccessoryView(std::shared_ptr<View> view);

    TableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(TableViewCellSelectionStyle style);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected, bool animated);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted, bool animated);

    // Called when the table hands the cell out again from its reuse pool.
    virtual void prepareForReuse() { }

    void layoutSubviews() override;
    void willMoveToSuperview(const std::shared_ptr<View>& newSuperview) override;

    // For the table: the line along the bottom edge.
    void setSeparator(bool visible, gfx::Color color);

private:
    void attachParts();
    void updateSelectionBackground();
    // The accessory shown (the custom view or the type's mark), or nullptr.
    View* accessory() const;
    void layoutLabels(const gfx::Rect& area);

    TableViewCellStyle m_style;
    std::string m_reuseIdentifier;
    std::shared_ptr<View> m_selectionBackground;
    std::shared_ptr<View> m_contentView;
    std::shared_ptr<Label> m_textLabel;
    std::shared_ptr<Label> m_detailTextLabel;
    std::shared_ptr<ImageView> m_imageView;
    std::shared_ptr<View> m_separator;
    TableViewCellAccessoryType m_accessoryType { TableViewCellAccessoryType::None };
    std::shared_ptr<TableViewCellAccessoryMark> m_accessoryMark;
    std::shared_ptr<View> m_accessoryView;
    TableViewCellSelectionStyle m_selectionStyle { TableViewCellSelectionStyle::Default };
    bool m_selected { false };
    bool m_highlighted { false };
    bool m_partsAttached { false };
};

} // namespace ui
