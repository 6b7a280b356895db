// ui::PickerView: wheels (components) of rows, one row selected in each. The data source gives the number
// of wheels and of rows in each; the delegate gives each row's title and hears the selections the user
// makes. A vertical drag on a wheel turns it by one row per rowHeight points, a tap above or below the
// centre line turns it to the row tapped; when the finger lifts on a different row, the delegate hears
// pickerViewDidSelectRow. Selecting in code tells nobody. Wheels share the width equally. Drawn: the
// selected rows on the centre line between two rules, their neighbours fading above and below. Main thread.
//
//   picker->setDataSource(weak_from_this());
//   picker->setDelegate(weak_from_this());
//   picker->selectRow(hour, 0, true);
#pragma once

#include "ui/view/View.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

class PickerView;

class PickerViewDataSource {
public:
    virtual ~PickerViewDataSource() = default;
    virtual size_t numberOfComponentsInPickerView(PickerView&) = 0;
    virtual size_t pickerViewNumberOfRowsInComponent(PickerView&, size_t component) = 0;
};

class PickerViewDelegate {
public:
    virtual ~PickerViewDelegate() = default;
    // Empty: the row shows no title.
    [[nodiscard]] virtual std::optional<std::string> pickerViewTitleForRow(
        PickerView&, size_t /*row*/, size_t /*component*/)
    {
        return std::nullopt;
    }
    virtual void pickerViewDidSelectRow(PickerView&, size_t /*row*/, size_t /*component*/) { }
};

class PickerView : public View {
public:
    static constexpr gfx::Size defaultSize { 320, 216 };
    static constexpr double rowHeight = 32;

    // A zero size takes the default size.
    explicit PickerView(const gfx::Rect& frame = {});

    std::weak_ptr<PickerViewDataSource> dataSource() const { return m_dataSource; }
    void setDataSource(std::weak_ptr<PickerViewDataSource> dataSource);
    std::weak_ptr<PickerViewDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<PickerViewDelegate> delegate);

    // Asked of the data source each time (0 without one).
    size_t numberOfComponents() const;
    size_t numberOfRowsInComponent(size_t component) const;
    // Re-reads the rows: selections beyond the new row counts move to the last row.
    void reloadAllComponents();
    void reloadComponent(size_t component);

    // -1 when the wheel has no rows (or does not exist).
    int selectedRowInComponent(size_t component) const;
    // The row is clamped to the wheel's rows; the wheel turns at once, animated or not.
    void selectRow(int row, size_t component, bool animated = false);
    [[nodiscard]] std::optional<std::string> titleForRow(size_t row, size_t component) const;

    bool showsSelectionIndicator() const { return m_showsSelectionIndicator; }
    void setShowsSelectionIndicator(bool shows) { m_showsSelectionIndicator = shows; }

    // The wheel under an x of the bounds, if any.
    [[nodiscard]] std::optional<size_t> componentAtX(double x) const;
    gfx::Rect componentRect(size_t component) const;

    void touchesBegan(const TouchSet& touches, const Event* event) override;
    void touchesMoved(const TouchSet& touches, const Event* event) override;
    void touchesEnded(const TouchSet& touches, const Event* event) override;
    void touchesCancelled(const TouchSet& touches, const Event* event) override;
    // The wheel under the mouse turns one row per step of the mouse wheel (ScrollEvent::wheelStep points of
    // travel; what is left over counts towards the next turn in the same direction); the delegate hears the
    // row it stops on.
    bool scrollWheel(gfx::Point location, gfx::Point delta) override;
    void drawRect(const gfx::Rect& rect) override;

private:
    struct Spin {
        size_t component;
        gfx::Point start;
        int startRow;
    };
    int rowAfter(const Spin& spin, gfx::Point location) const;
    void clampSelection(size_t component);

    std::weak_ptr<PickerViewDataSource> m_dataSource;
    std::weak_ptr<PickerViewDelegate> m_delegate;
    mutable std::vector<int> m_selected;
    std::optional<Spin> m_spin;
    std::shared_ptr<Touch> m_touch;
    // The mouse wheel's travel not yet turned into rows, and the wheel it is for.
    double m_wheelTravel { 0 };
    size_t m_wheelComponent { 0 };
    bool m_showsSelectionIndicator { false };
};

} // namespace ui
