// childcare::ClassTimeSetVC: the class-period screen: one row per lesson period with its start and end time
// ("8:05~8:45"), periods one to four in the first section and the rest in the second. Selecting a row raises
// a panel with a start and an end picker (hours and minutes); Done writes the period's hours as integer
// numbers and its minutes as two-digit texts into the lists and hands all four lists to the delegate, then
// the screen goes back; Cancel, Escape or a tap on the dimmed list closes the panel and writes nothing, and
// the panel goes with the screen when it is left. It sends nothing itself.
//
// The lists are the opener's own (shared, not copied): every edit is at once the opener's. The opener makes
// one screen and pushes it again on each visit, setting the lists before each push. Main thread; made with
// make().
//
//   auto periods = childcare::ClassTimeSetVC::make();
//   periods->setDelegate(weak_from_this());
//   periods->setArrStartHour(std::shared_ptr<Periods>(timetable, &timetable->start_H)); // ... and the others
//   navigationController()->pushViewController(periods, true);
#pragma once

#include "childcare/schedule/ClassTimeSetVCDelegate.h"
#include "ui/controllers/ViewController.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewDataSource.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class DatePicker;
}

namespace childcare {

class ClassTimeSetVC : public ui::ViewController, public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    using Periods = ClassTimeSetVCDelegate::Periods;
    using PeriodList = std::shared_ptr<Periods>;

    static constexpr double sectionHeaderHeight = 20;
    static constexpr double panelAnimationDuration = 0.3;
    static constexpr double maskAlpha = 0.3;
    static constexpr double barBottom = 64;

    static std::shared_ptr<ClassTimeSetVC> make();

    void setDelegate(std::weak_ptr<ClassTimeSetVCDelegate> delegate) { m_delegate = std::move(delegate); }
    const PeriodList& arrStartHour() const { return m_arrStartHour; }
    void setArrStartHour(PeriodList list) { m_arrStartHour = std::move(list); }
    const PeriodList& arrStartMin() const { return m_arrStartMin; }
    void setArrStartMin(PeriodList list) { m_arrStartMin = std::move(list); }
    const PeriodList& arrEndHour() const { return m_arrEndHour; }
    void setArrEndHour(PeriodList list) { m_arrEndHour = std::move(list); }
    const PeriodList& arrEndMin() const { return m_arrEndMin; }
    void setArrEndMin(PeriodList list) { m_arrEndMin = std::move(list); }

    const std::shared_ptr<ui::TableView>& tableView() const { return m_tableView; }
    const std::shared_ptr<ui::View>& maskView() const { return m_maskView; }
    const std::shared_ptr<ui::View>& pickerBgView() const { return m_pickerBgView; }
    const std::shared_ptr<ui::DatePicker>& myStartPicker() const { return m_myStartPicker; }
    const std::shared_ptr<ui::DatePicker>& myEndPicker() const { return m_myEndPicker; }

    // The pickers' locale for the user's first preferred language.
    static std::string pickerLocale(const std::string& language);

    void viewDidLoad() override;
    void pushOld();
    void clickDone();
    void clickCancel() { hideMyPicker(); }
    void hideMyPicker();
    bool isPickerShown() const;
    bool performEscape() override;
    void viewDidDisappear(bool animated) override;

    int numberOfSectionsInTableView(ui::TableView&) override { return 2; }
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    std::optional<double> heightForHeaderInSection(ui::TableView&, int) override { return sectionHeaderHeight; }
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;

private:
    void initView();
    void buildPanelHead(double width);
    std::shared_ptr<ui::DatePicker> makePicker(const gfx::Rect& frame);
    size_t periodCount() const;
    std::string periodTime(size_t index) const;
    void showPicker();

    std::weak_ptr<ClassTimeSetVCDelegate> m_delegate;
    PeriodList m_arrStartHour;
    PeriodList m_arrStartMin;
    PeriodList m_arrEndHour;
    PeriodList m_arrEndMin;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::View> m_maskView;
    std::shared_ptr<ui::View> m_pickerBgView;
    std::shared_ptr<ui::DatePicker> m_myStartPicker;
    std::shared_ptr<ui::DatePicker> m_myEndPicker;
    std::optional<ui::IndexPath> m_selectPath;
};

} // namespace childcare
