#include "childcare/schedule/ClassTimeSetVC.h"

#include "base/loop/MainThread.h"
#include "base/system/Facts.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "childcare/support/TimeOfDay.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/DatePicker.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationItem.h"
#include "ui/input/TapGestureRecognizer.h"
#include "ui/scroll/TableViewCell.h"
#include "ui/view/Screen.h"

#include <algorithm>
#include <array>

namespace childcare {

namespace {

    constexpr gfx::Color tableBackground = gfx::Color::rgb(0.95, 0.96, 0.98);
    constexpr gfx::Color titleColour = gfx::Color::rgb(0.36, 0.36, 0.356);
    constexpr std::array<const char*, 10> periodKeys
        = { "one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten" };
    constexpr int firstSectionRows = 4;
    constexpr double headHeight = 35;
    constexpr double pickerTop = 50;
    constexpr double pickerBottomMargin = 15;

    std::string entryText(const ClassTimeSetVC::PeriodList& list, size_t index)
    {
        return list && index < list->size() ? (*list)[index].description() : std::string();
    }

    // Section 0 holds periods one to four, section 1 the rest.
    size_t periodIndex(ui::IndexPath path)
    {
        return static_cast<size_t>(std::max(path.row + (path.section == 0 ? 0 : firstSectionRows), 0));
    }

    // Where the picker panel waits, just below the screen.
    gfx::Rect loweredPanelFrame()
    {
        gfx::Rect screen = ui::Screen::main().bounds();
        return { 0, screen.height(), screen.width(), screen.height() / 2 };
    }

    base::Value minuteText(int minute) { return base::Value((minute <= 9 ? "0" : "") + std::to_string(minute)); }

    void setEntry(const ClassTimeSetVC::PeriodList& list, size_t index, base::Value value)
    {
        if (list && index < list->size())
            (*list)[index] = std::move(value);
    }

} // namespace

std::shared_ptr<ClassTimeSetVC> ClassTimeSetVC::make() { return std::make_shared<ClassTimeSetVC>(); }

std::string ClassTimeSetVC::pickerLocale(const std::string& language)
{
    BASE_ASSERT_MAIN_THREAD();
    for (const char* known : { "zh-Hans", "en", "zh-Han" }) {
        if (language == known)
            return language;
    }
    return "en";
}

void ClassTimeSetVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    auto back = std::make_shared<ui::BarButtonItem>(gfx::Image::named("detail_back_pressed"),
        ui::BarButtonItemStyle::Plain, [weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            if (auto self = weak.lock())
                self->pushOld();
        });
    navigationItem()->setLeftBarButtonItem(back);

    gfx::Rect screen = ui::Screen::main().bounds();
    m_tableView = std::make_shared<ui::TableView>(
        gfx::Rect { 0, barBottom, screen.width(), screen.height() - barBottom }, ui::TableViewStyle::Grouped);
    m_tableView->setBackgroundColor(tableBackground);
    m_tableView->setDataSource(ui::weakFrom(this));
    m_tableView->setDelegate(ui::weakFrom(this));
    view()->addSubview(m_tableView);
    initView();
}

void ClassTimeSetVC::initView()
{
    gfx::Rect screen = ui::Screen::main().bounds();
    m_maskView = std::make_shared<ui::View>(screen);
    m_maskView->setBackgroundColor(gfx::Color::black());
    m_maskView->setAlpha(0);
    m_maskView->addGestureRecognizer(std::make_shared<ui::TapGestureRecognizer>([weak = ui::weakFrom(this)](auto&) {
        if (auto self = weak.lock())
            self->hideMyPicker();
    }));

    double width = screen.width();
    double height = screen.height() / 2;
    m_pickerBgView = std::make_shared<ui::View>(loweredPanelFrame());
    m_pickerBgView->setBackgroundColor(gfx::Color::white());
    m_myStartPicker = makePicker({ 0, pickerTop, width / 2, height - pickerTop - pickerBottomMargin });
    m_myEndPicker = makePicker({ width / 2, pickerTop, width / 2, height - pickerTop - pickerBottomMargin });
    buildPanelHead(width);
    auto divider = std::make_shared<ui::View>(gfx::Rect { width / 2, headHeight, 1, height - headHeight });
    divider->setBackgroundColor(gfx::Color::lightGray());
    m_pickerBgView->addSubview(divider);
}

void ClassTimeSetVC::buildPanelHead(double width)
{
    auto button = [this](const gfx::Rect& frame, const char* key, void (ClassTimeSetVC::*action)()) {
        auto made = std::make_shared<ui::Button>(frame);
        made->setTitle(base::localized(key), ui::ControlState::Normal);
        made->setTitleColor(gfx::Color::red(), ui::ControlState::Normal);
        made->addAction(
            [weak = ui::weakFrom(this), action](ui::Control&) {
                if (auto self = weak.lock())
                    (self.get()->*action)();
            },
            ui::ControlEvent::TouchUpInside);
        m_pickerBgView->addSubview(made);
    };
    button({ 0, 0, 80, headHeight }, "cancel", &ClassTimeSetVC::clickCancel);
    button({ width - 80, 0, 80, headHeight }, "done", &ClassTimeSetVC::clickDone);
    auto rule = std::make_shared<ui::View>(gfx::Rect { 0, headHeight, width, 1 });
    rule->setBackgroundColor(gfx::Color::lightGray());
    m_pickerBgView->addSubview(rule);
    for (auto [key, x] : { std::pair { "starttime", 0.0 }, std::pair { "endtime", width / 2 } }) {
        auto caption = std::make_shared<ui::Label>(gfx::Rect { x, headHeight + 1, width / 2, 30 });
        caption->setText(base::localized(key));
        caption->setTextAlignment(gfx::TextAlignment::Center);
        // Over the wheels' faded top rows, which would show through the caption.
        caption->setBackgroundColor(gfx::Color::white());
        m_pickerBgView->addSubview(caption);
    }
}

