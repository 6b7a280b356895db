// kit::DropBoxView: a combo box: a text field and a button with an arrow in a bordered strip, and a list of
// choices that drops down below them when the button is pressed. Choosing a row writes it into the text field
// (even when the field takes no typing), closes the list and tells the delegate. The box is one row high while
// the list is closed, and grows over the list while it is open, so that the list takes touches. Main thread;
// made with std::make_shared, then built with setControlsViewOriginx.
//
//   auto box = std::make_shared<kit::DropBoxView>();
//   box->setControlsViewOriginx(20, 100, 150, 30, 30, 120, false);
//   box->setArr({ "Daily", "Weekly", "Monthly" });
//   box->setDelegate(screen);
//   screenView->addSubview(box);
#pragma once

#include "kit/widgets/DropBoxDelegate.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewDataSource.h"
#include "ui/controls/TextField.h"

#include <memory>
#include <string>
#include <vector>

namespace kit {

class DropBoxView : public ui::View, public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    static constexpr double rowHeight = 30.5;
    static constexpr gfx::Color separatorColor()
    {
        return gfx::Color::rgb(0.8588235294117647, 0.8509803921568627, 0.8470588235294118);
    }

    explicit DropBoxView(const gfx::Rect& frame = {});

    // Builds the box at (x, y): a text field `textWidth` wide and a button `buttonWidth` wide, both `height`
    // high, over a list `tableHeight` high; `editable` says whether the text field takes typing.
    void setControlsViewOriginx(
        int x, int y, int textWidth, int height, int buttonWidth, int tableHeight, bool editable);
    // The button's action: opens the list when it is closed, else closes it.
    void tableShowAndHide();
    void reloadataTableview();
    void closeTableview();

    const std::shared_ptr<ui::TextField>& textField() const { return m_textField; }
    const std::shared_ptr<ui::Button>& button() const { return m_button; }
    const std::shared_ptr<ui::TableView>& tableView() const { return m_tableView; }
    // The bordered strip holding the text field and the button.
    const std::shared_ptr<ui::View>& view() const { return m_view; }
    // The arrow inside the button.
    const std::shared_ptr<ui::ImageView>& imageView() const { return m_imageView; }
    const std::vector<std::string>& arr() const { return m_arr; }
    void setArr(std::vector<std::string> choices) { m_arr = std::move(choices); }
    // Whether the list is closed (the next press opens it).
    bool buttonImageFlag() const { return m_buttonImageFlag; }
    std::shared_ptr<DropBoxDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<DropBoxDelegate> delegate) { m_delegate = std::move(delegate); }

    int numberOfRowsInSection(ui::TableView& table, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView& table, int section) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;

private:
    // Sets the box's own height, keeping its origin and width.
    void setHeight(double height);

    std::shared_ptr<ui::TextField> m_textField;
    std::shared_ptr<ui::Button> m_button;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::View> m_view;
    std::shared_ptr<ui::ImageView> m_imageView;
    std::vector<std::string> m_arr;
    bool m_buttonImageFlag { true };
    std::weak_ptr<DropBoxDelegate> m_delegate;
};

} // namespace kit