std::shared_ptr<ui::DatePicker> ClassTimeSetVC::makePicker(const gfx::Rect& frame)
{
    auto picker = std::make_shared<ui::DatePicker>(frame);
    picker->setDatePickerMode(ui::DatePickerMode::CountDownTimer);
    picker->setLocale(pickerLocale(base::Facts::current().preferredLanguages().front()));
    m_pickerBgView->addSubview(picker);
    return picker;
}

size_t ClassTimeSetVC::periodCount() const { return m_arrStartHour ? m_arrStartHour->size() : 0; }

std::string ClassTimeSetVC::periodTime(size_t index) const
{
    return entryText(m_arrStartHour, index) + ":" + entryText(m_arrStartMin, index) + "~"
        + entryText(m_arrEndHour, index) + ":" + entryText(m_arrEndMin, index);
}

int ClassTimeSetVC::numberOfRowsInSection(ui::TableView&, int section)
{
    BASE_ASSERT_MAIN_THREAD();
    int periods = static_cast<int>(periodCount());
    return section == 0 ? std::min(periods, firstSectionRows) : std::max(periods - firstSectionRows, 0);
}

std::shared_ptr<ui::TableViewCell> ClassTimeSetVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    auto cell = table.dequeueReusableCellWithIdentifier("cell");
    if (!cell) {
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value1, "cell");
        cell->textLabel()->setTextColor(titleColour);
        cell->detailTextLabel()->setTextColor(gfx::Color::black());
    }
    size_t index = periodIndex(path);
    const char* key = periodKeys[std::min(index, periodKeys.size() - 1)];
    cell->textLabel()->setText(base::LocalizedFormat::format(base::localized("num_class"), { base::localized(key) }));
    cell->detailTextLabel()->setText(periodTime(index));
    return cell;
}

void ClassTimeSetVC::didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    // The panel names the period it edits (m_selectPath); the row is left as it was, whatever closes the panel.
    table.deselectRowAtIndexPath(path, true);
    m_selectPath = path;
    size_t index = periodIndex(path);
    auto start = TimeOfDay::minutes(entryText(m_arrStartHour, index) + ":" + entryText(m_arrStartMin, index));
    auto end = TimeOfDay::minutes(entryText(m_arrEndHour, index) + ":" + entryText(m_arrEndMin, index));
    m_myStartPicker->setCountDownDuration(start.value_or(0) * 60.0);
    m_myEndPicker->setCountDownDuration(end.value_or(0) * 60.0);
    showPicker();
}

void ClassTimeSetVC::showPicker()
{
    m_maskView->setAlpha(0);
    view()->addSubview(m_maskView);
    view()->addSubview(m_pickerBgView);
    gfx::Rect screen = ui::Screen::main().bounds();
    gfx::Rect raised { 0, screen.height() / 2, screen.width(), screen.height() / 2 };
    ui::View::animateWithDuration(panelAnimationDuration, [&] {
        m_maskView->setAlpha(maskAlpha);
        m_pickerBgView->setFrame(raised);
    });
}

void ClassTimeSetVC::hideMyPicker()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::View::animateWithDuration(
        panelAnimationDuration,
        [&] {
            m_maskView->setAlpha(0);
            m_pickerBgView->setFrame(loweredPanelFrame());
        },
        [mask = m_maskView, panel = m_pickerBgView](bool) {
            mask->removeFromSuperview();
            panel->removeFromSuperview();
        });
}

bool ClassTimeSetVC::isPickerShown() const { return m_pickerBgView && m_pickerBgView->superview(); }

bool ClassTimeSetVC::performEscape()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!isPickerShown())
        return ViewController::performEscape();
    clickCancel();
    return true;
}

void ClassTimeSetVC::viewDidDisappear(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    ViewController::viewDidDisappear(animated);
    // A screen left with its panel up (by its back button) comes back without it, as Cancel would leave it.
    if (!isPickerShown())
        return;
    m_maskView->setAlpha(0);
    m_pickerBgView->setFrame(loweredPanelFrame());
    m_maskView->removeFromSuperview();
    m_pickerBgView->removeFromSuperview();
}

void ClassTimeSetVC::clickDone()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_selectPath)
        return;
    size_t index = periodIndex(*m_selectPath);
    setEntry(m_arrStartHour, index, base::Value(m_myStartPicker->hour()));
    setEntry(m_arrStartMin, index, minuteText(m_myStartPicker->minute()));
    setEntry(m_arrEndHour, index, base::Value(m_myEndPicker->hour()));
    setEntry(m_arrEndMin, index, minuteText(m_myEndPicker->minute()));
    if (auto delegate = m_delegate.lock()) {
        Periods none;
        delegate->setTime(m_arrStartHour ? *m_arrStartHour : none, m_arrStartMin ? *m_arrStartMin : none,
            m_arrEndHour ? *m_arrEndHour : none, m_arrEndMin ? *m_arrEndMin : none);
        pushOld();
    }
    m_tableView->reloadData();
    hideMyPicker();
}

void ClassTimeSetVC::pushOld()
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

} // namespace childcare
